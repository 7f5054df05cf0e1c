#pragma once
// The records of inclusion data: one InclusionRecord per fluid inclusion with its
// microthermometric measurements and its list of bubble-volume readings (VolumePoint).

#include "calc/InclusionRecordKeys.h"
#include "platform/Value.h"
#include "thermo/Homogenisation.h"

#include <QString>
#include <optional>

namespace quorvel {

namespace VolumeCode {
inline constexpr int User = 0;           // a reading added by the user
inline constexpr int Reading = 1;        // the inclusion's own reading (Tv, Fv)
inline constexpr int Homogenisation = 2; // the homogenisation point (Th, 0)
}  // namespace VolumeCode

// A new inclusion with the editor's defaults and its code-1 and code-2 points.
Dictionary newInclusionRecord();
// A new point (Tvol, Fvol, code).
Dictionary newVolumePoint(double tvol, double fvol, int code);

// The ordering of a volumes list: ascending Tvol compared in single precision.
bool volumePointLess(const Value& a, const Value& b);
void sortVolumes(const Array& volumes);

// "homog" of an inclusion or alpha-beta curve record: "liquid" or "gas". Any other text
// reads as to vapour.
[[nodiscard]] Homogenisation homogenisationOf(const Dictionary& record);
[[nodiscard]] QString homogRecordText(Homogenisation homogenisation);
bool isPetroleumInclusion(const Dictionary& inclusion); // "type0" is "Oil"

// Checks a list read from a file: an array of dictionaries whose "volumes", when present,
// is an array of dictionaries; a missing "volumes" becomes an empty list. The reason
// when the list is refused.
std::optional<QString> checkInclusionList(const Value& list);

}  // namespace quorvel
