#include "platform/UserDefaults.h"

#include "platform/KeyedUnarchiver.h"

#include <QSettings>

namespace quorvel {

bool UserDefaults::boolForKey(const QString& key)
{
    const QVariant value = QSettings().value(key);
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double: return value.toDouble() != 0.0;
    default: break;
    }
    const QString text = value.toString();
    // Settings files keep booleans as "true" / "false".
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    return Value(text).toBool();
}

std::optional<Color> UserDefaults::colorForKey(const QString& key)
{
    const QVariant stored = QSettings().value(key);
    if (stored.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    const Value value = KeyedUnarchiver::unarchivedObject(stored.toByteArray());
    return value.isColor() ? std::optional<Color>(value.toColor()) : std::nullopt;
}

}  // namespace quorvel
