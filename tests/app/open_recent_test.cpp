// Open Recent as the user clicks it: the list after Save As and Open, an item that opens
// its file or gives back the open document, a file gone since it was listed, Clear Menu.

#include "support/AppTestSupport.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionDataController.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct OpenRecent : ::testing::Test, AppFixture
{
    RecordingPanels panels;

    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    // A new inclusion document saved under the name, left open.
    CInclusionDataDocument* savedDocument(const QString& file)
    {
        controller->performAction("onNewInclusionDataDocument:", nullptr);
        settle();
        auto* document = dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
        chooser.queuePath(file);
        EXPECT_TRUE(document->saveDocumentAs());
        return document;
    }

    void closeDocument(Document* document)
    {
        document->close();
        settle();
    }

    // The submenu of the window's menu bar, and its items as they are when it opens.
    static QMenu* openRecentMenu(QWidget* window)
    {
        for (QMenuBar* bar : window->findChildren<QMenuBar*>())
            for (QAction* menu : bar->actions())
                for (QAction* item : menu->menu()->actions())
                    if (item->menu() && item->menu()->title() == "Open Recent")
                        return item->menu();
        return nullptr;
    }
    static QList<QAction*> itemsWhenOpened(QMenu* recent)
    {
        emit recent->aboutToShow();
        return recent->actions();
    }
    static QAction* itemNamed(QMenu* recent, const QString& text)
    {
        for (QAction* item : itemsWhenOpened(recent))
            if (item->text() == text)
                return item;
        return nullptr;
    }
};

TEST_F(OpenRecent, ItemsOpenTheirFileOrGiveBackTheOpenDocument)
{
    CInclusionDataDocument* first = savedDocument(path("first.inc"));
    CInclusionDataDocument* second = savedDocument(path("second.inc"));
    EXPECT_EQ(controller->recentDocumentPaths(),
              (QStringList{canonical(path("second.inc")), canonical(path("first.inc"))}));
    closeDocument(second);

    QMenu* recent = openRecentMenu(first->controller()->window());
    ASSERT_NE(recent, nullptr);
    const QList<QAction*> items = itemsWhenOpened(recent);
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), "second.inc");
    EXPECT_EQ(items[1]->text(), "first.inc");
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->text(), "Clear Menu");
    EXPECT_TRUE(items[3]->isEnabled());

    // The open file: its document, not a second one.
    itemNamed(recent, "first.inc")->trigger();
    EXPECT_EQ(controller->documents(), QList<Document*>{first});

    // The closed file: read again into a document of its own, with its window.
    itemNamed(recent, "second.inc")->trigger();
    ASSERT_EQ(controller->documents().size(), 2);
    Document* reopened = controller->documents().last();
    EXPECT_EQ(reopened->filePath(), canonical(path("second.inc")));
    EXPECT_TRUE(reopened->windowControllers().front()->window()->isVisible());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(OpenRecent, OneEntryPerFileHoweverItsPathWasSpelled)
{
    Document* document = savedDocument(dir.path() + "/./spelled.inc");
    closeDocument(document);
    chooser.queuePath(path("spelled.inc"));
    controller->performAction("onOpenInclusionDataDocument:", nullptr);
    EXPECT_EQ(controller->recentDocumentPaths(), QStringList{canonical(path("spelled.inc"))});
}

TEST_F(OpenRecent, AFileGoneSinceItWasListedAlertsOnceAndLeavesTheList)
{
    CInclusionDataDocument* kept = savedDocument(path("kept.inc"));
    closeDocument(savedDocument(path("gone.inc")));
    const QString gone = canonical(path("gone.inc"));
    ASSERT_TRUE(QFile::remove(gone));

    QMenu* recent = openRecentMenu(kept->controller()->window());
    ASSERT_NE(recent, nullptr);
    itemNamed(recent, "gone.inc")->trigger();
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts().front().message.contains("gone.inc"));
    EXPECT_EQ(controller->documents(), QList<Document*>{kept});
    EXPECT_EQ(controller->recentDocumentPaths(), QStringList{canonical(path("kept.inc"))});
    EXPECT_EQ(itemsWhenOpened(recent).size(), 3) << "kept.inc, the separator and Clear Menu";
}

TEST_F(OpenRecent, ClearMenuEmptiesTheListForGood)
{
    CInclusionDataDocument* document = savedDocument(path("a.inc"));
    QMenu* recent = openRecentMenu(document->controller()->window());
    ASSERT_NE(recent, nullptr);
    itemNamed(recent, "Clear Menu")->trigger();
    EXPECT_TRUE(controller->recentDocumentPaths().isEmpty());

    const QList<QAction*> items = itemsWhenOpened(recent);
    ASSERT_EQ(items.size(), 2);
    EXPECT_FALSE(items.last()->isEnabled()) << "nothing left to clear";
    // The next session starts with the empty list too.
    EXPECT_TRUE(DocumentController().recentDocumentPaths().isEmpty());
    setLastResponder(controller.get());
}

}  // namespace
