#pragma once
// The fluid test chain: a fluid rebuilt from its measured composition along the quick
// alpha-beta fit, an Ahmed split, one correlation set and the C7 .. C10, Cn1, Cn2 lumping,
// and its saturation pressure set against the measured one.

#include "platform/Value.h"
#include "thermo/CorrelationCodes.h"

#include <cstdint>

namespace quorvel {

// The fluid the chain starts from: the quick alpha-beta fit or Tovik's estimate.
enum class TestStart : std::int8_t { quickFit, tovikEstimate };

// A new record "<name> - test1" (fluidType 2). With "Texp" (degrees Celsius) on the source
// it carries the fit's alpha, beta, gases and C1 .. C6, "Texp", "Pexp", "hexp" and the
// computed "Pcal" (bar) with "ardp" = (Pcal - Pexp) / Pexp and "aadp" = |ardp|; these three
// are not-a-number objects when the fit or the saturation fails or Pexp is not positive.
Dictionary doTestFluid(const Dictionary& source, CorrelationCode correlationCode, TestStart start);

}  // namespace quorvel
