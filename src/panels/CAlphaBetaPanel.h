#pragma once
// The alpha-beta panel: the floating inspector of the alpha-beta plot document whose
// window is main. Three pages: "curves" (compute the alpha-beta curves of inclusions,
// list, sort and remove them), "fluids" (alpha-beta fluids and the plot's markers, their
// stock-tank properties) and "correlations" (correlation lines and the reference curves).
// There is one panel for the whole run; it observes the documents from its creation
// and builds its window the first time it is shown.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/Ports.h"
#include "panels/FloatingPanel.h"
#include "platform/Value.h"
#include "plot/CPlotView.h"
#include "widgets/MyTableView.h"

#include <QPointer>

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace quorvel {

class CalculationInterface;
class CGraphObject;
class NumberField;
class PanelPages;
class RecordTable;
class ValueStepper;

// The petroleum type of a stock-tank fluid: GOR (Sm3/Sm3), C7+ and the gases (mole percent), API.
QString petroleumTypeText(double GOR, double API, double C7plus, double CH4, double CO2, double N2, double H2S);

// Whether a curve record and an inclusion record describe the same inclusion: equal names,
// Th, Tv, Fv and the gases within 1e-6 of each other, equal homogenisations.
bool curveMatchesInclusion(const Dictionary& curve, const Dictionary& inclusion);

class CAlphaBetaPanel : public FloatingPanel, public MyTableViewDelegate
{
    Q_OBJECT

public:
    static CAlphaBetaPanel* sharedAlphaBetaPanelCtroller();
    CAlphaBetaPanel();
    ~CAlphaBetaPanel() override;

    // Page identifiers, in their order.
    static const QString kCurvesPage;
    static const QString kFluidsPage;
    static const QString kCorrelationsPage;
    static constexpr int kGapToMainWindow = 10;

    CAlphaBetaPlotDocument* attachedDocument() const { return mDocument; }
    CPlotView* plotView() const { return mPlotView; }

    AlphaBetaPanelPage getSelectedPage();
    void selectTabViewIndex(AlphaBetaPanelPage page);
    // Refreshes the page (none: the selected one): its controls follow the attached document.
    void updatePanel(const QString& page = QString());

    // ---- Notifications ----
    void mainWindowChanged(const Notification& notification);
    void windowClosed(const Notification& notification);
    void onAlphaBetaPlotModified(const Notification& notification);
    void onInclusionsDataDocModified(const Notification& notification);
    void onAlphaBetaPlotSelection(const Notification& notification);

    // ---- Curves page ----
    void refreshViewsPage1();
    void onInclusionSelectionChanged();
    void onAlphaBetaCurveSelected();
    void onCalculateButton();
    void onCalculateAllButton();
    void onRemoveButton();
    void onSortButton();
    void onEndAlphaBetaCalculation();
    // The inclusions list: a placeholder, then the oil inclusions without a curve.
    Array inclusions() const { return mInclusionsArray; }

    // ---- Fluids page ----
    void onAlphaChange();
    void onBetaChange();
    void onChangeParameters1();
    void onSpinAlpha();
    void onSpinBeta();
    void onCurvesCheckBox();
    void onAddNewButton();
    void onRemoveFluidMarker();
    void onGenerateFluid();
    void onWriteLogButton();
    void onCheckShowLabels();
    void onAlphaBetaPointSelectionChanged();
    void onCurveSelect();
    void setGORAPI();
    void showPreviewPoint();
    double alpha() const { return mAlpha; }
    double beta() const { return mBeta; }

    // ---- Correlations page ----
    void onAddCorrelation();
    void onRemoveCorrelation();
    void onShowCorrelationLabels();
    void onShowCorrelation();
    void onShowHideIsoGORCurves();
    void onShowHideIsoAPICurves();
    void onShowHideIsoCH4Curves();
    void onShowHideIsoC7plusCurves();
    void onShowHideMcCainCurves();
    void onCorrelationSelected();

    // Delete in the points table removes the selected marker; the other requests change nothing.
    void tableViewShiftDownSelectedRow(MyTableView*) override {}
    void tableViewShiftUpSelectedRow(MyTableView*) override {}
    void tableViewDeleteSelectedRow(MyTableView* tableView) override;

    // The window's controls, for the panel's users and tests.
    struct Controls
    {
        PanelPages* tabView = nullptr;
        // curves
        NumberField *th = nullptr, *fv = nullptr, *tv = nullptr, *co2 = nullptr, *n2 = nullptr, *h2s = nullptr;
        QRadioButton *liquidRadio = nullptr, *gasRadio = nullptr;
        QPushButton *calcButton = nullptr, *calculateAllButton = nullptr, *sortButton = nullptr,
                    *removeCurveButton = nullptr;
        RecordTable *inclusionsView = nullptr, *curvesView1 = nullptr;
        // fluids
        RecordTable *pointsView = nullptr, *curvesView = nullptr;
        NumberField *alphaField = nullptr, *betaField = nullptr, *co2Field = nullptr, *n2Field = nullptr,
                    *h2sField = nullptr;
        ValueStepper *alphaStep = nullptr, *betaStep = nullptr;
        QCheckBox *isOnCurveCheckBox = nullptr, *showLabelsCheck = nullptr;
        NumberField* phField = nullptr;
        QLabel *gorField = nullptr, *apiField = nullptr, *ch4Field = nullptr, *c7plusField = nullptr,
               *petroleumLabel = nullptr;
        QPushButton *newFluidButton = nullptr, *generateButton = nullptr, *logButton = nullptr,
                    *deleteFluidButton = nullptr;
        // correlations
        RecordTable *correlationsView = nullptr, *correlationsView1 = nullptr;
        QPushButton *addCorrelationButton = nullptr, *removeCorrelationButton = nullptr;
        QCheckBox *showIsoGORCheckBox = nullptr, *showIsoAPICheckBox = nullptr, *showIsoCH4CheckBox = nullptr,
                  *showIsoC7plusCheckBox = nullptr, *showMcCainCheckBox = nullptr;
        QCheckBox *showCorrelationLabels = nullptr, *showCorrelation = nullptr;
    };
    const Controls& controls() { window(); return m; }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    QWidget* makeCurvesPage();
    QWidget* makeFluidsPage();
    QWidget* makeCorrelationsPage();
    void connectCurvesPage();
    void connectFluidsPage();
    void connectCorrelationsPage();

    void attach(CAlphaBetaPlotDocument* document);
    void updateCurvesPage(bool attached);
    void updateFluidsPage(bool attached);
    void updateCorrelationsPage(bool attached);
    void reloadCorrelationFluids();
    void postPlotSelection();

    // Plot selection, by page.
    void curvesPageTakesPlotSelection(CGraphObject* selected);
    void fluidsPageTakesPlotSelection(CGraphObject* selected);
    void correlationsPageTakesPlotSelection(CGraphObject* selected);

    // The fields of the curves page showing an inclusion or curve record (read-only) or the typed defaults.
    void showInclusionFields(const Dictionary& record);
    void showTypedInclusionDefaults();
    void setHomogenisation(Homogenisation homog, bool editable);
    // The fluid fields showing the current fluid; the gases editable or not.
    void showFluidFields(bool editable);
    // Follows the curve: the other coordinate from the one given, false when outside the curve.
    bool followCurveFromAlpha(const Dictionary& curve);
    bool followCurveFromBeta(const Dictionary& curve);
    void takeGases(double CO2, double N2, double H2S);
    void takeCurveGases(const Dictionary& curve);
    // What the pages picked in the document they leave: rows, the curve followed, the correlation.
    void forgetDocumentSelections();
    // The fluid page starts over with a new fluid of zeros, as the closed document leaves nothing to show.
    void forgetFluid();
    // Detaches from the document that closes (or went without its window closing) and forgets its fluid.
    void letGoOfClosedDocument();
    // Off the curve: the on-curve mode off, no pressure, the gases of the fields.
    void leaveCurve();
    // The alpha field's value, and on a curve beta from it.
    void takeAlpha();
    void selectNewPointRow();

    Array curves() const;
    Array points() const;
    Array correlations() const;
    std::optional<Dictionary> selectedCurveOfFluidsPage() const;
    void hilite(CGraphObject* object);
    void redrawPlot();

    QPointer<CAlphaBetaPlotDocument> mDocument;
    QMetaObject::Connection mDocumentGone;
    QPointer<CPlotView> mPlotView;
    Array mInclusionsArray;
    bool mIsSorted = false;
    double mAlpha = 0, mBeta = 0;
    double mCO2 = 0, mN2 = 0, mH2S = 0;
    std::unique_ptr<CalculationInterface> mCalculationInterface;
    std::optional<Dictionary> mCurrentCorrelation;
    Controls m;
};

// The plot object that shows a record in a plot view; none when the view does not show it.
CGraphObject* plotObjectOfRecord(const CPlotView* view, const Dictionary& record);

}  // namespace quorvel
