#include "app/CPhaseDiagView.h"

#include "app/CPhaseDiagDocument.h"
#include "app/Ports.h"
#include "platform/NotificationCenter.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"

#include <QMenu>
#include <typeinfo>
#include <variant>

namespace quorvel {

namespace {

// The P-T plot's limits, ticks and labels.
constexpr float kMaxRangeMinT = -100;
constexpr float kMaxRangeMaxT = 1000;
constexpr float kMaxRangeMinP = 0;
constexpr float kMaxRangeMaxP = 5000;
constexpr int kTicks = 11;
constexpr int kTickDigits = 1;

}  // namespace

struct CPhaseDiagView::Item
{
    std::variant<std::monostate, PlotCommand, Action> what;  // monostate: a rule
    const char* title = nullptr;                             // for this view's own actions
};

CPhaseDiagView::CPhaseDiagView(const QRect& frame, QWidget* parent) : CPlotView(frame, parent)
{
    setMaxXYRange(kMaxRangeMinT, kMaxRangeMaxT, kMaxRangeMinP, kMaxRangeMaxP);
    setLabels(QStringLiteral("T (°C)"), QStringLiteral("P (bar)"));
    setTicksNumber(kTicks, kTicks);
    setTicksDigits(kTickDigits, kTickDigits);
    buildPhaseDiagMenus();
}

QMenu* CPhaseDiagView::makePhaseDiagMenu(const QString& title, const std::vector<Item>& items)
{
    auto* menu = new QMenu(title, this);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        for (QAction* item : menu->actions())
            if (!item->isSeparator())
                item->setEnabled(validateMenuItem(item));
    });
    for (const Item& item : items) {
        if (const auto* command = std::get_if<PlotCommand>(&item.what)) {
            addMenuItem(menu, tr(commandRow(*command).title), *command);
        } else if (const auto* action = std::get_if<Action>(&item.what)) {
            QAction* entry = menu->addAction(tr(item.title));
            connect(entry, &QAction::triggered, this, [this, entry, method = *action] { (this->*method)(entry); });
        } else {
            menu->addSeparator();
        }
    }
    return menu;
}

void CPhaseDiagView::buildPhaseDiagMenus()
{
    using enum PlotCommand;
    const Item rule{};
    const auto own = [](Action action, const char* title) { return Item{action, title}; };
    // The three curve menus end alike.
    const auto withCurveStyle = [&](std::vector<Item> items) {
        items.insert(items.end(), {rule, {NormalThickness}, {DoubleThickness}, {TripleThickness}, rule,
                                   {GraphObjectColor}, {CurvesSettingsPanel}});
        return items;
    };
    delete mPlotMenu;
    mPlotMenu = makePhaseDiagMenu(
        tr("Plot"),
        {own(&CPhaseDiagView::onNewIsopleth, QT_TR_NOOP("New Phase Envelope...")), rule, {ZoomIn}, {ZoomOut},
         {ShowAxisRangePanel}, {AxisRangesByDefault}, rule, {LabelFontSettings}, {GraduationFontSettings}, rule,
         {PrintPlot}});
    mIsoplethsMenu = makePhaseDiagMenu(
        tr("Isopleths"), withCurveStyle({own(&CPhaseDiagView::onNewIsochor, QT_TR_NOOP("New Isochor...")),
                                         own(&CPhaseDiagView::onShowIsochorsPanel, QT_TR_NOOP("Isochors Panel...")),
                                         own(&CPhaseDiagView::onDeleteIsopleth, QT_TR_NOOP("Delete Phase Envelope"))}));
    mIsochorsMenu = makePhaseDiagMenu(
        tr("Isochors"), withCurveStyle({own(&CPhaseDiagView::onNewTrappingLine, QT_TR_NOOP("View Th(Aq.) line")),
                                        own(&CPhaseDiagView::onSetTrappingLine, QT_TR_NOOP("Set Th(Aq.) line")),
                                        own(&CPhaseDiagView::onShowTrappingPanel, QT_TR_NOOP("Trapping panel...")),
                                        own(&CPhaseDiagView::onShowIsochorsPanel, QT_TR_NOOP("Isochors panel...")),
                                        own(&CPhaseDiagView::onDeleteIsochor, QT_TR_NOOP("Delete Isochor..."))}));
    mTrappingMenu = makePhaseDiagMenu(
        tr("Trapping"), withCurveStyle({own(&CPhaseDiagView::onDeleteTrappingLine, QT_TR_NOOP("Delete Th(Aq.) line"))}));
}

// ---- What a click hit ----

template <class Record>
std::shared_ptr<Record> CPhaseDiagView::selectedRecord() const
{
    const CGraphObject* selected = selectedObject();
    if (!selected || typeid(*selected) != typeid(CGraphCurve))
        return nullptr;
    std::shared_ptr<ArchivableObject> record = selected->referenceObject().toObject();
    if (!record || typeid(*record) != typeid(Record))
        return nullptr;
    return std::static_pointer_cast<Record>(record);
}

QMenu* CPhaseDiagView::menuForEvent(QPointF point)
{
    testClickedGraphObject(point);
    const CGraphObject* selected = selectedObject();
    if (!selected)
        return mPlotMenu;
    // Exact classes: a trapping line is also an isochore, and gets its own menu.
    if (selectedRecord<CIsopleth>())
        return mIsoplethsMenu;
    if (selectedRecord<CIsochor>())
        return mIsochorsMenu;
    if (selectedRecord<CTrappingLine>())
        return mTrappingMenu;
    if (dynamic_cast<const CGraphPoint*>(selected))
        return mPointsMenu;
    return nullptr;
}

void CPhaseDiagView::notifyObjectSelection()
{
    NotificationCenter::defaultCenter().postNotification(PTPlotSelection, this);
}

CPhaseDiagDocument* CPhaseDiagView::phaseDiagDocument() const
{
    return dynamic_cast<CPhaseDiagDocument*>(getDocument());
}

// ---- Actions ----

void CPhaseDiagView::onNewIsopleth(QObject* sender)
{
    if (CPhaseDiagDocument* document = phaseDiagDocument())
        document->onShowPhaseDiagPanelPage1(sender);
}

void CPhaseDiagView::onNewIsochor(QObject*)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    const IsoplethPtr isopleth = selectedRecord<CIsopleth>();
    if (!document || !isopleth)
        return;
    // The document shows its own alerts; the code and the new isochore are not needed here.
    IsochorPtr made;
    document->calculateIsochor(isopleth->phaseDiagram(), std::nullopt, double(selectedPointX()), isopleth->homog(),
                               &made, double(selectedPointY()));
}

void CPhaseDiagView::onShowIsochorsPanel(QObject* sender)
{
    if (CPhaseDiagDocument* document = phaseDiagDocument())
        document->onShowPhaseDiagPanelPage2(sender);
}

void CPhaseDiagView::onDeleteIsopleth(QObject*)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    const IsoplethPtr isopleth = selectedRecord<CIsopleth>();
    if (!document || !isopleth)
        return;
    document->removeFluidPhaseDiagram(isopleth->phaseDiagram());
    update();
}

void CPhaseDiagView::onNewTrappingLine(QObject*)
{
    if (const IsochorPtr isochor = selectedRecord<CIsochor>())
        InspectorPanels::current().showAqueousHomogLine(Value(isochor), double(selectedPointX()));
}

void CPhaseDiagView::onSetTrappingLine(QObject*)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    if (const IsochorPtr isochor = selectedRecord<CIsochor>(); document && isochor)
        document->addTrappingLineTo(isochor, double(selectedPointX()));
}

// The panel's fourth page is the trapping page (the third shows the bubble volumes).
void CPhaseDiagView::onShowTrappingPanel(QObject* sender)
{
    if (CPhaseDiagDocument* document = phaseDiagDocument())
        document->onShowPhaseDiagPanelPage4(sender);
}

void CPhaseDiagView::onDeleteIsochor(QObject*)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    if (const IsochorPtr isochor = selectedRecord<CIsochor>(); document && isochor) {
        document->deleteIsochor(isochor);
        update();
    }
}

void CPhaseDiagView::onDeleteTrappingLine(QObject*)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    if (const TrappingLinePtr line = selectedRecord<CTrappingLine>(); document && line) {
        document->removeTrappingLine(line);
        update();
    }
}

}  // namespace quorvel
