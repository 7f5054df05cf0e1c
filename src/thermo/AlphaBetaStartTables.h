#pragma once

#include <array>

namespace quorvel {

// Start values of the alpha search: eight fluids of the alpha-beta model at beta 0 (no
// gas), each with 14 saturation records. Layout of a table:
//   [0] alpha, [1] beta, then record r (0..13) at 2 + 20 r:
//   Th (K), saturation pressure at Th (Pa), volumetric vapour fraction at 293.15 K of an
//   inclusion homogenising at Th (percent; -1e-30 when it is still one phase), and the
//   17 mole fractions of the incipient phase at Th.
// Records 0..6 are bubble points (incipient vapour) of increasing vapour fraction,
// records 7..13 dew points (incipient liquid) of decreasing vapour fraction.
inline constexpr int kStartTableCount = 8;
inline constexpr int kStartRecordCount = 14;
inline constexpr int kStartRecordSize = 20;
inline constexpr int kStartTableSize = 2 + kStartRecordCount * kStartRecordSize;
inline constexpr int kFirstDewRecord = 7;
inline constexpr double kStartTableReadingTemperature = 293.15;  // K
inline constexpr double kNoVapour = -1e-30;

using AlphaBetaStartTable = std::array<double, kStartTableSize>;

extern const AlphaBetaStartTable Alpha35Beta0;
extern const AlphaBetaStartTable Alpha4Beta0;
extern const AlphaBetaStartTable Alpha5Beta0;
extern const AlphaBetaStartTable Alpha6Beta0;
extern const AlphaBetaStartTable Alpha7Beta0;
extern const AlphaBetaStartTable Alpha8Beta0;
extern const AlphaBetaStartTable Alpha9Beta0;
extern const AlphaBetaStartTable Alpha95Beta0;

// The eight tables in order of increasing alpha.
extern const std::array<const AlphaBetaStartTable*, kStartTableCount> kAlphaBetaStartTables;

// The alphas of the eight tables.
inline constexpr std::array<double, kStartTableCount> kStartTableAlphas = {
    0.35, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95};

} // namespace quorvel
