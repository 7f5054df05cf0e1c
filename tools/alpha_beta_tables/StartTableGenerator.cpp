#include "StartTableGenerator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace quorvel::start_tables {

namespace {

constexpr double kCurveStep = 5;           // K, bubble-curve steps
constexpr double kSmallestCurveStep = 0.5; // K
constexpr double kDewPressureFactor = 1.25;
constexpr double kNearCritical = 0.03;     // sum |x - y| where a trace stops
constexpr int kMostTraceSteps = 400;

constexpr const char* kTableNames[kStartTableCount] = {
    "Alpha35Beta0", "Alpha4Beta0", "Alpha5Beta0", "Alpha6Beta0",
    "Alpha7Beta0", "Alpha8Beta0", "Alpha9Beta0", "Alpha95Beta0"};

} // namespace

StartTableGenerator::StartTableGenerator(double a) : alpha(a)
{
    // As the published tables were made: they only start the engine's own solvers.
    liquidModel.setCalculatesWithBuiltinTable(true);
    vapourModel.setCalculatesWithBuiltinTable(true);
    oil.setDistributionParameters(alpha, 0, 0, 0, 0);
}

bool StartTableGenerator::nearCritical() const
{
    double difference = 0;
    for (short i = 0; i < oil.componentCount(); ++i)
        difference += std::fabs(oil.liquidComposition()[i] - oil.vapourComposition()[i]);
    return difference < kNearCritical;
}

std::optional<Record> StartTableGenerator::finishRecord(bool bubble)
{
    if (oil.failureCode() != equilibrium_failure::none)
        return std::nullopt;
    Record record;
    record.Th = oil.currentTemperature();
    record.P = oil.currentPressure();
    const auto& incipient = bubble ? vapourModel.moleFraction() : liquidModel.moleFraction();
    std::copy(incipient.begin(), incipient.end(), record.incipient.begin());
    if (record.Th <= kStartTableReadingTemperature) {
        record.fraction = kNoVapour;
        return record;
    }
    double fv = 0, p = 0;
    if (oil.followIsochoreFromSaturation(kStartTableReadingTemperature, fv, p) != equilibrium_failure::none)
        return std::nullopt;
    record.fraction = std::min(100 * fv, 100.0);  // rounding may pass 100 for a dry gas
    return record;
}

std::optional<Record> StartTableGenerator::bubbleRecord(double Th)
{
    oil.setInclusionType(Homogenisation::toLiquid);
    oil.calculateBubblePressure(Th);
    return finishRecord(true);
}

std::optional<Record> StartTableGenerator::dewRecord(double Th, double P0, const std::vector<double>& liquid0)
{
    oil.setInclusionType(Homogenisation::toVapour);
    oil.set_type_of_problem(problem_type::fixed_T_and_Fv);
    oil.set_the_temperature(Th);
    oil.set_the_vaporization_ratio(1);
    if (liquid0.empty()) {
        oil.IdealMixture::calculateVLE();
        oil.setEstimatedLiquidComposition(oil.liquidComposition());
    } else {
        oil.setEstimatedLiquidComposition(liquid0);
    }
    oil.setEstimatedVapourComposition(oil.feedComposition());
    oil.setEstimatedTemperature(Th);
    oil.setEstimatedPressure(P0);
    oil.set_initialization_flag(initialization::from_estimates);
    oil.calculateVLE();
    return finishRecord(false);
}

std::optional<Record> StartTableGenerator::bubbleRecordFrom(const SaturationPoint& start)
{
    oil.setInclusionType(Homogenisation::toLiquid);
    oil.set_type_of_problem(problem_type::fixed_T_and_Fv);
    oil.set_the_temperature(start.T);
    oil.set_the_vaporization_ratio(0);
    oil.setEstimatedTemperature(start.T);
    oil.setEstimatedPressure(start.P);
    oil.setEstimatedLiquidComposition(start.liquid);
    oil.setEstimatedVapourComposition(start.vapour);
    oil.set_initialization_flag(initialization::from_estimates);
    oil.calculateVLE();
    return finishRecord(true);
}

std::vector<StartTableGenerator::SaturationPoint> StartTableGenerator::traceBubbleCurve(double firstT)
{
    std::vector<SaturationPoint> curve;
    oil.calculateBubblePressure(firstT);
    if (oil.failureCode() != equilibrium_failure::none)
        return curve;
    curve.push_back({oil.currentTemperature(), oil.currentPressure(), oil.liquidComposition(),
                     oil.vapourComposition()});
    double step = kCurveStep;
    while (step >= kSmallestCurveStep && curve.size() < kMostTraceSteps) {
        const auto& last = curve.back();
        oil.set_type_of_problem(problem_type::fixed_T_and_Fv);
        oil.set_the_vaporization_ratio(0);
        oil.set_the_temperature(last.T + step);
        double pressure = last.P;
        if (curve.size() > 1) {
            const auto& before = curve[curve.size() - 2];
            pressure += (last.P - before.P) / (last.T - before.T) * step;
        }
        oil.setEstimatedPressure(pressure);
        oil.setEstimatedLiquidComposition(last.liquid);
        oil.setEstimatedVapourComposition(last.vapour);
        oil.set_initialization_flag(initialization::from_estimates);
        oil.calculateVLE();
        if (oil.failureCode() != equilibrium_failure::none || nearCritical()) {
            step /= 2;
            continue;
        }
        curve.push_back({oil.currentTemperature(), oil.currentPressure(), oil.liquidComposition(),
                         oil.vapourComposition()});
    }
    return curve;
}

std::vector<StartTableGenerator::SaturationPoint> StartTableGenerator::traceDewCurve(double firstT)
{
    std::vector<SaturationPoint> curve;
    if (!oil.solveFromIdealMixture(problem_type::fixed_T_and_Fv, firstT, 1))
        return curve;
    curve.push_back({oil.currentTemperature(), oil.currentPressure(), oil.liquidComposition(),
                     oil.vapourComposition()});
    double factor = kDewPressureFactor;
    while (factor > 1.01 && curve.size() < kMostTraceSteps) {
        const auto& last = curve.back();
        oil.set_type_of_problem(problem_type::fixed_P_and_Fv);
        oil.set_the_vaporization_ratio(1);
        oil.set_the_pressure(last.P * factor * 1e-5);
        oil.setEstimatedTemperature(last.T);
        oil.setEstimatedLiquidComposition(last.liquid);
        oil.setEstimatedVapourComposition(last.vapour);
        oil.set_initialization_flag(initialization::from_estimates);
        oil.calculateVLE();
        if (oil.failureCode() != equilibrium_failure::none || nearCritical()) {
            factor = 1 + (factor - 1) / 2;
            continue;
        }
        curve.push_back({oil.currentTemperature(), oil.currentPressure(), oil.liquidComposition(),
                         oil.vapourComposition()});
    }
    return curve;
}

void StartTableGenerator::put(AlphaBetaStartTable& table, int index, const Record& record)
{
    double* r = table.data() + 2 + kStartRecordSize * index;
    r[0] = record.Th;
    r[1] = record.P;
    r[2] = record.fraction;
    std::copy(record.incipient.begin(), record.incipient.end(), r + 3);
}

std::optional<AlphaBetaStartTable> StartTableGenerator::table()
{
    AlphaBetaStartTable result{};
    result[0] = alpha;
    result[1] = 0;

    // Bubble records: a first temperature at or below 273.15 K, five round temperatures,
    // and the last bubble point before the critical region.
    const auto bubbleCurve = traceBubbleCurve(223.15);
    if (bubbleCurve.empty())
        return std::nullopt;
    const double lastBubbleT = bubbleCurve.back().T;
    const double firstT = std::min(273.15, 273.15 - 10 * std::ceil((273.15 - (lastBubbleT - 70)) / 10));
    if (firstT < bubbleCurve.front().T)
        return std::nullopt;
    // The last one: the highest traced bubble point whose isochore reaches 293.15 K.
    std::optional<Record> last;
    for (auto point = bubbleCurve.rbegin(); point != bubbleCurve.rend() && !last; ++point)
        last = bubbleRecordFrom(*point);
    if (!last)
        return std::nullopt;
    put(result, kFirstDewRecord - 1, *last);
    for (int r = 0; r + 1 < kFirstDewRecord; ++r) {
        const double Th = firstT + 10 * std::round((last->Th - firstT) * r / 60);
        const auto record = bubbleRecord(Th);
        if (!record) {
            std::fprintf(stderr, "alpha %g: no bubble record at %g K\n", alpha, Th);
            return std::nullopt;
        }
        put(result, r, *record);
    }

    // Dew records: spread evenly in the square root of the pressure along the dew curve
    // from 373.15 K (or just above the critical region of a light fluid) to the
    // critical region.
    const double firstDewT = lastBubbleT > 393.15 ? 373.15 : lastBubbleT + 5;
    const auto dewCurve = traceDewCurve(firstDewT);
    if (dewCurve.size() < 2)
        return std::nullopt;
    const double rootFirst = std::sqrt(dewCurve.front().P), rootLast = std::sqrt(dewCurve.back().P);
    for (int r = 0; r < kFirstDewRecord; ++r) {
        const double target = rootFirst + (rootLast - rootFirst) * r / (kFirstDewRecord - 1);
        const auto nearest = std::min_element(dewCurve.begin(), dewCurve.end(), [&](const auto& a, const auto& b) {
            return std::fabs(std::sqrt(a.P) - target) < std::fabs(std::sqrt(b.P) - target);
        });
        const auto record = dewRecord(nearest->T, nearest->P, nearest->liquid);
        if (!record) {
            std::fprintf(stderr, "alpha %g: no dew record at %g K, %g Pa\n", alpha, nearest->T, nearest->P);
            return std::nullopt;
        }
        put(result, kFirstDewRecord + r, *record);
    }
    return result;
}

std::string startTablesSource(const std::array<AlphaBetaStartTable, kStartTableCount>& tables)
{
    std::ostringstream out;
    out << "// Generated by tools/alpha_beta_tables (generate_alpha_beta_start_tables): do not edit.\n"
           "// Regenerate with\n"
           "//   cmake --build <build> --target generate_alpha_beta_start_tables\n"
           "//   <build>/tools/generate_alpha_beta_start_tables src/thermo/AlphaBetaStartTables.cpp\n"
           "#include \"thermo/AlphaBetaStartTables.h\"\n\nnamespace quorvel {\n";
    char buffer[64];
    for (int t = 0; t < kStartTableCount; ++t) {
        const auto& table = tables[t];
        out << "\nconst AlphaBetaStartTable " << kTableNames[t] << " = {\n";
        std::snprintf(buffer, sizeof buffer, "    %.17g, %.17g,\n", table[0], table[1]);
        out << buffer;
        for (int r = 0; r < kStartRecordCount; ++r) {
            const double* v = table.data() + 2 + kStartRecordSize * r;
            out << "    // record " << r << (r < kFirstDewRecord ? ", bubble point\n" : ", dew point\n");
            for (int k = 0; k < kStartRecordSize; ++k) {
                std::snprintf(buffer, sizeof buffer, "%s%.17g,", k % 5 == 0 ? "    " : " ", v[k]);
                out << buffer;
                if (k % 5 == 4)
                    out << "\n";
            }
        }
        out << "};\n";
    }
    out << "\nconst std::array<const AlphaBetaStartTable*, kStartTableCount> kAlphaBetaStartTables = {\n    ";
    for (int t = 0; t < kStartTableCount; ++t)
        out << "&" << kTableNames[t] << (t + 1 < kStartTableCount ? ", " : "};\n");
    out << "\n} // namespace quorvel\n";
    return out.str();
}

} // namespace quorvel::start_tables
