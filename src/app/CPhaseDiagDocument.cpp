#include "app/CPhaseDiagDocument.h"

#include "app/CPhaseDiagWindow.h"
#include "app/PhaseDiagramCalculator.h"
#include "app/PlotPrinting.h"
#include "app/Ports.h"
#include "calc/FluidRecordKeys.h"
#include "platform/ActionNames.h"
#include "platform/AlertService.h"
#include "platform/Color.h"
#include "platform/NotificationCenter.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CPlotFormat.h"
#include "plot/CPlotView.h"
#include "widgets/CLogWindow.h"

#include <QAction>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace quorvel {

namespace {

const QString kPhaseDiagramsKey = QStringLiteral("phaseDiagrams");
const QString kPlotFormatKey = QStringLiteral("plotFormat");

// The validation of a page item: ticked when the panel is on screen at that page.
std::function<bool(QAction*)> tickedAtPage(PhaseDiagPanelPage page)
{
    return [page](QAction* item) {
        const InspectorPanels& panels = InspectorPanels::current();
        if (item && panels.isPhaseDiagPanelVisible()) {
            item->setCheckable(true);
            item->setChecked(panels.phaseDiagSelectedPage() == page);
        }
        return true;
    };
}

// A new document's plot: 0 to 300 °C, 0 to 500 bar, the legend at (20, 400).
constexpr float kNewMaxT = 300;
constexpr float kNewMaxP = 500;
constexpr float kNewLegendT = 20;
constexpr float kNewLegendP = 400;

// Branch extents start from these and get this margin above.
constexpr double kExtentStartT = 5000;
constexpr double kExtentStartP = 100000;
constexpr double kExtentMargin = 2;
constexpr float kRangeStep = 10;

// Last branch points closer than this (°C) meet at a critical point.
constexpr float kCriticalPointGap = 1;
constexpr float kCriticalPointSize = 3;
constexpr MarkerCode kCriticalPointMarker = MarkerCode::FilledCircle;

// The aqueous line runs from 0 bar to this much above the trapping pressure.
constexpr double kAqueousLineHeadroom = 1.1;

Color blue() { return Color::fromRgb(0, 0, 1); }
Color magenta() { return Color::fromRgb(1, 0, 1); }

// Takes every curve of an isochore part and of its trapping lines out of the plot.
void unplotIsochor(const IsochorPtr& isochor)
{
    if (!isochor)
        return;
    isochor->setGraphCurve(nullptr);
    for (const TrappingLinePtr& line : isochor->trappingLines())
        if (line)
            line->setGraphCurve(nullptr);
}

void unplotDiagram(CPhaseDiagram& diagram)
{
    for (const IsoplethPtr& branch : {diagram.liquidIsopleth(), diagram.vapourIsopleth()})
        if (branch)
            branch->setGraphCurve(nullptr);
    diagram.setCriticalPoint(nullptr);
    for (const auto* list : {&diagram.biphasicIsochors(), &diagram.monophasicIsochors()})
        for (const IsochorPtr& isochor : *list)
            unplotIsochor(isochor);
}

bool eraseFrom(std::vector<IsochorPtr>& list, const IsochorPtr& isochor)
{
    return isochor && std::erase(list, isochor) > 0;
}

// The diagram holding the isochore: its own link, or the document's diagram that lists it.
PhaseDiagramPtr diagramOf(const IsochorPtr& isochor, const std::vector<PhaseDiagramPtr>& diagrams)
{
    if (PhaseDiagramPtr linked = isochor->phaseDiagram())
        return linked;
    for (const PhaseDiagramPtr& diagram : diagrams)
        for (const auto* list : {&diagram->biphasicIsochors(), &diagram->monophasicIsochors()})
            if (std::find(list->begin(), list->end(), isochor) != list->end())
                return diagram;
    return nullptr;
}

// After loading: every isochore knows its diagram and every trapping line its isochore,
// also when the file left a link out.
void relinkRecords(const PhaseDiagramPtr& diagram)
{
    for (const auto* list : {&diagram->biphasicIsochors(), &diagram->monophasicIsochors()})
        for (const IsochorPtr& isochor : *list) {
            if (!isochor->phaseDiagram())
                isochor->setPhaseDiagram(diagram);
            for (const TrappingLinePtr& line : isochor->trappingLines())
                if (line && !line->isochor())
                    line->setIsochor(isochor);
        }
}

// The phase diagrams of a decoded list; none when it is no list or holds anything else.
std::optional<std::vector<PhaseDiagramPtr>> diagramsOf(const Value& list)
{
    if (!list.isArray())
        return std::nullopt;
    std::vector<PhaseDiagramPtr> diagrams;
    for (const Value& element : list.toArray()) {
        auto diagram = element.toObject<CPhaseDiagram>();
        if (!diagram)
            return std::nullopt;
        diagrams.push_back(std::move(diagram));
    }
    return diagrams;
}

void Msg_noTrappingPressure(double T)
{
    showAlert(QObject::tr("The isochor has no pressure at %1 °C: no trapping line was set.")
                  .arg(QString::asprintf("%.1f", T)));
}

}  // namespace

void Msg_noThTooLow() { showAlert(QObject::tr("The homogenisation temperature is too low.")); }
void Msg_noThTooHigh() { showAlert(QObject::tr("The homogenisation temperature is too high.")); }
void Msg_noIsoplethHomogToLiquid()
{
    showAlert(QObject::tr("For the given composition, the inclusion cannot homogenize to liquid. Change the "
                          "homogenisation type."));
}
void Msg_noIsoplethHomogToGas()
{
    showAlert(QObject::tr("For the given composition, the inclusion cannot homogenize to vapour.\nChange the "
                          "homogenisation type."));
}
void Msg_IsoplethTooCloseToCriticPt()
{
    showAlert(QObject::tr("Because of numeric limitations, the software cannot calculate isochors too close from a "
                          "critical point.\nTry to calculate the critical isochor by increasing or decreasing the "
                          "homogenisation temperature by 0.5°C."));
}
void Msg_IsoplethLLG() { showAlert(QObject::tr("Quorvel has detected liquid-liquid-gas phase equilibria.")); }
void Msg_IsoplethCalculationFailure()
{
    showAlert(QObject::tr("The program failed to calculate the P-T phase envelope."));
}

CPhaseDiagDocument::CPhaseDiagDocument() : mPlotFormat(std::make_shared<CPlotFormat>())
{
    registerPhaseDiagramClasses();
    mPhaseDiagrams.reserve(10);
    CPlotFormat& format = *mPlotFormat;
    format.setMinX(0);
    format.setCurrentMinX(0);
    format.setMaxX(kNewMaxT);
    format.setCurrentMaxX(kNewMaxT);
    format.setMinY(0);
    format.setCurrentMinY(0);
    format.setMaxY(kNewMaxP);
    format.setCurrentMaxY(kNewMaxP);
    format.setLegendX(kNewLegendT);
    format.setLegendY(kNewLegendP);
    answerActions({
        {actionname::showPhaseDiagPanelPage1, tickedAtPage(PhaseDiagPanelPage::Isopleths),
         [this](QObject* s) { onShowPhaseDiagPanelPage1(s); }},
        {actionname::showPhaseDiagPanelPage2, tickedAtPage(PhaseDiagPanelPage::Isochors),
         [this](QObject* s) { onShowPhaseDiagPanelPage2(s); }},
        {actionname::showPhaseDiagPanelPage3, tickedAtPage(PhaseDiagPanelPage::Volumes),
         [this](QObject* s) { onShowPhaseDiagPanelPage3(s); }},
        {actionname::showPhaseDiagPanelPage4, tickedAtPage(PhaseDiagPanelPage::Trapping),
         [this](QObject* s) { onShowPhaseDiagPanelPage4(s); }},
    });
}

CPhaseDiagDocument::~CPhaseDiagDocument()
{
    // Records the panel may still hold must not leave their curves in the closing view.
    unplotAll();
}

QString CPhaseDiagDocument::name() const
{
    return filePath().isEmpty() ? QString() : QFileInfo(filePath()).fileName();
}

void CPhaseDiagDocument::makeWindowControllers()
{
    auto controller = std::make_unique<CPhaseDiagWindow>();
    controller->setShouldCloseDocument(true);
    addWindowController(std::move(controller));
    InspectorPanels::current().showPhaseDiagPanel(this);
}

// ---- File ----

QByteArray CPhaseDiagDocument::dataRepresentationOfType(const QString&, QString* error)
{
    if (mPlotView)
        mPlotView->updatePlotFormat(*mPlotFormat);
    Array diagrams;
    for (const PhaseDiagramPtr& diagram : mPhaseDiagrams)
        diagrams.append(Value(diagram));
    return archiveRoots({{kPhaseDiagramsKey, diagrams}, {kPlotFormatKey, Value(mPlotFormat)}}, error);
}

bool CPhaseDiagDocument::loadDataRepresentation(const QByteArray& data, const QString&, QString* error)
{
    registerPhaseDiagramClasses();
    const std::optional<Dictionary> roots = unarchiveRoots(data, {kPhaseDiagramsKey, kPlotFormatKey}, error);
    if (!roots)
        return false;
    // A damaged or foreign file is refused whole rather than opened half empty.
    std::optional<std::vector<PhaseDiagramPtr>> diagrams = diagramsOf(roots->value(kPhaseDiagramsKey));
    if (!diagrams)
        return refuseLoad(damagedRootEntryMessage(kPhaseDiagramsKey), error);
    const auto format = roots->value(kPlotFormatKey).toObject<CPlotFormat>();
    if (!format)
        return refuseLoad(damagedRootEntryMessage(kPlotFormatKey), error);
    unplotAll();
    mAqueousHomogLine.reset();
    mPhaseDiagrams = std::move(*diagrams);
    for (const PhaseDiagramPtr& diagram : mPhaseDiagrams)
        relinkRecords(diagram);
    mPlotFormat = format;
    if (mPlotView)
        plotData();
    return true;
}

void CPhaseDiagDocument::documentDidRevert()
{
    redraw();
    postModified();
}

// ---- Calculations ----

void CPhaseDiagDocument::calculateImmiscibilityLoop(const FluidRecord& fluid)
{
    auto calculator = PhaseDiagramCalculator::make(fluidTypeOf(fluid), kPhaseDiagramEos);
    PhaseDiagramPtr diagram;
    if (calculator->calculateImmiscibilityLoop(fluid, &diagram).metLiquidLiquidGas)
        Msg_IsoplethLLG();
    if (diagram) {
        mPhaseDiagrams.push_back(diagram);
        plotIsoplethsOfPhaseDiagram(diagram);
        if (mPlotView)
            mPlotView->onAxisRangesByDefault(nullptr);
        redraw();
        // A computed envelope is not lost without a prompt.
        updateChangeCount(ChangeDone);
    } else {
        Msg_IsoplethCalculationFailure();
    }
    calculator.reset();
    postModified();
}

isochor_result CPhaseDiagDocument::calculateIsochor(const PhaseDiagramPtr& diagram,
                                                 const std::optional<InclusionRecord>& inclusion, double Th,
                                                 Homogenisation homog, IsochorPtr* monophasic, double Ph)
{
    const FluidType fluidType = diagram ? fluidTypeOf(diagram->thermoModel()) : FluidType::none;
    auto calculator = PhaseDiagramCalculator::make(fluidType, kPhaseDiagramEos);
    IsochorPtr onePhase;
    IsochorPtr twoPhase;
    const isochor_result code = calculator->calculateIsochors(diagram, inclusion ? &*inclusion : nullptr, Th, Ph,
                                                              homog, &onePhase, &twoPhase);
    alertIsochorResult(code, homog);
    if (twoPhase)
        plotBiphasicIsochorCurve(twoPhase);
    if (onePhase) {
        plotMonophasicIsochorCurve(onePhase);
        // The two parts share their colour from the start, as they do once reopened.
        if (twoPhase && onePhase->graphCurve() && twoPhase->graphCurve())
            onePhase->graphCurve()->setColorCousinship(twoPhase->graphCurve().get());
    }
    if (monophasic)
        *monophasic = onePhase;
    redraw();
    updateChangeCount(ChangeDone);
    if (onePhase && mPlotView && onePhase->graphCurve())
        mPlotView->setSelectedObject(onePhase->graphCurve().get());
    calculator.reset();
    postModified();
    return code;
}

void CPhaseDiagDocument::alertIsochorResult(isochor_result code, Homogenisation homog)
{
    switch (code) {
    case isochor_result::below_envelope: Msg_noThTooLow(); break;
    case isochor_result::above_envelope: Msg_noThTooHigh(); break;
    case isochor_result::no_branch:
        if (homog == Homogenisation::toLiquid)
            Msg_noIsoplethHomogToLiquid();
        else
            Msg_noIsoplethHomogToGas();
        break;
    case isochor_result::start_failed: Msg_IsoplethTooCloseToCriticPt(); break;
    default: break;
    }
}

TrappingLinePtr CPhaseDiagDocument::addTrappingLineTo(const IsochorPtr& isochor, double T)
{
    if (!isochor)
        return nullptr;
    auto line = std::make_shared<CTrappingLine>();
    if (!line->attachToIsochor(isochor, T)) {
        Msg_noTrappingPressure(T);
        return nullptr;
    }
    plotTrappingLine(line);
    if (mAqueousHomogLine && mAqueousHomogLine->graphCurve())
        mAqueousHomogLine->graphCurve()->setHidden(true);
    redraw();
    updateChangeCount(ChangeDone);
    postModified();
    return line;
}

// ---- The aqueous homogenisation line ----

void CPhaseDiagDocument::setTemporaryAqueousHomogLine(double T, double P)
{
    if (mAqueousHomogLine) {
        mAqueousHomogLine->setGraphCurve(nullptr);
        mAqueousHomogLine->points().clear();
    }
    mAqueousHomogLine = std::make_shared<CIsochor>();
    for (const double pressure : {0.0, kAqueousLineHeadroom * P}) {
        auto point = std::make_shared<CIsochorPoint>();
        point->setT(T);
        point->setP(pressure);
        mAqueousHomogLine->points().push_back(point);
    }
    mAqueousHomogLine->setName(QString::asprintf("Th (Aq.) = %.1f °C", T));
    plotTrappingLine(mAqueousHomogLine);
    if (const auto& curve = mAqueousHomogLine->graphCurve()) {
        curve->setSelectable(false);
        curve->setSize(1);
        curve->setColor(magenta());
    }
    if (mPlotView)
        mPlotView->setSelectedPoint(float(T), float(P));
    redraw();
}

void CPhaseDiagDocument::hideTemporaryAqueousHomogLine()
{
    if (!mAqueousHomogLine || !mAqueousHomogLine->graphCurve())
        return;
    mAqueousHomogLine->graphCurve()->setHidden(true);
    redraw();
}

void CPhaseDiagDocument::removeAqueousHomogLine()
{
    if (mAqueousHomogLine)
        mAqueousHomogLine->setGraphCurve(nullptr);
}

// ---- Removals ----

void CPhaseDiagDocument::removeTrappingLine(const TrappingLinePtr& line)
{
    if (!line)
        return;
    if (const IsochorPtr isochor = line->isochor())
        std::erase(isochor->trappingLines(), line);
    line->setGraphCurve(nullptr);
    updateChangeCount(ChangeDone);
    postModified();
}

void CPhaseDiagDocument::deleteIsochor(const IsochorPtr& isochor)
{
    if (!isochor)
        return;
    // A trapping line is no part of an isochore: it leaves the isochore it stands on.
    if (auto line = std::dynamic_pointer_cast<CTrappingLine>(isochor)) {
        removeTrappingLine(line);
        return;
    }
    // Whichever parts are there go: the isochore and its sister, when it has one.
    const IsochorPtr sister = isochor->sister();
    if (const PhaseDiagramPtr diagram = diagramOf(isochor, mPhaseDiagrams)) {
        for (const IsochorPtr& part : {isochor, sister}) {
            eraseFrom(diagram->biphasicIsochors(), part);
            eraseFrom(diagram->monophasicIsochors(), part);
        }
    }
    unplotIsochor(isochor);
    unplotIsochor(sister);
    updateChangeCount(ChangeDone);
    postModified();
}

void CPhaseDiagDocument::removeFluidPhaseDiagram(const PhaseDiagramPtr& diagram)
{
    if (!diagram)
        return;
    std::erase(mPhaseDiagrams, diagram);
    unplotDiagram(*diagram);
    updateChangeCount(ChangeDone);
    postModified();
}

// ---- Drawing ----

void CPhaseDiagDocument::plotData()
{
    if (!mPlotView)
        return;
    mPlotView->setFromPlotFormat(*mPlotFormat);
    for (const PhaseDiagramPtr& diagram : mPhaseDiagrams) {
        plotIsoplethsOfPhaseDiagram(diagram);
        plotIsochorsOfPhaseDiagram(diagram);
    }
    // Drawing the branches widens the default ranges and shows them; the file's own view comes back.
    const CPlotFormat& format = *mPlotFormat;
    mPlotView->setXYRange(format.currentMinX(), format.currentMaxX(), format.currentMinY(), format.currentMaxY());
}

namespace {

// A new selectable curve through the record's points, owned by the record, named and
// styled after it, standing for it and added to the view.
template <class Record, class BreakFlag>
void drawRecord(CPlotView& view, const std::shared_ptr<Record>& record, BreakFlag breakFlag)
{
    auto curve = std::make_shared<CGraphCurve>();
    curve->setSelectable(true);
    for (const auto& point : record->points())
        if (point)
            curve->addPoint(float(point->T()), float(point->P()), breakFlag(*point));
    record->setGraphCurve(curve);
    curve->setName(record->name());
    curve->setSize(float(record->curveFormat()->size()));
    curve->setColor(record->curveFormat()->color());
    curve->setReferenceObject(Value(record));
    view.addGraphObject(curve);
}

bool noBreak(const CIsochorPoint&) { return false; }

}  // namespace

void CPhaseDiagDocument::plotIsoplethCurve(const IsoplethPtr& isopleth)
{
    if (!isopleth)
        return;
    // Every point counts in the extents, break points included.
    double minT = kExtentStartT, maxT = -kExtentStartT, minP = kExtentStartP, maxP = -kExtentStartP;
    for (const IsoplethPointPtr& point : isopleth->points()) {
        if (!point)
            continue;
        minT = std::min(minT, point->T());
        maxT = std::max(maxT, point->T());
        minP = std::min(minP, point->P());
        maxP = std::max(maxP, point->P());
    }
    maxT += kExtentMargin;
    maxP += kExtentMargin;
    isopleth->setMinT(minT);
    isopleth->setMaxT(maxT);
    isopleth->setMinP(minP);
    isopleth->setMaxP(maxP);
    if (!mPlotView)
        return;
    drawRecord(*mPlotView, isopleth, [](const CIsoplethPoint& point) { return point.skip() != 0; });
    mPlotView->adjustXYRange(float(minT), float(maxT), float(minP), float(maxP), kRangeStep, kRangeStep);
}

void CPhaseDiagDocument::plotBiphasicIsochorCurve(const IsochorPtr& isochor)
{
    if (isochor && mPlotView)
        drawRecord(*mPlotView, isochor, noBreak);
}

void CPhaseDiagDocument::plotMonophasicIsochorCurve(const IsochorPtr& isochor)
{
    if (!isochor || !mPlotView)
        return;
    drawRecord(*mPlotView, isochor, noBreak);
    for (const TrappingLinePtr& line : isochor->trappingLines())
        plotTrappingLine(line);
}

void CPhaseDiagDocument::plotTrappingLine(const IsochorPtr& line)
{
    if (line && mPlotView)
        drawRecord(*mPlotView, line, noBreak);
}

void CPhaseDiagDocument::plotIsoplethsOfPhaseDiagram(const PhaseDiagramPtr& diagram)
{
    if (!diagram)
        return;
    const IsoplethPtr& liquid = diagram->liquidIsopleth();
    const IsoplethPtr& vapour = diagram->vapourIsopleth();
    plotIsoplethCurve(liquid);
    plotIsoplethCurve(vapour);
    if (!mPlotView)
        return;
    const std::shared_ptr<CGraphCurve> liquidCurve = liquid ? liquid->graphCurve() : nullptr;
    const std::shared_ptr<CGraphCurve> vapourCurve = vapour ? vapour->graphCurve() : nullptr;
    if (liquidCurve && vapourCurve) {
        liquidCurve->setColorCousinship(vapourCurve.get());
        float liquidT = 0, liquidP = 0, vapourT = 0, vapourP = 0;
        if (liquidCurve->getLastPointCoord(liquidT, liquidP) && vapourCurve->getLastPointCoord(vapourT, vapourP)
            && std::fabs(liquidT - vapourT) < kCriticalPointGap) {
            auto marker = CGraphPoint::newGraphPoint(liquidT, liquidP);
            marker->setColor(blue());
            marker->setSize(kCriticalPointSize);
            marker->setSelector(kCriticalPointMarker);
            marker->setName(QStringLiteral("CP: %1").arg(diagram->name()));
            diagram->setCriticalPoint(marker);
            mPlotView->addGraphObject(marker);
        }
    }
    // One legend entry per diagram, named after it.
    if (liquidCurve) {
        liquidCurve->setName(diagram->name());
        mPlotView->includesIntoLegend(liquidCurve);
    }
    if (vapourCurve) {
        vapourCurve->setName(diagram->name());
        if (!liquidCurve)
            mPlotView->includesIntoLegend(vapourCurve);
    }
    redraw();
}

void CPhaseDiagDocument::plotIsochorsOfPhaseDiagram(const PhaseDiagramPtr& diagram)
{
    if (!diagram)
        return;
    for (const IsochorPtr& isochor : diagram->biphasicIsochors())
        plotBiphasicIsochorCurve(isochor);
    for (const IsochorPtr& isochor : diagram->monophasicIsochors()) {
        plotMonophasicIsochorCurve(isochor);
        const IsochorPtr sister = isochor ? isochor->sister() : nullptr;
        if (sister && isochor->graphCurve() && sister->graphCurve())
            isochor->graphCurve()->setColorCousinship(sister->graphCurve().get());
    }
}

// Takes every record's plot object out of the view (before the records are replaced).
void CPhaseDiagDocument::unplotAll()
{
    for (const PhaseDiagramPtr& diagram : mPhaseDiagrams)
        if (diagram)
            unplotDiagram(*diagram);
    removeAqueousHomogLine();
}

// ---- Trapping report ----

void CPhaseDiagDocument::writeTrappingInfoLog(const IsochorPtr& record)
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->showWindow(this);
    if (record && record->Trap() > 0) {
        const auto line = [log](const QString& text) { log->appendText(text.toUtf8().constData()); };
        const double weight = record->bulkMolarWeight();
        line(QStringLiteral("Isochor : %1\n").arg(record->name()));
        // An isochore keeps its trapping temperature in kelvin, a trapping line in °C.
        line(QString::asprintf("\tTrapping temperature  : %12.2lf °C\n", record->trapCelsius()));
        line(QString::asprintf("\tTrapping pressure     : %12.2lf bar\n", record->Ptrap()));
        line(QString::asprintf("\tBulk density (1)      : %12.2lf g/cm3 (Peng & Robinson EOS)\n",
                               record->bulkDensity0()));
        line(QString::asprintf("\tBulk density (2)      : %12.2lf g/cm3 (Standing & Katz method)\n",
                               record->bulkDensity1()));
        line(QString::asprintf("\tBulk molar weight     : %12.2lf g/mol\n", weight));
        line(QString::asprintf("\tBulk molar volume (1) : %12.2lf cm3/mol (Peng & Robinson EOS)\n",
                               weight / record->bulkDensity0()));
        line(QString::asprintf("\tBulk molar volume (2) : %12.2lf cm3/mol (Standing & Katz method)\n",
                               weight / record->bulkDensity1()));
        line(QString::asprintf("\tGOR                   : %12.3lf\n", record->GOR()));
        line(QString::asprintf("\tAPI°                  : %12.2lf\n", record->API()));
        line(QString::asprintf("\tCH4 mole percent      : %12.2lf%%\n", record->CH4()));
    }
    if (QWidget* window = log->window())
        window->update();
    if (!windowControllers().empty())
        if (QWidget* window = windowControllers().front()->window())
            window->activateWindow();
}

// ---- Panel pages and menus ----

void CPhaseDiagDocument::onShowPhaseDiagPanelPage1(QObject*)
{
    InspectorPanels::current().selectPhaseDiagPage(PhaseDiagPanelPage::Isopleths);
}

void CPhaseDiagDocument::onShowPhaseDiagPanelPage2(QObject*)
{
    InspectorPanels::current().selectPhaseDiagPage(PhaseDiagPanelPage::Isochors);
}

void CPhaseDiagDocument::onShowPhaseDiagPanelPage3(QObject*)
{
    InspectorPanels::current().selectPhaseDiagPage(PhaseDiagPanelPage::Volumes);
}

void CPhaseDiagDocument::onShowPhaseDiagPanelPage4(QObject*)
{
    InspectorPanels::current().selectPhaseDiagPage(PhaseDiagPanelPage::Trapping);
}

// ---- Printing ----

void CPhaseDiagDocument::printToDevice(QPagedPaintDevice& device) const
{
    if (mPlotView)
        printPlotViewToDevice(*mPlotView, device);
}

void CPhaseDiagDocument::printDocument()
{
    if (mPlotView)
        printPlotViewWithDialog(*mPlotView, displayName());
}

// ---- Notifications ----

void CPhaseDiagDocument::postModified()
{
    NotificationCenter::defaultCenter().postNotification(PTPlotModified, this);
}

void CPhaseDiagDocument::redraw()
{
    if (mPlotView)
        mPlotView->update();
}

}  // namespace quorvel
