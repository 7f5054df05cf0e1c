#include "app/CAlphaBetaPlotWindow.h"

namespace quorvel {

CAlphaBetaPlotWindow::CAlphaBetaPlotWindow()
    : PlotDocumentWindow(QStringLiteral("AlphaBetaPlotWindow"))
{
}

}  // namespace quorvel
