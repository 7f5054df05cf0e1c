#pragma once
// Base of everything a plot view draws: name, size, marker code, colour with its colour
// cousins, highlight, selectable and hidden flags, the record it stands for, and the
// outline (mPath) of its last draw in view coordinates.

#include "platform/Color.h"
#include "platform/Value.h"
#include "plot/MarkerCode.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

class CPlotView;
class ViewCanvas;
struct PlotFrame;

class CGraphObject {
public:
    CGraphObject();
    virtual ~CGraphObject();
    CGraphObject(const CGraphObject&) = delete;
    CGraphObject& operator=(const CGraphObject&) = delete;

    void setName(const std::optional<QString>& name) { mName = name; }
    const std::optional<QString>& name() const { return mName; }
    void setSize(float size) { mSize = size; }
    float size() const { return mSize; }
    void setSelector(MarkerCode code) { mSelector = code; }
    MarkerCode selector() const { return mSelector; }

    // setColor also recolours the colour cousins; applyColor and the RGB setter do not.
    void setColor(const Color& color);
    void applyColor(const Color& color) { mColor = color; }
    void setColor(float red, float green, float blue);
    const std::optional<Color>& color() const { return mColor; }
    const std::optional<Color>& getColor() const { return mColor; }
    // Components times 65535, truncated toward zero (0 without a colour).
    int getRed() const;
    int getGreen() const;
    int getBlue() const;

    void setHilited(bool hilited);
    bool isHilited() const { return mHilited; }
    void setSelectable(bool selectable) { mSelectable = selectable; }
    bool isSelectable() const { return mSelectable; }
    void setHidden(bool hidden) { mHidden = hidden; }
    bool isHidden() const { return mHidden; }

    void setToolSizeFactor(float factor) { mToolSizeFactor = factor; }
    float getToolSizeFactor() const { return mToolSizeFactor; }
    void increaseToolSizeFactor() { mToolSizeFactor += 1.0f; }
    void decreaseToolSizeFactor() { mToolSizeFactor -= 1.0f; }

    // The record the object shows; not kept alive by the object.
    void setReferenceObject(const Value& record);
    Value referenceObject() const { return mReferenceObject.lock(); }
    // Whether a record was given (the object stands for a record).
    bool hasReferenceObject() const { return mHasReferenceObject; }

    void setPlotView(CPlotView* view) { mPlotView = view; }
    CPlotView* getPlotView() const { return mPlotView; }

    void addColorCousin(CGraphObject* cousin);
    void removeColorCousin(CGraphObject* cousin);
    void setColorCousinship(CGraphObject* other);
    void breakCousinship(CGraphObject* other);
    const std::vector<CGraphObject*>& colorCousins() const { return mColorCousins; }

    // Draws the object in the frame its plot view shows; the base draws nothing.
    virtual void render(ViewCanvas& canvas, const PlotFrame& frame);
    // Whether a click at a point in view coordinates hits the object shown in the frame.
    virtual bool isHit(QPointF point, const PlotFrame& frame) const;
    // Bounds of the last draw's outline; the zero rectangle before the first draw.
    virtual QRectF getBounds(const PlotFrame& frame) const;
    // A fresh object of the same class with name, size, marker code, colour and the
    // class's own data; no record, view, highlight or cousins.
    virtual std::shared_ptr<CGraphObject> copy() const;

    const QPainterPath& path() const { return mPath; }

    // Outline of a marker with centre (x, y) in view coordinates / in data units.
    static QPainterPath constructPoint0(MarkerCode code, float rx, float ry, float x, float y);
    static QPainterPath constructPoint(MarkerCode code, float rx, float ry, float x, float y, const PlotFrame& frame);

protected:
    // Name, size, marker code and colour into a new object of a subclass.
    void copyBaseInto(CGraphObject& target) const;
    // Marker radius of this object's size factor (2 or, highlighted, 3 plus half of it).
    float markerRadius() const;
    // One marker at (x, y) in data units, drawn filled or stroked by the marker code; the
    // outline is returned (the caller keeps it in mPath).
    QPainterPath drawMarker(ViewCanvas& canvas, const PlotFrame& frame, float x, float y) const;
    // Whether a click lies within the marker at (x, y) in data units, with a tolerance of
    // at least 5 view units.
    bool isMarkerHit(QPointF point, const PlotFrame& frame, float x, float y) const;

    bool mHilited = false;
    bool mSelectable = false;
    bool mHidden = false;
    std::optional<QString> mName;
    float mSize = 0.0f;
    MarkerCode mSelector = MarkerCode::Unset;
    std::optional<Color> mColor;
    QPainterPath mPath;
    bool mHasDrawn = false;
    WeakValue mReferenceObject;
    bool mHasReferenceObject = false;
    CPlotView* mPlotView = nullptr;
    float mToolSizeFactor = 1.0f;
    std::vector<CGraphObject*> mColorCousins;
};

using GraphObjectPtr = std::shared_ptr<CGraphObject>;

} // namespace quorvel
