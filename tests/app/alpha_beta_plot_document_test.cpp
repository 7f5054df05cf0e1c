// The alpha-beta plot document: interpolation, the abp file, markers and correlation
// lines, the step-wise curve calculation on a scripted engine and on the real one, and
// a render of its window.

#include "support/AppTestSupport.h"
#include "support/ScriptedCurveEngine.h"

#include "app/AlphaBetaCurveEngine.h"
#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionRecord.h"
#include "platform/KeyedArchiver.h"
#include "platform/NotificationCenter.h"
#include "plot/CPlotView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

using Turn = AlphaBetaTurn;

// The scripted engine in place of the model: each homogenisation temperature has its own
// list of steps.
struct ScriptedEngineInstalled
{
    EngineScript script;
    ScriptedEngineInstalled()
    {
        AlphaBetaCurveEngine::setFactory([this] { return std::make_unique<ScriptedCurveEngine>(script); });
    }
    ~ScriptedEngineInstalled() { AlphaBetaCurveEngine::setFactory(nullptr); }
};

Array points(std::initializer_list<std::array<double, 3>> values)
{
    Array data;
    for (const auto& p : values)
        data.append(Array{p[0], p[1], p[2]});
    return data;
}

Dictionary curveRecord(const QString& name, const Array& data, int index)
{
    return Dictionary{{"name", name},  {"data", data},   {"size", 1},
                      {"color", Color::fromRgb(1, 0, 0)}, {"alpha0", data.at(0).toArray().at(0).toDouble()},
                      {"index", index}};
}

QStringList curveNames(const CAlphaBetaPlotDocument& document)
{
    QStringList names;
    for (const Value& curve : document.alphaBetaCurves())
        names << curve.toDictionary().stringValue("name");
    return names;
}

struct Posts : PostedNotifications
{
    Posts() : PostedNotifications({AlphaBetaPlotModified, AlphaBetaPlotSelection}) {}
};

struct AlphaBetaDocument : ::testing::Test, AppFixture
{
    RecordingPanels panels;
    ScriptedEngineInstalled engine;

    CAlphaBetaPlotDocument* shownDocument()
    {
        return shownDocumentOfType<CAlphaBetaPlotDocument>(DocumentTypes::AlphaBetaPlot);
    }
    // Turns of the calculation panel's loop until the end, at most `turns`; the codes returned.
    static QList<Turn> runOneCurve(CAlphaBetaPlotDocument& document, int turns = 50)
    {
        QList<Turn> codes;
        for (int turn = 0; turn < turns; ++turn) {
            double alpha = -9, beta = -9;
            const Turn code = document.calculateAlphaBetaPoint(&alpha, &beta);
            codes << code;
            if (code == Turn::done || (turn == 0 && code != Turn::point))
                break;
        }
        return codes;
    }
};

// ---- Interpolation ----

TEST(AlphaBetaInterpolation, TableOfCurvesAndValues)
{
    struct Case
    {
        const char* what;
        Array data;
        bool byAlpha;
        double given;
        double expected;          // -1: no value
        double expectedPressure;  // -7 when untouched
    };
    const Array rising = points({{0.1, 0.0, 100}, {0.2, 0.1, 200}, {0.4, 0.3, 300}});
    const Case cases[] = {
        {"first point", rising, true, 0.1, 0.0, 100},
        {"last point", rising, true, 0.4, 0.3, 300},
        // (0.3 - 0.4) / (0.2 - 0.4) = 0.5 of the way back from (0.4, 0.3, 300) to (0.2, 0.1, 200)
        {"inside a pair", rising, true, 0.3, 0.2, 250},
        {"below the range", rising, true, 0.05, -1, -7},
        {"above the range", rising, true, 0.5, -1, -7},
        {"equal alphas", points({{0.2, 0.0, 10}, {0.2, 0.05, 20}, {0.3, 0.1, 30}}), true, 0.2, 0.05, 20},
        {"one point", points({{0.2, 0.0, 10}}), true, 0.2, -1, -7},
        {"empty curve", Array(), true, 0.2, -1, -7},
        {"falling alpha", points({{0.5, 0.0, 100}, {0.3, 0.2, 200}}), true, 0.4, 0.1, 150},
        {"alpha from beta", rising, false, 0.2, 0.3, 250},
        {"alpha from beta outside", rising, false, 0.35, -1, -7},
    };
    CAlphaBetaPlotDocument document;
    for (const Case& c : cases) {
        const Dictionary curve{{"data", c.data}};
        double pressure = -7;
        const double found = c.byAlpha ? document.getBetaFromAlpha(curve, c.given, &pressure)
                                       : document.getAlphaFromBeta(curve, c.given, &pressure);
        EXPECT_NEAR(found, c.expected, 1e-12) << c.what;
        EXPECT_NEAR(pressure, c.expectedPressure, 1e-9) << c.what;
    }
}

// ---- Records and the abp file ----

TEST_F(AlphaBetaDocument, AbpRoundTripKeepsMarkerCurveIdentityAndWritesNoRunTimeKey)
{
    CAlphaBetaPlotDocument* document = shownDocument();
    ASSERT_NE(document->plotView(), nullptr);
    Dictionary inclusion = newInclusionRecord();
    inclusion.setValue("name", "Q-1");
    Dictionary first = curveRecord("Q-1", points({{0.2, 0, 150}, {0.3, 0.1, 180}}), 0);
    first.setValue("inclusion", inclusion);
    document->alphaBetaCurves().append(first);
    document->alphaBetaCurves().append(curveRecord("Q-2", points({{0.5, 0, 90}, {0.6, 0.2, 95}}), 1));
    document->plotAlphaBetaCurve(first);
    document->plotAlphaBetaCurve(document->alphaBetaCurves().at(1).toDictionary());
    const Dictionary marker = document->setAlphaBetaMarker(0.25, 0.05, 0, 0, 0, 165, first);
    EXPECT_EQ(marker.stringValue("name"), "Q-1: 0.250");
    EXPECT_TRUE(marker.contains("graphPoint"));
    EXPECT_TRUE(first.contains("graphCurve"));

    const QString file = path("plot.abp");
    QString error;
    ASSERT_TRUE(document->writeToFile(file, &error)) << error.toStdString();
    EXPECT_TRUE(first.contains("graphCurve")) << "saving changes nothing on screen";
    QFile bytes(file);
    ASSERT_TRUE(bytes.open(QIODevice::ReadOnly));
    const QByteArray written = bytes.readAll();
    EXPECT_FALSE(written.contains("graphCurve"));
    EXPECT_FALSE(written.contains("graphPoint"));

    EXPECT_EQ(archiveRootKeys(file),
              (QSet<QString>{"curves", "points", "correlations", "plotFormat"}));

    CAlphaBetaPlotDocument loaded;
    ASSERT_TRUE(loaded.readFromFile(file, &error)) << error.toStdString();
    ASSERT_EQ(loaded.alphaBetaCurves().size(), 2);
    ASSERT_EQ(loaded.alphaBetaPoints().size(), 1);
    const Dictionary loadedCurve = loaded.alphaBetaCurves().at(0).toDictionary();
    Dictionary loadedMarker = loaded.alphaBetaPoints().at(0).toDictionary();
    EXPECT_EQ(loadedMarker.value("curve").toDictionary(), loadedCurve) << "the same record, not a copy";
    EXPECT_EQ(loadedCurve.dictionaryValue("inclusion").stringValue("name"), "Q-1");

    loaded.removeAlphaBetaCurve(loadedCurve);
    EXPECT_FALSE(loadedMarker.contains("curve"));
    EXPECT_EQ(loadedMarker.stringValue("name"), "Q-1: 0.250");
    EXPECT_EQ(loadedMarker.dictionaryValue("inclusion").stringValue("name"), "Q-1");
    EXPECT_EQ(loaded.alphaBetaCurves().size(), 1);
}

TEST_F(AlphaBetaDocument, RevertReplacesTheDrawingsAndDamagedFilesAreRefused)
{
    CAlphaBetaPlotDocument* document = shownDocument();
    const Dictionary kept = curveRecord("kept", points({{0.2, 0, 1}, {0.3, 0.1, 2}}), 0);
    document->alphaBetaCurves().append(kept);
    document->plotAlphaBetaCurve(kept);
    const QString file = path("revert.abp");
    chooser.queuePath(file);
    ASSERT_TRUE(document->saveDocumentAs());
    document->setAlphaBetaMarker(0.1, 0.2, 0, 0, 0, 0, std::nullopt);
    document->setAlphaBetaMarker(0.2, 0.2, 0, 0, 0, 0, std::nullopt);
    ASSERT_EQ(document->plotView()->graphObjects().size(), 3u);

    Posts posts;
    ASSERT_TRUE(document->revertDocumentToSaved());
    EXPECT_TRUE(document->alphaBetaPoints().isEmpty());
    EXPECT_EQ(document->plotView()->graphObjects().size(), 1u) << "one drawing per loaded record, none left over";
    EXPECT_EQ(document->plotView()->graphObjects().front()->referenceObject().toDictionary(),
              document->alphaBetaCurves().at(0).toDictionary());
    EXPECT_TRUE(posts.names.contains(AlphaBetaPlotModified));

    CAlphaBetaPlotDocument other;
    QString error;
    EXPECT_FALSE(other.loadDataRepresentation("not an archive", DocumentTypes::AlphaBetaPlot, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(AlphaBetaDocument, RemovalTakesTheDrawingAwayAndPostsModifiedThenSelection)
{
    CAlphaBetaPlotDocument* document = shownDocument();
    const Dictionary curve = curveRecord("C", points({{0.2, 0, 1}, {0.3, 0.1, 2}}), 0);
    document->alphaBetaCurves().append(curve);
    document->plotAlphaBetaCurve(curve);
    const Dictionary marker = document->setAlphaBetaMarker(0.1, 0.2, 0, 0, 0, 0, std::nullopt);
    const size_t drawn = document->plotView()->graphObjects().size();
    Posts posts;
    document->removeAlphaBetaPoint(marker);
    document->removeAlphaBetaCurve(curve);
    EXPECT_EQ(document->plotView()->graphObjects().size(), drawn - 2);
    EXPECT_EQ(posts.names, (QStringList{AlphaBetaPlotModified, AlphaBetaPlotSelection, AlphaBetaPlotModified,
                                        AlphaBetaPlotSelection}));
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(AlphaBetaDocument, SortingByFirstAlphaAndBackRestoresCreationOrder)
{
    CAlphaBetaPlotDocument document;
    for (auto [name, alpha, index] : {std::tuple{"b", 0.5, 0}, {"a", 0.1, 1}, {"c", 0.9, 2}})
        document.alphaBetaCurves().append(curveRecord(name, points({{alpha, 0, 1}}), index));
    document.sortAlphaBetaCurves(CurveOrder::byFirstAlpha);
    EXPECT_EQ(curveNames(document), (QStringList{"a", "b", "c"}));
    document.sortAlphaBetaCurves(CurveOrder::byIndex);
    EXPECT_EQ(curveNames(document), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(document.alphaBetaCurves().at(1).toDictionary().intValue("index"), 1);
}

TEST(AlphaBetaMarkers, NamesAndTheEngineFluidOfAMarker)
{
    EXPECT_EQ(newAlphaBetaPoint(0.25, 0.125, 0, 0, 0).stringValue("name"), "AB 0.250 0.125");
    EXPECT_EQ(newAlphaBetaPoint(0.25, 0.125, 0, 1.5, 0).stringValue("name"), "AB 0.250 0.125 0.0 1.5 0.0");

    Dictionary curve{{"name", "C"}};
    Dictionary marker = newAlphaBetaPoint(0.3, 0.1, 5, 2, 1);
    marker.setValue("curve", curve);
    marker.setValue("graphPoint", 1);
    marker.setValue("inclusion", Dictionary{{"volumes", Array{Dictionary{{"Tvol", 20.0}}}}});
    const Dictionary fluid = alphaBetaFluidFromMarker(marker);
    EXPECT_DOUBLE_EQ(fluid.doubleValue("CO2"), 0.05);
    EXPECT_DOUBLE_EQ(fluid.doubleValue("N2"), 0.02);
    EXPECT_DOUBLE_EQ(fluid.doubleValue("H2S"), 0.01);
    EXPECT_FALSE(fluid.contains("curve"));
    EXPECT_FALSE(fluid.contains("graphPoint"));
    EXPECT_DOUBLE_EQ(marker.doubleValue("CO2"), 5) << "the marker keeps percent";
    EXPECT_NE(fluid.dictionaryValue("inclusion").arrayValue("volumes"),
              marker.dictionaryValue("inclusion").arrayValue("volumes"))
        << "a deep copy";
}

TEST_F(AlphaBetaDocument, CorrelationLinesReadFluidModelFiles)
{
    RecordingEditorFactory editors;
    // A fluid-model file: a complete alpha-beta fluid, one lacking "GOR", a component fluid.
    Dictionary complete{{"name", "F1"}, {"fluidType", 1}, {"alpha", 0.3}, {"beta", 0.1}, {"CO2", 0.01},
                        {"N2", 0.0},    {"H2S", 0.0},     {"GOR", 120.0}, {"API", 35.0}};
    Dictionary lacking = complete.copy();
    lacking.remove("GOR");
    lacking.setValue("name", "F2");
    const QString file = path("model.flu");
    ASSERT_TRUE(KeyedArchiver::writeFile(file, {{"fluids", Array{complete, lacking, Dictionary{{"fluidType", 2}}}}}));

    CAlphaBetaPlotDocument* document = shownDocument();
    chooser.queuePath(QString());  // cancelled
    EXPECT_FALSE(document->addAlphaBetaCorrelation());
    EXPECT_FALSE(document->isDocumentEdited());

    Posts posts;
    chooser.queuePath(file);
    const std::optional<Dictionary> correlation = document->addAlphaBetaCorrelation();
    ASSERT_TRUE(correlation);
    EXPECT_EQ(correlation->stringValue("name"), "model");
    ASSERT_EQ(correlation->arrayValue("data").size(), 1);
    EXPECT_TRUE(correlation->arrayValue("data").at(0).toDictionary().isEqualTo(
        [&] { Dictionary d = complete.copy(); d.remove("fluidType"); return d; }()));
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(posts.names, QStringList{AlphaBetaPlotModified});

    // A document the user has open is read as it is and stays open.
    Document* open = controller->openDocumentWithContentsOfFile(file, false);
    ASSERT_NE(open, nullptr);
    chooser.queuePath(file);
    EXPECT_TRUE(document->addAlphaBetaCorrelation());
    EXPECT_TRUE(controller->documents().contains(open));

    const QString damaged = path("damaged.flu");
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("not an archive");
    out.close();
    alerts.clear();
    chooser.queuePath(damaged);
    EXPECT_FALSE(document->addAlphaBetaCorrelation());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(document->alphaBetaCorrelations().size(), 2);

    // A named pipe is refused at once rather than waited on for ever.
    const QString pipe = path("pipe.flu");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    alerts.clear();
    chooser.queuePath(pipe);
    EXPECT_FALSE(document->addAlphaBetaCorrelation());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].message.contains("not a regular file"));
    EXPECT_EQ(document->alphaBetaCorrelations().size(), 2);
}

TEST_F(AlphaBetaDocument, PageItemsAndPrinting)
{
    CAlphaBetaPlotDocument* document = shownDocument();
    document->performAction("onShowAlphaBetaPanelPage3:", nullptr);
    EXPECT_EQ(panels.calls.last(), "selectAlphaBetaPage 2");
    panels.alphaBetaVisible = true;
    QAction first, second;
    EXPECT_TRUE(document->validateAction("onShowAlphaBetaPanelPage1:", &first));
    EXPECT_TRUE(document->validateAction("onShowAlphaBetaPanelPage2:", &second));
    EXPECT_TRUE(first.isChecked());
    EXPECT_FALSE(second.isChecked());

    const Dictionary curve = curveRecord("P", points({{0.2, 0, 1}, {0.8, 0.5, 2}}), 0);
    document->alphaBetaCurves().append(curve);
    document->plotAlphaBetaCurve(curve);
    const QString pdf = path("print.pdf");
    {
        QPdfWriter writer(pdf);
        document->printToDevice(writer);
    }
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
}

// ---- The one-curve run ----

constexpr double kThK = 373.15;

TEST_F(AlphaBetaDocument, OneCurveRunsCodesAlertsRecordsAndTheEngine)
{
    CAlphaBetaPlotDocument document;
    auto& steps = engine.script.stepsByTh[kThK];

    // The first step fails.
    steps = {{3}};
    document.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", std::nullopt);
    EXPECT_EQ(runOneCurve(document), QList<Turn>{Turn::firstPointFailed});
    EXPECT_EQ(alerts.messages(), QStringList{"For some reason, Quorvel was not able to treat these oil inclusion data."});
    EXPECT_FALSE(document.hasEngine());
    EXPECT_EQ(engine.script.liveEngines, 0);

    // A point, then the end with error index 7: no record, the no-liquid alert.
    alerts.clear();
    steps = {{0, 0.2, 0.0, 150}, {-1, 0, 0, 0, 7}};
    document.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", std::nullopt);
    EXPECT_EQ(runOneCurve(document), (QList<Turn>{Turn::point, Turn::done}));
    EXPECT_EQ(alerts.messages(), QStringList{"The bubble is either too large or too small for an inclusion which "
                                             "homogenizes to liquid. Check your parameters."});
    EXPECT_TRUE(document.alphaBetaCurves().isEmpty());
    EXPECT_FALSE(document.hasEngine());

    // Points, a retry, the end at a critical point: one record.
    alerts.clear();
    Dictionary inclusion = newInclusionRecord();
    inclusion.setValue("name", "Q-7");
    steps = {{0, 0.2, 0.0, 150}, {0, 0.22, 0.05, 160}, {1}, {0, 0.25, 0.1, 170}, {-1, 0, 0, 0, 5}};
    document.prepareCalculation(kThK, 293.15, 0.1, 0.02, 0.01, 0.005, Homogenisation::toLiquid, "Q-7", inclusion);
    EXPECT_EQ(runOneCurve(document), (QList<Turn>{Turn::point, Turn::point, Turn::retry, Turn::point, Turn::done}));
    EXPECT_EQ(alerts.messages(), QStringList{"The curve stops at a critical point."});
    ASSERT_EQ(document.alphaBetaCurves().size(), 1);
    const Dictionary curve = document.alphaBetaCurves().at(0).toDictionary();
    EXPECT_EQ(curve.stringValue("name"), "Q-7");
    EXPECT_NEAR(curve.doubleValue("Th"), 100, 1e-9);
    EXPECT_NEAR(curve.doubleValue("Tv"), 20, 1e-9);
    EXPECT_NEAR(curve.doubleValue("Fv"), 10, 1e-9);
    EXPECT_NEAR(curve.doubleValue("CO2"), 2, 1e-9);
    EXPECT_NEAR(curve.doubleValue("N2"), 1, 1e-9);
    EXPECT_NEAR(curve.doubleValue("H2S"), 0.5, 1e-9);
    EXPECT_EQ(curve.stringValue("homog"), "liquid");
    EXPECT_EQ(curve.intValue("index"), 0);
    EXPECT_DOUBLE_EQ(curve.doubleValue("alpha0"), 0.2);
    EXPECT_TRUE(curve.arrayValue("data").isEqualTo(points({{0.2, 0.0, 150}, {0.22, 0.05, 160}, {0.25, 0.1, 170}})));
    EXPECT_TRUE(panels.proposedCurveNames.isEmpty());
    EXPECT_FALSE(document.hasEngine());
    // The inclusion kept is a copy of its own, down to its volume points.
    inclusion.arrayValue("volumes").clear();
    inclusion.setValue("name", "changed");
    EXPECT_EQ(curve.dictionaryValue("inclusion").stringValue("name"), "Q-7");
    EXPECT_FALSE(curve.dictionaryValue("inclusion").arrayValue("volumes").isEmpty());
}

TEST_F(AlphaBetaDocument, TypedCurveIsNamedAtThePromptAfterTheLiquidLiquidGasAlert)
{
    CAlphaBetaPlotDocument document;
    engine.script.stepsByTh[kThK] = {{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {-1, 0, 0, 0, 6}};
    panels.curveNameAnswer = "Typed A";
    document.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toVapour,
                                kNewInclusionCurveName, std::nullopt);
    EXPECT_EQ(runOneCurve(document), (QList<Turn>{Turn::point, Turn::point, Turn::done}));
    EXPECT_EQ(panels.proposedCurveNames, QStringList{"New inclusion"});
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.messages().at(0).startsWith("Liquid-liquid-gas equilibria may occur"));
    EXPECT_TRUE(alerts.messages().at(0).contains("\nIf necessary, extrapolate"));
    ASSERT_EQ(document.alphaBetaCurves().size(), 1);
    const Dictionary curve = document.alphaBetaCurves().at(0).toDictionary();
    EXPECT_EQ(curve.stringValue("name"), "Typed A");
    EXPECT_EQ(curve.stringValue("homog"), "gas");
    EXPECT_FALSE(curve.contains("inclusion"));

    Posts posts;
    EXPECT_FALSE(document.isDocumentEdited());
    document.onCalculationEnd();
    EXPECT_TRUE(document.isDocumentEdited());
    EXPECT_EQ(posts.names, QStringList{AlphaBetaPlotModified});
}

// ---- The all-inclusions run ----

Dictionary inclusionAt(const QString& name, double thCelsius)
{
    Dictionary inclusion = newInclusionRecord();
    inclusion.setValue("name", name);
    inclusion.setValue("Th", thCelsius);
    inclusion.setValue("Tv", 20.0);
    inclusion.setValue("Fv", 10.0);
    inclusion.setValue("homog", "liquid");
    return inclusion;
}

TEST_F(AlphaBetaDocument, AllInclusionsRunSurvivesAPanelRebuildingItsListInPlace)
{
    CAlphaBetaPlotDocument document;
    auto& script = engine.script.stepsByTh;
    script[100 + 273.15] = {{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {-1}};
    script[110 + 273.15] = {{4}};                       // first point fails
    script[120 + 273.15] = {{0, 0.4, 0.0, 90}, {1}, {0, 0.5, 0.1, 95}};  // halved, then asked again
    const QList<Dictionary> shown{Dictionary{{"name", "All"}}, inclusionAt("A", 100), inclusionAt("B", 110),
                                  inclusionAt("C", 120)};
    Array list;
    for (const Dictionary& row : shown)
        list.append(row.deepCopy());

    document.prepareCalculation(list);
    QList<Turn> codes;
    int progress = 0;
    for (int turn = 0; turn < 40; ++turn) {
        double alpha = -9, beta = -9;
        const Turn code = document.calculateAlphaBetaPoint1(&alpha, &beta);
        codes << code;
        if (code == Turn::point && beta == 0.0)
            ++progress;
        // The panel rebuilds its rows in the same list after every turn, here leaving out
        // the inclusions that have a curve: a walk over the panel's list would pass one by.
        list.clear();
        for (const Dictionary& row : shown)
            if (!curveNames(document).contains(row.stringValue("name")))
                list.append(row.deepCopy());
        if (code == Turn::done || (turn == 0 && code != Turn::point))
            break;
    }
    EXPECT_EQ(codes, (QList<Turn>{Turn::point, Turn::point, Turn::point, Turn::point, Turn::retry, Turn::point,
                                  Turn::point, Turn::done}));
    EXPECT_TRUE(script[110 + 273.15].empty()) << "the failing inclusion was tried";
    EXPECT_EQ(progress, 2);
    ASSERT_EQ(document.alphaBetaCurves().size(), 2);
    EXPECT_EQ(document.alphaBetaCurves().at(0).toDictionary().stringValue("name"), "A");
    EXPECT_EQ(document.alphaBetaCurves().at(1).toDictionary().stringValue("name"), "C");
    EXPECT_EQ(document.alphaBetaCurves().at(1).toDictionary().dictionaryValue("inclusion").stringValue("name"), "C");
    EXPECT_EQ(document.alphaBetaCurves().at(1).toDictionary().intValue("index"), 1);
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_FALSE(document.hasEngine());
    EXPECT_EQ(engine.script.liveEngines, 0);

    // Only the placeholder: the end at once, and the engine goes.
    document.prepareCalculation(Array{Dictionary{{"name", "All"}}});
    double alpha = 0, beta = 0;
    EXPECT_EQ(document.calculateAlphaBetaPoint1(&alpha, &beta), Turn::done);
    EXPECT_FALSE(document.hasEngine());
}

// An inclusion gives the same curve whichever run computed it: the all-inclusions run asks
// again after the engine halved its step, and keeps no curve of a single point.
TEST_F(AlphaBetaDocument, AnInclusionGivesTheSameCurveInBothRuns)
{
    const std::deque<EngineStep> halving{{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {1},
                                         {1},                {0, 0.35, 0.15, 165}, {0, 0.4, 0.2, 170},
                                         {1},                {0, 0.45, 0.25, 175}, {-1}};
    const std::deque<EngineStep> singlePoint{{0, 0.6, 0.0, 120}, {1}, {-1, 0, 0, 0, 1}};
    for (const auto& steps : {halving, singlePoint}) {
        CAlphaBetaPlotDocument single;
        engine.script.stepsByTh[kThK] = steps;
        const Dictionary inclusion = inclusionAt("Q", kThK - 273.15);
        single.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", inclusion);
        runOneCurve(single);

        CAlphaBetaPlotDocument all;
        engine.script.stepsByTh[kThK] = steps;
        engine.script.stepsByTh[90 + 273.15] = {{4}};  // an inclusion whose first point fails
        all.prepareCalculation(Array{Dictionary{{"name", "All"}}, inclusionAt("F", 90), inclusion});
        double alpha = 0, beta = 0;
        for (int turn = 0; turn < 50 && all.calculateAlphaBetaPoint1(&alpha, &beta) != Turn::done; ++turn) {
        }
        ASSERT_EQ(all.alphaBetaCurves().size(), single.alphaBetaCurves().size());
        const auto pointsOf = [](const CAlphaBetaPlotDocument& document) {
            std::vector<double> values;
            for (const Value& point : document.alphaBetaCurves().at(0).toDictionary().arrayValue("data"))
                for (const Value& value : point.toArray())
                    values.push_back(value.toDouble());
            return values;
        };
        if (steps.size() == halving.size()) {
            ASSERT_EQ(single.alphaBetaCurves().size(), 1);
            EXPECT_EQ(pointsOf(single).size(), 5u * 3);
            EXPECT_EQ(pointsOf(all), pointsOf(single));
        }
    }
}

// With the alpha-beta model itself: an inclusion homogenising to liquid at 100 degrees
// Celsius with a 10 % bubble at 20, whose curve needs its step halved on the way.
struct AlphaBetaModelCurves : ::testing::Test, AppFixture
{
    RecordingPanels panels;
};

TEST_F(AlphaBetaModelCurves, OneCurveAndAllInclusionsGiveTheSameCurve)
{
    const Dictionary inclusion = inclusionAt("Q", 100);
    CAlphaBetaPlotDocument single;
    single.prepareCalculation(100 + 273.15, 20 + 273.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", inclusion);
    double alpha = 0, beta = 0;
    int retries = 0;
    for (int turn = 0; turn < 500; ++turn) {
        const Turn code = single.calculateAlphaBetaPoint(&alpha, &beta);
        if (code == Turn::done)
            break;
        retries += code != Turn::point;
    }
    EXPECT_GT(retries, 0) << "the case needs a halved step";

    CAlphaBetaPlotDocument all;
    all.prepareCalculation(Array{Dictionary{{"name", "All"}}, inclusion});
    for (int turn = 0; turn < 500 && all.calculateAlphaBetaPoint1(&alpha, &beta) != Turn::done; ++turn) {
    }
    ASSERT_EQ(single.alphaBetaCurves().size(), 1);
    ASSERT_EQ(all.alphaBetaCurves().size(), 1);
    const Array one = single.alphaBetaCurves().at(0).toDictionary().arrayValue("data");
    const Array each = all.alphaBetaCurves().at(0).toDictionary().arrayValue("data");
    ASSERT_EQ(each.size(), one.size());
    for (qsizetype i = 0; i < one.size(); ++i)
        for (qsizetype k = 0; k < 3; ++k)
            EXPECT_NEAR(each.at(i).toArray().at(k).toDouble(), one.at(i).toArray().at(k).toDouble(), 1e-9)
                << "point " << i;
}

TEST_F(AlphaBetaDocument, AStoppedRunKeepsItsEngineForTheNextPreparation)
{
    CAlphaBetaPlotDocument document;
    engine.script.stepsByTh[kThK] = {{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {0, 0.2, 0.0, 150}};
    document.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", std::nullopt);
    double alpha = 0, beta = 0;
    EXPECT_EQ(document.calculateAlphaBetaPoint(&alpha, &beta), Turn::point);
    document.onCalculationEnd();  // stopped by the user
    EXPECT_TRUE(document.hasEngine());
    document.prepareCalculation(kThK, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "Q", std::nullopt);
    EXPECT_EQ(engine.script.enginesMade, 1);
    EXPECT_EQ(document.calculateAlphaBetaPoint(&alpha, &beta), Turn::point);
    EXPECT_DOUBLE_EQ(beta, 0.1) << "the next step of the same engine";
}

// ---- Fluids generated from an alpha-beta point ----

TEST_F(AlphaBetaDocument, GeneratedFluidGoesToTheLastFluidModelDocumentOrANewOne)
{
    RecordingEditorFactory editors;
    CAlphaBetaPlotDocument document;
    document.generateFluidModel(0.9, 0.1, 0, 0, 0);
    ASSERT_EQ(controller->documents().size(), 1);
    auto* made = dynamic_cast<CFluidModelDataDocument*>(controller->documents().at(0));
    ASSERT_NE(made, nullptr);
    ASSERT_EQ(made->fluids().size(), 1);
    const Dictionary fluid = made->fluids().at(0).toDictionary();
    EXPECT_EQ(fluid.stringValue("name"), "New");
    EXPECT_EQ(fluid.intValue("fluidType"), 2);
    EXPECT_TRUE(fluid.stringValue("comment").contains("alpha=0.9000, beta=0.1000, CO2=0.0000"));
    double total = 0;
    for (const Value& component : fluid.arrayValue("components"))
        total += component.toDictionary().doubleValue("mole");
    EXPECT_EQ(fluid.arrayValue("components").size(), 17);
    EXPECT_NEAR(total, 100, 1e-6);
    ASSERT_EQ(editors.made.size(), 1);
    EXPECT_EQ(editors.made[0]->finished, 1);

    controller->performAction("onNewFluidModelDocument:", nullptr);
    settle();
    auto* last = dynamic_cast<CFluidModelDataDocument*>(controller->documents().last());
    ASSERT_NE(last, made);
    document.generateFluidModel(0.5, 0.2, 0.01, 0, 0);
    EXPECT_EQ(made->fluids().size(), 1);
    EXPECT_EQ(last->fluids().size(), 1);
    EXPECT_FALSE(document.isDocumentEdited());
}

// ---- The real engine ----

TEST_F(AlphaBetaDocument, RealEngineCurveOfALiquidInclusion)
{
    AlphaBetaCurveEngine::setFactory(nullptr);
    CAlphaBetaPlotDocument document;
    document.prepareCalculation(100 + 273.15, 20 + 273.15, 0.10, 0, 0, 0, Homogenisation::toLiquid,
                                "Th 100", std::nullopt);
    const QList<Turn> codes = runOneCurve(document, 2000);
    EXPECT_EQ(codes.last(), Turn::done);
    ASSERT_EQ(document.alphaBetaCurves().size(), 1) << alerts.messages().join("|").toStdString();
    const Array data = document.alphaBetaCurves().at(0).toDictionary().arrayValue("data");
    ASSERT_GE(data.size(), 2);
    EXPECT_EQ(data.at(0).toArray().at(1).toDouble(), 0.0);
    for (int i = 1; i < data.size(); ++i)
        EXPECT_GT(data.at(i).toArray().at(1).toDouble(), data.at(i - 1).toArray().at(1).toDouble()) << i;
    EXPECT_FALSE(document.hasEngine());
}

// ---- The window ----

TEST_F(AlphaBetaDocument, WindowWithTwoCurvesAndAMarkerRendersToPng)
{
    CAlphaBetaPlotDocument* document = shownDocument();
    const Dictionary first = curveRecord("Q-1", points({{0.2, 0, 1}, {0.35, 0.2, 2}, {0.6, 0.45, 3}}), 0);
    const Dictionary second = curveRecord("Q-2", points({{0.45, 0, 1}, {0.6, 0.15, 2}, {0.85, 0.3, 3}}), 1);
    Dictionary blue = second;
    blue.setValue("color", Color::fromRgb(0, 0.5, 0));
    for (const Dictionary& curve : {first, blue}) {
        document->alphaBetaCurves().append(curve);
        document->plotAlphaBetaCurve(curve);
    }
    document->setAlphaBetaMarker(0.35, 0.2, 0, 0, 0, 2, first);
    document->setShowLabels(true);
    QWidget* window = document->windowControllers().front()->window();
    window->resize(640, 480);
    settle();
    const QImage image = window->grab().toImage();
    const QString png = QDir(QCoreApplication::applicationDirPath()).filePath("alpha_beta_plot.png");
    ASSERT_TRUE(image.save(png));
    int reddish = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            reddish += c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(reddish, 50);
}

}  // namespace
