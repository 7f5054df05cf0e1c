#pragma once

#include "thermo/AlphaBetaStartTables.h"
#include "thermo/Montel.h"
#include "thermo/Oil1.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::start_tables {

struct Record {
    double Th = 0;        // K
    double P = 0;         // Pa, saturation pressure at Th
    double fraction = 0;  // percent, vapour fraction at 293.15 K; kNoVapour when one phase
    std::array<double, kModelComponentCount> incipient{};
};

// Traces the saturation records of one alpha-beta fluid at beta 0 without gas.
class StartTableGenerator {
public:
    explicit StartTableGenerator(double alpha);

    // Bubble point at Th and the vapour fraction at 293.15 K of an inclusion homogenising
    // there into liquid.
    std::optional<Record> bubbleRecord(double Th);
    // Dew point at Th started from pressure P0 (Pa) and, when given, an incipient liquid
    // (which picks the branch where the dew curve has two points at Th).
    std::optional<Record> dewRecord(double Th, double P0, const std::vector<double>& liquid0 = {});

    // The whole table: seven bubble records from the first temperature up to the last
    // bubble point traced towards the critical point, and seven dew records spread in
    // pressure along the dew curve up to the critical region. Empty on failure.
    std::optional<AlphaBetaStartTable> table();

private:
    struct SaturationPoint {
        double T, P;
        std::vector<double> liquid, vapour;
    };
    std::optional<Record> finishRecord(bool bubble);
    std::optional<Record> bubbleRecordFrom(const SaturationPoint& start);
    std::vector<SaturationPoint> traceBubbleCurve(double firstT);
    std::vector<SaturationPoint> traceDewCurve(double firstT);
    bool nearCritical() const;
    static void put(AlphaBetaStartTable& table, int index, const Record& record);

    double alpha;
    Montel liquidModel{phase_kind::liquid};
    Montel vapourModel{phase_kind::vapour};
    Oil1 oil{liquidModel, vapourModel};
};

// C++ source of the eight tables.
std::string startTablesSource(const std::array<AlphaBetaStartTable, kStartTableCount>& tables);

} // namespace quorvel::start_tables
