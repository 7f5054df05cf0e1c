// Gamma model fluids in the fluid model editor: a gamma distribution of boiling
// temperature cut into carbon-number components, single ones up to C11 and groups of
// delta carbon numbers above.

#include "editor/FluidModelController.h"

#include "calc/GammaModelInterface.h"
#include "characterisation/Correlations.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QLineEdit>

namespace quorvel {

namespace {

constexpr double kDefaultShape = 3;
constexpr double kDefaultScale = 100;  // K
constexpr int kDefaultDelta = 5;
constexpr int kLastSingleEntry = 10;   // entries 1 .. 10 are single carbon numbers

ComponentRecord gammaComponent(const QString& name, double mole)
{
    ComponentRecord component;
    setComponentName(name, component, kCorrelationJianzhong0);
    component.setValue(componentkey::mole, mole);
    return component;
}

}  // namespace

void FluidModelController::generateGammaFluid()
{
    setModelStepperRanges(kFluidTypeGamma);
    setDoubleValue2(*mAlphaEditField, kDefaultShape);
    setDoubleValue2(*mBetaEditField, kDefaultScale);
    setDoubleValue0(*mDeltaEditField, kDefaultDelta);
    mSpinAlpha->setValue(kDefaultShape);
    mSpinBeta->setValue(kDefaultScale);
    mSpinDelta->setValue(kDefaultDelta);
    updateModelDistribution(this);
}

void FluidModelController::updateGammaDistribution()
{
    const double shape = Value(mAlphaEditField->text()).toDouble();
    const double scale = Value(mBetaEditField->text()).toDouble();
    const int delta = Value(mDeltaEditField->text()).toInt();
    const QList<std::pair<QString, double>> gases{{fluidkey::CO2, Value(mCO2EditField->text()).toDouble() * 0.01},
                                                  {fluidkey::N2, Value(mN2EditField->text()).toDouble() * 0.01},
                                                  {fluidkey::H2S, Value(mH2SEditField->text()).toDouble() * 0.01}};
    if (!hasSelectedFluid())
        return;
    FluidRecord fluid = selectedFluid();
    fluid.setValue(fluidkey::alpha, shape);
    fluid.setValue(fluidkey::beta, scale);
    fluid.setValue(fluidkey::delta, delta);
    for (const auto& [gas, fraction] : gases)
        fluid.setValue(gas, fraction);

    if (!mGammaInterface)
        mGammaInterface = std::make_unique<GammaModelInterface>();
    GammaModelInterface& gamma = *mGammaInterface;
    gamma.calculateFrom(shape, scale, delta, gases[0].second, gases[1].second, gases[2].second);

    Array components = fluid.arrayValue(fluidkey::components);
    components.clear();
    for (const auto& [gas, fraction] : gases)
        if (fraction > 0)
            components.append(gammaComponent(gas, fraction * 100));
    for (int i = 1; i <= kLastSingleEntry && i < gamma.count; ++i)
        components.append(gammaComponent(QString::asprintf("C%d", gamma.carbonNumber[i]), gamma.molePercent[i]));
    // A group is named by the middle of the carbon numbers it spans.
    for (int i = kLastSingleEntry + 1; i < gamma.count; ++i)
        components.append(gammaComponent(QString::asprintf("C%d", (gamma.carbonNumber[i - 1] + gamma.carbonNumber[i]) / 2),
                                         gamma.molePercent[i]));
    reloadComponents();
    tableViewSelectionDidChange(mComponentsView);
}

}  // namespace quorvel
