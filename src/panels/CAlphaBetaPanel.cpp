// The alpha-beta panel's frame: creation and the notifications it follows, attaching to
// the main alpha-beta plot window, page switching and refresh, the tables' rows and cells,
// and the dispatch of selections and of the plot's selection to the pages.

#include "panels/CAlphaBetaPanel.h"

#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/NumberField.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CAlphaBetaPlotWindow.h"
#include "app/CInclusionDataDocument.h"
#include "calc/CalculationInterface.h"
#include "platform/MainWindowTracker.h"
#include "plot/CGraphObject.h"
#include "plot/CPlotView.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quorvel {

const QString CAlphaBetaPanel::kCurvesPage = QStringLiteral("curves");
const QString CAlphaBetaPanel::kFluidsPage = QStringLiteral("fluids");
const QString CAlphaBetaPanel::kCorrelationsPage = QStringLiteral("correlations");

CGraphObject* plotObjectOfRecord(const CPlotView* view, const Dictionary& record)
{
    if (!view)
        return nullptr;
    for (const GraphObjectPtr& object : view->graphObjects())
        if (object && object->referenceObject().identity() == record.identity())
            return object.get();
    return nullptr;
}

CAlphaBetaPanel* CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()
{
    static CAlphaBetaPanel* const panel = [] {
        auto* made = new CAlphaBetaPanel;  // lives as long as the application
        connect(CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller(), &CAlphaBetaCalcPanel::calculationEnded, made,
                &CAlphaBetaPanel::onEndAlphaBetaCalculation);
        return made;
    }();
    return panel;
}

CAlphaBetaPanel::CAlphaBetaPanel()
    : FloatingPanel(QStringLiteral("AlphaBetaPanel")),
      mCalculationInterface(std::make_unique<CalculationInterface>(FluidType::alphaBeta, EquationOfState::pengRobinson))
{
    observe(AlphaBetaPlotModified, [this](const Notification& n) { onAlphaBetaPlotModified(n); });
    observe(AlphaBetaPlotSelection, [this](const Notification& n) { onAlphaBetaPlotSelection(n); });
    observe(InclusionsDataDocModified, [this](const Notification& n) { onInclusionsDataDocModified(n); });
    observe(WindowDidBecomeMainNotification, [this](const Notification& n) { mainWindowChanged(n); });
    observe(WindowWillCloseNotification, [this](const Notification& n) { windowClosed(n); });
}

CAlphaBetaPanel::~CAlphaBetaPanel()
{
    destroyWindow();
}

QWidget* CAlphaBetaPanel::makeWindow()
{
    QWidget* panel = makePanelWindow(QStringLiteral("AlphaBetaPanel1"), tr("Alpha-Beta"));
    m.tabView = new PanelPages(panel);
    m.tabView->addPage(makeCurvesPage(), kCurvesPage, tr("Curves"));
    m.tabView->addPage(makeFluidsPage(), kFluidsPage, tr("Fluids"));
    m.tabView->addPage(makeCorrelationsPage(), kCorrelationsPage, tr("Correlations"));
    connect(m.tabView, &PanelPages::willSelectPage, this, [this](const QString& page) { updatePanel(page); });
    connect(m.tabView, &PanelPages::didSelectPage, this, [this] {
        if (mDocument)
            postPlotSelection();
    });
    connectCurvesPage();
    connectFluidsPage();
    connectCorrelationsPage();
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m.tabView);
    panel->adjustSize();
    return panel;
}

void CAlphaBetaPanel::windowDidLoad()
{
    m.isOnCurveCheckBox->setChecked(false);
    for (NumberField* field : {m.th, m.fv, m.tv, m.co2, m.n2, m.h2s, m.alphaField, m.betaField})
        field->setAlignment(Qt::AlignLeft);
    for (RecordTable* table : {m.pointsView, m.curvesView, m.curvesView1, m.correlationsView}) {
        table->setDeletable(true);
        table->setDelegate(this);
    }
    updatePanel();
    // Attaches at once when an alpha-beta plot window is main.
    NotificationCenter::defaultCenter().postNotification(WindowDidBecomeMainNotification,
                                                         MainWindowTracker::instance().mainWindow());
}

// The pages are the tabs in their order.
AlphaBetaPanelPage CAlphaBetaPanel::getSelectedPage()
{
    return static_cast<AlphaBetaPanelPage>(controls().tabView->currentIndex());
}

void CAlphaBetaPanel::selectTabViewIndex(AlphaBetaPanelPage page)
{
    controls().tabView->setCurrentIndex(static_cast<int>(page));
    makeKeyAndOrderFront();
}

// ---- Following the main window ----

void CAlphaBetaPanel::mainWindowChanged(const Notification& notification)
{
    if (!isWindowLoaded())
        return;
    auto* mainWindow = qobject_cast<QWidget*>(notification.object);
    const auto* controller = controllerOfExactClass<CAlphaBetaPlotWindow>(mainWindow);
    if (!controller)
        return;
    auto* plotDocument = dynamic_cast<CAlphaBetaPlotDocument*>(controller->document());
    if (!plotDocument || plotDocument == mDocument)
        return;
    attach(plotDocument);
    placeBesideWindow(window(), mainWindow, kGapToMainWindow);
}

void CAlphaBetaPanel::attach(CAlphaBetaPlotDocument* document)
{
    if (document != mDocument || !document)
        forgetDocumentSelections();
    disconnect(mDocumentGone);
    if (document)
        mDocumentGone = connect(document, &QObject::destroyed, this, &CAlphaBetaPanel::letGoOfClosedDocument);
    mDocument = document;
    mPlotView = document ? document->plotView() : nullptr;
    updatePanel();
    if (mDocument && m.inclusionsView->numberOfRows() > 0)
        m.inclusionsView->selectRowAndScroll(0);
}

void CAlphaBetaPanel::windowClosed(const Notification& notification)
{
    if (!isWindowLoaded() || !mDocument)
        return;
    for (const auto& controller : mDocument->windowControllers())
        if (controller->isWindowLoaded() && controller->window() == notification.object) {
            letGoOfClosedDocument();
            return;
        }
}

void CAlphaBetaPanel::letGoOfClosedDocument()
{
    attach(nullptr);
    forgetFluid();
}

void CAlphaBetaPanel::forgetDocumentSelections()
{
    for (RecordTable* table : {m.pointsView, m.curvesView, m.curvesView1, m.correlationsView})
        table->deselectAll();
    m.isOnCurveCheckBox->setChecked(false);
    m.phField->clearValue();
    mCurrentCorrelation.reset();
}

// ---- Pages ----

void CAlphaBetaPanel::updatePanel(const QString& page)
{
    if (!isWindowLoaded())
        return;
    if (!mDocument)
        mPlotView = nullptr;  // the document went away with its window
    const QString shown = page.isEmpty() ? m.tabView->selectedIdentifier() : page;
    const bool attached = mDocument != nullptr;
    if (shown == kCurvesPage)
        updateCurvesPage(attached);
    else if (shown == kFluidsPage)
        updateFluidsPage(attached);
    else if (shown == kCorrelationsPage)
        updateCorrelationsPage(attached);
}

void CAlphaBetaPanel::postPlotSelection()
{
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotSelection, this);
}

// ---- Notifications ----

void CAlphaBetaPanel::onAlphaBetaPlotModified(const Notification&)
{
    updatePanel();
}

void CAlphaBetaPanel::onInclusionsDataDocModified(const Notification&)
{
    if (!isWindowLoaded())
        return;
    const int row = m.inclusionsView->selectedRow();
    updatePanel();
    if (row >= 0 && row < m.inclusionsView->numberOfRows())
        m.inclusionsView->selectRowAndScroll(row);
    onInclusionSelectionChanged();
}

void CAlphaBetaPanel::onAlphaBetaPlotSelection(const Notification&)
{
    if (!isWindowLoaded() || !mPlotView)
        return;
    CGraphObject* selected = mPlotView->selectedObject();
    mAlpha = double(mPlotView->selectedPointX());
    mBeta = double(mPlotView->selectedPointY());
    switch (getSelectedPage()) {
    case AlphaBetaPanelPage::Curves: curvesPageTakesPlotSelection(selected); break;
    case AlphaBetaPanelPage::Fluids: fluidsPageTakesPlotSelection(selected); break;
    case AlphaBetaPanelPage::Correlations: correlationsPageTakesPlotSelection(selected); break;
    }
}

void CAlphaBetaPanel::tableViewDeleteSelectedRow(MyTableView* tableView)
{
    if (tableView == m.pointsView)
        onRemoveFluidMarker();
}

// ---- The document's lists ----

Array CAlphaBetaPanel::curves() const
{
    return mDocument ? mDocument->alphaBetaCurves() : Array();
}

Array CAlphaBetaPanel::points() const
{
    return mDocument ? mDocument->alphaBetaPoints() : Array();
}

Array CAlphaBetaPanel::correlations() const
{
    return mDocument ? mDocument->alphaBetaCorrelations() : Array();
}

void CAlphaBetaPanel::hilite(CGraphObject* object)
{
    if (mPlotView)
        mPlotView->hilite(object);
}

void CAlphaBetaPanel::redrawPlot()
{
    if (mPlotView)
        mPlotView->update();
}

}  // namespace quorvel
