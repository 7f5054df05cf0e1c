#pragma once
// Printing of the plot documents: the plot view scaled onto one page.

class QPagedPaintDevice;
class QPainter;
class QString;

namespace quorvel {

class CPlotView;

// Draws the view on the painter's page, scaled to fit it with its proportions kept.
void drawPlotViewOnPage(QPainter& painter, CPlotView& view);
// Draws the view on the device's first page.
void printPlotViewToDevice(CPlotView& view, QPagedPaintDevice& device);
// Runs the print panel over the view's window and prints the view on one page; a printer
// that cannot be drawn on is reported by one alert naming the document.
void printPlotViewWithDialog(CPlotView& view, const QString& documentName);

}  // namespace quorvel
