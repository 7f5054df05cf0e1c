// Every command within reach: with a window of every kind open, each action that a
// document, a window controller or the document controller answers is sent by at least
// one menu item or button of a window whose responders answer it; the panels' pages are
// reached from their documents' menus, which tick the page in front. Renders of the new
// menus and of the fluid-properties panel are left under the build tree for a look.

#include "workflow/support/RunningApplication.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CPhaseDiagDocument.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/CFluidPropertiesPanel.h"
#include "panels/CPhaseDiagPanel.h"
#include "platform/ActionNames.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"
#include "platform/Responder.h"
#include "platform/WindowController.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace quorvel;
using quorvel::test::RunningApplication;
using quorvel::test::settle;

namespace {

// Actions answered on purpose by no menu item or button, each with its reason.
struct Exception
{
    const char* action;
    const char* reason;
};
const Exception kUnreachableOnPurpose[] = {
    {"newDocument:", "File names the New command of each document type instead: a New of whatever type was "
                     "chosen last would be ambiguous"},
};

QString rendersFolder()
{
    const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath("menu_renders");
    QDir().mkpath(folder);
    return folder;
}

void renderWidget(QWidget* widget, const QString& name)
{
    const QImage image = widget->grab().toImage();
    EXPECT_FALSE(image.isNull()) << name.toStdString();
    EXPECT_TRUE(image.save(rendersFolder() + "/" + name)) << name.toStdString();
}

// The menu of the menu bar with the title (its mnemonic aside).
QMenu* menuBarMenu(QWidget* window, const QString& title)
{
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (QAction* entry : bar->actions())
            if (entry->menu() && entry->text().remove('&') == title)
                return entry->menu();
    return nullptr;
}

QAction* itemOfAction(QMenu* menu, const QString& action)
{
    for (QAction* item : menu->actions())
        if (actionNameOf(item) == action)
            return item;
    return nullptr;
}

struct MenuReachability : ::testing::Test, RunningApplication
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        start();
        controller->openUntitledDocumentAndDisplay(true);  // the splash window
        settle();
    }

    void TearDown() override { stop(); }

    static QWidget* windowOf(const Document* document)
    {
        return document->windowControllers().empty() ? nullptr : document->windowControllers().front()->window();
    }

    template <class DocumentClass = Document>
    DocumentClass* newDocument(const QString& action)
    {
        controller->performAction(action, nullptr);
        settle();
        return dynamic_cast<DocumentClass*>(controller->documents().last());
    }

    // The windows of every kind: the toolbar, each document's, the panels and the log.
    QMap<QString, QWidget*> windowsOfEveryKind()
    {
        QMap<QString, QWidget*> windows{{"toolbar", toolBar.get()}};
        for (const Document* document : controller->documents())
            if (QWidget* window = windowOf(document))
                windows.insert(document->fileType(), window);
        windows.insert("alpha-beta panel", CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->window());
        windows.insert("phase-diagram panel", CPhaseDiagPanel::sharedPhaseDiagPanelCtroller()->window());
        windows.insert("fluid-properties panel", CFluidPropertiesPanel::sharedFluidPropertiesPanel()->window());
        windows.insert("log", CLogWindow::sharedLogWindowCtroller()->window());
        return windows;
    }
};

TEST_F(MenuReachability, EveryAnsweredActionIsSentByAMenuItemOrButtonOfAWindowThatAnswersIt)
{
    Document* inclusions = newDocument("onNewInclusionDataDocument:");
    newDocument("onNewFluidModelDocument:");
    newDocument("onNewPhaseDiagDocument:");
    newDocument("onNewAlphaBetaPlotDocument:");
    // A recent document, so that Open Recent lists one.
    chooser.queuePath(dir.filePath("recent.inc"));
    ASSERT_TRUE(inclusions->saveDocumentAs());
    const QMap<QString, QWidget*> windows = windowsOfEveryKind();
    ASSERT_EQ(windows.size(), 10);

    QMap<QString, QString> answeredBy;  // action -> the window kind whose responders answer it
    QMap<QString, QString> reachedIn;   // action -> a window kind where an item sends it to a responder
    for (auto kind = windows.cbegin(); kind != windows.cend(); ++kind) {
        QWidget* window = kind.value();
        for (Responder* responder : responderChain(window))
            for (const QString& action : responder->answeredActions())
                answeredBy.insert(action, kind.key());
        // Every menu and context menu as it opens: validated, and filled where it fills itself.
        for (QMenu* menu : window->findChildren<QMenu*>())
            emit menu->aboutToShow();
        for (QAction* item : window->findChildren<QAction*>()) {
            const QString action = actionNameOf(item);
            if (!action.isEmpty() && targetForAction(action, window))
                reachedIn.insert(action, kind.key());
        }
    }
    ASSERT_GT(answeredBy.size(), 30);

    QStringList exceptions;
    for (const Exception& exception : kUnreachableOnPurpose) {
        exceptions << exception.action;
        EXPECT_TRUE(answeredBy.contains(exception.action)) << exception.action << ": nobody answers it any more";
        EXPECT_FALSE(reachedIn.contains(exception.action)) << exception.action << ": now reachable, "
                                                           << "no longer an exception (" << exception.reason << ")";
    }
    for (auto answered = answeredBy.cbegin(); answered != answeredBy.cend(); ++answered) {
        if (!exceptions.contains(answered.key())) {
            EXPECT_TRUE(reachedIn.contains(answered.key()))
                << answered.key().toStdString() << " is answered in the " << answered.value().toStdString()
                << " window, but no menu item or button sends it there";
        }
    }
}

TEST_F(MenuReachability, PanelPagesAreReachedFromTheirDocumentsMenuWhichTicksThePageInFront)
{
    struct PageMenu
    {
        const char* newAction;
        const char* menuTitle;
        QStringList pageActions;
        std::function<int()> selectedPage;
    };
    const PageMenu pageMenus[] = {
        {"onNewAlphaBetaPlotDocument:",
         "Alpha-Beta",
         {actionname::showAlphaBetaPanelPage1, actionname::showAlphaBetaPanelPage2,
          actionname::showAlphaBetaPanelPage3},
         [] { return static_cast<int>(CAlphaBetaPanel::sharedAlphaBetaPanelCtroller()->getSelectedPage()); }},
        {"onNewPhaseDiagDocument:",
         "Phase Diagram",
         {actionname::showPhaseDiagPanelPage1, actionname::showPhaseDiagPanelPage2, actionname::showPhaseDiagPanelPage3,
          actionname::showPhaseDiagPanelPage4},
         [] { return static_cast<int>(CPhaseDiagPanel::sharedPhaseDiagPanelCtroller()->getSelectedPage().value()); }},
    };
    for (const PageMenu& pages : pageMenus) {
        SCOPED_TRACE(pages.menuTitle);
        QWidget* window = windowOf(newDocument(pages.newAction));
        QMenu* menu = menuBarMenu(window, pages.menuTitle);
        ASSERT_NE(menu, nullptr);
        for (int page = 0; page < pages.pageActions.size(); ++page) {
            QAction* item = itemOfAction(menu, pages.pageActions[page]);
            ASSERT_NE(item, nullptr) << page;
            ASSERT_TRUE(sendAction(item, window)) << page;
            settle();
            EXPECT_EQ(pages.selectedPage(), page);
            // The menu validated as it opens in the plot's window.
            for (int other = 0; other < pages.pageActions.size(); ++other) {
                QAction* shown = itemOfAction(menu, pages.pageActions[other]);
                EXPECT_TRUE(validateMenuItem(shown, window));
                EXPECT_EQ(shown->isChecked(), other == page) << "page " << page << ", item " << other;
            }
        }
        // Opened in the plot's window while the panel, just brought to the front, is active:
        // the menu answers for its own window.
        menu->popup(window->mapToGlobal(QPoint(20, 20)));
        settle();
        QAction* lastPage = itemOfAction(menu, pages.pageActions.last());
        EXPECT_TRUE(lastPage->isEnabled());
        EXPECT_TRUE(lastPage->isChecked());
        renderWidget(menu, QStringLiteral("%1 menu.png").arg(pages.menuTitle));
        menu->hide();
    }
}

TEST_F(MenuReachability, FluidPropertiesItemShowsThePanel)
{
    QWidget* window = windowOf(newDocument("onNewAlphaBetaPlotDocument:"));
    QMenu* menu = menuBarMenu(window, "Alpha-Beta");
    ASSERT_NE(menu, nullptr);
    QAction* item = itemOfAction(menu, actionname::showFluidPropertiesPanel);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Fluid Properties...");
    ASSERT_TRUE(sendAction(item, window));
    settle();
    CFluidPropertiesPanel* panel = CFluidPropertiesPanel::sharedFluidPropertiesPanel();
    EXPECT_TRUE(panel->isWindowVisible());
    renderWidget(panel->window(), "fluid properties panel.png");
    renderWidget(window, "alpha-beta window.png");
}

}  // namespace
