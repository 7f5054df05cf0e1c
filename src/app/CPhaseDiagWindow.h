#pragma once
// The window of a phase-diagram document: a P-T plot view in a plot frame with its tool
// buttons, handed to the document, which draws its diagrams into it.

#include "app/CPhaseDiagDocument.h"
#include "app/CPhaseDiagView.h"
#include "app/PlotDocumentWindow.h"

namespace quorvel {

class CPhaseDiagWindow : public PlotDocumentWindow<CPhaseDiagDocument, CPhaseDiagView>
{
    Q_OBJECT

public:
    CPhaseDiagWindow();

protected:
    QList<MenuDefinition> documentMenus() const override { return phaseDiagramMenus(); }
};

}  // namespace quorvel
