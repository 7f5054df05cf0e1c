#pragma once
// A plot in its frame view, shown on the offscreen screen, with helpers to press, drag
// and click at data positions and to watch the view's announcements.

#include "ProbeView.h"

#include "plot/CDrawPlotView.h"

#include "platform/NotificationCenter.h"

#include <QLineEdit>
#include <QObject>
#include <QTest>

#include <memory>

namespace quorvel::test {

class InteractivePlot {
public:
    // A 500 x 400 frame; the plot shows x 0 to 10 ("T") and y 0 to 100 ("P") with one
    // tick decimal, zooming is limited to x -100 to 100 and y -1000 to 1000.
    InteractivePlot() : frame(std::make_unique<CDrawPlotView>(QRect(0, 0, 500, 400)))
    {
        frame->setPlotView(std::make_unique<ProbeView>());
        view = static_cast<ProbeView*>(frame->plotView());
        frame->installButtons();
        view->setDefaultXYRange(0, 10, 0, 100);
        view->setMaxXYRange(-100, 100, -1000, 1000);
        view->setLabels(QStringLiteral("T"), QStringLiteral("P"));
        view->setTicksDigits(1, 1);
        frame->show();
        redraw();
        NotificationCenter::defaultCenter().addObserver(QStringLiteral("PlotSelection"), &observer,
                                                        [this](const Notification& note) {
                                                            if (note.object == view)
                                                                ++selectionNotes;
                                                        });
    }

    // Brings margins and coefficients up to date, as a draw does.
    void redraw() { view->renderImage(); }

    // The widget position of a view point (y growing upward) or of a data point.
    QPoint widgetAtView(double x, double y) const { return QPoint(qRound(x), qRound(view->height() - y)); }
    QPoint widgetAt(float x, float y) const { return widgetAtView(view->getXValue(x), view->getYValue(y)); }
    // The view point a widget position stands for.
    QPointF viewAt(QPoint widget) const { return QPointF(widget.x(), view->height() - widget.y()); }

    void click(QPoint at) { QTest::mouseClick(view, Qt::LeftButton, {}, at); }
    void drag(QPoint from, std::initializer_list<QPoint> through, QPoint to)
    {
        QTest::mousePress(view, Qt::LeftButton, {}, from);
        for (const QPoint& p : through)
            QTest::mouseMove(view, p);
        QTest::mouseMove(view, to);
        QTest::mouseRelease(view, Qt::LeftButton, {}, to);
    }

    QString status() const { return frame->statusMessage()->text(); }

    std::unique_ptr<CDrawPlotView> frame;
    ProbeView* view = nullptr;
    QObject observer;
    int selectionNotes = 0;
};

} // namespace quorvel::test
