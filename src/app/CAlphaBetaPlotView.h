#pragma once
// The beta-over-alpha plot of an alpha-beta plot document, on the unit square. Its
// context menu follows the exact class of what the click hit: the Plot menu on empty plot
// area, the Curves menu on a computed curve, the Points menu on a marker, the
// Correlations menu on a correlation line, none on anything else. Its commands go to the
// document of its window; a click that selects an object posts "AlphaBetaPlotSelection".
// The user default "debugMode", read when the view is made, adds two developers' grids
// to the Plot menu.

#include "plot/CPlotView.h"

#include <vector>

class QMenu;

namespace quorvel {

class CAlphaBetaPlotDocument;

class CAlphaBetaPlotView : public CPlotView
{
    Q_OBJECT

public:
    explicit CAlphaBetaPlotView(const QRect& frame = QRect(0, 0, 400, 300), QWidget* parent = nullptr);

    QMenu* menuForEvent(QPointF point) override;
    // Retitles the iso-GOR and iso-API items by the document's visible state; every item is enabled.
    bool validateMenuItem(QAction* item) override;
    void notifyObjectSelection() override;

    QMenu* correlationsMenu() const { return mCorrelationsMenu; }

    // The menu actions; each acts on the object and the point of the last click.
    void onNewAlphaBetaCurve(QObject* sender = nullptr);
    void onShowAlphaBetaCurvesPanel(QObject* sender = nullptr);
    void onShowAlphaBetaFluidsPanel(QObject* sender = nullptr);
    void onSetAlphaBetaMarker(QObject* sender = nullptr);
    void onPlotAlphaBetaCorr(QObject* sender = nullptr);
    void onGenerateFluidModel(QObject* sender = nullptr);
    void onShowHideIsoGORs(QObject* sender = nullptr);
    void onShowHideIsoAPIs(QObject* sender = nullptr);
    void onDoMcCainClassification(QObject* sender = nullptr);
    void onCalculateFvGrid(QObject* sender = nullptr);
    void onDeleteAlphaBetaCurve(QObject* sender = nullptr);
    void onDeleteAlphaBetaMarker(QObject* sender = nullptr);
    void onDeleteCorrelation(QObject* sender = nullptr);

    // The document of the view's window; none outside an alpha-beta plot window.
    CAlphaBetaPlotDocument* alphaBetaDocument() const;

private:
    using Action = void (CAlphaBetaPlotView::*)(QObject*);
    struct Item;
    QMenu* makeAlphaBetaMenu(const QString& title, const std::vector<Item>& items);
    void buildAlphaBetaMenus(bool debugMode);
    void afterDeletion();

    QMenu* mCorrelationsMenu = nullptr;
};

}  // namespace quorvel
