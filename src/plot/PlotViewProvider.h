#pragma once
// The plotView service of documents: a document whose window shows a plot answers its
// plot view. The alpha-beta plot and phase-diagram documents implement it, and their
// window controllers tell which window shows which document, so that the axis-range
// panel can ask the main window's document for the view it edits.

class QWidget;

namespace quorvel {

class CPlotView;

class PlotViewProvider {
public:
    virtual ~PlotViewProvider() = default;

    // The document's plot view; none until its window has made the view. No side effect.
    virtual CPlotView* plotView() const = 0;

    // Records the document a window shows (none forgets it); the record goes with the window.
    static void setDocumentOfWindow(QWidget* window, PlotViewProvider* document);
    // The plot document a window shows; none for a window of another kind of document,
    // of no document, or none.
    static PlotViewProvider* documentOfWindow(const QWidget* window);
};

} // namespace quorvel
