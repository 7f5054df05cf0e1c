// The alpha-beta plot view: its unit-square axes, the context menus by the exact class of
// the clicked object, the debugging items, the iso-curve items' titles, markers set on
// curves by interpolation, fluids generated at the clicked point, deletions, and a render
// of the window with curves, a marker and reference curves.

#include "support/AppTestSupport.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CAlphaBetaPlotView.h"
#include "app/CAlphaBetaPlotWindow.h"
#include "app/CFluidModelDataDocument.h"
#include "app/DocumentTypes.h"
#include "platform/Color.h"
#include "platform/UserDefaults.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphLegend.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// A computed curve record: points (alpha, beta, pressure in bar) and gas contents in percent.
Dictionary curveRecord(const QString& name, std::initializer_list<std::array<double, 3>> points, double CO2 = 0)
{
    Array data;
    for (const auto& p : points)
        data.append(Array{p[0], p[1], p[2]});
    return Dictionary{{"name", name},   {"data", data}, {"CO2", CO2},  {"N2", 1.0},
                      {"H2S", 0.5},     {"size", 1},    {"selector", 1}, {"color", Color::fromRgb(0.8, 0, 0)},
                      {"alpha0", data.at(0).toArray().at(0).toDouble()}, {"index", 0}};
}

QStringList titles(const QMenu* menu)
{
    QStringList list;
    for (const QAction* item : menu->actions())
        list << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return list;
}

QAction* itemTitled(const QMenu* menu, const QString& prefix)
{
    for (QAction* item : menu->actions())
        if (item->text().startsWith(prefix))
            return item;
    return nullptr;
}

struct AlphaBetaView : ::testing::Test, AppFixture
{
    RecordingPanels panels;
    RecordingEditorFactory editors;
    CAlphaBetaPlotDocument* document = nullptr;
    CAlphaBetaPlotView* view = nullptr;

    void SetUp() override
    {
        document = shownDocumentOfType<CAlphaBetaPlotDocument>(DocumentTypes::AlphaBetaPlot);
        view = dynamic_cast<CAlphaBetaPlotView*>(document->plotView());
        ASSERT_NE(view, nullptr);
        // The plot frame at 640 x 480, below the window's menu bar.
        QWidget* frame = view->parentWidget();
        frame->window()->resize(frame->window()->size() + QSize(640, 480) - frame->size());
        settle();
        view->repaint();  // the coefficients of the first draw
    }
    Dictionary addCurve(const Dictionary& curve)
    {
        document->alphaBetaCurves().append(curve);
        document->plotAlphaBetaCurve(curve);
        view->repaint();
        return curve;
    }
    // The view point of data (alpha, beta).
    QPointF at(double alpha, double beta) const
    {
        return {view->getXValue(float(alpha)), view->getYValue(float(beta))};
    }
    // The menu of a context click at data (alpha, beta).
    QMenu* menuAt(double alpha, double beta) { return view->menuForEvent(at(alpha, beta)); }
    void choose(QMenu* menu, const QString& prefix)
    {
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
        QAction* item = itemTitled(menu, prefix);
        ASSERT_NE(item, nullptr) << prefix.toStdString();
        item->trigger();
    }
};

// ---- Axes and menus ----

TEST_F(AlphaBetaView, UnitSquareAxesWithLabelsTicksAndLegend)
{
    float minX, maxX, minY, maxY;
    for (auto get : {&CPlotView::getDefaultXYRange, &CPlotView::getMaxXYRange}) {
        (view->*get)(minX, maxX, minY, maxY);
        EXPECT_EQ((std::array{minX, maxX, minY, maxY}), (std::array{0.f, 1.f, 0.f, 1.f}));
    }
    EXPECT_EQ(view->mXLabel().string, "Alpha");
    EXPECT_EQ(view->mYLabel().string, "Beta");
    EXPECT_EQ(view->mNbXTicks(), 11);
    EXPECT_EQ(view->mNbYTicks(), 11);
    EXPECT_EQ(view->mXTicksDigits(), 3);
    EXPECT_EQ(view->mYTicksDigits(), 3);
}

TEST_F(AlphaBetaView, PlotMenuHasThirteenItemsAndFourRulesAndDebugModeAddsTwoGrids)
{
    const QStringList plot = {"New Alpha-Beta Curve...", "Set a marker...", "Plot correlation...", "-",
                              "Generate Fluid Model...", "-", "Show/Hide iso-GORs", "Show/Hide iso-APIs", "-",
                              "Zoom in", "Zoom out", "Set Axis ranges...", "Axis ranges by default...",
                              "Axis label font...", "Axis graduation font...", "-", "Save as PDF..."};
    EXPECT_EQ(titles(menuAt(0.5, 0.5)), plot);
    EXPECT_EQ(titles(view->plotMenu()).count("-"), 4);

    QSettings().setValue(UserDefaults::debugModeKey, true);
    CAlphaBetaPlotView debugging;
    EXPECT_EQ(titles(debugging.plotMenu()), plot + QStringList({"-", "Do McCain classification", "Fv grid"}));
}

TEST_F(AlphaBetaView, SaveAsPdfStartsInTheDocumentsFolderAndLeavesOutTheSelectionCross)
{
    chooser.queuePath(path("plot.abp"));
    ASSERT_TRUE(document->saveDocumentAs());
    addCurve(curveRecord("Q-1", {{0.2, 0, 1}, {0.5, 0.5, 2}, {0.8, 0.9, 3}}));
    view->setSelectedPoint(0.5f, 0.5f);
    view->showSelectionPoint(true);
    chooser.queuePath(path("figure"));
    choose(menuAt(0.1, 0.9), "Save as PDF...");
    ASSERT_FALSE(chooser.requests().isEmpty());
    EXPECT_EQ(chooser.requests().last().proposedName, path("plot.pdf"));
    QFile written(path("figure.pdf"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("%PDF-"));

    // The export draws what the view draws, less the cross that the screen shows.
    const auto render = [this](bool output) {
        QImage image(view->size(), QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        output ? view->drawForOutput(painter) : view->drawView(painter);
        return image;
    };
    view->showSelectionPoint(true);
    const QImage onScreen = render(false);
    const QImage exported = render(true);
    view->showSelectionPoint(false);
    EXPECT_NE(onScreen, exported);
    EXPECT_EQ(exported, render(false));
}

TEST_F(AlphaBetaView, MenusFollowTheExactClassOfTheClickedObject)
{
    addCurve(curveRecord("Q-1", {{0.2, 0, 1}, {0.5, 0.5, 2}, {0.8, 0.9, 3}}));
    document->setAlphaBetaMarker(0.7, 0.2, 0, 0, 0, 0, std::nullopt);
    view->repaint();
    // A correlation line holds markers of its own.
    Dictionary correlation{{"name", "corr"}, {"size", 1}, {"selector", 1}, {"color", Color::black()},
                           {"data", Array{Dictionary{{"name", "F"}, {"alpha", 0.3}, {"beta", 0.8}}}}};
    document->alphaBetaCorrelations().append(correlation);
    document->plotAlphaBetaCorrelation(correlation);
    view->repaint();

    EXPECT_EQ(menuAt(0.05, 0.95), view->plotMenu());
    EXPECT_EQ(view->selectedObject(), nullptr);
    EXPECT_EQ(menuAt(0.35, 0.25), view->curvesMenu());
    EXPECT_EQ(typeid(*view->selectedObject()), typeid(CGraphCurve));
    EXPECT_EQ(menuAt(0.7, 0.2), view->pointsMenu());
    EXPECT_EQ(typeid(*view->selectedObject()), typeid(CGraphStringPoint));
    EXPECT_EQ(menuAt(0.3, 0.8), view->correlationsMenu());
    EXPECT_EQ(typeid(*view->selectedObject()), typeid(CGraphStringPointCurve));

    EXPECT_EQ(titles(view->curvesMenu()),
              (QStringList{"Alpha-Beta Curves Panel...", "Set a marker...", "Delete the curve...", "-",
                           "Save to file...", "-", "Generate Fluid Model...", "-", "Normal thickness",
                           "Double thickness", "Triple thickness", "-", "Color...", "-", "Settings panel..."}));
    EXPECT_EQ(titles(view->pointsMenu()),
              (QStringList{"Alpha-Beta Fluids...", "Remove the marker...", "-", "Generate Fluid Model...", "-",
                           "Increase size", "Decrease size", "-", "Color...", "-", "Settings panel..."}));
    EXPECT_EQ(titles(view->correlationsMenu()),
              (QStringList{"Remove the correlation...", "-", "Generate Fluid Model...", "-", "Increase size",
                           "Decrease size", "-", "Color...", "-", "Settings panel..."}));
}

TEST_F(AlphaBetaView, AMarkerCodeOfNoShapeReachesThePlotAndStaysInTheRecord)
{
    Dictionary correlation{{"name", "corr"}, {"size", 1}, {"selector", 99}, {"color", Color::black()},
                           {"data", Array{Dictionary{{"name", "F"}, {"alpha", 0.3}, {"beta", 0.8}}}}};
    document->alphaBetaCorrelations().append(correlation);
    document->plotAlphaBetaCorrelation(correlation);
    ASSERT_FALSE(view->graphObjects().empty());
    EXPECT_EQ(code_number(view->graphObjects().back()->selector()), 99);
    EXPECT_EQ(correlation.intValue("selector"), 99);
}

TEST_F(AlphaBetaView, IsoCurveItemsAreTitledByTheVisibleStateEachTimeTheMenuOpens)
{
    QMenu* menu = menuAt(0.5, 0.5);
    const auto shown = [&] {
        emit menu->aboutToShow();
        return QStringList{menu->actions().at(6)->text(), menu->actions().at(7)->text()};
    };
    EXPECT_EQ(shown(), (QStringList{"Show iso-GOR curves", "Show iso-API curves"}));
    PostedNotifications posts({AlphaBetaPlotModified});
    choose(menu, "Show iso-API");
    EXPECT_TRUE(document->areIsoAPICurvesVisible());
    EXPECT_EQ(posts.count(AlphaBetaPlotModified), 1);
    EXPECT_EQ(shown(), (QStringList{"Show iso-GOR curves", "Hide iso-API curves"}));
    choose(menu, "Show iso-GOR");
    EXPECT_EQ(shown(), (QStringList{"Hide iso-GOR curves", "Hide iso-API curves"}));
    choose(menu, "Hide iso-API");
    EXPECT_FALSE(document->areIsoAPICurvesVisible());
    EXPECT_EQ(shown(), (QStringList{"Hide iso-GOR curves", "Show iso-API curves"}));
    const QList<QAction*> items = menu->actions();
    EXPECT_TRUE(std::all_of(items.begin(), items.end(), [](const QAction* item) { return item->isEnabled(); }));
}

// ---- Markers, fluids, deletions ----

TEST_F(AlphaBetaView, MarkerOnACurveTakesTheInterpolatedBetaPressureAndGases)
{
    const Dictionary curve = addCurve(curveRecord("Q-1", {{0.2, 0, 100}, {0.6, 0.4, 300}}, 2.0));
    PostedNotifications posts({AlphaBetaPlotModified, AlphaBetaPlotSelection});
    ASSERT_EQ(menuAt(0.3, 0.1), view->curvesMenu());
    const float alpha = view->selectedPointX();
    choose(view->curvesMenu(), "Set a marker...");
    ASSERT_EQ(document->alphaBetaPoints().size(), 1);
    const Dictionary marker = document->alphaBetaPoints().at(0).toDictionary();
    // On the segment from (0.2, 0, 100 bar) to (0.6, 0.4, 300 bar).
    EXPECT_NEAR(marker.doubleValue("alpha"), alpha, 1e-6);
    EXPECT_NEAR(marker.doubleValue("beta"), alpha - 0.2, 1e-6);
    EXPECT_NEAR(marker.doubleValue("Ph"), 100 + 500 * (alpha - 0.2), 1e-4);
    EXPECT_EQ(marker.doubleValue("CO2"), 2.0);
    EXPECT_EQ(marker.doubleValue("N2"), 1.0);
    EXPECT_EQ(marker.doubleValue("H2S"), 0.5);
    EXPECT_EQ(marker.stringValue("name"), QString::asprintf("Q-1: %.3f", double(alpha)));
    EXPECT_EQ(marker.value("curve").toDictionary(), curve);
    EXPECT_EQ(posts.names.mid(posts.names.size() - 2), (QStringList{AlphaBetaPlotModified, AlphaBetaPlotSelection}));

    // Outside the curve's alpha range: nothing.
    ASSERT_EQ(menuAt(0.5, 0.3), view->curvesMenu());
    view->setSelectedPointX(0.9f);
    choose(view->curvesMenu(), "Set a marker...");
    EXPECT_EQ(document->alphaBetaPoints().size(), 1);
}

TEST_F(AlphaBetaView, MarkerOnThePlotIsAtTheClickWithoutPressureOrGases)
{
    choose(menuAt(0.4, 0.7), "Set a marker...");
    ASSERT_EQ(document->alphaBetaPoints().size(), 1);
    const Dictionary marker = document->alphaBetaPoints().at(0).toDictionary();
    EXPECT_NEAR(marker.doubleValue("alpha"), 0.4, 0.01);
    EXPECT_NEAR(marker.doubleValue("beta"), 0.7, 0.01);
    EXPECT_EQ(marker.doubleValue("Ph"), 0);
    EXPECT_EQ(marker.stringValue("name"),
              QString::asprintf("AB %.3f %.3f", marker.doubleValue("alpha"), marker.doubleValue("beta")));
    EXPECT_FALSE(marker.contains("curve"));
}

TEST_F(AlphaBetaView, GeneratedFluidUsesTheClickedPointNotTheHitObject)
{
    addCurve(curveRecord("Q-1", {{0.2, 0, 1}, {0.6, 0.4, 3}}));
    ASSERT_EQ(menuAt(0.4, 0.2), view->curvesMenu());
    const double alpha = view->selectedPointX(), beta = view->selectedPointY();
    choose(view->curvesMenu(), "Generate Fluid Model...");
    const auto* fluids = dynamic_cast<CFluidModelDataDocument*>(controller->documents().back());
    ASSERT_NE(fluids, nullptr);
    ASSERT_EQ(fluids->fluids().size(), 1);
    EXPECT_EQ(fluids->fluids().at(0).toDictionary().stringValue("comment"),
              QString::asprintf("Generated from alpha-beta model with alpha=%.4lf, beta=%.4lf, CO2=0.0000, "
                                "N2=0.0000, H2S=0.0000",
                                alpha, beta));
}

TEST_F(AlphaBetaView, DeletionsRemoveTheClickedRecordAndPostModified)
{
    addCurve(curveRecord("Q-1", {{0.2, 0, 1}, {0.6, 0.4, 3}}));
    document->setAlphaBetaMarker(0.8, 0.8, 0, 0, 0, 0, std::nullopt);
    view->repaint();
    PostedNotifications posts({AlphaBetaPlotModified});
    choose(menuAt(0.8, 0.8), "Remove the marker...");
    EXPECT_EQ(document->alphaBetaPoints().size(), 0);
    choose(menuAt(0.4, 0.2), "Delete the curve...");
    EXPECT_EQ(document->alphaBetaCurves().size(), 0);
    EXPECT_EQ(posts.count(AlphaBetaPlotModified), 4) << "the document's, then the view's";
    EXPECT_TRUE(alerts.alerts().isEmpty()) << "no confirmation";
    EXPECT_EQ(menuAt(0.4, 0.2), view->plotMenu());
}

TEST_F(AlphaBetaView, PanelItemsAndSelectionNotice)
{
    choose(menuAt(0.5, 0.5), "New Alpha-Beta Curve...");
    document->setAlphaBetaMarker(0.8, 0.8, 0, 0, 0, 0, std::nullopt);
    view->repaint();
    choose(menuAt(0.8, 0.8), "Alpha-Beta Fluids...");
    EXPECT_EQ(panels.calls.filter("selectAlphaBetaPage"),
              (QStringList{"selectAlphaBetaPage 0", "selectAlphaBetaPage 1"}));
    PostedNotifications posts({AlphaBetaPlotSelection});
    view->notifyObjectSelection();
    EXPECT_EQ(posts.count(AlphaBetaPlotSelection), 1);
}

// ---- The window ----

TEST_F(AlphaBetaView, WindowWithCurvesAMarkerMcCainBoundariesAndIsoAPILinesRendersToPng)
{
    const Dictionary first = addCurve(curveRecord("Q-1", {{0.55, 0, 1}, {0.62, 0.2, 2}, {0.75, 0.45, 3}}));
    Dictionary second = curveRecord("Q-2", {{0.7, 0, 1}, {0.78, 0.15, 2}, {0.9, 0.3, 3}});
    second.setValue("color", Color::fromRgb(0, 0.5, 0));
    addCurve(second);
    document->setAlphaBetaMarker(0.62, 0.2, 0, 0, 0, 2, first);
    document->setShowLabels(true);
    document->showMcCainCurves(true);
    document->showIsoAPICurves(true);
    QWidget* window = document->windowControllers().front()->window();
    settle();
    const QImage image = window->grab().toImage();
    ASSERT_TRUE(image.save(QDir(QCoreApplication::applicationDirPath()).filePath("alpha_beta_plot_view.png")));
    int mcCain = 0, green = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            mcCain += std::abs(c.red() - 84) < 30 && std::abs(c.green() - 128) < 30 && c.blue() > 170;
            green += c.green() > 100 && c.red() < 60 && c.blue() < 60;
        }
    EXPECT_GT(mcCain, 100);
    EXPECT_GT(green, 50);
}

}  // namespace
