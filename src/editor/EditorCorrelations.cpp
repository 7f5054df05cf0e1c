// Characterisation controls of the fluid model editor's tables: selecting the heavy
// components, and the fluid's equation of state (undoable).

#include "editor/FluidTableControls.h"

#include "characterisation/Correlations.h"
#include "editor/EditorChanges.h"

#include <QComboBox>
#include <QPushButton>

namespace quorvel {

namespace {

// Species identifiers of the lightest heavy component and of the two light isomers.
constexpr int kLastLightCarbonNumber = 6;
constexpr int kIsoButane = 1004;
constexpr int kIsoPentane = 1005;

bool isHeavy(int nc)
{
    return nc > kLastLightCarbonNumber && nc != kIsoButane && nc != kIsoPentane;
}

QString eosName(EquationOfState eos)
{
    return eos == EquationOfState::srk ? QStringLiteral("SRK") : QStringLiteral("PR");
}

}  // namespace

void FluidTableEditor::connectCharacterisationControls()
{
    const Controls& c = *mControls;
    connect(c.selectC7plus, &QPushButton::clicked, this, [this] { onSelectC7plus(); });
    connect(c.equationOfState, &QComboBox::activated, this, [this] { onChangeEquationOfState(); });
}

void FluidTableEditor::onSelectC7plus()
{
    if (!hasSelectedFluid())
        return;
    const Array components = selectedFluid().arrayValue(fluidkey::components);
    QItemSelection heavy;
    QAbstractItemModel* model = mComponentsView->model();
    for (int i = 0; i < components.size(); ++i)
        if (isHeavy(components.at(i).toDictionary().intValue(componentkey::nc)))
            heavy.select(model->index(i, 0), model->index(i, model->columnCount() - 1));
    mComponentsView->selectionModel()->select(heavy, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FluidTableEditor::onChangeEquationOfState()
{
    if (!hasSelectedFluid())
        return;
    FluidRecord fluid = selectedFluid();
    // The menu lists the equations of state in their numbering.
    const auto chosen = static_cast<EquationOfState>(mControls->equationOfState->currentIndex());
    const EquationOfState current = getEOSCode(fluid.value(fluidkey::eos));
    fluid.setValue(fluidkey::eos, eosName(chosen));
    if (current == chosen)
        return;
    mChanges.registerUndo([this, current, fluid] { restoreEquationOfStateTo(current, fluid); });
    mHooks.compositionChanged();
}

void FluidTableEditor::restoreEquationOfStateTo(EquationOfState eos, FluidRecord fluid)
{
    const EquationOfState current = getEOSCode(fluid.value(fluidkey::eos));
    if (eos == current)
        return;
    fluid.setValue(fluidkey::eos, eosName(eos));
    mChanges.registerUndo([this, current, fluid] { restoreEquationOfStateTo(current, fluid); });
    tableViewSelectionDidChange(mFluidsView);
}

}  // namespace quorvel
