#pragma once
// The archive keys of the plot formats (plot, text, curve and point), as documents store
// them.

#include <QString>

namespace quorvel::formatkey {

inline const QString minX = QStringLiteral("minX");
inline const QString maxX = QStringLiteral("maxX");
inline const QString minY = QStringLiteral("minY");
inline const QString maxY = QStringLiteral("maxY");
inline const QString currentMinX = QStringLiteral("currentMinX");
inline const QString currentMaxX = QStringLiteral("currentMaxX");
inline const QString currentMinY = QStringLiteral("currentMinY");
inline const QString currentMaxY = QStringLiteral("currentMaxY");
inline const QString legendX = QStringLiteral("legendX");
inline const QString legendY = QStringLiteral("legendY");
inline const QString legend = QStringLiteral("legend");
inline const QString labels = QStringLiteral("labels");
inline const QString ticks = QStringLiteral("ticks");

inline const QString size = QStringLiteral("size");
inline const QString color = QStringLiteral("color");
inline const QString selector = QStringLiteral("selector");
inline const QString fontName = QStringLiteral("fontName");
inline const QString style = QStringLiteral("style");

}  // namespace quorvel::formatkey
