#include "app/CCQuorvelDocumentController.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "app/DocumentTypes.h"
#include "app/MySplashDocument.h"
#include "app/Ports.h"
#include "platform/ActionNames.h"
#include "platform/Document.h"
#include "platform/ScreenPlacement.h"
#include "platform/WindowController.h"
#include "plot/CAxisRangeWindow.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QWidget>

#include <span>

namespace quorvel {

namespace {

// One row per document type: its New and Open actions and the panel its commands show.
enum class Panel { None, PhaseDiagram, AlphaBeta };
struct TypeCommands
{
    QString type;
    QString extension;
    const QString& newAction;
    const QString& openAction;
    Panel newPanel;
    Panel openPanel;
};

std::span<const TypeCommands> typeCommands()
{
    using namespace DocumentTypes;
    static const TypeCommands rows[]{
        {PhaseDiagram, PhaseDiagramExtension, actionname::newPhaseDiagDocument, actionname::openPhaseDiagDocument,
         Panel::PhaseDiagram, Panel::None},
        {FluidModel, FluidModelExtension, actionname::newFluidModelDocument, actionname::openFluidModelDocument,
         Panel::None, Panel::None},
        {AlphaBetaCorrelation, AlphaBetaCorrelationExtension, actionname::newCorrelationDocument,
         actionname::openCorrelationDocument, Panel::None, Panel::None},
        {AlphaBetaPlot, AlphaBetaPlotExtension, actionname::newAlphaBetaPlotDocument,
         actionname::openAlphaBetaPlotDocument, Panel::AlphaBeta, Panel::AlphaBeta},
        {InclusionData, InclusionDataExtension, actionname::newInclusionDataDocument,
         actionname::openInclusionDataDocument, Panel::None, Panel::None},
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
    answerApplicationActions();
}

void CCQuorvelDocumentController::answerApplicationActions()
{
    answerActions({
        // Also when the toolbar window is on screen but covered.
        {actionname::showToolBarWindow, [this](QAction*) { return mToolBarWindow != nullptr; },
         [this](QObject* sender) { onShowToolBarWindow(sender); }},
        {actionname::showLogWindow,
         [](QAction*) {
             CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
             return !(log->isWindowLoaded() && log->window()->isVisible());
         },
         [this](QObject* sender) { onShowLogWindow(sender); }},
        {actionname::showAxisRangePanel, nullptr, [this](QObject* sender) { onShowAxisRangePanel(sender); }},
    });
    for (const TypeCommands& row : typeCommands()) {
        answerActions({
            {row.newAction, nullptr,
             [this, &row](QObject* sender) {
                 newDocumentOfType(row.type);
                 showPanel(row.newPanel, sender);
             }},
            {row.openAction, nullptr,
             [this, &row](QObject* sender) {
                 openDocumentWithExtension(row.extension);
                 showPanel(row.openPanel, sender);
             }},
        });
    }
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

}  // namespace quorvel
