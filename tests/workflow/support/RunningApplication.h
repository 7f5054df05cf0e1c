#pragma once
// The application as main starts it, for the tests that drive it through its windows: the
// fluid model editor and the inspector panels installed, the document controller and the
// shown toolbar window; stopped by closing every document unsaved.

#include "app/support/AppTestSupport.h"

#include "app/CCQuorvelDocumentController.h"
#include "app/ToolBarWindow.h"
#include "editor/FluidModelController.h"
#include "panels/InstalledPanels.h"
#include "platform/Document.h"

#include <memory>

namespace quorvel::test {

struct RunningApplication
{
    std::unique_ptr<CCQuorvelDocumentController> controller;
    std::unique_ptr<ToolBarWindow> toolBar;

    void start()
    {
        installFluidModelEditor();
        installInspectorPanels();
        controller = std::make_unique<CCQuorvelDocumentController>();
        toolBar = std::make_unique<ToolBarWindow>(*controller);
        toolBar->show();
        controller->applicationDidFinishLaunching();
    }

    void stop()
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

}  // namespace quorvel::test
