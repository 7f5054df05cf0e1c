#include "app/CAlphaBetaPlotWindow.h"

namespace quorvel {

CAlphaBetaPlotWindow::CAlphaBetaPlotWindow()
    : PlotDocumentWindow(QStringLiteral("AlphaBetaPlotWindow"), Buttons::None)
{
}

void CAlphaBetaPlotWindow::preparePlotView(CPlotView& view)
{
    view.setLabels(QStringLiteral("alpha"), QStringLiteral("beta"));
}

}  // namespace quorvel
