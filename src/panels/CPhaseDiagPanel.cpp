// The frame of the phase-diagram panel: notifications, following the main window, the
// pages in their tab view, their refresh and the plot's selection handed to the page in front.

#include "panels/CPhaseDiagPanel.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CPhaseDiagWindow.h"
#include "panels/PanelPages.h"
#include "panels/PhaseDiagIsochorsPage.h"
#include "panels/PhaseDiagIsoplethsPage.h"
#include "panels/PhaseDiagSummaryPage.h"
#include "panels/PhaseDiagTrappingPage.h"
#include "panels/PhaseDiagVolumesPage.h"
#include "platform/DocumentController.h"
#include "platform/NotificationCenter.h"
#include "plot/CPlotView.h"

#include <QVBoxLayout>

namespace quorvel {

namespace {

const QString kInclusionsDataDocModified = QStringLiteral("InclusionsDataDocModified");
const QString kFluidModelDataDocModified = QStringLiteral("FluidModelDataDocModified");
const QString kFrameAutosaveName = QStringLiteral("PhaseDiagPanel1");
const QString kLayoutName = QStringLiteral("PhaseDiagPanel1");
constexpr int kPanelWidth = 520;
constexpr int kPanelHeight = 600;

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
    for (const QString& name : {kInclusionsDataDocModified, kFluidModelDataDocModified, AlphaBetaPlotModified})
        observe(name, [this](const Notification&) { updatePanel(); });
}

CPhaseDiagPanel::~CPhaseDiagPanel()
{
    // The lists' handlers must not run while the window goes.
    NotificationCenter::defaultCenter().removeObserver(this);
    disconnect(mDocumentGone);
    destroyWindow();
}

// ---- The window and its pages ----

QWidget* CPhaseDiagPanel::makeWindow()
{
    QWidget* panel = makePanelWindow(kLayoutName, tr("Phase Diagram"));
    mTabView = new PanelPages(panel);
    mTabView->setObjectName(QStringLiteral("mTabView"));
    PhaseDiagPageHost& host = *this;
    mIsopleths = std::make_unique<PhaseDiagIsoplethsPage>(host, kIsoplethsPage);
    mIsochors = std::make_unique<PhaseDiagIsochorsPage>(host, kIsochorsPage);
    mVolumes = std::make_unique<PhaseDiagVolumesPage>(host, kVolumesPage);
    mTrapping = std::make_unique<PhaseDiagTrappingPage>(host, kTrappingPage);
    mAqueous = std::make_unique<PhaseDiagAqueousPage>(host, kAqueousPage);
    mSummary = std::make_unique<PhaseDiagSummaryPage>(host, kSummaryPage);
    const std::pair<PhaseDiagPage*, QString> pages[] = {
        {mIsopleths.get(), tr("Isopleths")}, {mIsochors.get(), tr("Isochors")}, {mVolumes.get(), tr("Volumes")},
        {mTrapping.get(), tr("Trapping")},   {mAqueous.get(), tr("Aqueous")},   {mSummary.get(), tr("Summary")}};
    for (const auto& [page, title] : pages) {
        mTabView->addPage(page->widget(), page->identifier(), title);
        mPages.push_back(page);
    }
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(mTabView);
    panel->resize(kPanelWidth, kPanelHeight);
    connect(mTabView, &PanelPages::willSelectPage, this, [this](const QString& page) { updatePanel(page); });
    connect(mTabView, &PanelPages::didSelectPage, this, [this] {
        // The page now in front takes up the plot's current selection.
        if (mDocument)
            postSelection();
    });
    return panel;
}

void CPhaseDiagPanel::windowDidLoad()
{
    for (PhaseDiagPage* page : mPages)
        page->windowDidLoad();
}

template <class Page>
Page& CPhaseDiagPanel::loaded(const std::unique_ptr<Page>& page)
{
    window();
    return *page;
}

PhaseDiagIsoplethsPage& CPhaseDiagPanel::isoplethsPage() { return loaded(mIsopleths); }
PhaseDiagIsochorsPage& CPhaseDiagPanel::isochorsPage() { return loaded(mIsochors); }
PhaseDiagVolumesPage& CPhaseDiagPanel::volumesPage() { return loaded(mVolumes); }
PhaseDiagTrappingPage& CPhaseDiagPanel::trappingPage() { return loaded(mTrapping); }
PhaseDiagAqueousPage& CPhaseDiagPanel::aqueousPage() { return loaded(mAqueous); }
PhaseDiagSummaryPage& CPhaseDiagPanel::summaryPage() { return loaded(mSummary); }

PanelPages& CPhaseDiagPanel::tabView()
{
    window();
    return *mTabView;
}

PhaseDiagPage* CPhaseDiagPanel::pageOf(const QString& identifier) const
{
    for (PhaseDiagPage* page : mPages)
        if (page->identifier() == identifier)
            return page;
    return nullptr;
}

CPlotView* CPhaseDiagPanel::plotView() const
{
    return mDocument ? mPlotView.data() : nullptr;
}

// The pages are the tabs in their order.
std::optional<PhaseDiagPanelPage> CPhaseDiagPanel::getSelectedPage() const
{
    if (!mTabView)
        return std::nullopt;
    return static_cast<PhaseDiagPanelPage>(mTabView->currentIndex());
}

void CPhaseDiagPanel::selectTabViewIndex(PhaseDiagPanelPage page)
{
    window();
    mTabView->setCurrentIndex(static_cast<int>(page));
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
    mIsochorsArray.clear();
    for (PhaseDiagPage* page : mPages)
        page->documentDetached();
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

void CPhaseDiagPanel::onPTPlotModified(const Notification&)
{
    if (mIsochors)
        mIsochors->dropGoneDiagram();
    updatePanel();
    redrawPlot();
}

void CPhaseDiagPanel::postSelection()
{
    NotificationCenter::defaultCenter().postNotification(PTPlotSelection, this);
}

void CPhaseDiagPanel::onPTPlotSelection(const Notification&)
{
    if (!isWindowLoaded())
        return;
    hiliteOff();
    const PlotClick click = plotClickOf(plotView());
    if (PhaseDiagPage* page = pageOf(selectedPageIdentifier()))
        page->takePlotSelection(click);
}

// ---- Pages ----

void CPhaseDiagPanel::updatePanel(const QString& page)
{
    if (!mTabView)
        return;
    // A document closed without its window's notice is dropped here.
    if (!mDocument && (mPlotView || mIsochors->selectedPhaseDiagram()))
        detach();
    if (PhaseDiagPage* shown = pageOf(page.isEmpty() ? selectedPageIdentifier() : page))
        shown->refresh(mDocument != nullptr);
}

void CPhaseDiagPanel::refreshIsochorsList()
{
    mIsochorsArray.clear();
    for (const PhaseDiagramPtr& diagram : diagrams())
        for (const IsochorPtr& isochor : diagram->monophasicIsochors())
            mIsochorsArray.push_back(isochor);
    mTrapping->reloadIsochors();
    mVolumes->reloadIsochors();
}

void CPhaseDiagPanel::refreshTrappingsList()
{
    mTrapping->refreshTrappingsList();
}

// ---- The trapping line asked for by a plot ----

CPhaseDiagDocument* CPhaseDiagPanel::documentHolding(const IsochorPtr& isochor)
{
    if (!isochor)
        return nullptr;
    if (DocumentController* controller = DocumentController::sharedDocumentController())
        for (Document* document : controller->documents())
            if (auto* diagrams = qobject_cast<CPhaseDiagDocument*>(document);
                diagrams && holdsIsochor(*diagrams, isochor))
                return diagrams;
    return nullptr;
}

void CPhaseDiagPanel::showAqueousHomogLine(const IsochorPtr& isochor, double T)
{
    window();
    // A command from the plot of another phase-diagram document works on that document.
    if (CPhaseDiagDocument* owner = documentHolding(isochor); owner && owner != mDocument) {
        QWidget* ownWindow = nullptr;
        if (!owner->windowControllers().empty() && owner->windowControllers().front()->isWindowLoaded())
            ownWindow = owner->windowControllers().front()->window();
        attach(owner, ownWindow);
    }
    mTrapping->showAqueousHomogLine(isochor, T);
}

}  // namespace quorvel
