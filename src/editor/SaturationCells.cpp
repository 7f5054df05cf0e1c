#include "editor/SaturationCells.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace quorvel {

void addSaturationCell(QButtonGroup& group, QAbstractButton* cell, SaturationKind kind)
{
    group.addButton(cell, code_number(kind));
}

SaturationKind checkedSaturationKind(const QButtonGroup& group)
{
    return saturationKindFromNumber(group.checkedId());
}

void checkSaturationCell(const QButtonGroup& group, SaturationKind kind)
{
    if (QAbstractButton* cell = group.button(code_number(kind)))
        cell->setChecked(true);
}

}  // namespace quorvel
