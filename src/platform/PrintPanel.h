#pragma once
// Printing of documents: the print panel sets up the printer (the platform's print
// dialog in the application, a preset answer in tests), then the document draws its
// pages onto it.

#include <QString>

#include <functional>

class QPainter;
class QSize;
class QPrinter;
class QWidget;

namespace quorvel {

class PrintPanel
{
public:
    virtual ~PrintPanel() = default;

    // Sets up the printer; false when the user cancelled.
    virtual bool runModal(QPrinter& printer, QWidget* parent) = 0;

    static PrintPanel& current();
    // Installs a panel (not owned); nullptr goes back to the print dialog.
    static void setCurrent(PrintPanel* panel);
};

class DialogPrintPanel : public PrintPanel
{
public:
    bool runModal(QPrinter& printer, QWidget* parent) override;
};

// Runs the print panel and, unless cancelled, lets draw paint the page. A printer that
// cannot be drawn on is reported by one alert naming the document. True when printed.
bool printWithPanel(const QString& documentName, QWidget* parent, const std::function<void(QPainter&)>& draw);

// Scales the painter so that a picture of the size fits its page, in proportion.
void scalePainterToPage(QPainter& painter, const QSize& size);
// Draws the widget as it shows on screen, scaled in proportion to fit the painter's page.
void drawWidgetOnOnePage(QPainter& painter, QWidget& widget);

}  // namespace quorvel
