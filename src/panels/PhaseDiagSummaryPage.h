#pragma once
// The summary page of the phase-diagram panel: the tree of the document (its diagrams, their
// one-phase isochores and the trapping lines on those), choosing a node highlights its
// curves, and its removal.

#include "panels/PhaseDiagPage.h"
#include "widgets/MyOutlineView.h"

namespace quorvel {

class PhaseDiagOutlineModel;

class PhaseDiagSummaryPage : public PhaseDiagPage, public MyOutlineViewDelegate
{
    Q_OBJECT

public:
    PhaseDiagSummaryPage(PhaseDiagPageHost& host, const QString& identifier);

    void refresh(bool attached) override;
    void takePlotSelection(const PlotClick& click) override;
    void tableViewDeleteSelectedRow(MyOutlineView* view) override;
    using PhaseDiagPage::tableViewDeleteSelectedRow;

    void onSelectPhaseDiagramElement();
    void onRemovePhaseDiagramElement(QObject* sender = nullptr);

    struct Controls
    {
        MyOutlineView* mPhaseDiagView = nullptr;
        QPushButton* mDeleteButton = nullptr;
    };
    const Controls& controls() const { return ui; }

private:
    // Selects the node of the record once its parents are expanded: only such a node has a row.
    void selectNodeOf(const ArchivableObject* record);

    Controls ui;
    PhaseDiagOutlineModel* mOutlineModel = nullptr;
};

}  // namespace quorvel
