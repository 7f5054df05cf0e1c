#pragma once
// The records of inclusion data: one InclusionRecord per fluid inclusion with its
// microthermometric measurements and its list of bubble-volume readings (VolumePoint).

#include "calc/InclusionRecordKeys.h"
#include "platform/Value.h"
#include "thermo/Homogenisation.h"

#include <QString>
#include <optional>

namespace quorvel {

// What a volume point is, its number stored under "code".
enum class VolumeCode : int {
    User = 0,            // a reading added by the user
    Reading = 1,         // the inclusion's own reading (Tv, Fv)
    Homogenisation = 2,  // the homogenisation point (Th, 0)
};

[[nodiscard]] constexpr int code_number(VolumeCode code) { return static_cast<int>(code); }
// The code a point stores; a stored number of no code keeps its value and equals no named code.
[[nodiscard]] inline VolumeCode volumeCodeOf(const Dictionary& point)
{
    return static_cast<VolumeCode>(point.intValue(volumekey::code));
}

// A new inclusion with the editor's defaults and its code-1 and code-2 points.
Dictionary newInclusionRecord();
// A new point (Tvol, Fvol, code).
Dictionary newVolumePoint(double tvol, double fvol, VolumeCode code);

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
