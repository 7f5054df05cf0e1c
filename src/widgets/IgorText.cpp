#include "widgets/IgorText.h"

namespace quorvel {

QByteArray escapeIgorString(const QString& text)
{
    QByteArray escaped;
    for (const char c : text.toUtf8()) {
        switch (c) {
        case '"': escaped += "\\\""; break;
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        case '\n': escaped += "\\n"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

}  // namespace quorvel
