// The shared axis-range panel: the increment table, stepping, typing, Cancel, the
// default and maximum buttons, refused input, and following the main window.
#include "support/PanelLayout.h"
#include "support/ProbeView.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/PlotViewProvider.h"

#include "widgets/ValueStepper.h"

#include "platform/AlertService.h"
#include "platform/MainWindowTracker.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::ProbeView;
using quorvel::test::expectTidyLayout;

namespace {

struct IncrementCase {
    float width;
    double increment;
    std::optional<int> digits;
};

const IncrementCase kIncrements[] = {
    {2000.f, 50, 0},       {1000.f, 20, 0},       {600.f, 20, 0},         {500.f, 10, 0},
    {400.f, 10, 0},        {200.f, 5, 0},         {150.f, 5, 0},          {100.f, 1, 1},
    {11.f, 1, 1},          {10.f, 0.1f, 1},       {5.f, 0.1f, 1},         {1.f, 0.01f, 2},
    {0.5f, 0.01f, 2},      {0.05f, 0.001f, 3},    {0.005f, 0.0001f, 4},   {0.0005f, 0.0005f, std::nullopt},
    {0.f, 0.0, std::nullopt}, {-3.f, -3.0, std::nullopt},
};

class AxisPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.setDefaultXYRange(0, 300, 0, 500);
        view.setMaxXYRange(-50, 1000, -100, 2000);
        view.setXYRange(0, 400, 0, 5);
        panel->window()->hide();
    }
    std::array<float, 4> ranges() const
    {
        float x0, x1, y0, y1;
        view.getXYRange(x0, x1, y0, y1);
        return {x0, x1, y0, y1};
    }
    void type(const char* xMin, const char* xMax, const char* yMin, const char* yMax)
    {
        panel->xminEditField()->setText(QLatin1String(xMin));
        panel->xmaxEditField()->setText(QLatin1String(xMax));
        panel->yminEditField()->setText(QLatin1String(yMin));
        panel->ymaxEditField()->setText(QLatin1String(yMax));
    }

    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    ProbeView view;
};

struct PlotDocument : PlotViewProvider {
    CPlotView* view = nullptr;
    CPlotView* plotView() const override { return view; }
};

} // namespace

TEST(AxisRangeStep, IncrementAndDecimalsByRangeWidth)
{
    for (const IncrementCase& c : kIncrements) {
        SCOPED_TRACE(c.width);
        const AxisRangeStep step = axisRangeStep(c.width);
        EXPECT_EQ(step.increment, c.increment);
        EXPECT_EQ(step.tickDigits, c.digits);
    }
}

TEST_F(AxisPanel, ShowingItForAViewSetsTheViewsDecimalsAndTheSteps)
{
    view.setTicksDigits(3, 3);
    view.perform(PlotCommand::ShowAxisRangePanel);
    EXPECT_TRUE(panel->window()->isVisible());
    EXPECT_EQ(panel->plotView(), &view);
    EXPECT_EQ(view.mXTicksDigits(), 0);
    EXPECT_EQ(view.mYTicksDigits(), 1);
    EXPECT_EQ(panel->stepXmin()->increment(), 10.0);
    EXPECT_EQ(panel->stepXmax()->increment(), 10.0);
    EXPECT_EQ(panel->stepYmax()->increment(), double(0.1f));
    EXPECT_EQ(panel->xmaxEditField()->text(), QStringLiteral("400"));
    EXPECT_EQ(panel->ymaxEditField()->text(), QStringLiteral("5"));
    EXPECT_EQ(panel->stepXmax()->value(), 400.0);
    EXPECT_TRUE(panel->okButton()->isEnabled());
}

TEST_F(AxisPanel, StepsApplyAtOnceAndCancelPutsBackTheRangesItTook)
{
    view.perform(PlotCommand::ShowAxisRangePanel);
    panel->stepXmax()->stepUp();
    panel->stepXmax()->stepUp();
    panel->stepYmin()->stepDown();
    EXPECT_EQ(ranges(), (std::array{0.f, 420.f, -0.1f, 5.f}));
    EXPECT_EQ(panel->xmaxEditField()->text(), QStringLiteral("420"));
    EXPECT_FALSE(view.undoManager()->canUndo());

    panel->cancelButton()->click();
    EXPECT_EQ(ranges(), (std::array{0.f, 400.f, 0.f, 5.f}));
    EXPECT_FALSE(panel->window()->isVisible());
}

TEST_F(AxisPanel, AStepIntoAnotherWidthClassChangesTheStepAndTheDecimals)
{
    view.setXYRange(0, 1000, 0, 5);
    view.perform(PlotCommand::ShowAxisRangePanel);
    ASSERT_EQ(panel->stepXmax()->increment(), 20.0);
    panel->stepXmax()->stepUp(); // 0 to 1020 is wider than 1000
    EXPECT_EQ(panel->stepXmax()->increment(), 50.0);
    EXPECT_EQ(panel->stepXmin()->increment(), 50.0);
}

TEST_F(AxisPanel, TypedRangesApplyWithoutUndoAndOkHidesThePanel)
{
    view.perform(PlotCommand::ShowAxisRangePanel);
    type("10", "300.5", "-2", "8");
    emit panel->xmaxEditField()->returnPressed();
    EXPECT_EQ(ranges(), (std::array{10.f, 300.5f, -2.f, 8.f}));
    type("20", "250", "0", "4");
    panel->okButton()->click();
    EXPECT_EQ(ranges(), (std::array{20.f, 250.f, 0.f, 4.f}));
    EXPECT_FALSE(panel->window()->isVisible());
    EXPECT_FALSE(view.undoManager()->canUndo());
}

TEST_F(AxisPanel, AMinimumNotBelowItsMaximumOrTextThatIsNoNumberIsRefused)
{
    RecordingAlertService alerts;
    view.perform(PlotCommand::ShowAxisRangePanel);
    type("500", "400", "0", "5");
    panel->okButton()->click();
    EXPECT_EQ(ranges(), (std::array{0.f, 400.f, 0.f, 5.f}));
    EXPECT_TRUE(panel->window()->isVisible());
    type("0", "400", "abc", "5");
    EXPECT_FALSE(panel->onChangeCoordinates());
    type("0", "400", "3", "3");
    EXPECT_FALSE(panel->onChangeCoordinates());
    EXPECT_EQ(ranges(), (std::array{0.f, 400.f, 0.f, 5.f}));
    EXPECT_EQ(alerts.messages(),
              (QStringList{"The minimum of each axis must be less than its maximum.",
                           "Each axis range must be a number.",
                           "The minimum of each axis must be less than its maximum."}));

    // A step onto the other bound is refused too, and the fields show the ranges in force.
    // (Below a width of 0.001 the step is the width itself.)
    view.setXYRange(0, 400, 1, 1.0005f);
    panel->stepYmin()->stepUp();
    EXPECT_EQ(ranges(), (std::array{0.f, 400.f, 1.f, 1.0005f}));
    EXPECT_EQ(panel->yminEditField()->text(), QStringLiteral("1"));
    EXPECT_EQ(alerts.messages().size(), 4);
}

TEST_F(AxisPanel, TheDefaultAndMaximumButtonsAreUndoable)
{
    view.perform(PlotCommand::ShowAxisRangePanel);
    panel->useMaxButton()->click();
    EXPECT_EQ(ranges(), (std::array{-50.f, 1000.f, -100.f, 2000.f}));
    EXPECT_EQ(panel->xminEditField()->text(), QStringLiteral("-50"));
    EXPECT_EQ(view.undoManager()->undoActionName(), QStringLiteral("Changes Of Axis Ranges"));
    panel->useDefaultButton()->click();
    EXPECT_EQ(ranges(), (std::array{0.f, 300.f, 0.f, 500.f}));
    view.undoManager()->undo();
    view.undoManager()->undo();
    EXPECT_EQ(ranges(), (std::array{0.f, 400.f, 0.f, 5.f}));
    EXPECT_EQ(panel->xmaxEditField()->text(), QStringLiteral("400")); // refreshed by the range change
}

TEST_F(AxisPanel, ItFollowsTheMainWindowsPlotDocument)
{
    panel->window()->show();
    QWidget plotWindow;
    plotWindow.setGeometry(20, 100, 300, 400);  // room on its right for the panel on the offscreen screen
    plotWindow.show();
    PlotDocument document;
    document.view = &view;
    PlotViewProvider::setDocumentOfWindow(&plotWindow, &document);
    QWidget otherWindow; // a window of another kind of document
    otherWindow.show();

    MainWindowTracker& tracker = MainWindowTracker::instance();
    tracker.windowActivated(&plotWindow);
    EXPECT_EQ(panel->plotView(), &view);
    EXPECT_TRUE(panel->xminEditField()->isEnabled());
    const QRect main = plotWindow.frameGeometry();
    const QRect placed = panel->window()->frameGeometry();
    EXPECT_EQ(placed.x(), main.x() + main.width() + 10);
    EXPECT_EQ(placed.y() + placed.height(), main.y() + main.height() - 10);

    tracker.windowActivated(&otherWindow);
    EXPECT_EQ(panel->plotView(), nullptr);
    for (QWidget* control : std::initializer_list<QWidget*>{panel->xminEditField(), panel->stepYmax(),
                                                           panel->useDefaultButton(), panel->okButton()})
        EXPECT_FALSE(control->isEnabled());

    tracker.windowActivated(&plotWindow);
    EXPECT_EQ(panel->plotView(), &view);
    EXPECT_TRUE(panel->okButton()->isEnabled());
    tracker.windowWillClose(&plotWindow);
    EXPECT_EQ(panel->plotView(), nullptr);
}

// Written beside the test as a PNG image, to be looked at.
TEST_F(AxisPanel, ThePanelIsLaidOutTidily)
{
    view.perform(PlotCommand::ShowAxisRangePanel);
    expectTidyLayout(panel->window());
    EXPECT_TRUE(panel->window()->grab().toImage().save(QDir::current().filePath(QStringLiteral("axis_range_panel.png"))));
    panel->window()->hide();
}
