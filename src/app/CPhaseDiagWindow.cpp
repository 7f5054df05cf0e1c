#include "app/CPhaseDiagWindow.h"

#include "app/CPhaseDiagDocument.h"
#include "app/CPhaseDiagView.h"
#include "plot/CDrawPlotView.h"
#include "plot/PlotViewProvider.h"

namespace quorvel {

namespace {
const QRect kPlotFrame(0, 0, 640, 480);
}

CPhaseDiagWindow::CPhaseDiagWindow() : WindowController(QStringLiteral("PhaseDiagWindow")) {}

CPhaseDiagWindow::~CPhaseDiagWindow()
{
    if (CPhaseDiagDocument* document = phaseDiagDocument())
        document->setPlotView(nullptr);
    destroyWindow();
}

CPhaseDiagDocument* CPhaseDiagWindow::phaseDiagDocument() const
{
    return dynamic_cast<CPhaseDiagDocument*>(document());
}

QWidget* CPhaseDiagWindow::makeWindow()
{
    auto* frame = new CDrawPlotView(kPlotFrame);
    auto view = std::make_unique<CPhaseDiagView>(kPlotFrame);
    mPlotView = view.get();
    frame->setPlotView(std::move(view));
    frame->installButtons();
    return frame;
}

void CPhaseDiagWindow::windowDidLoad()
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    if (!document)
        return;
    PlotViewProvider::setDocumentOfWindow(window(), document);
    if (document->undoManager())
        mPlotView->setUndoManager(document->undoManager());
    document->setPlotView(mPlotView);
    document->plotData();
}

}  // namespace quorvel
