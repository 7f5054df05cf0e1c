#include "app/CAlphaBetaPlotWindow.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "plot/CDrawPlotView.h"
#include "plot/CPlotView.h"
#include "plot/PlotViewProvider.h"

namespace quorvel {

namespace {
const QRect kPlotFrame(0, 0, 640, 480);
}

CAlphaBetaPlotWindow::CAlphaBetaPlotWindow() : WindowController(QStringLiteral("AlphaBetaPlotWindow")) {}

CAlphaBetaPlotWindow::~CAlphaBetaPlotWindow()
{
    if (CAlphaBetaPlotDocument* document = plotDocument())
        document->setPlotView(nullptr);
    destroyWindow();
}

CAlphaBetaPlotDocument* CAlphaBetaPlotWindow::plotDocument() const
{
    return dynamic_cast<CAlphaBetaPlotDocument*>(document());
}

QWidget* CAlphaBetaPlotWindow::makeWindow()
{
    auto* frame = new CDrawPlotView(kPlotFrame);
    auto view = std::make_unique<CPlotView>(kPlotFrame);
    mPlotView = view.get();
    mPlotView->setLabels(QStringLiteral("alpha"), QStringLiteral("beta"));
    frame->setPlotView(std::move(view));
    return frame;
}

void CAlphaBetaPlotWindow::windowDidLoad()
{
    CAlphaBetaPlotDocument* document = plotDocument();
    if (!document)
        return;
    PlotViewProvider::setDocumentOfWindow(window(), document);
    if (document->undoManager())
        mPlotView->setUndoManager(document->undoManager());
    document->setPlotView(mPlotView);
    document->plotData();
}

}  // namespace quorvel
