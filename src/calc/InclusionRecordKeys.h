#pragma once
// The keys of the inclusion records of inclusion-data documents and of their bubble-volume
// readings. The isochores read an inclusion's name and homogenisation temperature.

#include <QString>

namespace quorvel {

// The keys of an inclusion record, as documents store them; an alpha-beta curve keeps the
// measurements of its inclusion under the same keys.
namespace inclusionkey {
inline const QString name = QStringLiteral("name");
inline const QString Th = QStringLiteral("Th");
inline const QString Fv = QStringLiteral("Fv");
inline const QString Tv = QStringLiteral("Tv");
inline const QString homog = QStringLiteral("homog");
inline const QString CO2 = QStringLiteral("CO2");
inline const QString N2 = QStringLiteral("N2");
inline const QString H2S = QStringLiteral("H2S");
inline const QString type0 = QStringLiteral("type0");
inline const QString type1 = QStringLiteral("type1");
inline const QString comment = QStringLiteral("comment");
inline const QString volumes = QStringLiteral("volumes");
}  // namespace inclusionkey

// The texts stored under "homog".
namespace homogvalue {
inline const QString liquid = QStringLiteral("liquid");
inline const QString gas = QStringLiteral("gas");
}  // namespace homogvalue

// The keys of a bubble-volume reading.
namespace volumekey {
inline const QString Tvol = QStringLiteral("Tvol");
inline const QString Fvol = QStringLiteral("Fvol");
inline const QString code = QStringLiteral("code");
}  // namespace volumekey

}  // namespace quorvel
