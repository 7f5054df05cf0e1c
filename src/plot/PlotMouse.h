#pragma once
// The mouse on a plot view: the hit test, selection and highlights, the status line, the
// legend drag and the zoom rectangle. A left press picks an object, moves the selection
// point, opens a settings panel on a double click, drags the legend or drags out a zoom
// rectangle; the drag runs until the release. Points are view coordinates (y growing
// upward).

#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

namespace quorvel {

class CGraphObject;
class CGraphPoint;
class CPlotView;
class PlotChanges;
class PlotCommands;
class PlotDrawing;
class PlotState;

class PlotMouse {
public:
    PlotMouse(CPlotView& view, PlotState& state, const PlotDrawing& drawing, PlotCommands& commands,
              PlotChanges& changes);
    ~PlotMouse();
    PlotMouse(const PlotMouse&) = delete;
    PlotMouse& operator=(const PlotMouse&) = delete;

    // The hit test of a press: moves the selection point into the plot area, selects the
    // object (or the legend) hit, and answers whether one was.
    bool testClickedGraphObject(QPointF point);
    // The left-button press; clicks > 1 is a double click.
    void mouseDown(QPointF point, int clicks);
    void dragTo(QPointF point);
    void mouseUp(QPointF point);
    bool isDragging() const { return mDrag != Drag::None; }

    // Highlights that object alone among the plot objects (none: no highlight); redraws.
    void hilite(CGraphObject* object);
    // Highlights one more object, without redraw.
    void hilite1(CGraphObject* object);
    // Moves the selection point (data units) and redraws.
    void setSelectedPoint(float x, float y);
    void adjustSelectionPoint(const CGraphPoint& point);
    // Writes the selection point into the frame's status line.
    void updateStatusMessage();

private:
    void beginLegendDrag(QPointF point);
    void beginZoomRectangle(QPointF point);
    // Picks up what a press on the selected object does: highlight, status, colour panel
    // and announcement; answers whether the press ends there.
    bool answerSelection(CGraphObject* selected, int clicks);
    void writeStatus(const std::optional<QString>& name, int extraDigits);
    void redrawViewArea(const QRectF& area);

    CPlotView& mView;
    PlotState& mState;
    const PlotDrawing& mDrawing;
    PlotCommands& mCommands;
    PlotChanges& mChanges;

    enum class Drag { None, Legend, Zoom };
    Drag mDrag = Drag::None;
    QPointF mPressPoint;
    QPointF mPreviousDragPoint;
    QPointF mGrabOffset; // legend drag: press point minus the legend's anchor
    bool mDragMoved = false;
    float mPressSelectedPointX = 0.0f; // the selection point before the press
    float mPressSelectedPointY = 0.0f;
};

} // namespace quorvel
