#pragma once
// Keys of records that hold plot objects: they exist only in open documents and are never
// written.

#include <QString>
#include <QStringList>

namespace quorvel {

namespace runtimekey {
inline const QString graphCurve = QStringLiteral("graphCurve");
inline const QString graphPoint = QStringLiteral("graphPoint");
}  // namespace runtimekey

inline const QStringList kRunTimeKeys{runtimekey::graphCurve, runtimekey::graphPoint};

}  // namespace quorvel
