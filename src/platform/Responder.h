#pragma once
// Menu commands in the platform's manner: every shared menu item names an action (one of
// ActionNames.h). The item is validated and sent to the first responder that answers the
// action, looked for in this order: the focus widget and the widgets around it, its
// window's controller, that controller's document, and the document controller. An item
// nobody answers is disabled.

#include "platform/ActionTable.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace quorvel {

// Answers the actions of its table: each class of a responder adds its rows in its
// constructor. A subclass overrides the three functions only to answer otherwise (fewer
// actions, or its own rule of validation for every item).
class Responder
{
public:
    Responder() = default;
    // The table's rows act on the responder they were added by.
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;
    virtual ~Responder() = default;
    // Every action this responder performs, each named once.
    virtual QStringList answeredActions() const { return mActions.actions(); }
    // Whether this responder performs the action.
    bool respondsToAction(const QString& action) const { return answeredActions().contains(action); }
    // Enables (true) or disables the item; may set its title or check mark.
    virtual bool validateAction(const QString& action, QAction* item) { return mActions.validate(action, item); }
    virtual void performAction(const QString& action, QObject* sender) { mActions.perform(action, sender); }
    // The responder asked after this one (a window controller's document).
    virtual Responder* nextResponder() const { return nullptr; }

protected:
    void answerActions(std::initializer_list<ActionRow> rows) { mActions.add(rows); }

private:
    ActionTable mActions;
};

// The action name a menu item carries.
QString actionNameOf(const QAction* item);
void setActionName(QAction* item, const QString& action);

// The responders of a window, the one with the focus or the active one when none is given.
QList<Responder*> responderChain(QWidget* focus = nullptr);
// The first responder of the chain that answers the action, none when nobody does.
Responder* targetForAction(const QString& action, QWidget* focus = nullptr);

// Validates the item against the chain (disabled when nobody answers); answers its state.
bool validateMenuItem(QAction* item, QWidget* focus = nullptr);
// Validates and, when enabled, sends the action to its target; answers whether it was sent.
bool sendAction(QAction* item, QWidget* focus = nullptr);

// The end of every chain: the document controller (or none).
void setLastResponder(Responder* responder);
Responder* lastResponder();
// The responder of a window: its window controller (none forgets it).
void setWindowResponder(QWidget* window, Responder* responder);
Responder* windowResponder(const QWidget* window);

// One item of a shared menu: a title, the action it sends, a shortcut (may be empty).
struct MenuItemDefinition
{
    QString title;
    QString action;  // empty: a separator
    QString shortcut;
};
struct MenuDefinition
{
    QString title;
    QList<MenuItemDefinition> items;
};

// Fills a menu bar with the shared menus: each menu validates its items when it opens,
// and each item (by menu or shortcut) is validated again before its action is sent.
void buildMenuBar(QMenuBar* bar, const QList<MenuDefinition>& menus);

}  // namespace quorvel
