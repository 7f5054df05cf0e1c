#pragma once
// A responder's actions as one table: each row names an action (from ActionNames.h), says
// whether a menu item sending it is enabled now and performs it. Each class of a responder's
// hierarchy adds its own rows, in its constructor.

#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <vector>

class QAction;
class QObject;

namespace quorvel {

struct ActionRow
{
    QString action;
    // Whether the item is enabled; it may also set the item's title or check mark. None:
    // always enabled.
    std::function<bool(QAction* item)> validate;
    std::function<void(QObject* sender)> perform;
};

class ActionTable
{
public:
    // Each action is added once.
    void add(std::initializer_list<ActionRow> rows);
    [[nodiscard]] QStringList actions() const;
    // False for an action the table does not name.
    [[nodiscard]] bool validate(const QString& action, QAction* item) const;
    // Nothing for an action the table does not name.
    void perform(const QString& action, QObject* sender) const;

private:
    const ActionRow* find(const QString& action) const;

    std::vector<ActionRow> mRows;
};

}  // namespace quorvel
