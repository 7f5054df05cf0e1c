#pragma once

// Keys the table and outline views of the application handle themselves, mapped from
// Qt's key events.

#include <QKeyEvent>

namespace quorvel {

enum class TableKey {
    Other,
    NextRow,      // F9
    PreviousRow,  // F8
    FirstRow,     // F11
    LastRow,      // F10
    Down,
    Up,
    Delete,       // forward delete or backspace
    KeypadEnter,
};

inline TableKey tableKey(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_F9: return TableKey::NextRow;
    case Qt::Key_F8: return TableKey::PreviousRow;
    case Qt::Key_F11: return TableKey::FirstRow;
    case Qt::Key_F10: return TableKey::LastRow;
    case Qt::Key_Down: return TableKey::Down;
    case Qt::Key_Up: return TableKey::Up;
    case Qt::Key_Delete:
    case Qt::Key_Backspace: return TableKey::Delete;
    case Qt::Key_Enter: return TableKey::KeypadEnter;  // Return is Qt::Key_Return
    default: return TableKey::Other;
    }
}

inline bool hasShiftOrControl(const QKeyEvent& event)
{
    return event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
}

} // namespace quorvel
