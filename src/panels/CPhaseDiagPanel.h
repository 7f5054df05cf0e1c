#pragma once
// The phase-diagram panel: the one floating inspector through which the user works on the
// phase-diagram document whose window is main. It follows the main window, attaches to a
// phase-diagram window's document (its left edge on that window's right edge) and offers
// six pages: phase envelopes of fluids ("isopleths"), isochores of inclusions
// ("isochors"), bubble volumes ("volumes"), trapping lines ("trapping"), an inert aqueous
// page ("aqueous") and a summary tree of the document ("summary"). A click in the P-T plot
// selects the matching rows of the page in front ("PTPlotSelection").
//
// Records of other documents are shown as they are (no copies); the diagram chosen on the
// isochores page is held weakly and dropped as soon as it leaves the attached document.

#include "app/CPhaseDiagDocument.h"
#include "calc/CPhaseDiagram.h"
#include "panels/FloatingPanel.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"
#include "platform/Value.h"
#include "widgets/MyOutlineView.h"

#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>

#include <memory>

class QAbstractItemView;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quorvel {

class CPlotView;
class PhaseDiagOutlineModel;
class ValueStepper;

class CPhaseDiagPanel : public FloatingPanel, public MyTableViewDelegate, public MyOutlineViewDelegate
{
    Q_OBJECT

public:
    // Page identifiers, in the order of the tabs (the document's page items select 0 to 3).
    static inline const QString kIsoplethsPage = QStringLiteral("isopleths");
    static inline const QString kIsochorsPage = QStringLiteral("isochors");
    static inline const QString kVolumesPage = QStringLiteral("volumes");
    static inline const QString kTrappingPage = QStringLiteral("trapping");
    static inline const QString kAqueousPage = QStringLiteral("aqueous");
    static inline const QString kSummaryPage = QStringLiteral("summary");
    // Inner pages of the isopleths page.
    static constexpr int kAlphaBetaFluidsTab = 0;
    static constexpr int kComponentFluidsTab = 1;

    static inline const QString kNewAlphaBetaFluid = QStringLiteral("New alpha-beta fluid");
    static inline const QString kNewInclusion = QStringLiteral("New inclusion");
    static inline const QString kNoPhaseDiagram = QStringLiteral("No phase diagram");

    // The application's panel, made on first use and never freed.
    static CPhaseDiagPanel* sharedPhaseDiagPanelCtroller();

    // A panel observing the notifications from now on; its window is made when first asked for.
    CPhaseDiagPanel();
    ~CPhaseDiagPanel() override;

    // ---- Frame (pages, main window) ----
    int getSelectedPage() const;
    void selectTabViewIndex(int index);
    QString selectedPageIdentifier() const;
    // Refreshes the page of that identifier, or the selected page for an empty one.
    void updatePanel(const QString& page = QString());

    CPhaseDiagDocument* document() const { return mDocument; }
    CPlotView* plotView() const;
    PhaseDiagramPtr selectedPhaseDiagram() const { return mSelectedPhaseDiagram.lock(); }

    void mainWindowChanged(const Notification& note);
    void windowClosed(const Notification& note);
    void onInclusionsDataDocModified(const Notification& note);
    void onFluidModelDataDocModified(const Notification& note);
    void onAlphaBetaPlotModified(const Notification& note);
    void onPTPlotModified(const Notification& note);
    void onPTPlotSelection(const Notification& note);

    // The check made when the user leaves one of the five alpha-beta fields: a value out of
    // range, or text that is no number, is refused with the field's alert and the field gets
    // back the value it had; answers whether the text is accepted.
    bool textShouldEndEditing(QLineEdit* control);

    void tableViewShiftDownSelectedRow(MyTableView*) override {}
    void tableViewShiftUpSelectedRow(MyTableView*) override {}
    void tableViewDeleteSelectedRow(MyTableView* view) override;
    void tableViewDeleteSelectedRow(MyOutlineView* view) override;

    // The log buttons of the isochores and trapping pages have no function.
    void onWriteLogButton(QObject* sender = nullptr);
    void onWriteLogButton1(QObject* sender = nullptr);

    // ---- Summary and highlighting ----
    void onSelectPhaseDiagramElement();
    void onRemovePhaseDiagramElement(QObject* sender = nullptr);
    void hiliteTheIsopleths(const PhaseDiagramPtr& diagram);
    void hiliteTheIsochors(const IsochorPtr& isochor, const IsochorPtr& sister);
    void hiliteTheTrappingLine(const IsochorPtr& line);
    void hiliteThePhaseDiagram(const PhaseDiagramPtr& diagram);

    // ---- Isopleths page ----
    void refreshAlphaBetaFluidsList();
    void refreshFluidModelsList();
    void onSelectPhaseEnvelope();
    void onSelectAlphaBetaModel();
    void onSelectFluidModel();
    void onSelectIsopleth();
    void onCalculateIsopleth(QObject* sender = nullptr);
    void onDeleteIsopleth(QObject* sender = nullptr);
    const Array& alphaBetaModels() const { return mAlphaBetaModelsArray; }
    const Array& fluidModels() const { return mFluidModelsArray; }
    // The fluid an envelope is computed from for a row of a fluid list: a marker's gases
    // become fractions, as in every other fluid.
    Dictionary envelopeFluidOf(const Dictionary& record) const;

    // ---- Isochores page ----
    void refreshInclusionsList();
    void refreshIsochorsList();
    void onSelectInclusion();
    void onSetLiquidHomog(QObject* sender = nullptr);
    void onSetVapourHomog(QObject* sender = nullptr);
    void onThChanged(QObject* sender = nullptr);
    void onSelectIsochor();
    void onCalculateIsochor(QObject* sender = nullptr);
    void onDeleteIsochor(QObject* sender = nullptr);
    const Array& inclusions() const { return mInclusionsArray; }
    const std::vector<IsochorPtr>& isochors() const { return mIsochorsArray; }

    // ---- Trapping and aqueous pages ----
    void refreshTrappingsList();
    void onSelectIsochor1();
    // The trapping pressure of the isochore at T (°C) and the temporary line there; no
    // isochore, or T below its Th, hides the line. An isochore of another open phase-diagram
    // document attaches the panel to that document first.
    void showAqueousHomogLine(const IsochorPtr& isochor, double T);
    void onSpinTrapTemp(QObject* sender = nullptr);
    void onChangeTrapTemp(QObject* sender = nullptr);
    void onSetTrappingLine(QObject* sender = nullptr);
    void onSelectTrapping();
    void onDeleteTrapping(QObject* sender = nullptr);
    void refreshAqueousList();
    void onSelectAqueousIsopleth();
    void onCalculateAqueousButton(QObject* sender = nullptr);
    void onDeleteAqueousButton(QObject* sender = nullptr);
    void onLogAqueousButton(QObject* sender = nullptr);
    const std::vector<TrappingLinePtr>& trappingLines() const { return mTrappingsArray; }

    // ---- Volumes page ----
    void refreshInclusions2();
    void onSelectInclusion2();
    void onSelectIsochor2();
    const Array& inclusions2() const { return mInclusionsArray2; }

    // ---- Controls, by the names the layout gives them ----
    PanelPages* mTabView = nullptr;
    RecordTable* mIsoplethsView = nullptr;
    RecordTable* mAlphaBetaModelsView = nullptr;
    RecordTable* mFluidModelsView = nullptr;
    QTabWidget* mModelTabView = nullptr;
    QLineEdit* mAlphaEdit = nullptr;
    QLineEdit* mBetaEdit = nullptr;
    QLineEdit* mCO2Edit = nullptr;
    QLineEdit* mN2Edit = nullptr;
    QLineEdit* mH2SEdit = nullptr;
    QPushButton* mIsoplethCalcButton = nullptr;
    QPushButton* mIsoplethDeleteButton = nullptr;
    RecordTable* mIsoplethsView1 = nullptr;
    RecordTable* mInclusionsView = nullptr;
    RecordTable* mIsochorsView = nullptr;
    QPushButton* mIsochorDeleteButton = nullptr;
    QLineEdit* mThEdit = nullptr;
    QRadioButton* mLiquidRadio = nullptr;
    QRadioButton* mGasRadio = nullptr;
    QPushButton* mIsochorCalcButton = nullptr;
    QLineEdit* mDensityEdit = nullptr;
    QLineEdit* mPhEdit = nullptr;
    QLineEdit* mAPIEdit = nullptr;
    QLineEdit* mGOREdit = nullptr;
    QPushButton* mWriteLogButton = nullptr;
    RecordTable* mIsochorsView2 = nullptr;
    RecordTable* mInclusionsView2 = nullptr;
    CPlotView* mVolumePlotView = nullptr;
    RecordTable* mIsochorsView1 = nullptr;
    RecordTable* mTrappingsView = nullptr;
    QLineEdit* mThAqEdit = nullptr;
    QLineEdit* mPtrapEdit = nullptr;
    QPushButton* mSetTrappingButton = nullptr;
    ValueStepper* mThAqStepper = nullptr;
    QPushButton* mWriteLogButton1 = nullptr;
    QPushButton* mTrapLineDeleteButton = nullptr;
    RecordTable* mAqueousView = nullptr;
    QLineEdit* mCH4MolalityEdit = nullptr;
    QLineEdit* mNaClMolalityEdit = nullptr;
    QLineEdit* mTrapAqEdit = nullptr;
    QLineEdit* mPtrapAqEdit = nullptr;
    QPushButton* mAqueousCalcButton = nullptr;
    QPushButton* mAqueousDeleteButton = nullptr;
    QPushButton* mAqueousLogButton = nullptr;
    MyOutlineView* mPhaseDiagView = nullptr;
    QPushButton* mDeleteButton = nullptr;

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    // ---- Window building (CPhaseDiagPanelWindow.cpp) ----
    QWidget* buildIsoplethsPage();
    QWidget* buildIsochorsPage();
    QWidget* buildVolumesPage();
    QWidget* buildTrappingPage();
    QWidget* buildAqueousPage();
    QWidget* buildSummaryPage();
    RecordTable* makeList(QWidget* parent, const char* name, const QStringList& columns, bool multiple = false);

    // ---- Frame helpers ----
    void attach(CPhaseDiagDocument* document, QWidget* mainWindow);
    void detach();
    // Forgets the chosen diagram once it is no longer one of the attached document's.
    void dropGoneDiagram();
    void postSelection();
    int numberOfRows(const QAbstractItemView* view) const;
    Value objectValue(const QAbstractItemView* view, const QString& column, int row) const;
    static void reload(RecordTable* view);
    void reloadOutline();
    void tableViewSelectionDidChange(QAbstractItemView* view);
    // Selects the row and runs the list's handler when that changes the selection; nothing
    // for a row the list does not have.
    static void selectRow(RecordTable* view, int row, bool scroll = false);
    static void deselectAll(RecordTable* view);
    const std::vector<PhaseDiagramPtr>& diagrams() const;
    PhaseDiagramPtr diagramAt(int row) const;
    int rowOfDiagram(const PhaseDiagramPtr& diagram) const;
    void setAlphaBetaField(QLineEdit* field, const QString& text);
    void setAlphaBetaFieldsEditable(bool editable);

    // ---- Page helpers ----
    void appendOpenAlphaBetaFluids(bool leaveOutUsed);
    void hiliteOff();
    void redrawPlot();
    IsochorPtr monophasicIsochorAt(int row) const;
    int rowOfMonophasicIsochor(const IsochorPtr& isochor) const;
    void showDiagramStockTank(const PhaseDiagramPtr& diagram);
    void setHomogRadios(bool toLiquid);
    static double fieldDouble(const QLineEdit* field);
    void selectIsoplethsPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record);
    void selectIsochorsPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record, double X);
    void selectVolumesPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record);
    void selectTrappingPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record, double X,
                               bool curveClicked, bool anythingSelected);
    void selectSummaryPageFor(const QString& kind, const std::shared_ptr<ArchivableObject>& record);
    void drawInclusionVolumes(const Dictionary& inclusion, bool asReference, int colourPosition, float bounds[4]);
    // The open phase-diagram document holding the isochore, or none.
    CPhaseDiagDocument* documentHolding(const IsochorPtr& isochor) const;

    QPointer<CPhaseDiagDocument> mDocument;
    QMetaObject::Connection mDocumentGone;
    QPointer<CPlotView> mPlotView;
    Array mAlphaBetaModelsArray;
    Array mFluidModelsArray;
    Array mInclusionsArray;
    Array mInclusionsArray2;
    std::vector<IsochorPtr> mIsochorsArray;
    std::vector<TrappingLinePtr> mTrappingsArray;
    Array mAqueousArray;
    std::weak_ptr<CPhaseDiagram> mSelectedPhaseDiagram;
    // Markers of alpha-beta plots in the alpha-beta fluid list (their gases are percent).
    QSet<const void*> mMarkers;
    // What each alpha-beta field showed before the user typed into it.
    QHash<QLineEdit*, QString> mAcceptedText;
    PhaseDiagOutlineModel* mOutlineModel = nullptr;
};

}  // namespace quorvel
