#include "platform/PrintPanel.h"

#include "platform/AlertService.h"

#include <QObject>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <algorithm>

namespace quorvel {

namespace {
PrintPanel* installed = nullptr;
}  // namespace

PrintPanel& PrintPanel::current()
{
    static DialogPrintPanel dialog;
    return installed ? *installed : dialog;
}

void PrintPanel::setCurrent(PrintPanel* panel)
{
    installed = panel;
}

bool DialogPrintPanel::runModal(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool printWithPanel(const QString& documentName, QWidget* parent, const std::function<void(QPainter&)>& draw)
{
    QPrinter printer;
    printer.setDocName(documentName);
    if (!PrintPanel::current().runModal(printer, parent))
        return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        showTitledAlert(QObject::tr("Alert"),
                        QObject::tr("The document \u201c%1\u201d could not be printed.").arg(documentName));
        return false;
    }
    draw(painter);
    return painter.end();
}

void scalePainterToPage(QPainter& painter, const QSize& size)
{
    if (size.isEmpty())
        return;
    const QRect page = painter.viewport();
    const double scale = std::min(double(page.width()) / size.width(), double(page.height()) / size.height());
    painter.scale(scale, scale);
}

void drawWidgetOnOnePage(QPainter& painter, QWidget& widget)
{
    painter.save();
    scalePainterToPage(painter, widget.size());
    widget.render(&painter);
    painter.restore();
}

}  // namespace quorvel
