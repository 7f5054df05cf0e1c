#pragma once
// The application as main starts it for the workflow tests: the fluid model editor and the
// inspector panels installed, the document controller, the toolbar window shown, launching
// done; and its end, every document closed with its changes dropped.

#include "app/CCQuorvelDocumentController.h"
#include "app/ToolBarWindow.h"
#include "editor/FluidModelController.h"
#include "panels/InstalledPanels.h"
#include "platform/Document.h"

#include <functional>
#include <memory>

namespace quorvel::test {

struct RunningApplication
{
    std::unique_ptr<CCQuorvelDocumentController> controller;
    std::unique_ptr<ToolBarWindow> toolBar;

    void launch()
    {
        installFluidModelEditor();
        installInspectorPanels();
        controller = std::make_unique<CCQuorvelDocumentController>();
        toolBar = std::make_unique<ToolBarWindow>(*controller);
        toolBar->show();
        controller->applicationDidFinishLaunching();
    }

    // `settle` lets the closing windows go, as the test's event loop does it.
    void quit(const std::function<void()>& settle)
    {
        for (Document* document : controller->documents()) {
            document->updateChangeCount(Document::ChangeCleared);
            document->close();
        }
        settle();
        toolBar.reset();
        controller.reset();
        settle();
    }
};

} // namespace quorvel::test
