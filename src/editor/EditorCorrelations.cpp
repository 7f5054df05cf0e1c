// Characterisation controls of the fluid model editor: re-estimating the selected
// components by a correlation or correlation set (undoable), the molar weight of single
// carbon numbers by rule, selecting the heavy components, and the fluid's equation of state.

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
// Single carbon numbers that the molar-weight rules apply to.
constexpr int kFirstRuleCarbonNumber = 7;
constexpr int kLastRuleCarbonNumber = 99;

constexpr int kEosPengRobinson = 0;
constexpr int kEosSrk = 1;

bool isHeavy(int nc)
{
    return nc > kLastLightCarbonNumber && nc != kIsoButane && nc != kIsoPentane;
}

// The two rules of the molar-weight pop-up, by item: 14n + 2 and 14n - 4.
double ruleMolarWeight(int item, int n)
{
    return item == 0 ? 14.0 * n + 2 : 14.0 * n - 4;
}

// Replaces every key of the component by those of the values.
void replaceContents(ComponentRecord component, const ComponentRecord& values)
{
    component.clear();
    for (const QString& key : values.keys())
        component.setValue(key, values.value(key));
}

QString eosName(int code)
{
    return code == kEosSrk ? QStringLiteral("SRK") : QStringLiteral("PR");
}

}  // namespace

void FluidTableEditor::connectCharacterisationControls()
{
    const Controls& c = *mControls;
    connect(c.correlationChoice, &QComboBox::activated, this, [this] { onChangeCorrelation(); });
    connect(c.mwChoice, &QComboBox::activated, this, [this] { onChangeMwCorrelation(); });
    connect(c.selectC7plus, &QPushButton::clicked, this, [this] { onSelectC7plus(); });
    connect(c.equationOfState, &QComboBox::activated, this, [this] { onChangeEquationOfState(); });
}

void FluidTableEditor::onChangeCorrelation()
{
    if (!hasSelectedFluid())
        return;
    const Array components = selectedFluid().arrayValue(fluidkey::components);
    const int code = mControls->correlationChoice->currentData().toInt();
    bool changed = false;
    {
        const EditorChanges::Group step = mChanges.group();  // once closed, marks the document changed
        for (int row : selectedComponentRows()) {
            ComponentRecord component = components.at(row).toDictionary();
            if (component.intValue(componentkey::nc) < 0 || component.intValue(componentkey::corr) == code)
                continue;  // the gases keep their data; the same code again recomputes nothing
            // The undo puts back the values themselves: re-applying the previous code would lose
            // typed values and could not restore a correlation that records no code.
            const ComponentRecord before = component.copy();
            applyCorrelation(component, code);
            changed = true;
            mChanges.registerUndo([this, before, component] { restoreCorrelationTo(before, component); });
        }
    }
    if (changed) {
        reloadComponents();
        mHooks.compositionChanged();
        tableViewSelectionDidChange(mComponentsView);
    }
}

void FluidTableEditor::restoreCorrelationTo(const ComponentRecord& values, ComponentRecord component)
{
    if (component.isEqualTo(values))
        return;
    const ComponentRecord current = component.copy();
    replaceContents(component, values);
    reloadComponents();
    mHooks.compositionChanged();
    tableViewSelectionDidChange(mComponentsView);
    mChanges.registerUndo([this, current, component] { restoreCorrelationTo(current, component); });
}

void FluidTableEditor::onChangeMwCorrelation()
{
    if (!hasSelectedFluid())
        return;
    const Array components = selectedFluid().arrayValue(fluidkey::components);
    const int item = mControls->mwChoice->currentIndex();
    bool written = false;
    for (int row : selectedComponentRows()) {
        ComponentRecord component = components.at(row).toDictionary();
        const int nc = component.intValue(componentkey::nc);
        if (nc < kFirstRuleCarbonNumber || nc > kLastRuleCarbonNumber)
            continue;
        component.setValue(componentkey::mw, ruleMolarWeight(item, nc));
        written = true;
    }
    if (written) {
        reloadComponents();
        mChanges.markChanged();
    }
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
    const int index = mControls->equationOfState->currentIndex();
    const int current = getEOSCode(fluid.value(fluidkey::eos));
    fluid.setValue(fluidkey::eos, eosName(index));
    if (current == index)
        return;
    mChanges.registerUndo([this, current, fluid] { restoreEquationOfStateTo(current, fluid); });
    mHooks.compositionChanged();
}

void FluidTableEditor::restoreEquationOfStateTo(int code, FluidRecord fluid)
{
    const int current = getEOSCode(fluid.value(fluidkey::eos));
    if (code == current)
        return;
    if (code == kEosPengRobinson || code == kEosSrk)
        fluid.setValue(fluidkey::eos, eosName(code));
    mChanges.registerUndo([this, current, fluid] { restoreEquationOfStateTo(current, fluid); });
    tableViewSelectionDidChange(mFluidsView);
}

}  // namespace quorvel
