#pragma once
// The editor's two ways of turning a fluid into an alpha-beta model fluid: the Montel fit
// to the fluid's composition and measured saturation point, and Tovik's estimate from its
// methane content. Each makes a new record for the editor to insert after its source,
// which stays unchanged, and writes a summary to the log window while it is on screen.

#include "characterisation/MeasuredPoint.h"
#include "editor/FluidRecord.h"
#include "editor/StockTank.h"

#include <QList>

#include <functional>
#include <optional>

namespace quorvel {

// Makes the alpha-beta model fluid of (alpha, beta) with the gases as mole fractions,
// named after the source fluid ("<name> adjusted").
using AlphaBetaFluidMaker = std::function<FluidRecord(double alpha, double beta, double CO2, double N2, double H2S,
                                                      const QString& sourceName)>;

// Writes a measured point given in kelvin and bar as "Texp" (degrees Celsius), "Pexp"
// and "hexp".
void writeMeasuredPoint(FluidRecord fluid, double kelvin, double bar, SaturationKind kind);

// Alpha and beta fitted to the source's C1 .. C6, C7+ and measured saturation point
// (beta alone when alpha is fixed). Answers nothing, after a critical alert, when the
// source has no "Texp".
std::optional<FluidRecord> doFitAlphaBetaModel(const FluidRecord& source, std::optional<double> fixedAlpha,
                                               const AlphaBetaFluidMaker& make);

// Tovik's estimate: alpha 0.92 and beta from the methane fraction, with the model fluid's
// saturation pressure at the source's "Tsat" from calculation (a component-list
// calculation with the source's equation of state).
FluidRecord doTovikAlphaBeta(const FluidRecord& source, const AlphaBetaFluidMaker& make,
                             const StockTankCalculationFactory& calculation);

// The log tables of one action's results (the Tovik table with its averages in a batch).
void writeFitTable(const QList<FluidRecord>& results);
void writeTovikTable(const QList<FluidRecord>& results, bool withAverages);

// Means of the results' deviations in percent, each over the results whose value is a
// usable number; not-a-number when none is.
struct DeviationAverages
{
    double ardx = 0, aadx = 0, rmsx = 0, aadp = 0;
};
DeviationAverages averageDeviations(const QList<FluidRecord>& results);

// Whether the shared log window is on screen.
bool isLogWindowOnScreen();

}  // namespace quorvel
