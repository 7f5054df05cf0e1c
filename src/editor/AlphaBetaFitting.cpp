#include "editor/AlphaBetaFitting.h"

#include "calc/CalculationInterface.h"
#include "characterisation/AlphaBetaDistribution.h"
#include "characterisation/SplittingFramework.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"

#include <QWidget>

#include <cmath>
#include <limits>

namespace quorvel {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPercent = 100;

const QString kMissingPointTitle =
    QStringLiteral("An experimental (P-T) saturation point is required to fit this fluid with an alpha-beta model.");
const QString kMissingPointMessage = QStringLiteral("Provide these data");

// The source's composition summary, stored as the result's measured groups (fractions).
void storeComposition(FluidRecord result, const CompositionSummary& s)
{
    const QList<std::pair<QString, double>> values{{fluidkey::N2, s.N2},
                                                   {fluidkey::CO2, s.CO2},
                                                   {fluidkey::H2S, s.H2S},
                                                   {fluidkey::C1, s.C1},
                                                   {fluidkey::C2, s.C2},
                                                   {fluidkey::C3, s.C3},
                                                   {fluidkey::C4, s.C4},
                                                   {fluidkey::C5, s.C5},
                                                   {fluidkey::C6, s.C6},
                                                   {fluidkey::c7plus, s.zC7plus},
                                                   {fluidkey::mwC7plus, s.mwC7plus},
                                                   {fluidkey::sgC7plus, s.SGC7plus}};
    for (const auto& [key, value] : values)
        result.setValue(key, value);
}

// ardx, aadx and rmsx of the model's seven groups against the source's.
void storeCompositionDeviations(FluidRecord result, double alpha, double beta, const CompositionSummary& s)
{
    double c1, c2, c3, c4, c5, c6, c7plus, ard, aad, rms;
    compareWithMontelComposition(alpha, beta, s.N2, s.CO2, s.H2S, s.C1, s.C2, s.C3, s.C4, s.C5, s.C6, s.zC7plus, c1,
                                 c2, c3, c4, c5, c6, c7plus, ard, aad, rms);
    result.setValue(fluidkey::ardx, ard);
    result.setValue(fluidkey::aadx, aad);
    result.setValue(fluidkey::rmsx, rms);
}

bool isComputedPressure(double pressure)
{
    return pressure != kSaturationFailure && std::isfinite(pressure);
}

// ardp and aadp; not-a-number unless both a computed and a positive measured pressure exist.
void storePressureDeviation(FluidRecord result, std::optional<double> computed, std::optional<double> measured)
{
    double ardp = kNaN;
    if (computed && measured && isComputedPressure(*computed) && *measured > 0 && std::isfinite(*measured))
        ardp = (*computed - *measured) / *measured;
    result.setValue(fluidkey::ardp, ardp);
    result.setValue(fluidkey::aadp, std::fabs(ardp));
}

void copySaturationPoint(const FluidRecord& source, FluidRecord result)
{
    if (!source.contains(fluidkey::tsat))
        return;
    result.setValue(fluidkey::tsat, source.value(fluidkey::tsat));
    if (source.contains(fluidkey::satPhase))
        result.setValue(fluidkey::satPhase, source.value(fluidkey::satPhase));
}

void writeSummary(const QString& sourceName, const FluidRecord& result)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->appendFormat1("Adjustement to the alpha-beta model of %@", sourceName);
    log->appendFormat1("\tARD(mole) : %.2f", kPercent * result.doubleValue(fluidkey::ardx));
    log->appendFormat1("\tAAD(mole) : %.2f", kPercent * result.doubleValue(fluidkey::aadx));
    log->appendFormat1("\tRMS(mole) : %.2f", kPercent * result.doubleValue(fluidkey::rmsx));
    const double ardp = result.doubleValue(fluidkey::ardp);
    if (std::isfinite(ardp))
        log->appendFormat1("\tARD(P)    : %.2f", kPercent * ardp);
    else if (result.contains(fluidkey::pcal) && !isComputedPressure(result.doubleValue(fluidkey::pcal)))
        log->appendFormat1("\tARD(P)    : saturation failed");
    else
        log->appendFormat1("\tARD(P)    : no pressure to compare");
    log->scrollToEnd();
}

// The C1 .. C7+ groups in mole percent, as both tables print them after the gases.
QList<double> percentGroups(const FluidRecord& result)
{
    QList<double> row;
    for (const QString& key : {fluidkey::N2, fluidkey::CO2, fluidkey::H2S, fluidkey::C1, fluidkey::C2, fluidkey::C3,
                               fluidkey::C4, fluidkey::C5, fluidkey::C6, fluidkey::c7plus})
        row << kPercent * result.doubleValue(key);
    return row;
}

QString joinedNumbers(const QList<double>& numbers)
{
    QStringList cells;
    for (double number : numbers)
        cells << formatString("%12f", number);
    return cells.join(QLatin1Char(' '));
}

}  // namespace

void writeMeasuredPoint(FluidRecord fluid, double kelvin, double bar, SaturationKind kind)
{
    setMeasuredTemperatureCelsius(fluid, units::celsiusOfKelvin(kelvin));
    fluid.setValue(fluidkey::pexp, bar);
    fluid.setValue(fluidkey::hexp, code_number(kind));
}

bool isLogWindowOnScreen()
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    return log->isWindowLoaded() && log->window()->isVisible();
}

std::optional<FluidRecord> doFitAlphaBetaModel(const FluidRecord& source, std::optional<double> fixedAlpha,
                                               const AlphaBetaFluidMaker& make)
{
    const QString name = source.stringValue(fluidkey::name);
    if (!source.contains(fluidkey::texp)) {
        showCriticalAlert(kMissingPointTitle, kMissingPointMessage);
        return std::nullopt;
    }
    const double T = units::kelvinOfCelsius(measuredTemperatureCelsius(source));
    const double P = source.doubleValue(fluidkey::pexp);
    const int storedKind = source.intValue(fluidkey::hexp);  // the result keeps the number as read
    const SaturationKind kind = saturationKindFromNumber(storedKind);
    const CompositionSummary s = analyseFluidComposition(source);

    double alpha = fixedAlpha.value_or(0), beta = 0, unused = 0, Pcal = 0, fv = 0;
    if (fixedAlpha)
        applyMontelSplittingAlgorithmEx1(s.C1, s.C2, s.C3, s.C4, s.C5, s.C6, s.zC7plus, s.N2, s.CO2, s.H2S, T, P, kind,
                                         alpha, beta, unused, Pcal, fv);
    else
        applyMontelSplittingAlgorithmEx(s.C1, s.C2, s.C3, s.C4, s.C5, s.C6, s.zC7plus, s.N2, s.CO2, s.H2S, T, P, kind,
                                        alpha, beta, unused, Pcal, fv);
    if (fixedAlpha)
        alpha = *fixedAlpha;

    FluidRecord result = make(alpha, beta, s.CO2, s.N2, s.H2S, name);
    setMeasuredTemperatureKelvin(result, T);
    result.setValue(fluidkey::pexp, P);
    result.setValue(fluidkey::hexp, storedKind);
    storeComposition(result, s);
    storeCompositionDeviations(result, alpha, beta, s);
    result.setValue(fluidkey::pcal, Pcal);
    result.setValue(fluidkey::fvcal, fv);
    storePressureDeviation(result, Pcal, P);
    copySaturationPoint(source, result);
    if (isLogWindowOnScreen())
        writeSummary(name, result);
    return result;
}

FluidRecord doTovikAlphaBeta(const FluidRecord& source, const AlphaBetaFluidMaker& make,
                             const StockTankCalculationFactory& calculation)
{
    const QString name = source.stringValue(fluidkey::name);
    double alpha = 0, beta = 0, CO2 = 0, N2 = 0, H2S = 0;
    tovikAlphaBeta(source, alpha, beta, CO2, N2, H2S);
    FluidRecord result = make(alpha, beta, CO2, N2, H2S, name);
    const CompositionSummary s = analyseFluidComposition(source);
    storeComposition(result, s);

    std::optional<double> computed;
    if (source.contains(fluidkey::tsat)) {
        copySaturationPoint(source, result);
        // The result's own components, not its alpha-beta parameters, with the source's EOS.
        FluidRecord componentList = result.copy();
        componentList.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
        const auto saturation =
            calculation(FluidType::componentList, getEOSCode(source.value(fluidkey::eos)), componentList);
        computed = saturation->calculateSaturation(source.doubleValue(fluidkey::tsat),
                                                   saturationKindFromNumber(source.intValue(fluidkey::satPhase)));
        result.setValue(fluidkey::psat, *computed);
        result.setValue(fluidkey::pcal, *computed);
    }
    std::optional<double> measured;
    if (source.contains(fluidkey::texp)) {
        setMeasuredTemperatureCelsius(result, measuredTemperatureCelsius(source));
        for (const QString& key : {fluidkey::pexp, fluidkey::hexp})
            if (source.contains(key))
                result.setValue(key, source.value(key));
        if (source.contains(fluidkey::pexp))
            measured = source.doubleValue(fluidkey::pexp);
    }
    storeCompositionDeviations(result, alpha, beta, s);
    storePressureDeviation(result, computed, measured);
    if (isLogWindowOnScreen())
        writeSummary(name, result);
    return result;
}

void writeFitTable(const QList<FluidRecord>& results)
{
    static const char* const titles[] = {"N2",   "CO2",  "H2S",  "C1",   "C2",    "C3",   "C4",   "C5",
                                         "C6",   "C7p",  "Mw7p", "SG7p", "Texp",  "Pexp", "alpha", "beta",
                                         "Pcal", "ardx", "aadx", "rmsx", "ardp",  "aadp", "fv"};
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->appendFormat1("");
    QString header;
    for (const char* title : titles)
        header += formatString(" %12s", title);
    log->appendFormat1("%@", header);
    for (const FluidRecord& r : results) {
        QList<double> row = percentGroups(r);
        row << r.doubleValue(fluidkey::mwC7plus) << r.doubleValue(fluidkey::sgC7plus)
            << measuredTemperatureCelsius(r) << r.doubleValue(fluidkey::pexp);
        for (const QString& key : {fluidkey::alpha, fluidkey::beta, fluidkey::pcal, fluidkey::ardx, fluidkey::aadx,
                                   fluidkey::rmsx, fluidkey::ardp, fluidkey::aadp, fluidkey::fvcal})
            row << r.doubleValue(key);
        log->appendFormat1("%@", joinedNumbers(row));
    }
    log->appendFormat1("");
    log->scrollToEnd();
}

DeviationAverages averageDeviations(const QList<FluidRecord>& results)
{
    auto mean = [&results](const QString& key, auto usable) {
        double sum = 0;
        int count = 0;
        for (const FluidRecord& r : results) {
            const double value = r.doubleValue(key);
            if (usable(r, value)) {
                sum += value;
                ++count;
            }
        }
        return count > 0 ? kPercent * sum / count : kNaN;
    };
    auto normal = [](const FluidRecord&, double value) { return std::isnormal(value); };
    auto finite = [](const FluidRecord&, double value) { return std::isfinite(value); };
    auto computedPressure = [](const FluidRecord& r, double value) {
        return r.doubleValue(fluidkey::pcal) > 0 && std::isfinite(value);
    };
    return {mean(fluidkey::ardx, normal), mean(fluidkey::aadx, normal), mean(fluidkey::rmsx, finite),
            mean(fluidkey::aadp, computedPressure)};
}

void writeTovikTable(const QList<FluidRecord>& results, bool withAverages)
{
    static const char* const titles[] = {"Name", "N2",   "CO2",  "H2S",  "C1",    "C2",   "C3",   "C4",
                                         "C5",   "C6",   "C7+",  "Mw7+", "SG7+",  "Texp", "Pexp", "alpha",
                                         "beta", "Pcal", "ardx", "aadx", "rmsx",  "ardp", "aadp"};
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->appendFormat1("");
    QStringList header;
    for (const char* title : titles)
        header << formatString("%12s", title);
    log->appendFormat1("%@", header.join(QLatin1Char(' ')));
    for (const FluidRecord& r : results) {
        QList<double> row = percentGroups(r);
        row << r.doubleValue(fluidkey::mwC7plus) << r.doubleValue(fluidkey::sgC7plus) << measuredTemperatureCelsius(r);
        for (const QString& key : {fluidkey::pexp, fluidkey::alpha, fluidkey::beta, fluidkey::pcal, fluidkey::ardx,
                                   fluidkey::aadx, fluidkey::rmsx, fluidkey::ardp, fluidkey::aadp})
            row << r.doubleValue(key);
        log->appendFormat1("%@ %@", r.stringValue(fluidkey::name), joinedNumbers(row));
    }
    if (!withAverages)
        return;
    const DeviationAverages averages = averageDeviations(results);
    log->appendFormat1("");
    log->appendFormat1("ardx %12f", averages.ardx);
    log->appendFormat1("aadx %12f", averages.aadx);
    log->appendFormat1("rmsx %12f", averages.rmsx);
    log->appendFormat1("aadp %12f", averages.aadp);
    log->scrollToEnd();
}

}  // namespace quorvel
