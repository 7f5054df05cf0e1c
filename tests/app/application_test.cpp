// Start-up and the application's commands: the splash document, New and Open of each
// type with their panels, the Show commands and their validation, menu validation by
// the responder chain, and renders of the application's windows.

#include "support/AppTestSupport.h"

#include "app/CInclusionDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionDataController.h"
#include "app/MySplashDocument.h"
#include "app/ToolBarWindow.h"
#include "platform/Responder.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct Application : ::testing::Test, AppFixture
{
    RecordingPanels panels;
};

TEST_F(Application, LaunchShowsOneUntitledSplashWindow)
{
    Document* splash = controller->openUntitledDocumentAndDisplay(true);
    ASSERT_NE(dynamic_cast<MySplashDocument*>(splash), nullptr);
    EXPECT_EQ(splash->fileType(), DocumentTypes::SplashWindow);
    QWidget* window = splash->windowControllers().front()->window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QString());
    // Centred, so the toolbar window in the screen's top-left corner stays in sight.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window->geometry().center() - screen.center()).manhattanLength(), 10);
    EXPECT_FALSE(window->frameGeometry().contains(screen.topLeft()));

    window->close();
    settle();
    EXPECT_TRUE(controller->documents().isEmpty());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(Application, NewCommandsSetTheDefaultTypeForGoodAndShowTheirPanels)
{
    controller->performAction("onNewFluidModelDocument:", nullptr);
    EXPECT_EQ(controller->defaultType(), DocumentTypes::FluidModel);
    EXPECT_EQ(controller->documents().last()->fileType(), DocumentTypes::FluidModel);

    // An alpha-beta plot or a phase diagram: its window shows the panel, and so does the command.
    const int count = controller->documents().size();
    controller->performAction("onNewAlphaBetaPlotDocument:", nullptr);
    EXPECT_EQ(controller->defaultType(), DocumentTypes::AlphaBetaPlot);
    ASSERT_EQ(controller->documents().size(), count + 1);
    EXPECT_EQ(controller->documents().last()->fileType(), DocumentTypes::AlphaBetaPlot);
    controller->performAction("onNewPhaseDiagDocument:", nullptr);
    EXPECT_EQ(controller->defaultType(), DocumentTypes::PhaseDiagram);
    ASSERT_EQ(controller->documents().size(), count + 2);
    EXPECT_EQ(controller->documents().last()->fileType(), DocumentTypes::PhaseDiagram);
    EXPECT_EQ(panels.calls, (QStringList{"showAlphaBetaPanel", "showAlphaBetaPanel", "showPhaseDiagPanel",
                                         "showPhaseDiagPanel"}));

    // Open of an alpha-beta plot, cancelled: no document, the panel shown.
    panels.calls.clear();
    controller->performAction("onOpenAlphaBetaPlotDocument:", nullptr);
    EXPECT_EQ(panels.calls, QStringList{"showAlphaBetaPanel"});
    ASSERT_EQ(chooser.requests().size(), 1);
    EXPECT_EQ(chooser.requests()[0].extensions, QStringList{"abp"});
    EXPECT_EQ(controller->documents().size(), count + 2);
}

TEST_F(Application, OpenOfATypeOffersItsExtensionAndOpensTheFile)
{
    controller->performAction("onNewInclusionDataDocument:", nullptr);
    settle();
    Document* made = controller->documents().last();
    chooser.queuePath(path("a.inc"));
    ASSERT_TRUE(made->saveDocumentAs());
    made->close();
    settle();

    chooser.queuePath(path("a.inc"));
    controller->performAction("onOpenInclusionDataDocument:", nullptr);
    EXPECT_EQ(chooser.requests().last().extensions, QStringList{"inc"});
    ASSERT_EQ(controller->documents().size(), 1);
    EXPECT_EQ(controller->documents()[0]->displayName(), "a.inc");
    EXPECT_EQ(controller->recentDocumentPaths().value(0), controller->documents()[0]->filePath());

    // Opened without display, for a caller that closes it.
    chooser.queuePath(path("a.inc"));
    EXPECT_EQ(openDocumentNoDisplay("inc"), controller->documents()[0]);
}

TEST_F(Application, ShowCommandsAreEnabledOnlyWhileTheirWindowIsHidden)
{
    ToolBarWindow toolBar(*controller);
    QAction* showLog = menuItem(&toolBar, "onShowLogWindow:");
    QAction* showToolBar = menuItem(&toolBar, "onShowToolBarWindow:");
    ASSERT_TRUE(showLog && showToolBar);

    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    if (log->isWindowLoaded())
        log->window()->hide();
    EXPECT_TRUE(validateMenuItem(showLog, &toolBar));
    controller->performAction("onShowLogWindow:", showLog);
    EXPECT_TRUE(log->window()->isVisible());
    EXPECT_FALSE(validateMenuItem(showLog, &toolBar));
    log->window()->close();
    EXPECT_TRUE(validateMenuItem(showLog, &toolBar));

    EXPECT_TRUE(validateMenuItem(showToolBar, &toolBar));
    controller->performAction("onShowToolBarWindow:", showToolBar);
    EXPECT_TRUE(toolBar.isVisible());
    // On screen it may still be covered by a document's window: the item brings it to the front.
    EXPECT_TRUE(validateMenuItem(showToolBar, &toolBar));
    toolBar.showMinimized();
    controller->performAction("onShowToolBarWindow:", showToolBar);
    EXPECT_FALSE(toolBar.isMinimized());

    // Becoming key puts the toolbar window at the top-left corner of the main screen's room.
    toolBar.move(300, 200);
    controller->windowDidBecomeKey(&toolBar);
    EXPECT_EQ(toolBar.pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

TEST_F(Application, MenuItemsGoToTheFirstResponderThatAnswers)
{
    controller->performAction("onNewInclusionDataDocument:", nullptr);
    settle();
    auto* document = dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
    QWidget* window = document->controller()->window();

    // The editor answers Delete Row, the document Save and Revert, the controller Open.
    QAction* deleteRow = menuItem(window, "onDeleteRow:");
    QAction* revert = menuItem(window, "revertDocumentToSaved:");
    QAction* exportHtml = menuItem(window, "exportToHTML:");
    ASSERT_TRUE(deleteRow && revert && exportHtml);
    EXPECT_EQ(targetForAction("onDeleteRow:", window), document->controller());
    EXPECT_EQ(targetForAction("saveDocument:", window), document);
    EXPECT_EQ(targetForAction("openDocument:", window), controller.get());
    EXPECT_TRUE(validateMenuItem(deleteRow, window));
    EXPECT_FALSE(validateMenuItem(revert, window));  // never saved
    EXPECT_TRUE(validateMenuItem(exportHtml, window));

    // Nobody answers a document's command in the toolbar window: disabled, and not sent.
    ToolBarWindow toolBar(*controller);
    QAction* save = menuItem(&toolBar, "saveDocument:");
    EXPECT_FALSE(validateMenuItem(save, &toolBar));
    EXPECT_FALSE(sendAction(save, &toolBar));

    // Delete Row by its menu item: the inclusion goes and the item is disabled afterwards.
    EXPECT_TRUE(sendAction(deleteRow, window));
    EXPECT_TRUE(document->getInclusions().isEmpty());
    EXPECT_FALSE(validateMenuItem(deleteRow, window));
}

// The plot documents' windows carry the menus too: Save, Close and Undo reach their document.
TEST_F(Application, PlotDocumentWindowsAnswerTheFileAndEditMenus)
{
    for (const QString& command : {QStringLiteral("onNewAlphaBetaPlotDocument:"), QStringLiteral("onNewPhaseDiagDocument:")}) {
        SCOPED_TRACE(command.toStdString());
        controller->performAction(command, nullptr);
        settle();
        Document* document = controller->documents().last();
        QWidget* window = document->windowControllers().front()->window();
        for (const char* action : {"saveDocumentAs:", "undo:", "printDocument:"})
            EXPECT_EQ(targetForAction(action, window), document) << action;
        EXPECT_EQ(targetForAction("performClose:", window), document->windowControllers().front().get());

        const QString file = path(QStringLiteral("plot.%1").arg(controller->extensionForType(document->fileType())));
        chooser.queuePath(file);
        QAction* saveAs = menuItem(window, "saveDocumentAs:");
        ASSERT_NE(saveAs, nullptr);
        EXPECT_TRUE(sendAction(saveAs, window));
        EXPECT_TRUE(QFile::exists(file));
        EXPECT_EQ(document->filePath(), file);

        EXPECT_TRUE(sendAction(menuItem(window, "performClose:"), window));
        settle();
        EXPECT_FALSE(controller->documents().contains(document));
    }
}

// Renders for a look: the splash, the toolbar window and the editor with two inclusions.
TEST_F(Application, RendersOfTheApplicationWindows)
{
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    auto save = [&](QWidget* window, const QString& name) {
        window->show();
        settle();
        const QImage image = window->grab().toImage();
        EXPECT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(folder + "/" + name));
    };

    Document* splash = controller->openUntitledDocumentAndDisplay(true);
    save(splash->windowControllers().front()->window(), "splash.png");
    ToolBarWindow toolBar(*controller);
    save(&toolBar, "toolbar.png");

    controller->performAction("onNewInclusionDataDocument:", nullptr);
    settle();
    auto* document = dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
    InclusionDataController* editor = document->controller();
    editor->onAddInclusion();
    editor->setInclusion(editor->selectedInclusion(), "Quartz B-2", "name");
    editor->setInclusion(editor->selectedInclusion(), 131.5, "Th");
    editor->onAddVolume();
    auto selectedPoint = [&] {
        return editor->selectedInclusion().arrayValue("volumes").at(editor->selectedVolumeRow()).toDictionary();
    };
    editor->setInclusionVolume(editor->selectedInclusion(), selectedPoint(), 60.0, "Tvol");
    editor->setInclusionVolume(editor->selectedInclusion(), selectedPoint(), 6.5, "Fvol");
    settle();
    save(editor->window(), "inclusion_editor.png");
}

}  // namespace
