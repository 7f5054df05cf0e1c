#pragma once

#include "platform/Value.h"

#include <QByteArray>
#include <QString>

namespace quorvel {

// The general pasteboard (the system clipboard) with typed data.
class Pasteboard
{
public:
    // Keyed archive of an array of fluid records.
    static inline const QString fluidsDataType = QStringLiteral("QuorvelFluidsData");

    static void clear();
    static void setData(const QString& type, const QByteArray& data);
    static bool hasType(const QString& type);
    static QByteArray data(const QString& type);  // empty when the type is absent

    // The pasteboard cleared and given the keyed archive of the value; false with a message when it cannot be archived.
    static bool setArchivedValue(const QString& type, const Value& value, QString* error = nullptr);
    // The value archived under the type; null when absent or unreadable (with a message).
    static Value archivedValue(const QString& type, QString* error = nullptr);
};

}  // namespace quorvel
