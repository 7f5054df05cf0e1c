// The volumes page of the phase-diagram panel: measured bubble volumes of inclusions and the
// computed bubble fraction along isochores, temperature across, bubble percent up.

#include "panels/CPhaseDiagPanel.h"

#include "app/CInclusionDataDocument.h"
#include "platform/Color.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CPlotView.h"

#include <QItemSelectionModel>

#include <optional>
#include <typeinfo>

namespace quorvel {

namespace {

// Bounds start inverted so that the first point sets them.
constexpr float kStartMinT = 1000;
constexpr float kStartMaxT = -1000;
constexpr float kStartMinF = 100;
constexpr float kStartMaxF = 0;
constexpr float kRangeStep = 10;
constexpr int kMeasuredMarker = 2;
// Inclusion curves take these colours in turn; the fifth position has no colour of its own.
constexpr int kColourPositions = 5;

std::optional<Color> inclusionColour(int position)
{
    switch (position) {
    case 0: return Color::fromRgb(0, 0, 1);
    case 1: return Color::fromRgb(0, 1, 0);
    case 2: return Color::fromRgb(1, 0.5, 0);
    case 3: return Color::fromRgb(0, 1, 1);
    default: return std::nullopt;
    }
}

struct Bounds
{
    float minT = kStartMinT, maxT = kStartMaxT, minF = kStartMinF, maxF = kStartMaxF;
    void widen(float T, float F)
    {
        minT = std::min(minT, T);
        maxT = std::max(maxT, T);
        minF = std::min(minF, F);
        maxF = std::max(maxF, F);
    }
};

// A point curve of the measured volume points of an inclusion; none when it has none.
std::shared_ptr<CGraphPointCurve> measuredVolumes(const Dictionary& inclusion, Bounds& bounds)
{
    const Value volumes = inclusion.value(QStringLiteral("volumes"));
    if (!volumes.isArray())
        return nullptr;
    auto curve = std::make_shared<CGraphPointCurve>();
    curve->setSelector(kMeasuredMarker);
    curve->setJoinPoints(false);
    for (const Value& entry : volumes.toArray()) {
        const Dictionary point = entry.toDictionary();
        const float T = point.floatValue(QStringLiteral("Tvol"));
        const float F = point.floatValue(QStringLiteral("Fvol"));
        bounds.widen(T, F);
        curve->addPoint(T, F, 0);
    }
    return curve;
}

// The selected rows of a list, in increasing order.
QList<int> selectedRows(const QAbstractItemView* view)
{
    QList<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

}  // namespace

void CPhaseDiagPanel::refreshInclusions2()
{
    mInclusionsArray2.clear();
    mInclusionsView2->setEnabled(mDocument != nullptr);
    if (mDocument)
        if (DocumentController* controller = DocumentController::sharedDocumentController())
            for (Document* document : controller->documents())
                if (document && typeid(*document) == typeid(CInclusionDataDocument))
                    for (const Value& inclusion : static_cast<CInclusionDataDocument*>(document)->getInclusions())
                        if (inclusion.toDictionary().stringValue(QStringLiteral("type0")) == QStringLiteral("Oil"))
                            mInclusionsArray2.append(inclusion);
    reload(mInclusionsView2);
}

void CPhaseDiagPanel::onSelectInclusion2()
{
    const QList<int> rows = selectedRows(mInclusionsView2);
    mVolumePlotView->purgePointCurves();
    if (rows.isEmpty() || mInclusionsArray2.isEmpty()) {
        mVolumePlotView->update();
        return;
    }
    Bounds bounds;
    int position = 0;
    for (int row : rows) {
        auto curve = measuredVolumes(mInclusionsArray2.at(row).toDictionary(), bounds);
        if (!curve)
            continue;
        if (const std::optional<Color> colour = inclusionColour(position))
            curve->setColor(*colour);
        mVolumePlotView->addGraphObject(curve);
        position = (position + 1) % kColourPositions;
    }
    mVolumePlotView->adjustXYRange(bounds.minT, bounds.maxT, bounds.minF, bounds.maxF, kRangeStep, kRangeStep);
    mVolumePlotView->update();
}

void CPhaseDiagPanel::onSelectIsochor2()
{
    const QList<int> rows = selectedRows(mIsochorsView2);
    hiliteOff();
    mVolumePlotView->purgeCurves();
    mVolumePlotView->purgeReferenceObjects();
    if (rows.isEmpty() || mIsochorsArray.empty()) {
        mVolumePlotView->update();
        return;
    }
    Bounds bounds;
    for (int row : rows) {
        if (row >= int(mIsochorsArray.size()))
            continue;
        const IsochorPtr& isochor = mIsochorsArray[row];
        const IsochorPtr sister = isochor->sister();
        hiliteTheIsochors(isochor, sister);
        auto computed = std::make_shared<CGraphCurve>();
        computed->setColor(Color::fromRgb(1, 0, 0));
        if (sister)
            for (const IsochorPointPtr& point : sister->points()) {
                const auto* twoPhase = dynamic_cast<const CBiphasicIsochorPoint*>(point.get());
                if (!twoPhase)
                    continue;
                bounds.widen(float(twoPhase->T()), float(twoPhase->Fv()));
                computed->addPoint(float(twoPhase->T()), float(twoPhase->Fv()), false);
            }
        mVolumePlotView->addGraphObject(computed);
        const PhaseDiagramPtr diagram = isochor->phaseDiagram();
        const Value inclusion = diagram ? diagram->thermoModel().value(QStringLiteral("inclusion")) : Value();
        if (!inclusion.isDictionary())
            continue;
        if (auto measured = measuredVolumes(inclusion.toDictionary(), bounds)) {
            measured->setColor(Color::fromRgb(0, 0, 0));
            measured->setReferenceObject(inclusion);
            mVolumePlotView->addGraphObject(measured);
        }
    }
    // The isochores' ranges start afresh (x minimum 1 above x maximum 0) and widen to the points.
    mVolumePlotView->setDefaultXYRange(1, 0, 1, 0);
    mVolumePlotView->adjustXYRange(bounds.minT, bounds.maxT, bounds.minF, bounds.maxF, kRangeStep, kRangeStep);
    mVolumePlotView->update();
}

}  // namespace quorvel
