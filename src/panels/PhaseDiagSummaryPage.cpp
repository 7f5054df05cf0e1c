// The summary page of the phase-diagram panel (the tree of the document and its removals)
// and the highlighting that every page uses.

#include "panels/CPhaseDiagPanel.h"

#include "panels/PhaseDiagOutlineModel.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include <QPushButton>

namespace quorvel {

namespace {

template <class Record>
void hiliteCurveOf(const std::shared_ptr<Record>& record)
{
    if (record && record->graphCurve())
        record->graphCurve()->setHilited(true);
}

// The curve standing for a diagram: its liquid branch's, else its vapour branch's.
CGraphObject* diagramCurve(const CPhaseDiagram& diagram)
{
    for (const IsoplethPtr& branch : {diagram.liquidIsopleth(), diagram.vapourIsopleth()})
        if (branch && branch->graphCurve())
            return branch->graphCurve().get();
    return nullptr;
}

}  // namespace

void CPhaseDiagPanel::onSelectPhaseDiagramElement()
{
    const QModelIndex chosen = mPhaseDiagView->selectedItem();
    const std::shared_ptr<ArchivableObject> record = mOutlineModel->recordOf(chosen);
    CPlotView* view = plotView();
    if (!chosen.isValid() || !record) {
        // No node, the document's node, or a record gone since the last reload.
        mDeleteButton->setEnabled(false);
        return;
    }
    switch (mOutlineModel->kindOf(chosen)) {
    case PhaseDiagOutlineModel::Kind::PhaseDiagram: {
        const auto diagram = std::static_pointer_cast<CPhaseDiagram>(record);
        if (CGraphObject* curve = diagramCurve(*diagram); curve && view)
            view->setSelectedObject(curve);
        hiliteOff();
        hiliteTheIsopleths(diagram);
        break;
    }
    case PhaseDiagOutlineModel::Kind::Isochor: {
        const auto isochor = std::static_pointer_cast<CIsochor>(record);
        if (view)
            view->setSelectedObject(isochor->graphCurve().get());
        hiliteOff();
        hiliteTheIsochors(isochor, isochor->sister());
        break;
    }
    case PhaseDiagOutlineModel::Kind::TrappingLine: {
        const auto line = std::static_pointer_cast<CTrappingLine>(record);
        if (view)
            view->setSelectedObject(line->graphCurve().get());
        hiliteOff();
        hiliteTheTrappingLine(line);
        break;
    }
    case PhaseDiagOutlineModel::Kind::Document: break;
    }
    mDeleteButton->setEnabled(true);
}

void CPhaseDiagPanel::onRemovePhaseDiagramElement(QObject*)
{
    const QModelIndex chosen = mPhaseDiagView->selectedItem();
    if (!chosen.isValid()) {
        mDeleteButton->setEnabled(false);
        return;
    }
    const std::shared_ptr<ArchivableObject> record = mOutlineModel->recordOf(chosen);
    if (mDocument && record) {
        switch (mOutlineModel->kindOf(chosen)) {
        case PhaseDiagOutlineModel::Kind::PhaseDiagram:
            mDocument->removeFluidPhaseDiagram(std::static_pointer_cast<CPhaseDiagram>(record));
            break;
        case PhaseDiagOutlineModel::Kind::Isochor:
            mDocument->deleteIsochor(std::static_pointer_cast<CIsochor>(record));
            break;
        case PhaseDiagOutlineModel::Kind::TrappingLine:
            mDocument->removeTrappingLine(std::static_pointer_cast<CTrappingLine>(record));
            break;
        case PhaseDiagOutlineModel::Kind::Document: break;
        }
    }
    updatePanel();
    redrawPlot();
}

// ---- Highlighting ----

void CPhaseDiagPanel::hiliteTheIsopleths(const PhaseDiagramPtr& diagram)
{
    if (diagram) {
        hiliteCurveOf(diagram->liquidIsopleth());
        hiliteCurveOf(diagram->vapourIsopleth());
    }
    redrawPlot();
}

void CPhaseDiagPanel::hiliteTheIsochors(const IsochorPtr& isochor, const IsochorPtr& sister)
{
    hiliteCurveOf(isochor);
    hiliteCurveOf(sister);
    redrawPlot();
}

void CPhaseDiagPanel::hiliteTheTrappingLine(const IsochorPtr& line)
{
    hiliteCurveOf(line);
    redrawPlot();
}

void CPhaseDiagPanel::hiliteThePhaseDiagram(const PhaseDiagramPtr& diagram)
{
    hiliteOff();
    if (!diagram)
        return;
    hiliteCurveOf(diagram->liquidIsopleth());
    hiliteCurveOf(diagram->vapourIsopleth());
    for (const auto* list : {&diagram->biphasicIsochors(), &diagram->monophasicIsochors()})
        for (const IsochorPtr& isochor : *list)
            hiliteCurveOf(isochor);
    redrawPlot();
}

}  // namespace quorvel
