#pragma once
// The report of a fluid in the log window: its name as a title, the parameters of its
// compositional model, a table of its components and its stock-tank gas-oil ratio and
// API gravities as the editor last computed them.

#include "editor/FluidRecord.h"

namespace quorvel {

class CLogWindow;

void writeFluidReport(CLogWindow& log, const FluidRecord& fluid);

}  // namespace quorvel
