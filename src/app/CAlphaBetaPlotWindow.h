#pragma once
// A plain window showing an alpha-beta plot document's curves, markers and correlation
// lines in one beta-over-alpha plot view.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/PlotDocumentWindow.h"
#include "plot/CPlotView.h"

namespace quorvel {

class CAlphaBetaPlotWindow : public PlotDocumentWindow<CAlphaBetaPlotDocument, CPlotView>
{
    Q_OBJECT

public:
    CAlphaBetaPlotWindow();

protected:
    void preparePlotView(CPlotView& view) override;
};

}  // namespace quorvel
