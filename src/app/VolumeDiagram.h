#pragma once
// The bubble-volume diagram of one inclusion: its volume points (Tvol, Fvol) joined in
// list order, drawn by the inclusion editor and by the exports.

#include "platform/Value.h"

namespace quorvel {

class CPlotView;

namespace VolumeDiagram {
// The ranges of a diagram without points.
inline constexpr float kDefaultMinT = 0, kDefaultMaxT = 300, kDefaultMinF = 0, kDefaultMaxF = 100;
// Gives the plot view's default and current ranges, labels and ticks of an empty diagram.
void prepare(CPlotView& view);
}  // namespace VolumeDiagram

// Replaces the view's objects by the diagram of the volumes list and sets its current ranges.
void makeVolumeDiagram(CPlotView& view, const Array& volumes);

}  // namespace quorvel
