#pragma once
// The P-T plot of a phase-diagram document: temperature (°C) across, pressure (bar) up.
// Its context menu follows what the click hit: the Plot menu on empty plot area, the
// Isopleths, Isochors or Trapping menu on the curve of an envelope branch, an isochore
// or a trapping line, the plot view's Points menu on a marker. Its commands go to the
// document of its window (or, for the aqueous line, to the phase-diagram panel); a click
// that selects an object posts "PTPlotSelection".

#include "plot/CPlotView.h"

#include <memory>
#include <vector>

class QMenu;

namespace quorvel {

class CPhaseDiagDocument;

class CPhaseDiagView : public CPlotView
{
    Q_OBJECT

public:
    explicit CPhaseDiagView(const QRect& frame = QRect(0, 0, 400, 300), QWidget* parent = nullptr);

    QMenu* menuForEvent(QPointF point) override;
    void notifyObjectSelection() override;

    QMenu* isoplethsMenu() const { return mIsoplethsMenu; }
    QMenu* isochorsMenu() const { return mIsochorsMenu; }
    QMenu* trappingMenu() const { return mTrappingMenu; }

    // The menu actions; each acts on the object and the point of the last click.
    void onNewIsopleth(QObject* sender = nullptr);
    void onNewIsochor(QObject* sender = nullptr);
    void onShowIsochorsPanel(QObject* sender = nullptr);
    void onDeleteIsopleth(QObject* sender = nullptr);
    void onNewTrappingLine(QObject* sender = nullptr);
    void onSetTrappingLine(QObject* sender = nullptr);
    void onShowTrappingPanel(QObject* sender = nullptr);
    void onDeleteIsochor(QObject* sender = nullptr);
    void onDeleteTrappingLine(QObject* sender = nullptr);

    // The document of the view's window; none outside a phase-diagram window.
    CPhaseDiagDocument* phaseDiagDocument() const;

private:
    void buildPhaseDiagMenus();
    using Action = void (CPhaseDiagView::*)(QObject*);
    // One item of a menu: a command of the plot view, an action of this view, or a rule.
    struct Item;
    QMenu* makePhaseDiagMenu(const QString& title, const std::vector<Item>& items);
    // The record the selected curve stands for, when it is exactly of class Record.
    template <class Record>
    std::shared_ptr<Record> selectedRecord() const;

    QMenu* mIsoplethsMenu = nullptr;
    QMenu* mIsochorsMenu = nullptr;
    QMenu* mTrappingMenu = nullptr;
};

}  // namespace quorvel
