// The remembered window frame: a window controller saves its window's frame under its
// autosave name when the window closes, and the next window of that name comes back there.
// Each test case runs with a settings folder of its own (see the GUI test main).

#include "platform/WindowController.h"

#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

class PlainWindowController : public WindowController
{
public:
    using WindowController::WindowController;

protected:
    QWidget* makeWindow() override { return new QWidget; }
};

// Shows a window of the controller at the frame and closes it, as the user would.
void placeAndClose(WindowController& controller, const QRect& frame)
{
    controller.showWindow();
    controller.window()->setGeometry(frame);
    controller.close();
}

TEST(WindowFrame, IsRestoredForTheNextControllerOfTheSameAutosaveName)
{
    const QRect first(150, 120, 430, 270);
    {
        PlainWindowController editor(QStringLiteral("InclusionEditor"));
        placeAndClose(editor, first);
    }
    PlainWindowController again(QStringLiteral("InclusionEditor"));
    EXPECT_EQ(again.window()->geometry(), first);

    // Moved and closed again: the newer frame is the one remembered.
    const QRect second(60, 40, 380, 300);
    placeAndClose(again, second);
    PlainWindowController third(QStringLiteral("InclusionEditor"));
    EXPECT_EQ(third.window()->geometry(), second);
}

TEST(WindowFrame, BelongsToItsNameOnly)
{
    const QRect frame(150, 120, 430, 270);
    PlainWindowController editor(QStringLiteral("InclusionEditor"));
    placeAndClose(editor, frame);
    const QStringList keys = QSettings().allKeys();

    PlainWindowController other(QStringLiteral("AlphaBetaPanel"));
    EXPECT_NE(other.window()->geometry(), frame);

    // A window without an autosave name remembers nothing.
    PlainWindowController unnamed;
    placeAndClose(unnamed, QRect(10, 10, 200, 100));
    EXPECT_EQ(QSettings().allKeys(), keys);
    PlainWindowController unnamedAgain;
    EXPECT_NE(unnamedAgain.window()->geometry(), QRect(10, 10, 200, 100));
}

}  // namespace
