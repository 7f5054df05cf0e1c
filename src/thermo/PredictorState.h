#pragma once

namespace quorvel {

// Step memory of the isopleth and isochore predictors between the points of one curve.
// Each equilibrium object keeps its own; a curve starts afresh (reset) when the caller has
// set step_counter to 0, so two curves never share their steps.
struct PredictorState {
    double isopleth_dT = 0;        // K, temperature step along the isopleth
    double isopleth_dP = 0;        // Pa, pressure step along the isopleth
    double isochore_dT = 0;        // K, temperature step (and direction) along the isochore
    double isochore_dP = 0;        // Pa, pressure step along the isochore
    double previous_slope = 0;     // Pa/K, dP/dT of the previous isochore step
    int reversals = 0;             // direction reversals along a reversed isochore
    bool prediction_failed = false;  // the derivative system was singular: no start values

    void reset() { *this = PredictorState{}; }
};

}  // namespace quorvel
