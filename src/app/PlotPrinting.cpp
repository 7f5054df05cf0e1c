#include "app/PlotPrinting.h"

#include "plot/CPlotView.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace quorvel {

void printPlotViewToDevice(CPlotView& view, QPagedPaintDevice& device)
{
    QPainter painter(&device);
    const QRect page = painter.viewport();
    const double scale = std::min(double(page.width()) / view.width(), double(page.height()) / view.height());
    painter.scale(scale, scale);
    view.drawView(painter);
}

void printPlotViewWithDialog(CPlotView& view)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, view.window());
    if (dialog.exec() == QDialog::Accepted)
        printPlotViewToDevice(view, printer);
}

}  // namespace quorvel
