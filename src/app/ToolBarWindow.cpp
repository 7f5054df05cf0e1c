#include "app/ToolBarWindow.h"

#include "app/AppMenus.h"
#include "app/CCQuorvelDocumentController.h"
#include "platform/ActionNames.h"
#include "platform/Responder.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace quorvel {

ToolBarWindow::ToolBarWindow(CCQuorvelDocumentController& controller, QWidget* parent)
    : QMainWindow(parent), mController(controller)
{
    setWindowTitle(QStringLiteral("Quorvel"));
    installApplicationMenus(this);
    auto* bar = new QToolBar(tr("Commands"), this);
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const QList<std::pair<QString, QString>> commands{
        {tr("New Inclusions"), actionname::newInclusionDataDocument},
        {tr("New Fluid Model"), actionname::newFluidModelDocument},
        {tr("New Phase Diagram"), actionname::newPhaseDiagDocument},
        {tr("New Alpha-Beta Plot"), actionname::newAlphaBetaPlotDocument},
        {tr("Open..."), actionname::openDocument},
        {tr("Show Log"), actionname::showLogWindow},
        {tr("Axis Range"), actionname::showAxisRangePanel},
    };
    for (const auto& [title, action] : commands) {
        if (action == actionname::openDocument || action == actionname::showLogWindow)
            bar->addSeparator();
        QAction* item = bar->addAction(title);
        setActionName(item, action);
        connect(item, &QAction::triggered, this, [this, item] { sendAction(item, this); });
    }
    addToolBar(bar);
    setCentralWidget(new QWidget(this));
    resize(bar->sizeHint().width(), menuBar()->sizeHint().height() + bar->sizeHint().height());
    controller.setToolBarWindow(this);
}

bool ToolBarWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        mController.windowDidBecomeKey(this);
    return QMainWindow::event(event);
}

}  // namespace quorvel
