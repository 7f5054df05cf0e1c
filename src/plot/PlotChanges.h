#pragma once
// The undoable changes of a plot view: current ranges, fonts, line thickness, marker
// size and legend position. Each registers its inverse, with the view as target, on the
// undo manager of the document that shows the view, or on the view's own.

#include "plot/PlotState.h"

#include "platform/UndoManager.h"

#include <QPointer>
#include <QString>

#include <memory>

namespace quorvel {

class CPlotView;

class PlotChanges {
public:
    PlotChanges(CPlotView& view, PlotState& state);
    ~PlotChanges();
    PlotChanges(const PlotChanges&) = delete;
    PlotChanges& operator=(const PlotChanges&) = delete;

    UndoManager* undoManager();
    void setUndoManager(UndoManager* manager);
    // The document's undo manager; none while the view uses its own.
    UndoManager* documentUndoManager() const { return mUndoManager; }

    // Also drops the zoom rectangle and redraws.
    void doChangeAxisRanges(const XYRange& range);
    void doChangeFont(const TextAttributes& font, FontKind kind);
    // The line thickness: size factor and size together (a curve draws with its size).
    void doChangeToolSizeFactor(float factor, CGraphObject* object);
    void doIncreasePointSizeOf(CGraphObject* object);
    // A marker's size factor stays at least 1: a decrease below it is ignored.
    void doDecreasePointSizeOf(CGraphObject* object);
    // Moves the legend to (x - dx, y - dy), data units.
    void doChangeLegendPosition(float x, float y, float dx, float dy);

private:
    void setToolSize(const std::weak_ptr<CGraphObject>& object, float factor, float size);
    void setMarkerSizeFactor(const std::weak_ptr<CGraphObject>& object, float factor, const QString& actionName);
    void refreshAxisRangePanel();

    CPlotView& mView;
    PlotState& mState;
    UndoManager* mOwnUndoManager = nullptr; // a child of the view, made on first use
    QPointer<UndoManager> mUndoManager;     // a document's, when given
};

} // namespace quorvel
