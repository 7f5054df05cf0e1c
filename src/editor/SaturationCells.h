#pragma once
// The bubble-point and dew-point radio cells of the editor's saturation points, each tagged
// with the number a record stores for its kind ("satPhase", "hexp").

#include "thermo/VLE.h"

class QAbstractButton;
class QButtonGroup;

namespace quorvel {

void addSaturationCell(QButtonGroup& group, QAbstractButton* cell, SaturationKind kind);
// The kind of the checked cell: a bubble point unless the dew-point cell is checked.
[[nodiscard]] SaturationKind checkedSaturationKind(const QButtonGroup& group);
void checkSaturationCell(const QButtonGroup& group, SaturationKind kind);

}  // namespace quorvel
