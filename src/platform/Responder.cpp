#include "platform/Responder.h"

#include "platform/ActionNames.h"
#include "platform/DocumentController.h"

#include <QAction>
#include <QFileInfo>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

namespace quorvel {

namespace {

constexpr const char* kActionProperty = "quorvelAction";
constexpr const char* kWindowResponderProperty = "quorvelWindowResponder";

Responder* gLastResponder = nullptr;

// The widget whose chain answers: the given one, else the focus widget, else the active window.
QWidget* chainStart(QWidget* focus)
{
    if (focus)
        return focus;
    if (QWidget* widget = QApplication::focusWidget())
        return widget;
    return QApplication::activeWindow();
}

// The responder and the ones after it, each once; the walk is bounded by the chain's length.
void appendWithNext(QList<Responder*>& chain, Responder* responder)
{
    while (responder && !chain.contains(responder)) {
        chain.append(responder);
        responder = responder->nextResponder();
    }
}

// The recent documents, listed afresh each time the submenu opens; each item carries its path.
void addRecentDocumentsMenu(QMenu* parent, const QString& title)
{
    QMenu* recent = parent->addMenu(title);
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent] {
        recent->clear();
        auto* controller = DocumentController::sharedDocumentController();
        const QStringList paths = controller ? controller->recentDocumentPaths() : QStringList();
        for (const QString& path : paths) {
            QAction* item = recent->addAction(QFileInfo(path).fileName());
            item->setData(path);
            item->setToolTip(path);
            setActionName(item, actionname::openRecentDocument);
            QObject::connect(item, &QAction::triggered, item, [item] { sendAction(item); });
        }
        recent->addSeparator();
        QAction* clear = recent->addAction(QObject::tr("Clear Menu"));
        setActionName(clear, actionname::clearRecentDocuments);
        validateMenuItem(clear);
        QObject::connect(clear, &QAction::triggered, clear, [clear] { sendAction(clear); });
    });
}

// Where a menu bar's chain starts: the focus widget when it is in the bar's window, else that window.
QWidget* chainStartInWindowOf(const QMenuBar* bar)
{
    QWidget* window = bar->window();
    QWidget* focus = QApplication::focusWidget();
    return focus && window->isAncestorOf(focus) ? focus : window;
}

}  // namespace

QString actionNameOf(const QAction* item)
{
    return item ? item->property(kActionProperty).toString() : QString();
}

void setActionName(QAction* item, const QString& action)
{
    item->setProperty(kActionProperty, action);
}

void setLastResponder(Responder* responder)
{
    gLastResponder = responder;
}

Responder* lastResponder()
{
    return gLastResponder;
}

void setWindowResponder(QWidget* window, Responder* responder)
{
    window->setProperty(kWindowResponderProperty, QVariant::fromValue(reinterpret_cast<quintptr>(responder)));
}

Responder* windowResponder(const QWidget* window)
{
    if (!window)
        return nullptr;
    return reinterpret_cast<Responder*>(window->property(kWindowResponderProperty).value<quintptr>());
}

QList<Responder*> responderChain(QWidget* focus)
{
    QList<Responder*> chain;
    QWidget* start = chainStart(focus);
    for (QWidget* widget = start; widget; widget = widget->parentWidget()) {
        appendWithNext(chain, dynamic_cast<Responder*>(widget));
        appendWithNext(chain, windowResponder(widget));  // the window's controller, then its document
    }
    appendWithNext(chain, gLastResponder);
    return chain;
}

Responder* targetForAction(const QString& action, QWidget* focus)
{
    for (Responder* responder : responderChain(focus))
        if (responder->respondsToAction(action))
            return responder;
    return nullptr;
}

bool validateMenuItem(QAction* item, QWidget* focus)
{
    Responder* target = targetForAction(actionNameOf(item), focus);
    const bool enabled = target && target->validateAction(actionNameOf(item), item);
    item->setEnabled(enabled);
    return enabled;
}

bool sendAction(QAction* item, QWidget* focus)
{
    const QString action = actionNameOf(item);
    Responder* target = targetForAction(action, focus);
    if (!target || !target->validateAction(action, item))
        return false;
    target->performAction(action, item);
    return true;
}

void buildMenuBar(QMenuBar* bar, const QList<MenuDefinition>& menus)
{
    for (const MenuDefinition& definition : menus) {
        QMenu* menu = bar->addMenu(definition.title);
        for (const MenuItemDefinition& entry : definition.items) {
            if (entry.action.isEmpty()) {
                menu->addSeparator();
                continue;
            }
            if (entry.action == actionname::openRecentDocument) {
                addRecentDocumentsMenu(menu, entry.title);
                continue;
            }
            QAction* item = menu->addAction(entry.title);
            setActionName(item, entry.action);
            if (!entry.shortcut.isEmpty())
                item->setShortcut(QKeySequence(entry.shortcut));
            QObject::connect(item, &QAction::triggered, item,
                             [item, bar] { sendAction(item, chainStartInWindowOf(bar)); });
        }
        // Items open for their shortcuts between menu openings: each is validated when sent.
        // A menu answers for the window whose bar holds it, whichever window is active.
        QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, bar] {
            for (QAction* item : menu->actions())
                if (!item->isSeparator())
                    validateMenuItem(item, chainStartInWindowOf(bar));
        });
        QObject::connect(menu, &QMenu::aboutToHide, menu, [menu] {
            for (QAction* item : menu->actions())
                item->setEnabled(true);
        });
    }
}

}  // namespace quorvel
