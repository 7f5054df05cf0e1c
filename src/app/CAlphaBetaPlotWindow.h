#pragma once
// A plain window showing an alpha-beta plot document's curves, markers and correlation
// lines in one beta-over-alpha plot view.

#include "platform/WindowController.h"

namespace quorvel {

class CAlphaBetaPlotDocument;
class CPlotView;

class CAlphaBetaPlotWindow : public WindowController
{
    Q_OBJECT

public:
    CAlphaBetaPlotWindow();
    ~CAlphaBetaPlotWindow() override;

    CPlotView* plotView() const { return mPlotView; }

protected:
    QWidget* makeWindow() override;
    void windowDidLoad() override;

private:
    CAlphaBetaPlotDocument* plotDocument() const;

    CPlotView* mPlotView = nullptr;  // owned by the window
};

}  // namespace quorvel
