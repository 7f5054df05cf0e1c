#include "app/CPhaseDiagWindow.h"

namespace quorvel {

CPhaseDiagWindow::CPhaseDiagWindow() : PlotDocumentWindow(QStringLiteral("PhaseDiagWindow")) {}

}  // namespace quorvel
