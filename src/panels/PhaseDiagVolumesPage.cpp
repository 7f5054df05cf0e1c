#include "panels/PhaseDiagVolumesPage.h"

#include "app/CInclusionDataDocument.h"
#include "calc/FluidRecordKeys.h"
#include "calc/InclusionRecordKeys.h"
#include "panels/FloatingPanel.h"
#include "platform/Color.h"
#include "platform/DocumentController.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CPlotView.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QVBoxLayout>

#include <optional>
#include <typeinfo>

namespace quorvel {

namespace {

// The plot spans the panel (520 wide) less the margins of its page.
constexpr int kPlotWidth = 480;
constexpr int kPlotHeight = 260;
constexpr int kTicks = 10;
constexpr int kTickDigits = 1;
// Bounds start inverted so that the first point sets them.
constexpr float kStartMinT = 1000;
constexpr float kStartMaxT = -1000;
constexpr float kStartMinF = 100;
constexpr float kStartMaxF = 0;
constexpr float kRangeStep = 10;
constexpr MarkerCode kMeasuredMarker = MarkerCode::Circle;
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
    const Value volumes = inclusion.value(inclusionkey::volumes);
    if (!volumes.isArray())
        return nullptr;
    auto curve = std::make_shared<CGraphPointCurve>();
    curve->setSelector(kMeasuredMarker);
    curve->setJoinPoints(false);
    for (const Value& entry : volumes.toArray()) {
        const Dictionary point = entry.toDictionary();
        const float T = point.floatValue(volumekey::Tvol);
        const float F = point.floatValue(volumekey::Fvol);
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

PhaseDiagVolumesPage::PhaseDiagVolumesPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mIsochorsView2 = makeList("mIsochorsView2", {QStringLiteral("name|Isochors")}, isochorsSource(),
                                 [this] { onSelectIsochor2(); }, true);
    ui.mInclusionsView2 = makeList(
        "mInclusionsView2", {QStringLiteral("name|Inclusions")},
        recordsSource(mInclusionsArray2, false), [this] { onSelectInclusion2(); }, true);
    ui.mVolumePlotView = new CPlotView(QRect(0, 0, kPlotWidth, kPlotHeight), mWidget);
    ui.mVolumePlotView->setObjectName(QStringLiteral("mVolumePlotView"));
    ui.mVolumePlotView->setMinimumHeight(kPlotHeight);
    auto* lists = new QHBoxLayout;
    lists->addWidget(ui.mIsochorsView2);
    lists->addWidget(ui.mInclusionsView2);
    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Bubble volumes: computed and measured")));
    layout->addLayout(lists, 1);
    layout->addWidget(ui.mVolumePlotView, 2);
}

void PhaseDiagVolumesPage::windowDidLoad()
{
    ui.mVolumePlotView->setLabels(QStringLiteral("T (°C)"), QStringLiteral("Bubble (%)"));
    ui.mVolumePlotView->setTicksDigits(kTickDigits, kTickDigits);
    ui.mVolumePlotView->setTicksNumber(kTicks, kTicks);
}

void PhaseDiagVolumesPage::refresh(bool attached)
{
    setControlsEnabled({ui.mIsochorsView2, ui.mInclusionsView2}, attached);
    refreshInclusions2();
    mHost.refreshIsochorsList();
    ui.mVolumePlotView->purge();
    ui.mVolumePlotView->update();
}

void PhaseDiagVolumesPage::reloadIsochors()
{
    ui.mIsochorsView2->reloadData();
}

void PhaseDiagVolumesPage::refreshInclusions2()
{
    mInclusionsArray2.clear();
    const bool attached = mHost.document() != nullptr;
    ui.mInclusionsView2->setEnabled(attached);
    if (attached)
        if (DocumentController* controller = DocumentController::sharedDocumentController())
            for (Document* document : controller->documents())
                if (document && typeid(*document) == typeid(CInclusionDataDocument))
                    for (const Value& inclusion : static_cast<CInclusionDataDocument*>(document)->getInclusions())
                        if (inclusion.toDictionary().stringValue(inclusionkey::type0) == QStringLiteral("Oil"))
                            mInclusionsArray2.append(inclusion);
    ui.mInclusionsView2->reloadData();
}

void PhaseDiagVolumesPage::onSelectInclusion2()
{
    const QList<int> rows = selectedRows(ui.mInclusionsView2);
    CPlotView* plot = ui.mVolumePlotView;
    plot->purgePointCurves();
    if (rows.isEmpty() || mInclusionsArray2.isEmpty()) {
        plot->update();
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
        plot->addGraphObject(curve);
        position = (position + 1) % kColourPositions;
    }
    plot->adjustXYRange(bounds.minT, bounds.maxT, bounds.minF, bounds.maxF, kRangeStep, kRangeStep);
    plot->update();
}

void PhaseDiagVolumesPage::onSelectIsochor2()
{
    const QList<int> rows = selectedRows(ui.mIsochorsView2);
    const std::vector<IsochorPtr>& isochors = mHost.isochors();
    CPlotView* plot = ui.mVolumePlotView;
    mHost.hiliteOff();
    plot->purgeCurves();
    plot->purgeReferenceObjects();
    if (rows.isEmpty() || isochors.empty()) {
        plot->update();
        return;
    }
    Bounds bounds;
    for (int row : rows) {
        if (row >= int(isochors.size()))
            continue;
        const IsochorPtr& isochor = isochors[row];
        const IsochorPtr sister = isochor->sister();
        mHost.hiliteTheIsochors(isochor, sister);
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
        plot->addGraphObject(computed);
        const PhaseDiagramPtr diagram = isochor->phaseDiagram();
        const Value inclusion = diagram ? diagram->thermoModel().value(fluidkey::inclusion) : Value();
        if (!inclusion.isDictionary())
            continue;
        if (auto measured = measuredVolumes(inclusion.toDictionary(), bounds)) {
            measured->setColor(Color::fromRgb(0, 0, 0));
            measured->setReferenceObject(inclusion);
            plot->addGraphObject(measured);
        }
    }
    // The isochores' ranges start afresh (x minimum 1 above x maximum 0) and widen to the points.
    plot->setDefaultXYRange(1, 0, 1, 0);
    plot->adjustXYRange(bounds.minT, bounds.maxT, bounds.minF, bounds.maxF, kRangeStep, kRangeStep);
    plot->update();
}

// ---- A click in the plot: an isochore's row, or every isochore of a clicked isopleth's diagram ----

void PhaseDiagVolumesPage::takePlotSelection(const PlotClick& click)
{
    const std::vector<IsochorPtr>& isochors = mHost.isochors();
    switch (click.curveKind()) {
    case PlotClickKind::Isochor: {
        const auto found = std::find(isochors.begin(), isochors.end(), click.record);
        if (found != isochors.end())
            selectRow(ui.mIsochorsView2, int(found - isochors.begin()));
        break;
    }
    case PlotClickKind::Isopleth: {
        const PhaseDiagramPtr diagram = click.diagram();
        QItemSelection selection;
        QAbstractItemModel* model = ui.mIsochorsView2->model();
        for (int row = 0; row < int(isochors.size()); ++row)
            if (diagram && isochors[row]->phaseDiagram() == diagram)
                selection.select(model->index(row, 0), model->index(row, model->columnCount() - 1));
        ui.mIsochorsView2->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        break;
    }
    case PlotClickKind::Nothing: deselectAll(ui.mIsochorsView2); break;
    case PlotClickKind::TrappingLine:
    case PlotClickKind::OtherCurve:
    case PlotClickKind::Point: break;
    }
}

}  // namespace quorvel
