#pragma once

// The nine-component gas condensate of the engine reviews as a petroleum fluid (Oil) on
// Peng-Robinson models with Clapeyron vapour pressures, for the flash tests and benchmarks.

#include "two_phase_mixture.h"

#include "thermo/Oil.h"

namespace quorvel::test {

const Component nC5{"nC5", 469.7, 33.7, 0.251, 72.15, 304.0, 309.2};
const Component nC6{"nC6", 507.5, 30.1, 0.299, 86.18, 370.0, 341.9};

// The nine-component gas condensate of the engine reviews.
const std::vector<FeedEntry> nine_components = {{N2, 0.01},  {CO2, 0.02}, {C1, 0.60},
                                                {C2, 0.08},  {C3, 0.05},  {nC4, 0.04},
                                                {nC5, 0.03}, {nC6, 0.03}, {nC10, 0.14}};

// A petroleum fluid on Peng-Robinson models with Clapeyron vapour pressures.
struct PetroleumFluid {
    explicit PetroleumFluid(std::vector<FeedEntry> entries) : feed(std::move(entries))
    {
        set_up_components(oil, liquid, vapour, feed);
    }

    std::vector<FeedEntry> feed;
    Peng liquid{phase_kind::liquid};
    Peng vapour{phase_kind::vapour};
    Oil oil{liquid, vapour};
};

}  // namespace quorvel::test
