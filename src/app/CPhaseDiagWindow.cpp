#include "app/CPhaseDiagWindow.h"

namespace quorvel {

CPhaseDiagWindow::CPhaseDiagWindow() : PlotDocumentWindow(QStringLiteral("PhaseDiagWindow"), Buttons::Installed) {}

}  // namespace quorvel
