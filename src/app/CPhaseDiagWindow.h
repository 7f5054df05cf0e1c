#pragma once
// The window of a phase-diagram document: a P-T plot view in a plot frame with its tool
// buttons, handed to the document, which draws its diagrams into it.

#include "platform/WindowController.h"

namespace quorvel {

class CPhaseDiagDocument;
class CPhaseDiagView;

class CPhaseDiagWindow : public WindowController
{
    Q_OBJECT

public:
    CPhaseDiagWindow();
    ~CPhaseDiagWindow() override;

    CPhaseDiagView* plotView() const { return mPlotView; }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    CPhaseDiagDocument* phaseDiagDocument() const;

    CPhaseDiagView* mPlotView = nullptr;  // owned by the window
};

}  // namespace quorvel
