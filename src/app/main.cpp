#include "app/CCQuorvelDocumentController.h"
#include "app/ToolBarWindow.h"
#include "app/Version.h"
#include "editor/FluidModelController.h"
#include "panels/InstalledPanels.h"
#include "platform/Document.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setOrganizationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(quorvel::ApplicationVersion);

    quorvel::installFluidModelEditor();
    quorvel::installInspectorPanels();
    quorvel::CCQuorvelDocumentController controller;
    quorvel::ToolBarWindow toolBar(controller);
    toolBar.show();
    controller.applicationDidFinishLaunching();

    // Files named on the command line open; without any, the splash document shows.
    bool opened = false;
    for (const QString& path : QApplication::arguments().mid(1))
        opened = controller.openDocumentWithContentsOfFile(path, true) || opened;
    if (!opened)
        controller.openUntitledDocumentAndDisplay(true);
    return app.exec();
}
