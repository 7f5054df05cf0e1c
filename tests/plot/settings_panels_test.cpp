// The curve and marker settings panels: what they show, what each control changes,
// what OK keeps and what Cancel (or the close box) puts back.
#include "support/PanelLayout.h"
#include "support/ProbeView.h"

#include "plot/CCurveSettingsWindow.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPointSettingsWindow.h"

#include "widgets/ColorPanel.h"
#include "widgets/ColorWell.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::ProbeView;
using quorvel::test::expectTidyLayout;

namespace {

class SettingsPanels : public ::testing::Test {
protected:
    void SetUp() override
    {
        curve->addPoint(0.1f, 0.5f, false);
        curve->addPoint(0.9f, 0.5f, false);
        curve->setSize(2);
        curve->setToolSizeFactor(2);
        curve->setColor(Color::blue());
        point->setToolSizeFactor(3);
        point->setSelector(MarkerCode::FilledSquare);
        point->setColor(Color::green());
        view.addGraphObject(curve);
        view.addGraphObject(point);
    }

    // Picks a colour in the shared colour panel that the well opens.
    static void pickColor(ColorWell* well, const QColor& color)
    {
        well->click();
        ASSERT_TRUE(ColorPanel::shared().isVisible());
        ColorPanel::shared().dialog()->setCurrentColor(color);
    }

    static void choose(QComboBox* menu, int item)
    {
        menu->setCurrentIndex(item);
        emit menu->activated(item);
    }

    ProbeView view;
    std::shared_ptr<CGraphCurve> curve = std::make_shared<CGraphCurve>();
    std::shared_ptr<CGraphPoint> point = CGraphPoint::newGraphPoint(0.5f, 0.5f);
};

} // namespace

TEST_F(SettingsPanels, CurvePanelShowsTheCurveAppliesChangesAndCancelPutsThemBack)
{
    CCurveSettingsWindow* panel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    panel->showWindow();
    panel->setPlotView(&view);
    panel->setGraphCurve(curve.get());
    EXPECT_EQ(panel->thicknessMenu()->count(), 3);
    EXPECT_EQ(panel->thicknessMenu()->currentIndex(), 1);
    EXPECT_EQ(panel->foreColorWell()->color(), Color::blue());

    choose(panel->thicknessMenu(), 2);
    EXPECT_EQ(curve->getToolSizeFactor(), 3.f);
    EXPECT_EQ(curve->size(), 3.f); // so that the next draw shows it
    pickColor(panel->foreColorWell(), QColor(255, 128, 0));
    EXPECT_EQ(curve->color()->toQColor(), QColor(255, 128, 0));

    panel->cancelButton()->click();
    EXPECT_EQ(curve->getToolSizeFactor(), 2.f);
    EXPECT_EQ(curve->size(), 2.f);
    EXPECT_EQ(curve->color(), Color::blue());
    EXPECT_FALSE(panel->window()->isVisible());
    EXPECT_FALSE(ColorPanel::shared().isVisible()); // closed with the panel
    EXPECT_FALSE(view.undoManager()->canUndo());

    // A factor the pop-up does not list leaves its selection as it was.
    const int shown = panel->thicknessMenu()->currentIndex();
    curve->setToolSizeFactor(2.5f);
    panel->setGraphCurve(curve.get());
    EXPECT_EQ(panel->thicknessMenu()->currentIndex(), shown);
}

TEST_F(SettingsPanels, OkKeepsTheChangesOfAModalSession)
{
    CCurveSettingsWindow* panel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    panel->showWindow();
    panel->setPlotView(&view);
    panel->setGraphCurve(curve.get());
    QTimer::singleShot(0, [&] {
        choose(panel->thicknessMenu(), 0);
        panel->okButton()->click();
    });
    panel->startModalSession();
    EXPECT_FALSE(panel->isRunningModal());
    EXPECT_EQ(curve->getToolSizeFactor(), 1.f);
    EXPECT_EQ(curve->size(), 1.f);
    EXPECT_FALSE(view.undoManager()->canUndo());
    EXPECT_TRUE(QSettings().contains(QStringLiteral("WindowFrames/CurvesSettingsPanel")));
}

TEST_F(SettingsPanels, TheCloseBoxEndsTheSessionAsCancel)
{
    CPointSettingsWindow* panel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    panel->showWindow();
    panel->setPlotView(&view);
    panel->setGraphObject(point.get());
    QTimer::singleShot(0, [&] {
        choose(panel->sizeMenu(), 8);
        choose(panel->markerTypeMenu(), 10);
        panel->window()->close();
    });
    panel->startModalSession();
    EXPECT_FALSE(panel->isRunningModal());
    EXPECT_FALSE(panel->window()->isVisible());
    EXPECT_EQ(point->getToolSizeFactor(), 3.f);
    EXPECT_EQ(code_number(point->selector()), 3);
}

TEST_F(SettingsPanels, MarkerPanelChangesSizeShapeAndColourAndCancelPutsAllBack)
{
    CPointSettingsWindow* panel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    panel->showWindow();
    panel->setPlotView(&view);
    panel->setGraphObject(point.get());
    EXPECT_EQ(panel->sizeMenu()->count(), 10);
    EXPECT_EQ(panel->markerTypeMenu()->count(), 12);
    EXPECT_EQ(panel->sizeMenu()->currentIndex(), 2);
    EXPECT_EQ(panel->markerTypeMenu()->currentIndex(), 2);
    EXPECT_EQ(panel->foreColorWell()->color(), Color::green());

    choose(panel->sizeMenu(), 5);
    EXPECT_EQ(point->getToolSizeFactor(), 6.f);
    choose(panel->markerTypeMenu(), 6);
    EXPECT_EQ(code_number(point->selector()), 7);
    pickColor(panel->foreColorWell(), QColor(10, 20, 30));
    EXPECT_EQ(point->color()->toQColor(), QColor(10, 20, 30));

    panel->cancelButton()->click();
    EXPECT_EQ(point->getToolSizeFactor(), 3.f);
    EXPECT_EQ(code_number(point->selector()), 3);
    EXPECT_EQ(point->color(), Color::green());
    EXPECT_FALSE(view.undoManager()->canUndo());
}

TEST_F(SettingsPanels, MarkerPanelKeepsItsSizeSelectionForAnUnlistedFactor)
{
    CPointSettingsWindow* panel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    auto list = std::make_shared<CGraphStringPointCurve>();
    list->addPoint(QStringLiteral("A"), 0.2f, 0.2f);
    list->setToolSizeFactor(4);
    list->setSelector(MarkerCode::FilledDiamond);
    panel->setPlotView(&view);
    panel->setGraphObject(list.get());
    ASSERT_EQ(panel->sizeMenu()->currentIndex(), 3);
    EXPECT_EQ(panel->markerTypeMenu()->currentIndex(), 10);

    point->setToolSizeFactor(0);
    panel->setGraphObject(point.get());
    EXPECT_EQ(panel->sizeMenu()->currentIndex(), 3);

    // With OK the changes stay.
    choose(panel->sizeMenu(), 9);
    panel->okButton()->click();
    EXPECT_EQ(point->getToolSizeFactor(), 10.f);
}

// Written beside the test as PNG images, to be looked at.
TEST_F(SettingsPanels, BothPanelsAreLaidOutTidily)
{
    CCurveSettingsWindow* curvePanel = CCurveSettingsWindow::sharedCurvesSettingsCtroller();
    curvePanel->showWindow();
    curvePanel->setPlotView(&view);
    curvePanel->setGraphCurve(curve.get());
    CPointSettingsWindow* pointPanel = CPointSettingsWindow::sharedPointsSettingsCtroller();
    pointPanel->showWindow();
    pointPanel->setPlotView(&view);
    pointPanel->setGraphObject(point.get());
    for (auto [window, file] : {std::pair{curvePanel->window(), "curve_settings_panel.png"},
                                std::pair{pointPanel->window(), "point_settings_panel.png"}}) {
        SCOPED_TRACE(file);
        expectTidyLayout(window);
        EXPECT_TRUE(window->grab().toImage().save(QDir::current().filePath(QLatin1String(file))));
        window->hide();
    }
}
