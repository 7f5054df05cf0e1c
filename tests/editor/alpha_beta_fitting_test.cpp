// The editor's alpha-beta fits of one fluid: the Montel fit to a real fluid of the model,
// the fixed-alpha fit, the refusal of a fluid without measured point, the measured
// temperature's units, Tovik's estimate with a scripted saturation, and both log tables.

#include "support/EditorTestSupport.h"

#include "app/CFluidModelDataDocument.h"
#include "calc/CalculationInterface.h"
#include "characterisation/AlphaBetaDistribution.h"
#include "editor/AlphaBetaFitting.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace quorvel;
using namespace quorvel::test;

namespace {

constexpr double kCO2 = 0.01, kN2 = 0.005, kH2S = 0;

// The model fluid of (alpha, beta) as its 17 components, the way a fluid-model document
// generates it, named and typed as a fit result.
FluidRecord modelFluid(double alpha, double beta, double CO2, double N2, double H2S, const QString& name)
{
    CFluidModelDataDocument document;
    document.generateFluidFromAlphaBetaModel(alpha, beta, CO2, N2, H2S);
    FluidRecord fluid = document.fluids().at(0).toDictionary();
    fluid.setValue(fluidkey::name, name);
    return fluid;
}

// A maker that builds the model fluid and remembers what it was asked for.
struct RecordingMaker
{
    int calls = 0;
    double alpha = -1, beta = -1, CO2 = -1, N2 = -1, H2S = -1;
    QString name;

    AlphaBetaFluidMaker maker()
    {
        return [this](double a, double b, double co2, double n2, double h2s, const QString& source) {
            ++calls;
            alpha = a, beta = b, CO2 = co2, N2 = n2, H2S = h2s, name = source;
            FluidRecord r = modelFluid(a, b, co2, n2, h2s, source + " adjusted");
            r.setValue(fluidkey::fluidType, code_number(FluidType::alphaBeta));
            r.setValue(fluidkey::alpha, a);
            r.setValue(fluidkey::beta, b);
            return r;
        };
    }
};

// The alpha-beta model's own bubble pressure (bar) at T (degrees Celsius).
double modelBubblePressure(double alpha, double beta, double celsius)
{
    CalculationInterface calculation(FluidType::alphaBeta, EquationOfState::pengRobinson);
    calculation.setAlpha(alpha);
    calculation.setBeta(beta);
    calculation.setCO2(kCO2);
    calculation.setN2(kN2);
    calculation.setH2S(kH2S);
    calculation.finalize();
    return calculation.calculateSaturation(celsius, SaturationKind::bubblePoint);
}

// Mole fraction of the components of that name, summed from the record itself.
double fractionOf(const FluidRecord& fluid, const QStringList& names)
{
    double sum = 0;
    for (const Value& c : fluid.arrayValue(fluidkey::components))
        if (names.contains(c.toDictionary().stringValue(componentkey::name)))
            sum += c.toDictionary().doubleValue(componentkey::mole) / 100;
    return sum;
}

QStringList logLines()
{
    QStringList lines = CLogWindow::sharedLogWindowCtroller()->text().plainText().split(QStringLiteral("\r\n"));
    lines.removeFirst();  // the marker that takes the log's first space
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct LogFixture
{
    LogFixture()
    {
        CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
        log->clearText();
        log->appendString1(QStringLiteral("-"));
        log->showWindow();
    }
    ~LogFixture() { CLogWindow::sharedLogWindowCtroller()->window()->hide(); }
};

struct AlphaBetaFit : ::testing::Test, LogFixture
{
};

TEST_F(AlphaBetaFit, RecoversTheParametersOfAModelFluidFromItsCompositionAndBubblePoint)
{
    const double alpha = 0.8, beta = 0.3;
    FluidRecord source = modelFluid(alpha, beta, kCO2, kN2, kH2S, "Oil 1");
    const double Pexp = modelBubblePressure(alpha, beta, 100);
    ASSERT_GT(Pexp, 0);
    source.setValue(fluidkey::texp, 100.0);
    source.setValue(fluidkey::pexp, Pexp);
    source.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
    source.setValue(fluidkey::tsat, 80.0);
    source.setValue(fluidkey::satPhase, code_number(SaturationKind::dewPoint));
    const FluidRecord before = source.deepCopy();

    RecordingMaker make;
    const std::optional<FluidRecord> result = doFitAlphaBetaModel(source, std::nullopt, make.maker());
    ASSERT_TRUE(result);
    EXPECT_NEAR(make.alpha, alpha, 1e-3);
    EXPECT_NEAR(make.beta, beta, 1e-3);
    EXPECT_NEAR(make.CO2, kCO2, 1e-9);
    EXPECT_NEAR(make.N2, kN2, 1e-9);
    EXPECT_EQ(make.name, "Oil 1");
    EXPECT_TRUE(source.isEqualTo(before)) << "the source is never changed";

    const FluidRecord& r = *result;
    EXPECT_DOUBLE_EQ(r.doubleValue(fluidkey::texp), 373.15);
    EXPECT_DOUBLE_EQ(r.doubleValue(fluidkey::pexp), Pexp);
    EXPECT_EQ(r.intValue(fluidkey::hexp), code_number(SaturationKind::bubblePoint));
    EXPECT_DOUBLE_EQ(r.doubleValue(fluidkey::tsat), 80);
    EXPECT_EQ(r.intValue(fluidkey::satPhase), code_number(SaturationKind::dewPoint));
    EXPECT_NEAR(r.doubleValue(fluidkey::C1), fractionOf(source, {"C1"}), 1e-12);
    EXPECT_NEAR(r.doubleValue(fluidkey::C4), fractionOf(source, {"iC4", "nC4", "C4"}), 1e-12);
    EXPECT_NEAR(r.doubleValue(fluidkey::CO2), fractionOf(source, {"CO2"}), 1e-12);
    const double Pcal = r.doubleValue(fluidkey::pcal);
    EXPECT_NEAR(Pcal, Pexp, 1e-3 * Pexp);
    EXPECT_DOUBLE_EQ(r.doubleValue(fluidkey::ardp), (Pcal - Pexp) / Pexp);
    EXPECT_DOUBLE_EQ(r.doubleValue(fluidkey::aadp), std::fabs((Pcal - Pexp) / Pexp));
    const MontelComposition m = simplifiedMontelComposition(make.alpha, make.beta, make.CO2 + make.N2 + make.H2S);
    const QStringList groups[] = {{"C1"}, {"C2"}, {"C3"}, {"iC4", "nC4"}, {"iC5", "nC5"}, {"C6"},
                                  {"C7", "C8", "C9", "C10", "Cn1", "Cn2"}};
    double aad = 0;
    for (int i = 0; i < 7; ++i)
        aad += std::fabs(m.group(i) - fractionOf(source, groups[i])) / fractionOf(source, groups[i]) / 7;
    EXPECT_NEAR(r.doubleValue(fluidkey::aadx), aad, 1e-9);
    EXPECT_GT(r.doubleValue(fluidkey::fvcal), 0);
    EXPECT_LT(r.doubleValue(fluidkey::fvcal), 1);

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Adjustement to the alpha-beta model of Oil 1");
    EXPECT_EQ(lines[3], QString::asprintf("\tRMS(mole) : %.2f", 100 * r.doubleValue(fluidkey::rmsx)));
    EXPECT_EQ(lines[4], QString::asprintf("\tARD(P)    : %.2f", 100 * (Pcal - Pexp) / Pexp));

    // A re-fit of the result reads its kelvin as kelvin: the temperature stays 373.15 K.
    const std::optional<FluidRecord> refit = doFitAlphaBetaModel(r, std::nullopt, make.maker());
    ASSERT_TRUE(refit);
    EXPECT_DOUBLE_EQ(refit->doubleValue(fluidkey::texp), 373.15);
    EXPECT_NEAR(refit->doubleValue(fluidkey::pcal), Pexp, 1e-3 * Pexp);
}

TEST_F(AlphaBetaFit, FixedAlphaIsKeptExactly)
{
    FluidRecord source = modelFluid(0.8, 0.3, kCO2, kN2, kH2S, "Oil 1");
    source.setValue(fluidkey::texp, 100.0);
    source.setValue(fluidkey::pexp, modelBubblePressure(0.8, 0.3, 100));
    source.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
    RecordingMaker make;
    const std::optional<FluidRecord> result = doFitAlphaBetaModel(source, 0.5, make.maker());
    ASSERT_TRUE(result);
    EXPECT_EQ(make.alpha, 0.5);
    EXPECT_EQ(result->doubleValue(fluidkey::alpha), 0.5);
    EXPECT_TRUE(isAlphaBetaInRange(0.5, make.beta));
}

TEST_F(AlphaBetaFit, AFluidWithoutMeasuredPointIsRefusedWithTheCriticalAlert)
{
    RecordingAlertService alerts;
    FluidRecord source = fluid("Oil 2", {"C1", "C2", "C7+"});
    source.setValue(fluidkey::pexp, 200.0);  // a pressure alone is no measured point
    RecordingMaker make;
    EXPECT_FALSE(doFitAlphaBetaModel(source, std::nullopt, make.maker()));
    EXPECT_EQ(make.calls, 0);
    ASSERT_EQ(alerts.alerts().size(), 1);
    const Alert& alert = alerts.alerts().front();
    EXPECT_EQ(alert.style, Alert::Style::Critical);
    EXPECT_EQ(alert.title, "An experimental (P-T) saturation point is required to fit this fluid with an "
                           "alpha-beta model.");
    EXPECT_EQ(alert.message, "Provide these data");
    EXPECT_TRUE(logLines().isEmpty());
}

TEST(MeasuredPoint, TemperatureIsReadInDegreesCelsiusWhateverTheRecordHolds)
{
    FluidRecord typed{{fluidkey::texp, 90.0}};
    FluidRecord fitted{{fluidkey::texp, 363.15}, {fluidkey::fvcal, 0.1}};
    FluidRecord fittedWithoutFraction{{fluidkey::texp, 363.15}, {fluidkey::fvcal, std::nan("")}};
    EXPECT_DOUBLE_EQ(measuredTemperatureCelsius(typed), 90);
    EXPECT_NEAR(measuredTemperatureCelsius(fitted), 90, 1e-12);
    EXPECT_NEAR(measuredTemperatureCelsius(fittedWithoutFraction), 90, 1e-12);

    // A point written over a fit result, and copies of records of either unit, keep 90.
    FluidRecord closedOver = fitted.copy();
    writeMeasuredPoint(closedOver, 363.15, 1, SaturationKind::bubblePoint);
    FluidRecord typedInKelvin;
    setMeasuredTemperatureKelvin(typedInKelvin, 363.15);
    for (const FluidRecord& record : {closedOver, typedInKelvin, duplicateFluid(fitted), duplicateFluid(closedOver),
                                      duplicateFluid(typed)})
        EXPECT_NEAR(measuredTemperatureCelsius(record), 90, 1e-12);

    FluidRecord written;
    writeMeasuredPoint(written, 373.15, 68.948, SaturationKind::dewPoint);
    EXPECT_NEAR(written.doubleValue(fluidkey::texp), 100, 1e-12);
    EXPECT_DOUBLE_EQ(written.doubleValue(fluidkey::pexp), 68.948);
    EXPECT_EQ(written.value(fluidkey::hexp).type(), Value::Type::Int);
    EXPECT_EQ(written.intValue(fluidkey::hexp), code_number(SaturationKind::dewPoint));
}

// ---- Tovik ----

// A saturation calculation answering a set pressure, remembering how it was made and asked.
struct ScriptedSaturation
{
    double pressure = 150;
    int made = 0, interfaceType = -1, eosCode = -1, recordType = -1, recordComponents = -1, kind = -1;
    double temperature = 0;

    StockTankCalculationFactory factory()
    {
        return [this](FluidType type, EquationOfState eos, const FluidRecord& record) -> std::unique_ptr<StockTankCalculation> {
            ++made;
            interfaceType = code_number(type);
            eosCode = code_number(eos);
            recordType = record.intValue(fluidkey::fluidType);
            recordComponents = record.arrayValue(fluidkey::components).size();
            struct Run : StockTankCalculation
            {
                ScriptedSaturation* s;
                explicit Run(ScriptedSaturation* script) : s(script) {}
                StockTankResult calculateGOR(const ProgressCallback&) override { return {}; }
                double calculateSaturation(double T, SaturationKind k) override
                {
                    s->temperature = T;
                    s->kind = code_number(k);
                    return s->pressure;
                }
            };
            return std::make_unique<Run>(this);
        };
    }
};

// The source: 50 % C1 and 20 % C2, 10 % C3, 10 % nC4 and 10 % C7+.
FluidRecord tovikSource(const QString& name)
{
    Array components{component("C1", 50), component("C2", 20), component("C3", 10), component("nC4", 10),
                     component("C7+", 10)};
    return FluidRecord{{fluidkey::name, name}, {fluidkey::fluidType, code_number(FluidType::componentList)},
                       {fluidkey::components, components}};
}

struct TovikCase
{
    const char* title;
    std::function<void(FluidRecord&)> prepare;
    double saturation;
    bool expectPsat;
    double expectTexp;  // not-a-number: no "Texp"
    double expectArdp;  // not-a-number: none
    const char* pressureLine;
};

class TovikEstimate : public ::testing::TestWithParam<TovikCase>, public LogFixture
{
};

TEST_P(TovikEstimate, ResultKeysAndPressureDeviation)
{
    const TovikCase& c = GetParam();
    FluidRecord source = tovikSource("B");
    c.prepare(source);
    const FluidRecord before = source.deepCopy();
    ScriptedSaturation saturation;
    saturation.pressure = c.saturation;
    RecordingMaker make;

    const FluidRecord r = doTovikAlphaBeta(source, make.maker(), saturation.factory());

    EXPECT_TRUE(source.isEqualTo(before));
    EXPECT_EQ(make.alpha, 0.92);
    EXPECT_NEAR(make.beta, 0.77474 - 0.97186 * std::exp(-3.8104 * 0.5), 1e-12);
    EXPECT_NEAR(r.doubleValue(fluidkey::C1), 0.5, 1e-12);
    EXPECT_NEAR(r.doubleValue(fluidkey::C4), 0.1, 1e-12);
    EXPECT_NEAR(r.doubleValue(fluidkey::c7plus), 0.1, 1e-12);
    EXPECT_EQ(r.contains(fluidkey::psat), c.expectPsat);
    EXPECT_EQ(r.contains(fluidkey::pcal), c.expectPsat);
    if (c.expectPsat) {
        EXPECT_EQ(saturation.made, 1);
        EXPECT_EQ(r.doubleValue(fluidkey::psat), c.saturation);
        EXPECT_EQ(r.doubleValue(fluidkey::pcal), c.saturation);
        EXPECT_EQ(saturation.interfaceType, code_number(FluidType::componentList));
        EXPECT_EQ(saturation.recordType, code_number(FluidType::componentList)) << "the result's components, not its parameters";
        EXPECT_EQ(saturation.recordComponents, 17);
        EXPECT_EQ(saturation.temperature, source.doubleValue(fluidkey::tsat));
        EXPECT_EQ(saturation.kind, source.intValue(fluidkey::satPhase));
        EXPECT_EQ(saturation.eosCode, code_number(getEOSCode(source.value(fluidkey::eos))));
    } else {
        EXPECT_EQ(saturation.made, 0);
    }
    if (std::isnan(c.expectTexp)) {
        EXPECT_FALSE(r.contains(fluidkey::texp));
    } else {
        EXPECT_NEAR(r.doubleValue(fluidkey::texp), c.expectTexp, 1e-9);
        EXPECT_EQ(r.value(fluidkey::hexp).isEqualTo(source.value(fluidkey::hexp)), true);
    }
    if (std::isnan(c.expectArdp)) {
        EXPECT_TRUE(std::isnan(r.doubleValue(fluidkey::ardp)));
        EXPECT_TRUE(std::isnan(r.doubleValue(fluidkey::aadp)));
    } else {
        EXPECT_NEAR(r.doubleValue(fluidkey::ardp), c.expectArdp, 1e-12);
        EXPECT_NEAR(r.doubleValue(fluidkey::aadp), std::fabs(c.expectArdp), 1e-12);
    }

    // The model's seven groups against the source's, by the definitions of the deviations.
    const MontelComposition m = simplifiedMontelComposition(make.alpha, make.beta, 0);
    const double s[] = {0.5, 0.2, 0.1, 0.1, 0, 0, 0.1};
    double ard = 0, rms = 0;
    for (int i = 0; i < 7; ++i) {
        ard += (m.group(i) - s[i]) / s[i] / 7;
        rms += (m.group(i) - s[i]) * (m.group(i) - s[i]) / 7;
    }
    EXPECT_TRUE(std::isinf(ard) && std::isinf(r.doubleValue(fluidkey::ardx))) << "no C5: divides by zero";
    EXPECT_NEAR(r.doubleValue(fluidkey::rmsx), std::sqrt(rms), 1e-12);

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Adjustement to the alpha-beta model of B");
    EXPECT_EQ(lines[4], QString::fromUtf8(c.pressureLine));
}

const double kNone = std::nan("");

INSTANTIATE_TEST_SUITE_P(
    Cases, TovikEstimate,
    ::testing::Values(
        TovikCase{"no saturation point, no measured point", [](FluidRecord&) {}, 150, false, kNone, kNone,
                  "\tARD(P)    : no pressure to compare"},
        TovikCase{"bubble point with SRK, no measured point",
                  [](FluidRecord& f) {
                      f.setValue(fluidkey::tsat, 80.0);
                      f.setValue(fluidkey::satPhase, code_number(SaturationKind::bubblePoint));
                      f.setValue(fluidkey::eos, "SRK");
                  },
                  150, true, kNone, kNone, "\tARD(P)    : no pressure to compare"},
        TovikCase{"measured point without saturation point",
                  [](FluidRecord& f) {
                      f.setValue(fluidkey::texp, 90.0);
                      f.setValue(fluidkey::pexp, 200.0);
                      f.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
                  },
                  150, false, 90, kNone, "\tARD(P)    : no pressure to compare"},
        TovikCase{"both points",
                  [](FluidRecord& f) {
                      f.setValue(fluidkey::tsat, 80.0);
                      f.setValue(fluidkey::satPhase, code_number(SaturationKind::dewPoint));
                      f.setValue(fluidkey::texp, 90.0);
                      f.setValue(fluidkey::pexp, 200.0);
                      f.setValue(fluidkey::hexp, code_number(SaturationKind::dewPoint));
                  },
                  150, true, 90, -0.25, "\tARD(P)    : -25.00"},
        TovikCase{"a fit result's kelvin copied as degrees Celsius",
                  [](FluidRecord& f) {
                      f.setValue(fluidkey::tsat, 80.0);
                      f.setValue(fluidkey::texp, 363.15);
                      f.setValue(fluidkey::pexp, 100.0);
                      f.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
                      f.setValue(fluidkey::fvcal, 0.2);
                  },
                  150, true, 90, 0.5, "\tARD(P)    : 50.00"},
        TovikCase{"failed saturation",
                  [](FluidRecord& f) {
                      f.setValue(fluidkey::tsat, 80.0);
                      f.setValue(fluidkey::texp, 90.0);
                      f.setValue(fluidkey::pexp, 200.0);
                  },
                  kSaturationFailure, true, 90, kNone, "\tARD(P)    : saturation failed"}));

TEST(TovikEstimateLog, NoSummaryWhileTheLogWindowIsOffScreen)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->clearText();
    log->appendString1(QStringLiteral("-"));
    log->window()->hide();
    ScriptedSaturation saturation;
    RecordingMaker make;
    doTovikAlphaBeta(tovikSource("A"), make.maker(), saturation.factory());
    EXPECT_TRUE(logLines().isEmpty());
}

// A stored kind other than 0 or 1 asks for a bubble point, as any non-zero one does, and
// is copied as stored.
TEST(TovikEstimateKind, AnyNonZeroSaturationKindIsABubblePoint)
{
    for (const int stored : {2, -1}) {
        FluidRecord source = tovikSource("A");
        source.setValue(fluidkey::tsat, 80.0);
        source.setValue(fluidkey::satPhase, stored);
        ScriptedSaturation saturation;
        RecordingMaker make;
        const FluidRecord r = doTovikAlphaBeta(source, make.maker(), saturation.factory());
        EXPECT_EQ(saturation.kind, 1) << stored;
        EXPECT_EQ(r.intValue(fluidkey::satPhase), stored);
    }
}

// ---- Tables ----

FluidRecord tableRow(const QString& name, double ardx, double aadx, double rmsx, double Pcal, double aadp)
{
    FluidRecord r{{fluidkey::name, name},  {fluidkey::N2, 0.01},    {fluidkey::C1, 0.5},    {fluidkey::c7plus, 0.2},
                  {fluidkey::alpha, 0.92}, {fluidkey::beta, 0.63},  {fluidkey::ardx, ardx}, {fluidkey::aadx, aadx},
                  {fluidkey::rmsx, rmsx},  {fluidkey::ardp, -aadp}, {fluidkey::aadp, aadp}, {fluidkey::texp, 90.0}};
    if (!std::isnan(Pcal))
        r.setValue(fluidkey::pcal, Pcal);
    return r;
}

TEST(AlphaBetaTables, TovikTableWithAveragesOverUsableValuesOnly)
{
    LogFixture shown;
    const double inf = std::numeric_limits<double>::infinity();
    const QList<FluidRecord> results{tableRow("A adjusted", 0.1, 0.2, 0.01, 120, 0.1),
                                     tableRow("B adjusted", inf, inf, 0.03, kNone, 0.7),
                                     tableRow("C adjusted", 0.3, 0.4, 0.02, kSaturationFailure, 0.9)};
    writeTovikTable(results, true);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 10);
    EXPECT_EQ(lines[0], "");
    QStringList header;
    for (const char* t : {"Name", "N2", "CO2", "H2S", "C1", "C2", "C3", "C4", "C5", "C6", "C7+", "Mw7+",
                          "SG7+", "Texp", "Pexp", "alpha", "beta", "Pcal", "ardx", "aadx", "rmsx", "ardp", "aadp"})
        header << QString::asprintf("%12s", t);
    EXPECT_EQ(lines[1], header.join(' '));
    const QStringList first = lines[2].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(first.size(), 24);  // the name is two words
    EXPECT_EQ(first[0] + " " + first[1], "A adjusted");
    EXPECT_EQ(first[2], "1.000000");    // N2 in percent
    EXPECT_EQ(first[5], "50.000000");   // C1 in percent
    EXPECT_EQ(first[14], "90.000000");  // Texp as stored
    EXPECT_EQ(first[18], "120.000000");
    EXPECT_EQ(first[19], "0.100000");   // ardx as a fraction
    EXPECT_TRUE(lines[3].split(' ', Qt::SkipEmptyParts)[18] == "0.000000") << "a missing Pcal prints 0";
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], QString::asprintf("ardx %12f", 100 * (0.1 + 0.3) / 2));
    EXPECT_EQ(lines[7], QString::asprintf("aadx %12f", 100 * (0.2 + 0.4) / 2));
    EXPECT_EQ(lines[8], QString::asprintf("rmsx %12f", 100 * (0.01 + 0.03 + 0.02) / 3));
    EXPECT_EQ(lines[9], QString::asprintf("aadp %12f", 100 * 0.1)) << "only results with a computed pressure";
}

TEST(AlphaBetaTables, SingleTovikTableHasNoAverages)
{
    LogFixture shown;
    writeTovikTable({tableRow("A adjusted", 0.1, 0.2, 0.01, 120, 0.1)}, false);
    EXPECT_EQ(logLines().size(), 3);
}

TEST(AlphaBetaTables, FitTableShowsTheKelvinOfTheResultInDegreesCelsius)
{
    LogFixture shown;
    FluidRecord r = tableRow("F adjusted", 0.1, 0.2, 0.01, 250, 0.02);
    r.setValue(fluidkey::texp, 373.15);
    r.setValue(fluidkey::pexp, 250.0);
    r.setValue(fluidkey::fvcal, 0.125);
    writeFitTable({r});
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "");
    QString header;
    for (const char* t : {"N2", "CO2", "H2S", "C1", "C2", "C3", "C4", "C5", "C6", "C7p", "Mw7p", "SG7p", "Texp",
                          "Pexp", "alpha", "beta", "Pcal", "ardx", "aadx", "rmsx", "ardp", "aadp", "fv"})
        header += QString::asprintf(" %12s", t);
    EXPECT_EQ(lines[1], header);
    const QStringList row = lines[2].split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(row.size(), 23);
    EXPECT_EQ(lines[2].left(12), QString::asprintf("%12f", 1.0));
    EXPECT_EQ(row[12], "100.000000");
    EXPECT_EQ(row[13], "250.000000");
    EXPECT_EQ(row[22], "0.125000");
    EXPECT_EQ(lines[3], "");
}

}  // namespace
