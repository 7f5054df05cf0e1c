#include "app/MainWindow.h"

#include <QApplication>
#include <QMenuBar>
#include <QTimer>
#include <gtest/gtest.h>

TEST(MainWindow, OpensAndQuitsThroughItsMenu)
{
    quorvel::MainWindow window;
    window.show();
    ASSERT_TRUE(window.isVisible());

    QAction* quit = nullptr;
    for (QAction* menu : window.menuBar()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->shortcut() == QKeySequence(QKeySequence::Quit))
                quit = item;
    ASSERT_NE(quit, nullptr);

    QTimer::singleShot(0, quit, &QAction::trigger);
    EXPECT_EQ(QApplication::exec(), 0);
}
