#include "app/PlotPrinting.h"

#include "platform/PrintPanel.h"
#include "plot/CPlotView.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace quorvel {

void drawPlotViewOnPage(QPainter& painter, CPlotView& view)
{
    scalePainterToPage(painter, view.size());
    view.drawForOutput(painter);
}

void printPlotViewToDevice(CPlotView& view, QPagedPaintDevice& device)
{
    QPainter painter(&device);
    drawPlotViewOnPage(painter, view);
}

void printPlotViewWithDialog(CPlotView& view, const QString& documentName)
{
    printWithPanel(documentName, view.window(), [&view](QPainter& painter) { drawPlotViewOnPage(painter, view); });
}

}  // namespace quorvel
