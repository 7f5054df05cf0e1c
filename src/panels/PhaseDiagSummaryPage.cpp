#include "panels/PhaseDiagSummaryPage.h"

#include "panels/FloatingPanel.h"
#include "panels/PhaseDiagOutlineModel.h"
#include "plot/CGraphCurve.h"
#include "plot/CPlotView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvel {

namespace {

constexpr int kNameColumnWidth = 260;

// The curve standing for a diagram: its liquid branch's, else its vapour branch's.
CGraphObject* diagramCurve(const CPhaseDiagram& diagram)
{
    for (const IsoplethPtr& branch : {diagram.liquidIsopleth(), diagram.vapourIsopleth()})
        if (branch && branch->graphCurve())
            return branch->graphCurve().get();
    return nullptr;
}

}  // namespace

PhaseDiagSummaryPage::PhaseDiagSummaryPage(PhaseDiagPageHost& host, const QString& identifier)
    : PhaseDiagPage(host, identifier)
{
    ui.mPhaseDiagView = new MyOutlineView(mWidget);
    ui.mPhaseDiagView->setObjectName(QStringLiteral("mPhaseDiagView"));
    ui.mPhaseDiagView->setDelegate(this);
    ui.mPhaseDiagView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.mPhaseDiagView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui.mPhaseDiagView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mOutlineModel = new PhaseDiagOutlineModel(ui.mPhaseDiagView);
    ui.mPhaseDiagView->setModel(mOutlineModel);
    ui.mPhaseDiagView->header()->resizeSection(0, kNameColumnWidth);
    connect(ui.mPhaseDiagView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { onSelectPhaseDiagramElement(); });
    ui.mDeleteButton = makeButton(tr("Delete"), "mDeleteButton");
    connect(ui.mDeleteButton, &QPushButton::clicked, this, [this] { onRemovePhaseDiagramElement(ui.mDeleteButton); });
    QHBoxLayout* buttons = buttonRow({}, {ui.mDeleteButton});
    auto* layout = new QVBoxLayout(mWidget);
    layout->addWidget(titleLabel(tr("Content of the document")));
    layout->addWidget(ui.mPhaseDiagView, 1);
    layout->addLayout(buttons);
}

void PhaseDiagSummaryPage::refresh(bool attached)
{
    setControlsEnabled({ui.mPhaseDiagView, ui.mDeleteButton}, attached);
    mHost.refreshIsochorsList();
    mHost.refreshTrappingsList();
    mOutlineModel->reload(mHost.document(), ui.mPhaseDiagView);
}

void PhaseDiagSummaryPage::onSelectPhaseDiagramElement()
{
    const QModelIndex chosen = ui.mPhaseDiagView->selectedItem();
    const std::shared_ptr<ArchivableObject> record = mOutlineModel->recordOf(chosen);
    CPlotView* view = mHost.plotView();
    if (!chosen.isValid() || !record) {
        // No node, the document's node, or a record gone since the last reload.
        ui.mDeleteButton->setEnabled(false);
        return;
    }
    switch (mOutlineModel->kindOf(chosen)) {
    case PhaseDiagOutlineModel::Kind::PhaseDiagram: {
        const auto diagram = std::static_pointer_cast<CPhaseDiagram>(record);
        if (CGraphObject* curve = diagramCurve(*diagram); curve && view)
            view->setSelectedObject(curve);
        mHost.hiliteOff();
        mHost.hiliteTheIsopleths(diagram);
        break;
    }
    case PhaseDiagOutlineModel::Kind::Isochor: {
        const auto isochor = std::static_pointer_cast<CIsochor>(record);
        if (view)
            view->setSelectedObject(isochor->graphCurve().get());
        mHost.hiliteOff();
        mHost.hiliteTheIsochors(isochor, isochor->sister());
        break;
    }
    case PhaseDiagOutlineModel::Kind::TrappingLine: {
        const auto line = std::static_pointer_cast<CTrappingLine>(record);
        if (view)
            view->setSelectedObject(line->graphCurve().get());
        mHost.hiliteOff();
        mHost.hiliteTheTrappingLine(line);
        break;
    }
    case PhaseDiagOutlineModel::Kind::Document: break;
    }
    ui.mDeleteButton->setEnabled(true);
}

void PhaseDiagSummaryPage::onRemovePhaseDiagramElement(QObject*)
{
    const QModelIndex chosen = ui.mPhaseDiagView->selectedItem();
    if (!chosen.isValid()) {
        ui.mDeleteButton->setEnabled(false);
        return;
    }
    const std::shared_ptr<ArchivableObject> record = mOutlineModel->recordOf(chosen);
    if (CPhaseDiagDocument* document = mHost.document(); document && record) {
        switch (mOutlineModel->kindOf(chosen)) {
        case PhaseDiagOutlineModel::Kind::PhaseDiagram:
            document->removeFluidPhaseDiagram(std::static_pointer_cast<CPhaseDiagram>(record));
            break;
        case PhaseDiagOutlineModel::Kind::Isochor:
            document->deleteIsochor(std::static_pointer_cast<CIsochor>(record));
            break;
        case PhaseDiagOutlineModel::Kind::TrappingLine:
            document->removeTrappingLine(std::static_pointer_cast<CTrappingLine>(record));
            break;
        case PhaseDiagOutlineModel::Kind::Document: break;
        }
    }
    mHost.updatePanel();
    mHost.redrawPlot();
}

void PhaseDiagSummaryPage::tableViewDeleteSelectedRow(MyOutlineView* view)
{
    if (view == ui.mPhaseDiagView)
        onRemovePhaseDiagramElement(this);
}

// ---- A click in the plot ----

void PhaseDiagSummaryPage::selectNodeOf(const ArchivableObject* record)
{
    const QModelIndex node = mOutlineModel->indexOf(record);
    for (QModelIndex parent = node.parent(); parent.isValid(); parent = parent.parent())
        if (!ui.mPhaseDiagView->isExpanded(parent))
            return;
    if (node.isValid())
        ui.mPhaseDiagView->selectRowAndScroll(node);
}

void PhaseDiagSummaryPage::takePlotSelection(const PlotClick& click)
{
    switch (click.curveKind()) {
    case PlotClickKind::Isopleth: {
        const PhaseDiagramPtr diagram = click.diagram();
        mHost.hiliteTheIsopleths(diagram);
        selectNodeOf(diagram.get());
        break;
    }
    case PlotClickKind::Isochor: {
        const auto isochor = std::static_pointer_cast<CIsochor>(click.record);
        const IsochorPtr sister = isochor->sister();
        selectNodeOf(isochor->isBiphasic() ? sister.get() : isochor.get());
        mHost.hiliteTheIsochors(isochor, sister);
        break;
    }
    case PlotClickKind::TrappingLine: {
        const auto line = std::static_pointer_cast<CTrappingLine>(click.record);
        selectNodeOf(line.get());
        mHost.hiliteTheTrappingLine(line);
        break;
    }
    case PlotClickKind::Nothing: ui.mPhaseDiagView->clearSelection(); break;
    case PlotClickKind::OtherCurve:
    case PlotClickKind::Point: break;
    }
}

}  // namespace quorvel
