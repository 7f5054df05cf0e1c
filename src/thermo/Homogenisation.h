#pragma once
// How a fluid inclusion becomes one phase when heated to its homogenisation temperature.

namespace quorvel {

enum class Homogenisation : char {
    toVapour = 0,  // at its dew point: the dew-point branch
    toLiquid = 1,  // at its bubble point: the bubble-point branch
};

[[nodiscard]] constexpr int code_number(Homogenisation homogenisation) { return static_cast<int>(homogenisation); }
// From a flag that is true to liquid, as phase-diagram archives store the kind.
[[nodiscard]] constexpr Homogenisation homogenisationFromFlag(bool toLiquid)
{
    return toLiquid ? Homogenisation::toLiquid : Homogenisation::toVapour;
}

}  // namespace quorvel
