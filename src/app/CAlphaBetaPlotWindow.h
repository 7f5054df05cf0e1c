#pragma once
// The window of an alpha-beta plot document: a beta-over-alpha plot view in a plot frame
// with its tool buttons, handed to the document, which draws its curves, markers and
// correlation lines into it.

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CAlphaBetaPlotView.h"
#include "app/PlotDocumentWindow.h"

namespace quorvel {

class CAlphaBetaPlotWindow : public PlotDocumentWindow<CAlphaBetaPlotDocument, CAlphaBetaPlotView>
{
    Q_OBJECT

public:
    CAlphaBetaPlotWindow();

protected:
    QList<MenuDefinition> documentMenus() const override { return alphaBetaPlotMenus(); }
};

}  // namespace quorvel
