#pragma once
// The shape of a plot marker, which plot objects, point formats and alpha-beta records
// store by its number under "selector".

#include <QtGlobal>

namespace quorvel {

enum class MarkerCode : qint32 {
    Unset = 0,  // a new object's code, drawn as an open circle
    FilledCircle = 1,
    Circle = 2,
    FilledSquare = 3,
    Square = 4,
    Plus = 5,
    Cross = 6,
    FilledTriangleUp = 7,
    FilledTriangleDown = 8,
    TriangleUp = 9,
    TriangleDown = 10,
    FilledDiamond = 11,
    Diamond = 12,
};

[[nodiscard]] constexpr qint32 code_number(MarkerCode code) { return static_cast<qint32>(code); }
// A stored number of no shape keeps its value, equals no named code and draws an open circle.
[[nodiscard]] constexpr MarkerCode markerCodeFromNumber(qint32 number) { return static_cast<MarkerCode>(number); }

// Whether the marker's outline is filled with its colour rather than stroked.
[[nodiscard]] constexpr bool isFilledMarker(MarkerCode code)
{
    switch (code) {
    case MarkerCode::FilledCircle:
    case MarkerCode::FilledSquare:
    case MarkerCode::FilledTriangleUp:
    case MarkerCode::FilledTriangleDown:
    case MarkerCode::FilledDiamond:
        return true;
    default:
        return false;
    }
}

} // namespace quorvel
