#pragma once
// Text written into Igor text files and log blocks.

#include <QByteArray>
#include <QString>

namespace quorvel {

// A name as UTF-8 for an Igor string or comment: the characters that would end the quoted
// text or start a new Igor line are written as Igor's backslash escapes.
QByteArray escapeIgorString(const QString& text);

}  // namespace quorvel
