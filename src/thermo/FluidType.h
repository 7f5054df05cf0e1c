#pragma once
// The model of a fluid, which fluid records store by its number under "fluidType".

namespace quorvel {

enum class FluidType : int {
    none = 0,
    alphaBeta = 1,      // the alpha-beta model's seventeen components
    componentList = 2,  // components the user defines
    gamma = 3,
    carbonNumbers = 4,  // the alpha-beta model split by carbon number
};

[[nodiscard]] constexpr int code_number(FluidType type) { return static_cast<int>(type); }
// A stored number of no model keeps its value and equals no named type.
[[nodiscard]] constexpr FluidType fluidTypeFromNumber(int number) { return static_cast<FluidType>(number); }

}  // namespace quorvel
