// Reference curves of the alpha-beta plot: McCain's boundaries, the iso-curve files and
// their reading, the show, hide and toggle operations, and the committed iso-curve files
// checked against the engine.

#include "support/AppTestSupport.h"

#include "app/AlphaBetaReferenceCurves.h"
#include "app/CAlphaBetaPlotDocument.h"
#include "app/DocumentTypes.h"
#include "calc/CAlphaBetaModelInterface.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace quorvel;
using namespace quorvel::test;

namespace {

using Curves = CAlphaBetaPlotDocument::ReferenceCurves;

struct ReferenceCurvesFixture : ::testing::Test, AppFixture
{
    RecordingPanels panels;
    PostedNotifications posts{{AlphaBetaPlotModified, AlphaBetaPlotSelection}};
    CAlphaBetaPlotDocument* document = nullptr;

    void SetUp() override
    {
        document = shownDocumentOfType<CAlphaBetaPlotDocument>(DocumentTypes::AlphaBetaPlot);
        posts.names.clear();
    }
    void write(const QString& name, const QByteArray& text)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    bool inView(const std::shared_ptr<CGraphCurve>& curve) const
    {
        const auto& objects = document->plotView()->graphObjects();
        return std::find(objects.begin(), objects.end(), curve) != objects.end();
    }
};

// ---- McCain's boundaries ----

TEST_F(ReferenceCurvesFixture, McCainBoundariesAreTheFourPolynomialsSampledByHundredths)
{
    document->showMcCainCurves(true);
    const Curves& curves = document->mcCainCurves();
    ASSERT_EQ(curves.size(), 4u);
    // Ends rounded as published with the boundaries.
    struct Case
    {
        const char* name;
        size_t points;
        PlotPoint first, last;
    };
    const Case cases[] = {{"Dry Gas", 84, {0.165f, -0.3004f}, {0.995f, 0.9836f}},
                          {"Gas condensate", 67, {0.33f, NAN}, {0.99f, NAN}},
                          {"Volatile oil", 48, {0.52f, NAN}, {0.99f, NAN}},
                          {"Black oil", 14, {0.8575f, -0.3205f}, {0.9875f, 0.6561f}}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(cases[i].name);
        const CGraphCurve& curve = *curves[i];
        EXPECT_EQ(curve.mLabel(), QString(cases[i].name));
        const auto& points = curve.mPointsList();
        ASSERT_EQ(points.size(), cases[i].points);
        EXPECT_NEAR(points.front().point.x, cases[i].first.x, 1e-6);
        EXPECT_NEAR(points.back().point.x, cases[i].last.x, 1e-6);
        if (!std::isnan(cases[i].first.y)) {
            EXPECT_NEAR(points.front().point.y, cases[i].first.y, 6e-5);
            EXPECT_NEAR(points.back().point.y, cases[i].last.y, 6e-5);
        }
        for (size_t k = 1; k < points.size(); ++k)
            EXPECT_NEAR(points[k].point.x - points[k - 1].point.x, 0.01, 1e-6);
        EXPECT_TRUE(std::none_of(points.begin(), points.end(), [](const CurvePoint& p) { return p.breakFlag; }));
        EXPECT_EQ(*curve.color(), Color::fromRgb(0.33, 0.5, 0.8));
        EXPECT_FALSE(curve.isHidden());
        EXPECT_TRUE(inView(curves[i]));
    }
    // The gas-condensate boundary at its 21st point, written out here.
    const double x = 0.53;
    const double y = -4.3446 + 26.153 * x - 64.915 * x * x + 87.122 * std::pow(x, 3) - 60.796 * std::pow(x, 4) +
                     17.753 * std::pow(x, 5);
    EXPECT_NEAR(curves[1]->mPointsList()[20].point.y, y, 1e-5);
}

TEST_F(ReferenceCurvesFixture, ShowHideAndToggleOfEachFamily)
{
    struct Family
    {
        const char* name;
        void (CAlphaBetaPlotDocument::*show)(bool);
        void (CAlphaBetaPlotDocument::*toggle)();
        bool (CAlphaBetaPlotDocument::*visible)() const;
        const Curves& (CAlphaBetaPlotDocument::*curves)() const;
    };
    using D = CAlphaBetaPlotDocument;
    const Family families[] = {
        {"McCain", &D::showMcCainCurves, &D::showHideMcCainCurves, &D::areMcCainCurvesVisible, &D::mcCainCurves},
        {"C7+", &D::showIsoC7plusCurves, &D::showHideIsoC7plusCurves, &D::areIsoC7plusCurvesVisible,
         &D::isoC7plusCurves},
        {"CH4", &D::showIsoCH4Curves, &D::showHideIsoCH4Curves, &D::areIsoCH4CurvesVisible, &D::isoCH4Curves},
        {"API", &D::showIsoAPICurves, &D::showHideIsoAPICurves, &D::areIsoAPICurvesVisible, &D::isoAPICurves},
        {"GOR", &D::showIsoGORCurves, &D::showHideIsoGORCurves, &D::areIsoGORCurvesVisible, &D::isoGORCurves}};
    for (const Family& family : families) {
        SCOPED_TRACE(family.name);
        posts.names.clear();
        // Hiding a family never built builds it hidden.
        (document->*family.show)(false);
        const Curves& curves = (document->*family.curves)();
        ASSERT_FALSE(curves.empty());
        const size_t count = curves.size();
        EXPECT_FALSE((document->*family.visible)());
        EXPECT_TRUE(std::all_of(curves.begin(), curves.end(), [](const auto& c) { return c->isHidden(); }));
        (document->*family.show)(true);
        EXPECT_TRUE((document->*family.visible)());
        EXPECT_EQ(curves.size(), count) << "built once";
        EXPECT_TRUE(posts.names.isEmpty()) << "show and hide post nothing";
        (document->*family.toggle)();
        EXPECT_FALSE((document->*family.visible)());
        EXPECT_TRUE(std::all_of(curves.begin(), curves.end(), [](const auto& c) { return c->isHidden(); }));
        EXPECT_EQ(posts.names, QStringList{AlphaBetaPlotModified});
        (document->*family.toggle)();
        EXPECT_TRUE((document->*family.visible)());
        EXPECT_EQ(curves.size(), count);
    }
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

// ---- The committed iso-curve files ----

TEST_F(ReferenceCurvesFixture, ShippedFamiliesHaveTheirValuesColoursSizesAndLabels)
{
    document->showIsoC7plusCurves(true);
    document->showIsoCH4Curves(true);
    document->showIsoAPICurves(true);
    document->showIsoGORCurves(true);
    struct Case
    {
        const char* name;
        const Curves& curves;
        QStringList labels;
        Color color;
    };
    const Case cases[] = {
        {"C7+", document->isoC7plusCurves(), {"10", "20", "30", "40", "50", "60", "70", "80", "90"},
         Color::fromRgb(0.67, 0.67, 1)},
        {"CH4", document->isoCH4Curves(), {"10", "20", "30", "40", "50", "60", "70", "80", "90"},
         Color::fromRgb(1, 0.67, 0.67)},
        {"API", document->isoAPICurves(), {"20.0", "25.0", "30.0", "35.0", "40.0", "45.0", "50.0", "55.0", "60.0"},
         Color::fromRgb(1, 0, 0)},
        {"GOR", document->isoGORCurves(), {"50", "100", "200", "500", "1000", "2000", "5000"},
         Color::fromRgb(0.67, 0.67, 0.67)}};
    for (const Case& family : cases) {
        SCOPED_TRACE(family.name);
        QStringList labels;
        for (const auto& curve : family.curves) {
            labels << curve->mLabel().value_or(QString());
            EXPECT_EQ(*curve->color(), family.color);
            EXPECT_FLOAT_EQ(curve->size(), 0.4f);
            EXPECT_FLOAT_EQ(curve->getToolSizeFactor(), 0.4f);
            EXPECT_FALSE(curve->hasReferenceObject());
            EXPECT_GE(curve->mPointsList().size(), 20u);
            EXPECT_TRUE(inView(curve));
            const PlotPoint label = curve->mLabelAnchor();
            EXPECT_TRUE(label.x > 0 && label.x < 1 && label.y > 0 && label.y < 1);
        }
        EXPECT_EQ(labels, family.labels);
    }
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

// Every family shown at once: the labels stay legible (looked at in the render).
TEST_F(ReferenceCurvesFixture, AllFamiliesRenderToPng)
{
    document->showMcCainCurves(true);
    document->showIsoC7plusCurves(true);
    document->showIsoCH4Curves(true);
    document->showIsoAPICurves(true);
    document->showIsoGORCurves(true);
    QWidget* window = document->windowControllers().front()->window();
    window->resize(640, 480);
    settle();
    const QImage image = window->grab().toImage();
    ASSERT_TRUE(image.save(QDir(QCoreApplication::applicationDirPath()).filePath("alpha_beta_reference_curves.png")));
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red() > c.green() + 20 && c.red() > c.blue() + 20;  // thin lines blend into the background
        }
    EXPECT_GT(red, 200) << "the iso-API and iso-CH4 lines are drawn";
}

// Each line of a family, every tenth point: the engine gives the line's value there.
TEST(IsoCurveFiles, SampledPointsHaveTheirValueInTheEngine)
{
    CAlphaBetaModelInterface model;
    const auto percent = [&](double alpha, double beta, int first, int last) {
        model.calculateComposition(alpha, beta, 0, 0, 0);
        double sum = 0;
        for (int i = first; i <= last; ++i)
            sum += model.getMoleFraction(i);
        return 100 * sum;
    };
    const auto stockTank = [&](double alpha, double beta, bool api) {
        model.calculateComposition(alpha, beta, 0, 0, 0);
        model.calculateGOR();
        return api ? model.engine()->apiGravities()[0] : model.engine()->gasOilRatios()[0];
    };
    constexpr int kC1 = 3, kC7 = 11, kCn2 = 16;
    struct Family
    {
        const char* index;
        const char* format;
        std::function<double(double, double)> property;
        double tolerance;  // in the unit of the value (points are read in single precision), or relative
        bool relative;
    };
    const Family families[] = {
        {"c7plus", "c7%.0f", [&](double a, double b) { return percent(a, b, kC7, kCn2); }, 0.01, false},
        {"ch4", "ch4%.0f", [&](double a, double b) { return percent(a, b, kC1, kC1); }, 0.01, false},
        {"APIs", "API.%.1f", [&](double a, double b) { return stockTank(a, b, true); }, 0.02, false},
        {"GORS", "GOR.%.0f", [&](double a, double b) { return stockTank(a, b, false); }, 1e-3, true}};
    for (const Family& family : families) {
        QFile index(kIsoCurveResourceFolder + "/" + family.index + ".doc");
        ASSERT_TRUE(index.open(QIODevice::ReadOnly)) << family.index;
        const std::vector<IsoCurveIndexRecord> records = readIsoCurveIndex(index.readAll());
        ASSERT_GE(records.size(), 7u) << family.index;
        for (const IsoCurveIndexRecord& record : records) {
            const QString name = QString::asprintf(family.format, record.value);
            QFile file(kIsoCurveResourceFolder + "/" + name + ".doc");
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const std::vector<CurvePoint> points = readIsoCurvePoints(file.readAll(), true);
            ASSERT_GE(points.size(), 20u) << name.toStdString();
            for (size_t i = 0; i < points.size(); i += 10) {
                if (points[i].breakFlag)
                    continue;
                const double alpha = points[i].point.x, beta = points[i].point.y;
                EXPECT_TRUE(alpha > 0 && alpha < 1 && beta >= 0 && beta < 1) << name.toStdString();
                const double found = family.property(alpha, beta);
                const double tolerance = family.relative ? family.tolerance * record.value : family.tolerance;
                EXPECT_NEAR(found, record.value, tolerance) << name.toStdString() << " at " << alpha << ", " << beta;
            }
        }
    }
}

// ---- Reading the files ----

TEST(IsoCurveReading, RecordsStopAtTheFirstIncompleteOne)
{
    struct Case
    {
        const char* text;
        bool breaks;
        std::vector<CurvePoint> points;
    };
    const Case cases[] = {
        {"0.2 0.3 0.4 0.35 -1 0.5 0.6 0.7 0.8", true,
         {{{0.2f, 0.3f}, false}, {{0.4f, 0.35f}, false}, {{0, 0}, true}, {{0.5f, 0.6f}, false}, {{0.7f, 0.8f}, false}}},
        // Outside iso-API files -1 is an ordinary x.
        {"-1 0.5\n0.6 0.7", false, {{{-1, 0.5f}, false}, {{0.6f, 0.7f}, false}}},
        // A truncated last pair adds no point.
        {"0.1 0.2\n0.3", false, {{{0.1f, 0.2f}, false}}},
        {"0.1 0.2\n0.3\n", true, {{{0.1f, 0.2f}, false}}},
        // A word that is not a number ends the reading, as does a y missing after a break.
        {"0.1 0.2 end 0.3 0.4", false, {{{0.1f, 0.2f}, false}}},
        {"0.1 0.2 0.3 x", false, {{{0.1f, 0.2f}, false}}},
        {"", false, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readIsoCurvePoints(c.text, c.breaks), c.points) << c.text;

    const std::vector<IsoCurveIndexRecord> index = readIsoCurveIndex("30 0.5 0.6\n40\t0.7 0.8\n50 0.9");
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[1].value, 40);
    EXPECT_EQ(index[1].label, (PlotPoint{0.7f, 0.8f}));
    EXPECT_TRUE(readIsoCurveIndex("30 0.5 x 40 0.1 0.2").empty());
}

TEST_F(ReferenceCurvesFixture, MissingCurveFileIsSkippedSilentlyAndTruncatedRecordsAddNothing)
{
    document->setIsoCurveFolder(dir.path());
    write("APIs.doc", "20 0.9 0.5\n25 0.8 0.4\n30 0.7 0.3\n35 0.6");
    write("API.20.0.doc", "0.2 0.3 0.4 0.35 -1 0.5 0.6 0.7 0.8\n");
    write("API.30.0.doc", "0.1 0.1\n0.2");  // API.25.0 is missing; 35 has no complete record
    document->showIsoAPICurves(true);
    const Curves& curves = document->isoAPICurves();
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0]->mLabel(), QString("20.0"));
    EXPECT_EQ(curves[0]->mLabelAnchor(), (PlotPoint{0.9f, 0.5f}));
    EXPECT_EQ(curves[0]->mPointsList().size(), 5u);
    EXPECT_TRUE(curves[0]->mPointsList()[2].breakFlag);
    EXPECT_EQ(curves[1]->mLabel(), QString("30.0"));
    EXPECT_EQ(curves[1]->mPointsList(), (std::vector<CurvePoint>{{{0.1f, 0.1f}, false}}));
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_TRUE(document->areIsoAPICurvesVisible());
}

TEST_F(ReferenceCurvesFixture, MissingIndexIsAlertedAtEachAttemptWithAnOKButton)
{
    document->setIsoCurveFolder(dir.path());
    struct Case
    {
        void (CAlphaBetaPlotDocument::*show)(bool);
        bool (CAlphaBetaPlotDocument::*visible)() const;
        const char* message;
    };
    using D = CAlphaBetaPlotDocument;
    const Case cases[] = {
        {&D::showIsoC7plusCurves, &D::areIsoC7plusCurvesVisible, "Cannot find the file of iso-C7+ curves !"},
        {&D::showIsoCH4Curves, &D::areIsoCH4CurvesVisible, "Cannot find the file of iso-CH4 curves !"},
        {&D::showIsoAPICurves, &D::areIsoAPICurvesVisible, "Cannot find the file of iso-API curves !"},
        {&D::showIsoGORCurves, &D::areIsoGORCurvesVisible, "Cannot find the file of iso-GOR curves !"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        alerts.clear();
        for (int attempt = 0; attempt < 2; ++attempt) {
            (document->*c.show)(true);
            EXPECT_FALSE((document->*c.visible)());
        }
        ASSERT_EQ(alerts.alerts().size(), 2);
        for (const Alert& alert : alerts.alerts()) {
            EXPECT_EQ(alert.title, "Alert");
            EXPECT_EQ(alert.message, c.message);
            EXPECT_EQ(alert.defaultButton, "OK");
            EXPECT_TRUE(alert.alternateButton.isEmpty() && alert.otherButton.isEmpty());
        }
    }
    EXPECT_EQ(document->plotView()->graphObjects().size(), 0u);
}

}  // namespace
