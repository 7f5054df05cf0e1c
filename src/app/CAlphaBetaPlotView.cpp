#include "app/CAlphaBetaPlotView.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/InclusionRecord.h"
#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"

#include <QAction>
#include <QMenu>
#include <typeinfo>
#include <variant>

namespace quorvel {

namespace {

// Beta over alpha on the unit square.
constexpr float kMinimum = 0;
constexpr float kMaximum = 1;
constexpr float kLegendX = 0.1f;
constexpr float kLegendY = 0.8f;
constexpr int kTicks = 11;
constexpr int kTickDigits = 3;

// Marks the item whose title follows the visible state of a family of reference curves.
const char* const kIsoFamilyProperty = "alphaBetaIsoFamily";
enum class IsoFamily : int { none, gor, api };

// What the document's interpolation answers off the curve.
constexpr double kOffTheCurve = -1;

}  // namespace

struct CAlphaBetaPlotView::Item
{
    std::variant<std::monostate, PlotCommand, Action> what;  // monostate: a rule
    const char* title = nullptr;                             // for this view's own actions
    IsoFamily isoFamily = IsoFamily::none;                   // the item retitled by its family
};

CAlphaBetaPlotView::CAlphaBetaPlotView(const QRect& frame, QWidget* parent) : CPlotView(frame, parent)
{
    setDefaultXYRange(kMinimum, kMaximum, kMinimum, kMaximum);
    setMaxXYRange(kMinimum, kMaximum, kMinimum, kMaximum);
    setLabels(tr("Alpha"), tr("Beta"));
    setLegendPosition(kLegendX, kLegendY);
    setTicksNumber(kTicks, kTicks);
    setTicksDigits(kTickDigits, kTickDigits);
    buildAlphaBetaMenus(UserDefaults::debugMode());
}

QMenu* CAlphaBetaPlotView::makeAlphaBetaMenu(const QString& title, const std::vector<Item>& items)
{
    auto* menu = new QMenu(title, this);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                item->setEnabled(validateMenuItem(item));
    });
    for (const Item& item : items) {
        if (const auto* command = std::get_if<PlotCommand>(&item.what)) {
            addMenuItem(menu, CPlotView::tr(commandRow(*command).title), *command);
        } else if (const auto* action = std::get_if<Action>(&item.what)) {
            QAction* entry = menu->addAction(tr(item.title));
            if (item.isoFamily != IsoFamily::none)
                entry->setProperty(kIsoFamilyProperty, static_cast<int>(item.isoFamily));
            connect(entry, &QAction::triggered, this, [this, entry, method = *action] { (this->*method)(entry); });
        } else {
            menu->addSeparator();
        }
    }
    return menu;
}

void CAlphaBetaPlotView::buildAlphaBetaMenus(bool debugMode)
{
    using enum PlotCommand;
    using View = CAlphaBetaPlotView;
    const Item rule{};
    const auto own = [](Action action, const char* title) { return Item{action, title}; };
    const Item generateFluid = own(&View::onGenerateFluidModel, QT_TR_NOOP("Generate Fluid Model..."));
    const Item setMarker = own(&View::onSetAlphaBetaMarker, QT_TR_NOOP("Set a marker..."));

    std::vector<Item> plot{own(&View::onNewAlphaBetaCurve, QT_TR_NOOP("New Alpha-Beta Curve...")),
                           setMarker,
                           own(&View::onPlotAlphaBetaCorr, QT_TR_NOOP("Plot correlation...")),
                           rule,
                           generateFluid,
                           rule,
                           Item{&View::onShowHideIsoGORs, QT_TR_NOOP("Show/Hide iso-GORs"), IsoFamily::gor},
                           Item{&View::onShowHideIsoAPIs, QT_TR_NOOP("Show/Hide iso-APIs"), IsoFamily::api},
                           rule,
                           {ZoomIn},
                           {ZoomOut},
                           {ShowAxisRangePanel},
                           {AxisRangesByDefault},
                           {LabelFontSettings},
                           {GraduationFontSettings},
                           rule,
                           {PrintPlot}};
    if (debugMode)
        plot.insert(plot.end(), {rule, own(&View::onDoMcCainClassification, QT_TR_NOOP("Do McCain classification")),
                                 own(&View::onCalculateFvGrid, QT_TR_NOOP("Fv grid"))});
    // The marker-like menus end alike.
    const auto withMarkerStyle = [&](std::vector<Item> items) {
        items.insert(items.end(), {rule, generateFluid, rule, {IncreasePointSize}, {DecreasePointSize}, rule,
                                   {GraphObjectColor}, rule, {PointsSettingsPanel}});
        return items;
    };

    delete mPlotMenu;
    delete mCurvesMenu;
    delete mPointsMenu;
    mPlotMenu = makeAlphaBetaMenu(tr("Plot"), plot);
    mCurvesMenu = makeAlphaBetaMenu(
        tr("Curves"), {own(&View::onShowAlphaBetaCurvesPanel, QT_TR_NOOP("Alpha-Beta Curves Panel...")), setMarker,
                       own(&View::onDeleteAlphaBetaCurve, QT_TR_NOOP("Delete the curve...")), rule, {ExportCurveData},
                       rule, generateFluid, rule, {NormalThickness}, {DoubleThickness}, {TripleThickness}, rule,
                       {GraphObjectColor}, rule, {CurvesSettingsPanel}});
    mPointsMenu = makeAlphaBetaMenu(
        tr("Points"), withMarkerStyle({own(&View::onShowAlphaBetaFluidsPanel, QT_TR_NOOP("Alpha-Beta Fluids...")),
                                       own(&View::onDeleteAlphaBetaMarker, QT_TR_NOOP("Remove the marker..."))}));
    mCorrelationsMenu = makeAlphaBetaMenu(
        tr("Correlations"),
        withMarkerStyle({own(&View::onDeleteCorrelation, QT_TR_NOOP("Remove the correlation..."))}));
}

// ---- What a click hit ----

QMenu* CAlphaBetaPlotView::menuForEvent(QPointF point)
{
    testClickedGraphObject(point);
    const CGraphObject* selected = selectedObject();
    if (!selected)
        return mPlotMenu;
    const std::type_info& type = typeid(*selected);
    if (type == typeid(CGraphCurve))
        return mCurvesMenu;
    if (type == typeid(CGraphStringPoint))
        return mPointsMenu;
    if (type == typeid(CGraphStringPointCurve))
        return mCorrelationsMenu;
    return nullptr;
}

bool CAlphaBetaPlotView::validateMenuItem(QAction* item)
{
    const auto family = static_cast<IsoFamily>(item->property(kIsoFamilyProperty).toInt());
    const CAlphaBetaPlotDocument* document = alphaBetaDocument();
    if (family == IsoFamily::gor)
        item->setText(document && document->areIsoGORCurvesVisible() ? tr("Hide iso-GOR curves")
                                                                     : tr("Show iso-GOR curves"));
    else if (family == IsoFamily::api)
        item->setText(document && document->areIsoAPICurvesVisible() ? tr("Hide iso-API curves")
                                                                     : tr("Show iso-API curves"));
    return true;
}

void CAlphaBetaPlotView::notifyObjectSelection()
{
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotSelection, this);
}

CAlphaBetaPlotDocument* CAlphaBetaPlotView::alphaBetaDocument() const
{
    return dynamic_cast<CAlphaBetaPlotDocument*>(getDocument());
}

// ---- Actions ----

void CAlphaBetaPlotView::onNewAlphaBetaCurve(QObject* sender)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->onShowAlphaBetaPanelPage1(sender);
}

void CAlphaBetaPlotView::onShowAlphaBetaCurvesPanel(QObject* sender)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->onShowAlphaBetaPanelPage1(sender);
}

void CAlphaBetaPlotView::onShowAlphaBetaFluidsPanel(QObject* sender)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->onShowAlphaBetaPanelPage2(sender);
}

void CAlphaBetaPlotView::onSetAlphaBetaMarker(QObject*)
{
    CAlphaBetaPlotDocument* document = alphaBetaDocument();
    if (!document)
        return;
    std::optional<Dictionary> curve;
    if (const auto* object = dynamic_cast<const CGraphCurve*>(selectedObject());
        object && object->referenceObject().isDictionary())
        curve = object->referenceObject().toDictionary();
    const double alpha = selectedPointX();
    double beta = selectedPointY();
    double pressure = 0;
    double CO2 = 0, N2 = 0, H2S = 0;
    if (curve) {
        beta = document->getBetaFromAlpha(*curve, alpha, &pressure);
        if (beta == kOffTheCurve)
            return;
        CO2 = curve->doubleValue(inclusionkey::CO2);
        N2 = curve->doubleValue(inclusionkey::N2);
        H2S = curve->doubleValue(inclusionkey::H2S);
    }
    document->setAlphaBetaMarker(alpha, beta, CO2, N2, H2S, pressure, curve);
    update();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.postNotification(AlphaBetaPlotModified, this);
    center.postNotification(AlphaBetaPlotSelection, this);
}

void CAlphaBetaPlotView::onPlotAlphaBetaCorr(QObject*)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->addAlphaBetaCorrelation();
}

void CAlphaBetaPlotView::onGenerateFluidModel(QObject*)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->generateFluidModel(selectedPointX(), selectedPointY(), 0, 0, 0);
}

void CAlphaBetaPlotView::onShowHideIsoGORs(QObject*)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->showHideIsoGORCurves();
}

void CAlphaBetaPlotView::onShowHideIsoAPIs(QObject*)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->showHideIsoAPICurves();
}

void CAlphaBetaPlotView::onDoMcCainClassification(QObject* sender)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->calculateMacCainGrid(sender);
}

void CAlphaBetaPlotView::onCalculateFvGrid(QObject* sender)
{
    if (CAlphaBetaPlotDocument* document = alphaBetaDocument())
        document->calculateFvGrid(sender);
}

void CAlphaBetaPlotView::onDeleteAlphaBetaCurve(QObject*)
{
    CAlphaBetaPlotDocument* document = alphaBetaDocument();
    const CGraphObject* selected = selectedObject();
    if (!document || !selected || !selected->referenceObject().isDictionary())
        return;
    document->removeAlphaBetaCurve(selected->referenceObject().toDictionary());
    afterDeletion();
}

void CAlphaBetaPlotView::onDeleteAlphaBetaMarker(QObject*)
{
    CAlphaBetaPlotDocument* document = alphaBetaDocument();
    const CGraphObject* selected = selectedObject();
    if (!document || !selected || !selected->referenceObject().isDictionary())
        return;
    document->removeAlphaBetaPoint(selected->referenceObject().toDictionary());
    afterDeletion();
}

void CAlphaBetaPlotView::onDeleteCorrelation(QObject*)
{
    CAlphaBetaPlotDocument* document = alphaBetaDocument();
    const CGraphObject* selected = selectedObject();
    if (!document || !selected || !selected->referenceObject().isDictionary())
        return;
    document->removeAlphaBetaCorrelation(selected->referenceObject().toDictionary());
    afterDeletion();
}

void CAlphaBetaPlotView::afterDeletion()
{
    update();
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotModified, this);
}

}  // namespace quorvel
