#pragma once
// The window of a plot document: one plot view in a plot frame with its tool buttons,
// handed to the document, which draws its records into it, under the application's menus
// like every document window. The view leaves the document with the window.

#include "app/AppMenus.h"
#include "platform/WindowController.h"
#include "plot/CDrawPlotView.h"
#include "plot/PlotViewProvider.h"

#include <QMainWindow>
#include <memory>

namespace quorvel {

// PlotDocument: a Document and PlotViewProvider with setPlotView and plotData.
template <class PlotDocument, class PlotView>
class PlotDocumentWindow : public WindowController
{
public:
    ~PlotDocumentWindow() override
    {
        if (PlotDocument* shown = plotDocument())
            shown->setPlotView(nullptr);
        destroyWindow();
    }

    PlotView* plotView() const { return mPlotView; }

protected:
    explicit PlotDocumentWindow(const QString& frameAutosaveName) : WindowController(frameAutosaveName) {}

    QWidget* makeWindow() override
    {
        const QRect frameRect(0, 0, 640, 480);
        auto* frame = new CDrawPlotView(frameRect);
        auto view = std::make_unique<PlotView>(frameRect);
        mPlotView = view.get();
        frame->setPlotView(std::move(view));
        frame->installButtons();
        // File, Edit and Window reach the document from its own window (Save, Close, Undo...).
        auto* window = new QMainWindow;
        installApplicationMenus(window, documentMenus());
        window->setCentralWidget(frame);
        // The plot keeps its size below the menu bar; the user may shrink it afterwards.
        frame->setMinimumSize(frameRect.size());
        window->adjustSize();
        frame->setMinimumSize(0, 0);
        return window;
    }

    // The menus of the document shown, between Edit and Window.
    virtual QList<MenuDefinition> documentMenus() const = 0;

    void windowDidLoad() override
    {
        PlotDocument* shown = plotDocument();
        if (!shown)
            return;
        PlotViewProvider::setDocumentOfWindow(window(), shown);
        if (shown->undoManager())
            mPlotView->setUndoManager(shown->undoManager());
        shown->setPlotView(mPlotView);
        shown->plotData();
    }

private:
    PlotDocument* plotDocument() const { return dynamic_cast<PlotDocument*>(document()); }

    PlotView* mPlotView = nullptr;  // owned by the window
};

}  // namespace quorvel
