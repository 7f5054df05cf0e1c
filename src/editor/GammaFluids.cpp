// Gamma model fluids in the fluid model editor: a gamma distribution of boiling
// temperature cut into carbon-number components, single ones up to C11 and groups of
// delta carbon numbers above.

#include "editor/FluidTableEditor.h"
#include "editor/ModelBoxControls.h"

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
    setComponentName(name, component, CorrelationCode::jianzhong0);
    component.setValue(componentkey::mole, mole);
    return component;
}

}  // namespace

void ModelBox::generateGammaFluid()
{
    const Controls& c = *mControls;
    setModelStepperRanges(FluidType::gamma);
    setDoubleValue2(*c.alphaEditField, kDefaultShape);
    setDoubleValue2(*c.betaEditField, kDefaultScale);
    setDoubleValue0(*c.deltaEditField, kDefaultDelta);
    c.spinAlpha->setValue(kDefaultShape);
    c.spinBeta->setValue(kDefaultScale);
    c.spinDelta->setValue(kDefaultDelta);
    updateModelDistribution(this);
}

void ModelBox::updateGammaDistribution()
{
    const Controls& c = *mControls;
    const double shape = Value(c.alphaEditField->text()).toDouble();
    const double scale = Value(c.betaEditField->text()).toDouble();
    const int delta = Value(c.deltaEditField->text()).toInt();
    const QList<std::pair<QString, double>> gases{{fluidkey::CO2, Value(c.co2EditField->text()).toDouble() * 0.01},
                                                  {fluidkey::N2, Value(c.n2EditField->text()).toDouble() * 0.01},
                                                  {fluidkey::H2S, Value(c.h2sEditField->text()).toDouble() * 0.01}};
    if (!mTables.hasSelectedFluid())
        return;
    FluidRecord fluid = mTables.selectedFluid();
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
    for (int i = 1; i <= kLastSingleEntry && i < gamma.count(); ++i)
        components.append(gammaComponent(QString::asprintf("C%d", gamma.carbonNumber(i)), gamma.molePercent(i)));
    // A group is named by the middle of the carbon numbers it spans.
    for (int i = kLastSingleEntry + 1; i < gamma.count(); ++i)
        components.append(gammaComponent(QString::asprintf("C%d", (gamma.carbonNumber(i - 1) + gamma.carbonNumber(i)) / 2),
                                         gamma.molePercent(i)));
    showNewComponents();
}

}  // namespace quorvel
