// The panels as they show: the alpha-beta panel beside an alpha-beta plot on each of its
// pages, the calculation panel in the middle of a run, and the fluid-properties panel,
// written as PNG files under the build tree (renders/) to be looked at.

#include "support/PanelsTestSupport.h"

#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/CFluidPropertiesPanel.h"
#include "panels/RecordTable.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

using namespace test;

QString renderPath(const QString& name)
{
    QDir().mkpath(QStringLiteral("renders"));
    return QDir(QStringLiteral("renders")).filePath(name);
}

// The plot window and the panel side by side, as they stand on the screen.
QImage sideBySide(QWidget* main, QWidget* panel)
{
    const QPixmap left = main->grab();
    const QPixmap right = panel->grab();
    QImage image(left.width() + 10 + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
    image.fill(Qt::darkGray);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + 10, 0, right);
    return image;
}

TEST(PanelRenderTest, AlphaBetaPanelBesideItsPlotOnEachPage)
{
    PanelsFixture f;
    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.inclusionDocument({inclusionRecord("Qz-12 a", 104.5), inclusionRecord("Qz-12 b", 98.2),
                         inclusionRecord("Cal-3", 121.0, "Oil", "gas")});
    Dictionary curve = curveRecordOf(inclusionRecord("Fl-7", 95), {{0.2, 0, 100}, {0.5, 0.2, 130}, {0.8, 0.5, 170}});
    document->alphaBetaCurves().append(curve);
    document->plotAlphaBetaCurve(curve);
    document->setAlphaBetaMarker(0.45, 0.15, 2, 0, 0, 125, curve);
    document->alphaBetaCorrelations().append(Dictionary{
        {"name", "North field"},
        {"data", Array{Dictionary{{"name", "W-1"}, {"alpha", 0.3}, {"beta", 0.1}, {"GOR", 120.5}, {"API", 38.2}},
                       Dictionary{{"name", "W-2"}, {"alpha", 0.4}, {"beta", 0.2}, {"GOR", 210.0}, {"API", 41.7}}}}});
    CAlphaBetaPanel* panel = CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    panel->showWindow();
    f.becomeMain(document);
    settle();
    const std::pair<AlphaBetaPanelPage, const char*> pages[] = {
        {AlphaBetaPanelPage::Curves, "alpha_beta_panel_curves.png"},
        {AlphaBetaPanelPage::Fluids, "alpha_beta_panel_fluids.png"},
        {AlphaBetaPanelPage::Correlations, "alpha_beta_panel_correlations.png"}};
    for (const auto& [page, name] : pages) {
        panel->selectTabViewIndex(page);
        if (page == AlphaBetaPanelPage::Fluids)
            panel->controls().pointsView->selectRowAndScroll(1);
        if (page == AlphaBetaPanelPage::Correlations)
            panel->controls().correlationsView->selectRowAndScroll(0);
        settle();
        const QImage image = sideBySide(f.windowOf(document), panel->window());
        EXPECT_TRUE(image.save(renderPath(name)));
    }
}

TEST(PanelRenderTest, CalculationPanelInTheMiddleOfARun)
{
    PanelsFixture f;
    CAlphaBetaCalcPanel* calculation = CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller();
    f.script.stepsByTh[100 + kCelsiusZero] = {{0, 0.2, 0.0, 150}, {0, 0.25, 0.04, 152}, {0, 0.3, 0.08, 155},
                                         {0, 0.35, 0.12, 159}, {-1}};
    CAlphaBetaPlotDocument* document = f.plotDocument();
    document->prepareCalculation(100 + kCelsiusZero, 20 + kCelsiusZero, 0.1, 0, 0, 0, Homogenisation::toLiquid,
                                 "Qz-12 a", std::nullopt);
    calculation->setAlphaBetaPlotDocument(document);
    calculation->setInclusionName("Calculates alpha-beta curve of Qz-12 a");
    bool saved = false;
    // The fourth point is on the screen when the engine is asked for the fifth.
    f.script.stepsByTh[100 + kCelsiusZero].insert(f.script.stepsByTh[100 + kCelsiusZero].begin() + 4, {1});
    const auto grabMidRun = [&] {
        if (!saved && calculation->progressBar()->value() == 3) {
            saved = calculation->window()->grab().save(renderPath("alpha_beta_calc_panel.png"));
        }
    };
    const QObject grabbing;  // grabs no more once the test is over
    QObject::connect(calculation->progressBar(), &QProgressBar::valueChanged, &grabbing, grabMidRun);
    calculation->doModal();
    EXPECT_TRUE(saved);
}

TEST(PanelRenderTest, FluidPropertiesPanelPages)
{
    PanelsFixture f;
    CFluidPropertiesPanel* panel = CFluidPropertiesPanel::sharedFluidPropertiesPanel();
    panel->showWindow();
    settle();
    EXPECT_TRUE(panel->window()->grab().save(renderPath("fluid_properties_panel.png")));
}

}  // namespace
}  // namespace quorvel
