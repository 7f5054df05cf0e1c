#include "app/CCQuorvelDocumentController.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "app/DocumentTypes.h"
#include "app/MySplashDocument.h"
#include "app/Ports.h"
#include "platform/Document.h"
#include "platform/ScreenPlacement.h"
#include "platform/WindowController.h"
#include "plot/CAxisRangeWindow.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QWidget>

namespace quorvel {

namespace {

// One row per document type: its New and Open actions and the panel its commands show.
enum class Panel { None, PhaseDiagram, AlphaBeta };
struct TypeCommands
{
    QString type;
    QString extension;
    QString newAction;
    QString openAction;
    Panel newPanel;
    Panel openPanel;
};

const QList<TypeCommands>& typeCommands()
{
    using namespace DocumentTypes;
    static const QList<TypeCommands> rows{
        {PhaseDiagram, PhaseDiagramExtension, "onNewPhaseDiagDocument:", "onOpenPhaseDiagDocument:",
         Panel::PhaseDiagram, Panel::None},
        {FluidModel, FluidModelExtension, "onNewFluidModelDocument:", "onOpenFluidModelDocument:", Panel::None,
         Panel::None},
        {AlphaBetaCorrelation, AlphaBetaCorrelationExtension, "onNewCorrelationDocument:",
         "onOpenCorrelationDocument:", Panel::None, Panel::None},
        {AlphaBetaPlot, AlphaBetaPlotExtension, "onNewAlphaBetaPlotDocument:", "onOpenAlphaBetaPlotDocument:",
         Panel::AlphaBeta, Panel::AlphaBeta},
        {InclusionData, InclusionDataExtension, "onNewInclusionDataDocument:", "onOpenInclusionDataDocument:",
         Panel::None, Panel::None},
    };
    return rows;
}

void showPanel(Panel panel, QObject* sender)
{
    if (panel == Panel::PhaseDiagram)
        InspectorPanels::current().showPhaseDiagPanel(sender);
    else if (panel == Panel::AlphaBeta)
        InspectorPanels::current().showAlphaBetaPanel(sender);
}

const QString kShowToolBar = QStringLiteral("onShowToolBarWindow:");
const QString kShowLog = QStringLiteral("onShowLogWindow:");
const QString kShowAxisRange = QStringLiteral("onShowAxisRangePanel:");

}  // namespace

CCQuorvelDocumentController::CCQuorvelDocumentController() : mDefaultType(DocumentTypes::SplashWindow)
{
    using namespace DocumentTypes;
    // The correlation documents come with their own subsystem.
    addDocumentType({PhaseDiagram, PhaseDiagramExtension, [] { return std::make_unique<CPhaseDiagDocument>(); }});
    addDocumentType({FluidModel, FluidModelExtension, [] { return std::make_unique<CFluidModelDataDocument>(); }});
    addDocumentType({AlphaBetaCorrelation, AlphaBetaCorrelationExtension, nullptr});
    addDocumentType({AlphaBetaPlot, AlphaBetaPlotExtension, [] { return std::make_unique<CAlphaBetaPlotDocument>(); }});
    addDocumentType({InclusionData, InclusionDataExtension, [] { return std::make_unique<CInclusionDataDocument>(); }});
    addDocumentType({SplashWindow, QString(), [] { return std::make_unique<MySplashDocument>(); }});
}

void CCQuorvelDocumentController::applicationDidFinishLaunching()
{
    // The panels are made by whoever installed them; asking for them is all launching does.
    InspectorPanels::current();
}

void CCQuorvelDocumentController::setToolBarWindow(QWidget* window)
{
    mToolBarWindow = window;
    WindowController::setCascadeAnchor(window);
}

void CCQuorvelDocumentController::windowDidBecomeKey(QWidget* window)
{
    if (window != mToolBarWindow)
        return;
    // The available geometry, not the whole screen: a desktop's panel never covers its title.
    moveInsideScreen(window, availableScreenGeometry(window).topLeft());
}

void CCQuorvelDocumentController::onShowToolBarWindow(QObject*)
{
    if (!mToolBarWindow)
        return;
    mToolBarWindow->setWindowState(mToolBarWindow->windowState() & ~Qt::WindowMinimized);
    mToolBarWindow->show();
    mToolBarWindow->raise();
    mToolBarWindow->activateWindow();
}

void CCQuorvelDocumentController::onShowLogWindow(QObject* sender)
{
    CLogWindow::sharedLogWindowCtroller()->showWindow(sender);
}

void CCQuorvelDocumentController::onShowAxisRangePanel(QObject* sender)
{
    CAxisRangeWindow::sharedAxisRangeWindowCtroller()->showWindow(sender);
}

Document* CCQuorvelDocumentController::newDocumentOfType(const QString& type)
{
    mDefaultType = type;
    return openUntitledDocumentAndDisplay(true);
}

Document* CCQuorvelDocumentController::openDocumentWithExtension(const QString& extension)
{
    const QString path = runModalOpenPanel({extension});
    return path.isEmpty() ? nullptr : openDocumentWithContentsOfFile(path, true);
}

Document* openDocumentNoDisplay(const QString& extension)
{
    auto* controller = DocumentController::sharedDocumentController();
    if (!controller)
        return nullptr;
    const QString path = controller->runModalOpenPanel({extension});
    return path.isEmpty() ? nullptr : controller->openDocumentWithContentsOfFile(path, false);
}

QStringList CCQuorvelDocumentController::answeredActions() const
{
    QStringList actions = DocumentController::answeredActions() + QStringList{kShowToolBar, kShowLog, kShowAxisRange};
    for (const TypeCommands& row : typeCommands())
        actions << row.newAction << row.openAction;
    return actions;
}

bool CCQuorvelDocumentController::validateAction(const QString& action, QAction* item)
{
    if (action == kShowLog) {
        CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
        return !(log->isWindowLoaded() && log->window()->isVisible());
    }
    if (action == kShowToolBar)  // also when the toolbar window is on screen but covered
        return mToolBarWindow != nullptr;
    return DocumentController::validateAction(action, item);
}

void CCQuorvelDocumentController::performAction(const QString& action, QObject* sender)
{
    if (action == kShowToolBar)
        return onShowToolBarWindow(sender);
    if (action == kShowLog)
        return onShowLogWindow(sender);
    if (action == kShowAxisRange)
        return onShowAxisRangePanel(sender);
    for (const TypeCommands& row : typeCommands()) {
        if (action == row.newAction) {
            newDocumentOfType(row.type);
            return showPanel(row.newPanel, sender);
        }
        if (action == row.openAction) {
            openDocumentWithExtension(row.extension);
            return showPanel(row.openPanel, sender);
        }
    }
    DocumentController::performAction(action, sender);
}

}  // namespace quorvel
