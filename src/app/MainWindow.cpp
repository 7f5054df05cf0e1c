#include "app/MainWindow.h"

#include <QApplication>
#include <QMenuBar>

namespace quorvel {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    QMenu* fileMenu = menuBar()->addMenu(tr("&File"));
    QAction* quit = fileMenu->addAction(tr("&Quit"), qApp, &QApplication::quit);
    quit->setShortcut(QKeySequence::Quit);
    resize(640, 120);
}

} // namespace quorvel
