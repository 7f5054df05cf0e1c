#include "plot/PlotFrame.h"

#include <cmath>

namespace quorvel {

float AxisTransform::toView(float value) const
{
    float coordinate = value;
    if (logarithmic)
        coordinate = value > 0.0f ? static_cast<float>(std::log10(static_cast<double>(value))) : logMin;
    return a * coordinate + b;
}

} // namespace quorvel
