#include "platform/ActionTable.h"

#include <QtGlobal>

#include <algorithm>

namespace quorvel {

void ActionTable::add(std::initializer_list<ActionRow> rows)
{
    for (const ActionRow& row : rows) {
        Q_ASSERT(!find(row.action));
        mRows.push_back(row);
    }
}

QStringList ActionTable::actions() const
{
    QStringList names;
    for (const ActionRow& row : mRows)
        names.append(row.action);
    return names;
}

bool ActionTable::validate(const QString& action, QAction* item) const
{
    const ActionRow* row = find(action);
    if (!row)
        return false;
    return !row->validate || row->validate(item);
}

void ActionTable::perform(const QString& action, QObject* sender) const
{
    if (const ActionRow* row = find(action); row && row->perform)
        row->perform(sender);
}

const ActionRow* ActionTable::find(const QString& action) const
{
    const auto row = std::find_if(mRows.begin(), mRows.end(), [&](const ActionRow& r) { return r.action == action; });
    return row == mRows.end() ? nullptr : &*row;
}

}  // namespace quorvel
