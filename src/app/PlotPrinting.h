#pragma once
// Printing of the plot documents: the plot view scaled onto one page.

class QPagedPaintDevice;

namespace quorvel {

class CPlotView;

// Draws the view on the device's first page, scaled to fit it with its proportions kept.
void printPlotViewToDevice(CPlotView& view, QPagedPaintDevice& device);
// Asks for a printer over the view's window and prints the view on one page.
void printPlotViewWithDialog(CPlotView& view);

}  // namespace quorvel
