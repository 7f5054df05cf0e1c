#include "app/CAlphaBetaPlotDocument.h"

#include "app/AlphaBetaCurveEngine.h"
#include "app/AlphaBetaReferenceCurves.h"
#include "app/CAlphaBetaPlotWindow.h"
#include "app/CFluidModelDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionRecord.h"
#include "app/PlotPrinting.h"
#include "app/Ports.h"
#include "calc/FluidRecordKeys.h"
#include "platform/ActionNames.h"
#include "platform/AlertService.h"
#include "platform/ArchivableObject.h"
#include "platform/Color.h"
#include "platform/DocumentController.h"
#include "platform/NotificationCenter.h"
#include "platform/RunTimeKeys.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CPlotFormat.h"
#include "plot/CPlotView.h"

#include <QAction>
#include <QFileInfo>
#include <algorithm>
#include <array>

namespace quorvel {

namespace {

const QString kCurvesKey = QStringLiteral("curves");
const QString kPointsKey = QStringLiteral("points");
const QString kCorrelationsKey = QStringLiteral("correlations");
const QString kPlotFormatKey = QStringLiteral("plotFormat");

constexpr MarkerCode kMarkerCode = MarkerCode::FilledCircle;
const QStringList kGasKeys{fluidkey::CO2, fluidkey::N2, fluidkey::H2S};
// What a correlation line keeps of each alpha-beta fluid of a fluid-model file.
const QStringList kCorrelationFluidKeys{fluidkey::name, fluidkey::alpha, fluidkey::beta, fluidkey::CO2,
                                        fluidkey::N2,   fluidkey::H2S,   fluidkey::gor,  fluidkey::api};

// Holds a record's plot object under its run-time key; never archived (the key is transient).
class PlotObjectHandle : public ArchivableObject
{
public:
    explicit PlotObjectHandle(GraphObjectPtr object) : object(std::move(object)) {}
    GraphObjectPtr object;
};

// Gives the record its plot object under the run-time key, and the object the record's style.
void attachPlotObject(Dictionary record, const QString& key, const GraphObjectPtr& object)
{
    record.setValue(key, Value(std::make_shared<PlotObjectHandle>(object)));
    object->setReferenceObject(record);
    object->setSize(record.floatValue(alphabetakey::size));
    object->setColor(record.colorValue(alphabetakey::color));
}

GraphObjectPtr plotObjectOf(const Dictionary& record, const QString& key)
{
    const auto handle = record.objectValue<PlotObjectHandle>(key);
    return handle ? handle->object : nullptr;
}

Color blue() { return Color::fromRgb(0, 0, 1); }

QString unlabelledPointName(double alpha, double beta, double CO2, double N2, double H2S)
{
    if (CO2 == 0 && N2 == 0 && H2S == 0)
        return QString::asprintf("AB %.3f %.3f", alpha, beta);
    return QString::asprintf("AB %.3f %.3f %.1f %.1f %.1f", alpha, beta, CO2, N2, H2S);
}

Dictionary pointRecord(double alpha, double beta, double CO2, double N2, double H2S, const QString& name)
{
    return Dictionary{{fluidkey::alpha, alpha},
                      {fluidkey::beta, beta},
                      {fluidkey::CO2, CO2},
                      {fluidkey::N2, N2},
                      {fluidkey::H2S, H2S},
                      {fluidkey::name, name},
                      {alphabetakey::size, 1},
                      {alphabetakey::color, blue()},
                      {alphabetakey::selector, code_number(kMarkerCode)},
                      {fluidkey::fluidType, code_number(FluidType::alphaBeta)}};
}

// The elements of a curve's stored point, in their order.
enum class CurveElement { alpha, beta, pressure };

double element(const Array& point, CurveElement which)
{
    return point.at(static_cast<int>(which)).toDouble();
}

// Interpolation of element `out` at the value `x` of element `in` of a curve's points.
double interpolateOnCurve(const Dictionary& curve, CurveElement in, CurveElement out, double x, double* pressure)
{
    const Array data = curve.arrayValue(alphabetakey::data);
    if (data.isEmpty())
        return -1;
    double lowest = element(data.at(0).toArray(), in);
    double highest = lowest;
    for (const Value& point : data) {
        lowest = std::min(lowest, element(point.toArray(), in));
        highest = std::max(highest, element(point.toArray(), in));
    }
    if (x < lowest || x > highest)
        return -1;
    for (int i = 1; i < data.size(); ++i) {
        const Array previous = data.at(i - 1).toArray();
        const Array current = data.at(i).toArray();
        const double xPrevious = element(previous, in);
        const double xCurrent = element(current, in);
        if (x < std::min(xPrevious, xCurrent) || x > std::max(xPrevious, xCurrent))
            continue;
        const double yCurrent = element(current, out);
        const double pCurrent = element(current, CurveElement::pressure);
        if (xPrevious == xCurrent) {
            *pressure = pCurrent;
            return yCurrent;
        }
        const double weight = (x - xCurrent) / (xPrevious - xCurrent);
        *pressure = weight * (element(previous, CurveElement::pressure) - pCurrent) + pCurrent;
        return weight * (element(previous, out) - yCurrent) + yCurrent;
    }
    return -1;
}

}  // namespace

Dictionary newAlphaBetaPoint(double alpha, double beta, double CO2, double N2, double H2S)
{
    return pointRecord(alpha, beta, CO2, N2, H2S, unlabelledPointName(alpha, beta, CO2, N2, H2S));
}

Dictionary alphaBetaFluidFromMarker(const Dictionary& marker)
{
    Dictionary fluid = marker.deepCopy();
    for (const QString& key : {runtimekey::graphPoint, runtimekey::graphCurve, fluidkey::curve})
        fluid.remove(key);
    for (const QString& gas : kGasKeys)
        fluid.setValue(gas, marker.doubleValue(gas) / 100.0);
    return fluid;
}

bool alphaBetaCurveCompareUsingAlpha(const Value& a, const Value& b)
{
    return a.toDictionary().doubleValue(alphabetakey::alpha0) < b.toDictionary().doubleValue(alphabetakey::alpha0);
}

bool alphaBetaCurveCompareUsingIndex(const Value& a, const Value& b)
{
    return a.toDictionary().intValue(alphabetakey::index) < b.toDictionary().intValue(alphabetakey::index);
}

CAlphaBetaPlotDocument::CAlphaBetaPlotDocument()
    : mPlotFormat(std::make_shared<CPlotFormat>()), mIsoCurveFolder(kIsoCurveResourceFolder)
{
    CPlotFormat& format = *mPlotFormat;
    format.setMinX(0);
    format.setCurrentMinX(0);
    format.setMaxX(1);
    format.setCurrentMaxX(1);
    format.setMinY(0);
    format.setCurrentMinY(0);
    format.setMaxY(1);
    format.setCurrentMaxY(1);
    format.setLegendX(0.1f);
    format.setLegendY(0.8f);
    answerDocumentActions();
}

CAlphaBetaPlotDocument::~CAlphaBetaPlotDocument()
{
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotModified, this);
    NotificationCenter::defaultCenter().removeObserver(this);
}

void CAlphaBetaPlotDocument::makeWindowControllers()
{
    auto controller = std::make_unique<CAlphaBetaPlotWindow>();
    controller->setShouldCloseDocument(true);
    addWindowController(std::move(controller));
    InspectorPanels::current().showAlphaBetaPanel(this);
    postModified();
}

// ---- File ----

QByteArray CAlphaBetaPlotDocument::dataRepresentationOfType(const QString&, QString* error)
{
    if (mPlotView)
        mPlotView->updatePlotFormat(*mPlotFormat);
    // The archiver writes each record once and leaves out the run-time keys, so a
    // marker's "curve" becomes a reference to the record stored under "curves".
    return archiveRoots({{kCurvesKey, mAlphaBetaCurves},
                         {kPointsKey, mAlphaBetaPoints},
                         {kCorrelationsKey, mAlphaBetaCorrelations},
                         {kPlotFormatKey, Value(mPlotFormat)}},
                        error);
}

bool CAlphaBetaPlotDocument::loadDataRepresentation(const QByteArray& data, const QString&, QString* error)
{
    const QStringList recordLists{kCurvesKey, kPointsKey, kCorrelationsKey};
    const std::optional<Dictionary> roots = unarchiveRoots(data, recordLists + QStringList{kPlotFormatKey}, error);
    if (!roots)
        return false;
    // A damaged or foreign file is refused whole rather than opened half empty.
    for (const QString& key : recordLists)
        if (!isArrayOfDictionaries(roots->value(key)))
            return refuseLoad(damagedRootEntryMessage(key), error);
    const auto format = roots->value(kPlotFormatKey).toObject<CPlotFormat>();
    if (!format)
        return refuseLoad(damagedRootEntryMessage(kPlotFormatKey), error);
    unplotAll();
    mAlphaBetaCurves = roots->value(kCurvesKey).toArray();
    mAlphaBetaPoints = roots->value(kPointsKey).toArray();
    mAlphaBetaCorrelations = roots->value(kCorrelationsKey).toArray();
    for (const Value& point : mAlphaBetaPoints) {
        Dictionary marker = point.toDictionary();
        if (marker.contains(fluidkey::curve) && mAlphaBetaCurves.indexOf(marker.value(fluidkey::curve)) < 0)
            marker.remove(fluidkey::curve);  // only a curve of this document
    }
    mPlotFormat = format;
    if (mPlotView)
        plotData();
    return true;
}

void CAlphaBetaPlotDocument::documentDidRevert()
{
    redraw();
    postModifiedAndSelection();
}

// ---- Plotting ----

void CAlphaBetaPlotDocument::plotData()
{
    if (!mPlotView)
        return;
    mPlotView->setFromPlotFormat(*mPlotFormat);
    for (const Value& curve : mAlphaBetaCurves)
        plotAlphaBetaCurve(curve.toDictionary());
    for (const Value& point : mAlphaBetaPoints)
        plotAlphaBetaPoint(point.toDictionary());
    for (const Value& correlation : mAlphaBetaCorrelations)
        plotAlphaBetaCorrelation(correlation.toDictionary());
}

void CAlphaBetaPlotDocument::plotAlphaBetaCurve(const Dictionary& curve)
{
    if (!mPlotView)
        return;
    auto object = std::make_shared<CGraphCurve>();
    object->setSelectable(true);
    for (const Value& point : curve.arrayValue(alphabetakey::data)) {
        const Array values = point.toArray();
        object->addPoint(values.at(0).toFloat(), values.at(1).toFloat(), false);
    }
    attachPlotObject(curve, runtimekey::graphCurve, object);
    object->setName(curve.stringValue(inclusionkey::name));
    mPlotView->includesIntoLegend(object);
    mPlotView->addGraphObject(object);
    redraw();
}

void CAlphaBetaPlotDocument::plotAlphaBetaPoint(const Dictionary& point)
{
    if (!mPlotView)
        return;
    auto object =
        CGraphStringPoint::newGraphStringPoint(point.floatValue(fluidkey::alpha), point.floatValue(fluidkey::beta));
    object->setSelectable(true);
    attachPlotObject(point, runtimekey::graphPoint, object);
    object->setSelector(markerCodeFromNumber(point.intValue(alphabetakey::selector)));
    object->setLabel(point.stringValue(fluidkey::name));
    object->setShowLabel(mShowLabels);
    object->setName(point.stringValue(fluidkey::name));
    mPlotView->addGraphObject(object);
    redraw();
}

void CAlphaBetaPlotDocument::plotAlphaBetaCorrelation(const Dictionary& correlation)
{
    if (!mPlotView)
        return;
    auto object = std::make_shared<CGraphStringPointCurve>();
    object->setSelectable(true);
    object->setName(correlation.stringValue(alphabetakey::name));
    for (const Value& entry : correlation.arrayValue(alphabetakey::data)) {
        const Dictionary fluid = entry.toDictionary();
        object->addPoint(fluid.stringValue(fluidkey::name), fluid.floatValue(fluidkey::alpha),
                         fluid.floatValue(fluidkey::beta));
    }
    attachPlotObject(correlation, runtimekey::graphCurve, object);
    object->setSelector(markerCodeFromNumber(correlation.intValue(alphabetakey::selector)));
    mPlotView->addGraphObject(object);
    redraw();
}

// Takes every record's plot object out of the view (before the records are replaced).
void CAlphaBetaPlotDocument::unplotAll()
{
    for (const Array& list : {mAlphaBetaCurves, mAlphaBetaPoints, mAlphaBetaCorrelations})
        for (const Value& element : list) {
            Dictionary record = element.toDictionary();
            for (const QString& key : {runtimekey::graphCurve, runtimekey::graphPoint}) {
                unplot(record, key);
                record.remove(key);
            }
        }
}

// Takes a record's plot object out of the legend, the selection and the view.
void CAlphaBetaPlotDocument::unplot(const Dictionary& record, const QString& key)
{
    const GraphObjectPtr object = plotObjectOf(record, key);
    if (!object || !mPlotView)
        return;
    if (mPlotView->selectedObject() == object.get())
        mPlotView->setSelectedObject(nullptr);
    mPlotView->removeFromLegend(object.get());
    mPlotView->removeGraphObject(object.get());
}

// ---- Removal and order ----

void CAlphaBetaPlotDocument::removeAlphaBetaCurve(const Dictionary& curve)
{
    updateChangeCount(ChangeDone);
    unplot(curve, runtimekey::graphCurve);
    mAlphaBetaCurves.removeAt(mAlphaBetaCurves.indexOf(curve));
    for (const Value& point : mAlphaBetaPoints) {
        Dictionary marker = point.toDictionary();
        if (marker.value(fluidkey::curve).toDictionary() == curve)
            marker.remove(fluidkey::curve);
    }
    redraw();
    postModifiedAndSelection();
}

void CAlphaBetaPlotDocument::removeAlphaBetaPoint(const Dictionary& point)
{
    updateChangeCount(ChangeDone);
    unplot(point, runtimekey::graphPoint);
    mAlphaBetaPoints.removeAt(mAlphaBetaPoints.indexOf(point));
    redraw();
    postModifiedAndSelection();
}

void CAlphaBetaPlotDocument::removeAlphaBetaCorrelation(const Dictionary& correlation)
{
    updateChangeCount(ChangeDone);
    unplot(correlation, runtimekey::graphCurve);
    mAlphaBetaCorrelations.removeAt(mAlphaBetaCorrelations.indexOf(correlation));
    redraw();
    postModifiedAndSelection();
}

void CAlphaBetaPlotDocument::sortAlphaBetaCurves(CurveOrder order)
{
    mSorted = order;
    mAlphaBetaCurves.sort(order == CurveOrder::byFirstAlpha ? alphaBetaCurveCompareUsingAlpha
                                                            : alphaBetaCurveCompareUsingIndex);
    updateChangeCount(ChangeDone);
}

// ---- Interpolation ----

double CAlphaBetaPlotDocument::getBetaFromAlpha(const Dictionary& curve, double alpha, double* pressure) const
{
    return interpolateOnCurve(curve, CurveElement::alpha, CurveElement::beta, alpha, pressure);
}

double CAlphaBetaPlotDocument::getAlphaFromBeta(const Dictionary& curve, double beta, double* pressure) const
{
    return interpolateOnCurve(curve, CurveElement::beta, CurveElement::alpha, beta, pressure);
}

// ---- Markers, labels, correlations ----

void CAlphaBetaPlotDocument::setShowLabels(bool show)
{
    mShowLabels = show;
    for (const Value& point : mAlphaBetaPoints)
        if (auto object =
                std::dynamic_pointer_cast<CGraphPoint>(plotObjectOf(point.toDictionary(), runtimekey::graphPoint)))
            object->setShowLabel(show);
}

Dictionary CAlphaBetaPlotDocument::setAlphaBetaMarker(double alpha, double beta, double CO2, double N2, double H2S,
                                                      double pressure, const std::optional<Dictionary>& curve)
{
    updateChangeCount(ChangeDone);
    const QString name = curve
                             ? QString::asprintf("%s: %.3f", qPrintable(curve->stringValue(inclusionkey::name)), alpha)
                             : unlabelledPointName(alpha, beta, CO2, N2, H2S);
    Dictionary marker = pointRecord(alpha, beta, CO2, N2, H2S, name);
    marker.setValue(alphabetakey::Ph, pressure);
    if (curve) {
        marker.setValue(fluidkey::curve, *curve);
        if (curve->contains(fluidkey::inclusion))
            marker.setValue(fluidkey::inclusion, curve->dictionaryValue(fluidkey::inclusion).deepCopy());
    }
    mAlphaBetaPoints.append(marker);
    plotAlphaBetaPoint(marker);
    if (mPlotView)
        mPlotView->setSelectedObject(plotObjectOf(marker, runtimekey::graphPoint).get());
    postModifiedAndSelection();
    return marker;
}

std::optional<Dictionary> CAlphaBetaPlotDocument::addAlphaBetaCorrelation()
{
    DocumentController* controller = DocumentController::sharedDocumentController();
    if (!controller)
        return std::nullopt;
    const QString path = controller->runModalOpenPanel({DocumentTypes::FluidModelExtension});
    if (path.isEmpty())
        return std::nullopt;
    // A document the user has open is read as it is and stays open; any other file is
    // read without being listed or shown.
    Array fluids;
    if (auto* open = dynamic_cast<CFluidModelDataDocument*>(controller->documentForFile(path))) {
        fluids = open->fluids();
    } else {
        CFluidModelDataDocument reader;
        QString error;
        if (!reader.readFromFile(path, &error)) {
            alertFileProblem(tr("opened"), path, error);
            return std::nullopt;
        }
        fluids = reader.fluids();
    }

    Array entries;
    for (const Value& element : fluids) {
        const Dictionary fluid = element.toDictionary();
        if (fluidTypeOf(fluid) != FluidType::alphaBeta)
            continue;
        const bool complete = std::all_of(kCorrelationFluidKeys.begin(), kCorrelationFluidKeys.end(),
                                          [&](const QString& key) { return fluid.contains(key); });
        if (!complete)
            continue;  // never an entry built from missing values
        Dictionary entry;
        for (const QString& key : kCorrelationFluidKeys)
            entry.setValue(key, fluid.value(key));
        entries.append(entry);
    }
    Dictionary correlation{{alphabetakey::name, QFileInfo(path).completeBaseName()},
                           {alphabetakey::path, path},
                           {alphabetakey::size, 1},
                           {alphabetakey::selector, code_number(kMarkerCode)},
                           {alphabetakey::color, Color::black()},
                           {alphabetakey::data, entries}};
    updateChangeCount(ChangeDone);
    mAlphaBetaCorrelations.append(correlation);
    plotAlphaBetaCorrelation(correlation);
    postModified();
    redraw();
    if (mPlotView && mPlotView->window()) {
        mPlotView->window()->raise();
        mPlotView->window()->activateWindow();
    }
    return correlation;
}

// ---- Panel pages and menus ----

void CAlphaBetaPlotDocument::onShowAlphaBetaPanelPage1(QObject*)
{
    InspectorPanels::current().selectAlphaBetaPage(AlphaBetaPanelPage::Curves);
}

void CAlphaBetaPlotDocument::onShowAlphaBetaPanelPage2(QObject*)
{
    InspectorPanels::current().selectAlphaBetaPage(AlphaBetaPanelPage::Fluids);
}

void CAlphaBetaPlotDocument::onShowAlphaBetaPanelPage3(QObject*)
{
    InspectorPanels::current().selectAlphaBetaPage(AlphaBetaPanelPage::Correlations);
}

namespace {

// The page items.
const std::array<const QString*, 3> kPageActions{
    &actionname::showAlphaBetaPanelPage1, &actionname::showAlphaBetaPanelPage2, &actionname::showAlphaBetaPanelPage3};

// The validation of a page item: ticked when the panel is on screen at that page.
ActionRow pageRow(const QString& action, AlphaBetaPanelPage page, std::function<void(QObject*)> show)
{
    return {action,
            [page](QAction* item) {
                const InspectorPanels& panels = InspectorPanels::current();
                if (item && panels.isAlphaBetaPanelVisible()) {
                    item->setCheckable(true);
                    item->setChecked(panels.alphaBetaSelectedPage() == page);
                }
                return true;
            },
            std::move(show)};
}

}  // namespace

void CAlphaBetaPlotDocument::answerDocumentActions()
{
    answerActions({
        pageRow(actionname::showAlphaBetaPanelPage1, AlphaBetaPanelPage::Curves,
                [this](QObject* s) { onShowAlphaBetaPanelPage1(s); }),
        pageRow(actionname::showAlphaBetaPanelPage2, AlphaBetaPanelPage::Fluids,
                [this](QObject* s) { onShowAlphaBetaPanelPage2(s); }),
        pageRow(actionname::showAlphaBetaPanelPage3, AlphaBetaPanelPage::Correlations,
                [this](QObject* s) { onShowAlphaBetaPanelPage3(s); }),
        {actionname::calculateFvGrid, nullptr, [this](QObject* s) { calculateFvGrid(s); }},
        {actionname::calculateMacCainGrid, nullptr, [this](QObject* s) { calculateMacCainGrid(s); }},
        {actionname::calculateCompoGrid, nullptr, [this](QObject* s) { calculateCompoGrid(s); }},
        {actionname::calculateGORAPIGrid, nullptr, [this](QObject* s) { calculateGORAPIGrid(s); }},
        {actionname::showFluidPropertiesPanel, nullptr, [this](QObject* s) { showFluidPropertiesPanel(s); }},
    });
}

bool CAlphaBetaPlotDocument::validateAction(const QString& action, QAction* item)
{
    if (std::ranges::any_of(kPageActions, [&](const QString* page) { return *page == action; }))
        return Document::validateAction(action, item);
    return true;
}

// ---- Printing ----

void CAlphaBetaPlotDocument::printToDevice(QPagedPaintDevice& device) const
{
    if (mPlotView)
        printPlotViewToDevice(*mPlotView, device);
}

void CAlphaBetaPlotDocument::printDocument()
{
    if (mPlotView)
        printPlotViewWithDialog(*mPlotView, displayName());
}

// ---- Notifications ----

void CAlphaBetaPlotDocument::postModified()
{
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotModified, this);
}

void CAlphaBetaPlotDocument::postModifiedAndSelection()
{
    postModified();
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotSelection, this);
}

void CAlphaBetaPlotDocument::redraw()
{
    if (mPlotView)
        mPlotView->update();
}

}  // namespace quorvel
