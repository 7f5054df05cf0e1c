#include "plot/PlotChanges.h"

#include "plot/CAxisRangeWindow.h"
#include "plot/CDrawPlotView.h"
#include "plot/CPlotView.h"
#include "plot/PlotCommands.h"

#include <utility>

namespace quorvel {

namespace {

// The command whose undo name a change of that font carries.
PlotCommand fontCommand(FontKind kind)
{
    switch (kind) {
    case FontKind::Ticks: return PlotCommand::GraduationFontSettings;
    case FontKind::Legends: return PlotCommand::GraphObjectFont;
    case FontKind::Labels: break;
    }
    return PlotCommand::LabelFontSettings;
}

} // namespace

PlotChanges::PlotChanges(CPlotView& view, PlotState& state)
    : mView(view)
    , mState(state)
{
}

PlotChanges::~PlotChanges()
{
    // A document's undo manager outlives the view: it must not call back into it.
    if (mUndoManager)
        mUndoManager->removeAllActions(&mView);
}

UndoManager* PlotChanges::undoManager()
{
    if (mUndoManager)
        return mUndoManager;
    if (!mOwnUndoManager)
        mOwnUndoManager = new UndoManager(&mView);
    return mOwnUndoManager;
}

void PlotChanges::setUndoManager(UndoManager* manager)
{
    if (mUndoManager && mUndoManager != manager)
        mUndoManager->removeAllActions(&mView);
    mUndoManager = manager;
}


// --- Ranges and fonts

void PlotChanges::doChangeAxisRanges(const XYRange& range)
{
    undoManager()->registerInverse(
        &mView, PlotCommands::undoNameOf(PlotCommand::ZoomIn), [this](const XYRange& previous) { doChangeAxisRanges(previous); },
        mState.ranges().current);
    mState.ranges().current = range;
    mState.selection().trackingRect = QRectF();
    refreshAxisRangePanel();
    if (CDrawPlotView* frame = mView.drawPlotView())
        frame->setEnabledZoomingControls(false);
    mView.update();
}

void PlotChanges::refreshAxisRangePanel()
{
    CAxisRangeWindow* panel = CAxisRangeWindow::sharedAxisRangeWindowCtroller();
    if (panel->isWindowVisible())
        panel->updatePanel();
}

void PlotChanges::doChangeFont(const TextAttributes& font, FontKind kind)
{
    TextAttributes& attributes = mState.fonts().of(kind);
    undoManager()->registerInverse(
        &mView, PlotCommands::undoNameOf(fontCommand(kind)),
        [this, kind](const TextAttributes& previous) { doChangeFont(previous, kind); }, attributes);
    attributes = font;
    if (kind == FontKind::Labels) {
        mState.axes().xLabel.attributes = font;
        mState.axes().yLabel.attributes = font;
    }
    mView.update();
}

// --- Line thickness and marker size

void PlotChanges::doChangeToolSizeFactor(float factor, CGraphObject* object)
{
    if (!object)
        return;
    const std::weak_ptr<CGraphObject> handle = mState.handleOf(object);
    if (handle.expired()) {
        // Not an object of this view: changed, but nothing the undo could come back to.
        object->setToolSizeFactor(factor);
        object->setSize(factor);
        mView.update();
        return;
    }
    setToolSize(handle, factor, factor);
}

void PlotChanges::setToolSize(const std::weak_ptr<CGraphObject>& handle, float factor, float size)
{
    const GraphObjectPtr object = handle.lock();
    if (!object)
        return;
    undoManager()->registerInverse(
        &mView, PlotCommands::undoNameOf(PlotCommand::NormalThickness),
        [this, handle](std::pair<float, float> previous) { setToolSize(handle, previous.first, previous.second); },
        std::pair{object->getToolSizeFactor(), object->size()});
    object->setToolSizeFactor(factor);
    object->setSize(size);
    mView.update();
}

void PlotChanges::doIncreasePointSizeOf(CGraphObject* object)
{
    if (object)
        setMarkerSizeFactor(mState.handleOf(object), object->getToolSizeFactor() + 1.0f,
                            PlotCommands::undoNameOf(PlotCommand::IncreasePointSize));
}

void PlotChanges::doDecreasePointSizeOf(CGraphObject* object)
{
    if (!object || object->getToolSizeFactor() - 1.0f < 1.0f)
        return;
    setMarkerSizeFactor(mState.handleOf(object), object->getToolSizeFactor() - 1.0f,
                        PlotCommands::undoNameOf(PlotCommand::DecreasePointSize));
}

void PlotChanges::setMarkerSizeFactor(const std::weak_ptr<CGraphObject>& handle, float factor,
                                       const QString& actionName)
{
    const GraphObjectPtr object = handle.lock();
    if (!object)
        return;
    // Undo and redo come back to the exact factor, whatever it was.
    undoManager()->registerInverse(
        &mView, actionName,
        [this, handle, actionName](float previous) { setMarkerSizeFactor(handle, previous, actionName); },
        object->getToolSizeFactor());
    object->setToolSizeFactor(factor);
    mView.update();
}

// --- Legend

void PlotChanges::doChangeLegendPosition(float x, float y, float dx, float dy)
{
    float ox = 0.0f;
    float oy = 0.0f;
    mState.legend().getPosition(ox, oy);
    undoManager()->registerInverse(
        &mView, CPlotView::tr("Move Of Legend"),
        [this, dx, dy](QPointF previous) {
            doChangeLegendPosition(static_cast<float>(previous.x()), static_cast<float>(previous.y()), dx, dy);
        },
        QPointF(ox, oy));
    mState.legend().setPosition(x - dx, y - dy);
    mView.update();
}

} // namespace quorvel
