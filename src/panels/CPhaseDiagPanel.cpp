// The frame of the phase-diagram panel: notifications, following the main window, page
// switching and refresh, the lists' data source and selection, the Delete key and the
// check of the alpha-beta fields.

#include "panels/CPhaseDiagPanel.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CPhaseDiagWindow.h"
#include "panels/PanelAlerts.h"
#include "panels/PhaseDiagOutlineModel.h"
#include "platform/NotificationCenter.h"
#include "plot/CPlotView.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>


namespace quorvel {

namespace {

const QString kInclusionsDataDocModified = QStringLiteral("InclusionsDataDocModified");
const QString kFluidModelDataDocModified = QStringLiteral("FluidModelDataDocModified");
const QString kFrameAutosaveName = QStringLiteral("PhaseDiagPanel1");
const QString kNameColumn = QStringLiteral("name");

constexpr double kMaxFraction = 1;
constexpr double kMaxPercent = 100;

}  // namespace

CPhaseDiagPanel* CPhaseDiagPanel::sharedPhaseDiagPanelCtroller()
{
    static CPhaseDiagPanel* const gPhaseDiagPanel = new CPhaseDiagPanel;
    return gPhaseDiagPanel;
}

CPhaseDiagPanel::CPhaseDiagPanel() : FloatingPanel(kFrameAutosaveName)
{
    const auto follow = [this](const QString& name, void (CPhaseDiagPanel::*handler)(const Notification&)) {
        observe(name, [this, handler](const Notification& note) { (this->*handler)(note); });
    };
    follow(PTPlotSelection, &CPhaseDiagPanel::onPTPlotSelection);
    follow(PTPlotModified, &CPhaseDiagPanel::onPTPlotModified);
    follow(WindowDidBecomeMainNotification, &CPhaseDiagPanel::mainWindowChanged);
    follow(WindowWillCloseNotification, &CPhaseDiagPanel::windowClosed);
    follow(kInclusionsDataDocModified, &CPhaseDiagPanel::onInclusionsDataDocModified);
    follow(kFluidModelDataDocModified, &CPhaseDiagPanel::onFluidModelDataDocModified);
    follow(AlphaBetaPlotModified, &CPhaseDiagPanel::onAlphaBetaPlotModified);
}

CPhaseDiagPanel::~CPhaseDiagPanel()
{
    // The lists' handlers must not run while the window goes.
    NotificationCenter::defaultCenter().removeObserver(this);
    disconnect(mDocumentGone);
    destroyWindow();
}

CPlotView* CPhaseDiagPanel::plotView() const
{
    return mDocument ? mPlotView.data() : nullptr;
}

int CPhaseDiagPanel::getSelectedPage() const
{
    return mTabView ? mTabView->currentIndex() : -1;
}

void CPhaseDiagPanel::selectTabViewIndex(int index)
{
    window();
    mTabView->setCurrentIndex(index);
    makeKeyAndOrderFront();
}

QString CPhaseDiagPanel::selectedPageIdentifier() const
{
    return mTabView ? mTabView->selectedIdentifier() : QString();
}

// ---- Following the main window ----

void CPhaseDiagPanel::mainWindowChanged(const Notification& note)
{
    if (!isWindowLoaded())
        return;
    auto* mainWindow = qobject_cast<QWidget*>(note.object);
    // Exactly a phase-diagram window: a subclass does not count.
    if (auto* controller = controllerOfExactClass<CPhaseDiagWindow>(mainWindow)) {
        auto* shown = qobject_cast<CPhaseDiagDocument*>(controller->document());
        if (shown && shown != mDocument) {
            attach(shown, mainWindow);
            return;
        }
    }
    updatePanel();
}

void CPhaseDiagPanel::attach(CPhaseDiagDocument* shown, QWidget* mainWindow)
{
    detach();
    mDocument = shown;
    mPlotView = shown->plotView();
    // A document that goes without its window's notice is dropped as well.
    mDocumentGone = connect(shown, &QObject::destroyed, this, [this] {
        detach();
        updatePanel();
    });
    // The panel's left edge touches the main window's right edge.
    placeBesideWindow(window(), mainWindow, 0);
    updatePanel();
    postSelection();
}

void CPhaseDiagPanel::detach()
{
    disconnect(mDocumentGone);
    mDocument = nullptr;
    mPlotView = nullptr;
    mSelectedPhaseDiagram.reset();
    mIsochorsArray.clear();
    mTrappingsArray.clear();
    // The isochores page lets go of the diagram it had chosen, and disables its controls.
    deselectAll(mIsoplethsView1);
}

void CPhaseDiagPanel::windowClosed(const Notification& note)
{
    if (!isWindowLoaded() || !mDocument)
        return;
    const WindowController* closing = windowControllerOfWindow(qobject_cast<QWidget*>(note.object));
    if (closing && closing->document() == mDocument) {
        detach();
        updatePanel();
    }
}

void CPhaseDiagPanel::onInclusionsDataDocModified(const Notification&) { updatePanel(); }
void CPhaseDiagPanel::onFluidModelDataDocModified(const Notification&) { updatePanel(); }
void CPhaseDiagPanel::onAlphaBetaPlotModified(const Notification&) { updatePanel(); }

void CPhaseDiagPanel::onPTPlotModified(const Notification&)
{
    dropGoneDiagram();
    updatePanel();
    redrawPlot();
}

void CPhaseDiagPanel::dropGoneDiagram()
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen)
        return;
    const auto& held = diagrams();
    if (std::find(held.begin(), held.end(), chosen) != held.end())
        return;
    mSelectedPhaseDiagram.reset();
    deselectAll(mIsoplethsView1);
}

void CPhaseDiagPanel::postSelection()
{
    NotificationCenter::defaultCenter().postNotification(PTPlotSelection, this);
}

// ---- Pages ----

void CPhaseDiagPanel::updatePanel(const QString& page)
{
    if (!mTabView)
        return;
    // A document closed without its window's notice is dropped here.
    if (!mDocument && (mPlotView || !mSelectedPhaseDiagram.expired()))
        detach();
    const QString shown = page.isEmpty() ? selectedPageIdentifier() : page;
    const bool attached = mDocument != nullptr;
    const auto enable = [attached](std::initializer_list<QWidget*> controls) { setControlsEnabled(controls, attached); };
    if (shown == kIsoplethsPage) {
        enable({mIsoplethsView, mAlphaBetaModelsView, mFluidModelsView, mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit,
                mH2SEdit, mIsoplethCalcButton, mIsoplethDeleteButton});
        mIsoplethsView->setEnabled(attached && !diagrams().empty());
        reload(mIsoplethsView);
        refreshAlphaBetaFluidsList();
        refreshFluidModelsList();
    } else if (shown == kIsochorsPage) {
        enable({mIsoplethsView1, mInclusionsView, mIsochorsView, mThEdit, mLiquidRadio, mGasRadio, mIsochorCalcButton,
                mPhEdit, mDensityEdit, mAPIEdit, mGOREdit, mWriteLogButton, mIsochorDeleteButton});
        reload(mIsoplethsView1);
        refreshInclusionsList();
        reload(mIsochorsView);
    } else if (shown == kVolumesPage) {
        enable({mIsochorsView2, mInclusionsView2});
        refreshInclusions2();
        refreshIsochorsList();
        mVolumePlotView->purge();
        mVolumePlotView->update();
    } else if (shown == kTrappingPage) {
        enable({mIsochorsView1, mTrappingsView, mThAqEdit, mThAqStepper, mPtrapEdit, mWriteLogButton1,
                mSetTrappingButton, mTrapLineDeleteButton});
        refreshIsochorsList();
        refreshTrappingsList();
    } else if (shown == kAqueousPage) {
        enable({mAqueousView, mCH4MolalityEdit, mNaClMolalityEdit, mTrapAqEdit, mPtrapAqEdit, mAqueousCalcButton,
                mAqueousDeleteButton, mAqueousLogButton});
    } else if (shown == kSummaryPage) {
        enable({mPhaseDiagView, mDeleteButton});
        refreshIsochorsList();
        refreshTrappingsList();
        reloadOutline();
    }
}

// ---- Lists: data source ----

const std::vector<PhaseDiagramPtr>& CPhaseDiagPanel::diagrams() const
{
    static const std::vector<PhaseDiagramPtr> none;
    return mDocument ? mDocument->phaseDiagrams() : none;
}

PhaseDiagramPtr CPhaseDiagPanel::diagramAt(int row) const
{
    const auto& held = diagrams();
    return row >= 0 && row < int(held.size()) ? held[row] : nullptr;
}

int CPhaseDiagPanel::rowOfDiagram(const PhaseDiagramPtr& diagram) const
{
    const auto& held = diagrams();
    const auto found = std::find(held.begin(), held.end(), diagram);
    return diagram && found != held.end() ? int(found - held.begin()) : -1;
}

IsochorPtr CPhaseDiagPanel::monophasicIsochorAt(int row) const
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen || row < 0 || row >= int(chosen->monophasicIsochors().size()))
        return nullptr;
    return chosen->monophasicIsochors()[row];
}

int CPhaseDiagPanel::rowOfMonophasicIsochor(const IsochorPtr& isochor) const
{
    const PhaseDiagramPtr chosen = selectedPhaseDiagram();
    if (!chosen || !isochor)
        return -1;
    const auto& list = chosen->monophasicIsochors();
    const auto found = std::find(list.begin(), list.end(), isochor);
    return found != list.end() ? int(found - list.begin()) : -1;
}

int CPhaseDiagPanel::numberOfRows(const QAbstractItemView* view) const
{
    if (view == mIsoplethsView || view == mIsoplethsView1)
        return int(diagrams().size());
    if (view == mAlphaBetaModelsView)
        return mAlphaBetaModelsArray.size();
    if (view == mFluidModelsView)
        return mFluidModelsArray.size();
    if (view == mInclusionsView)
        return mInclusionsArray.size();
    if (view == mInclusionsView2)
        return mInclusionsArray2.size();
    if (view == mIsochorsView) {
        const PhaseDiagramPtr chosen = selectedPhaseDiagram();
        return chosen ? int(chosen->monophasicIsochors().size()) : 0;
    }
    if (view == mIsochorsView1 || view == mIsochorsView2)
        return mDocument ? int(mIsochorsArray.size()) : 0;
    if (view == mTrappingsView)
        return int(mTrappingsArray.size());
    return 0;
}

namespace {

// Row 0 of a list with a placeholder shows the placeholder text itself, once, in the name column.
Value listCell(const Array& list, const QString& column, int row, bool placeholderFirst)
{
    if (placeholderFirst && row == 0)
        return column == kNameColumn ? list.at(0) : Value();
    return recordCell(list, row, column);
}

template <class Record>
Value nameCell(const std::vector<std::shared_ptr<Record>>& list, int row)
{
    return row >= 0 && row < int(list.size()) && list[row] ? Value(list[row]->name()) : Value();
}

}  // namespace

Value CPhaseDiagPanel::objectValue(const QAbstractItemView* view, const QString& column, int row) const
{
    if (view == mIsoplethsView || view == mIsoplethsView1) {
        const PhaseDiagramPtr diagram = diagramAt(row);
        return diagram ? Value(diagram->name()) : Value();
    }
    if (view == mAlphaBetaModelsView)
        return listCell(mAlphaBetaModelsArray, column, row, true);
    if (view == mFluidModelsView)
        return listCell(mFluidModelsArray, column, row, false);
    if (view == mInclusionsView)
        return listCell(mInclusionsArray, column, row, true);
    if (view == mInclusionsView2)
        return listCell(mInclusionsArray2, column, row, false);
    if (view == mIsochorsView) {
        const PhaseDiagramPtr chosen = selectedPhaseDiagram();
        return chosen ? nameCell(chosen->monophasicIsochors(), row) : Value();
    }
    if (view == mIsochorsView1 || view == mIsochorsView2)
        return mDocument ? nameCell(mIsochorsArray, row) : Value();
    if (view == mTrappingsView)
        return mDocument ? nameCell(mTrappingsArray, row) : Value();
    return {};
}

void CPhaseDiagPanel::reload(RecordTable* view)
{
    view->reloadData();
}

void CPhaseDiagPanel::reloadOutline()
{
    mOutlineModel->reload(mDocument, mPhaseDiagView);
}

// ---- Lists: selection ----

void CPhaseDiagPanel::selectRow(RecordTable* view, int row, bool scroll)
{
    if (!view || !view->model() || row < 0 || row >= view->model()->rowCount())
        return;
    const QModelIndex index = view->model()->index(row, 0);
    view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (scroll)
        view->scrollTo(index);
}

void CPhaseDiagPanel::deselectAll(RecordTable* view)
{
    if (view)
        view->deselectAll();
}

void CPhaseDiagPanel::tableViewSelectionDidChange(QAbstractItemView* view)
{
    if (view == mIsoplethsView)
        onSelectPhaseEnvelope();
    else if (view == mAlphaBetaModelsView)
        onSelectAlphaBetaModel();
    else if (view == mFluidModelsView)
        onSelectFluidModel();
    else if (view == mIsoplethsView1)
        onSelectIsopleth();
    else if (view == mInclusionsView)
        onSelectInclusion();
    else if (view == mIsochorsView)
        onSelectIsochor();
    else if (view == mIsochorsView1)
        onSelectIsochor1();
    else if (view == mTrappingsView)
        onSelectTrapping();
    else if (view == mIsochorsView2)
        onSelectIsochor2();
    else if (view == mInclusionsView2)
        onSelectInclusion2();
    else if (view == mPhaseDiagView)
        onSelectPhaseDiagramElement();
}

// ---- Delete key ----

void CPhaseDiagPanel::tableViewDeleteSelectedRow(MyTableView* view)
{
    if (view == mIsoplethsView)
        onDeleteIsopleth(this);
    else if (view == mIsochorsView)
        onDeleteIsochor(this);
    else if (view == mTrappingsView)
        onDeleteTrapping(this);
}

void CPhaseDiagPanel::tableViewDeleteSelectedRow(MyOutlineView* view)
{
    if (view == mPhaseDiagView)
        onRemovePhaseDiagramElement(this);
}

void CPhaseDiagPanel::onWriteLogButton(QObject*) {}
void CPhaseDiagPanel::onWriteLogButton1(QObject*) {}

// ---- The alpha-beta fields ----

void CPhaseDiagPanel::setAlphaBetaField(QLineEdit* field, const QString& text)
{
    field->setText(text);
    mAcceptedText[field] = text;
}

bool CPhaseDiagPanel::textShouldEndEditing(QLineEdit* control)
{
    struct Check
    {
        QLineEdit* field;
        double upper;
        void (*alert)();
    };
    const Check checks[] = {{mAlphaEdit, kMaxFraction, Msg_AlphaNotValid},
                            {mBetaEdit, kMaxFraction, Msg_BetaNotValid},
                            {mCO2Edit, kMaxPercent, Msg_CO2NotValid},
                            {mN2Edit, kMaxPercent, Msg_N2NotValid},
                            {mH2SEdit, kMaxPercent, Msg_H2SNotValid}};
    for (const Check& check : checks) {
        if (check.field != control)
            continue;
        bool isNumber = false;
        const double value = control->text().trimmed().toDouble(&isNumber);
        if (isNumber && value >= 0 && value <= check.upper) {
            mAcceptedText[control] = control->text();
            return true;
        }
        check.alert();
        // The field gets back what it showed before: a refused value never replaces it.
        control->setText(mAcceptedText.value(control, formatNumber(0, NumberFormat::Decimals2)));
        control->setFocus();
        return false;
    }
    return true;
}

void CPhaseDiagPanel::setAlphaBetaFieldsEditable(bool editable)
{
    for (QLineEdit* field : {mAlphaEdit, mBetaEdit, mCO2Edit, mN2Edit, mH2SEdit})
        field->setReadOnly(!editable);
}

// ---- Shared helpers of the pages ----

void CPhaseDiagPanel::hiliteOff()
{
    if (CPlotView* view = plotView())
        view->hilite(nullptr);
}

void CPhaseDiagPanel::redrawPlot()
{
    if (CPlotView* view = plotView())
        view->update();
}

double CPhaseDiagPanel::fieldDouble(const QLineEdit* field)
{
    return field->text().trimmed().toDouble();
}

void CPhaseDiagPanel::setHomogRadios(bool toLiquid)
{
    mLiquidRadio->setChecked(toLiquid);
    mGasRadio->setChecked(!toLiquid);
}

void CPhaseDiagPanel::showDiagramStockTank(const PhaseDiagramPtr& diagram)
{
    setDoubleValue2(*mAPIEdit, diagram->API());
    setDoubleValue2(*mGOREdit, diagram->GOR());
}

}  // namespace quorvel
