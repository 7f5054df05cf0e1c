// Alpha-beta model fluids in the fluid model editor: the 17 components of the model
// engine, the same distribution written out by carbon number up to C40+, and the complete
// record of a fitted alpha-beta fluid.

#include "editor/FluidTableEditor.h"
#include "editor/ModelBoxControls.h"

#include "app/AlphaBetaModelComponents.h"
#include "calc/CAlphaBetaModelInterface.h"
#include "characterisation/AlphaBetaDistribution.h"
#include "characterisation/Correlations.h"
#include "widgets/NumberFields.h"
#include "widgets/ValueStepper.h"

#include <QHash>
#include <QLineEdit>

#include <algorithm>
#include <array>
#include <numeric>

namespace quorvel {

namespace {

constexpr double kDefaultModelAlpha = 0.9;
constexpr double kDefaultModelBeta = 0.1;
constexpr int kCarbonNumberEntries = 100;  // entries asked of the expanded distribution
constexpr int kLastSingleCarbonNumber = 39;  // C1 .. C39, then C40+

struct AlphaBetaFields
{
    double alpha, beta, CO2, N2, H2S;  // gases as mole fractions
};

AlphaBetaFields readFields(const ModelBox::Controls& c)
{
    auto number = [](const QLineEdit* field) { return Value(field->text()).toDouble(); };
    return {number(c.alphaEditField), number(c.betaEditField), number(c.co2EditField) * 0.01,
            number(c.n2EditField) * 0.01, number(c.h2sEditField) * 0.01};
}

void storeModelKeys(FluidRecord fluid, const AlphaBetaFields& p)
{
    fluid.setValue(fluidkey::alpha, p.alpha);
    fluid.setValue(fluidkey::beta, p.beta);
    fluid.setValue(fluidkey::CO2, p.CO2);
    fluid.setValue(fluidkey::N2, p.N2);
    fluid.setValue(fluidkey::H2S, p.H2S);
}

ComponentRecord namedComponent(const QString& name, CorrelationCode code, double mole)
{
    ComponentRecord component;
    setComponentName(name, component, code);
    component.setValue(componentkey::mole, mole);
    return component;
}

// A new model fluid starts from the parameters in the fields when they lie strictly
// inside the model's range, otherwise from the defaults; the steppers follow the fields.
void startFromFieldsInRange(const ModelBox::Controls& c)
{
    const double alpha = Value(c.alphaEditField->text()).toDouble();
    const double beta = Value(c.betaEditField->text()).toDouble();
    if (!(alpha > 0 && alpha < 1 && beta > 0 && beta < 1)) {
        setDoubleValue4(*c.alphaEditField, kDefaultModelAlpha);
        setDoubleValue4(*c.betaEditField, kDefaultModelBeta);
    }
    c.spinAlpha->setValue(Value(c.alphaEditField->text()).toDouble());
    c.spinBeta->setValue(Value(c.betaEditField->text()).toDouble());
}

}  // namespace

void ModelBox::generateAlphaBetaFluid()
{
    if (!mTables.hasSelectedFluid())
        return;
    Array components = mTables.selectedFluid().arrayValue(fluidkey::components);
    components.clear();
    for (int i = 0; i < mAlphaBetaInterface->getNumberOfComponents(); ++i)
        components.append(namedComponent(QString::fromStdString(mAlphaBetaInterface->getComponentName(i)),
                                         CorrelationCode::jianzhong0, 0));
    setModelStepperRanges(FluidType::alphaBeta);
    startFromFieldsInRange(*mControls);
    updateModelDistribution(this);
}

void ModelBox::generateAlphaBetaFluidEx()
{
    if (!mTables.hasSelectedFluid())
        return;
    mTables.selectedFluid().arrayValue(fluidkey::components).clear();  // the update fills it
    setModelStepperRanges(FluidType::alphaBeta);
    startFromFieldsInRange(*mControls);
    updateModelDistribution(this);
}

void ModelBox::updateAlphaBetaDistribution()
{
    if (!mTables.hasSelectedFluid())
        return;
    const FluidRecord fluid = mTables.selectedFluid();
    const AlphaBetaFields p = readFields(*mControls);
    storeModelKeys(fluid, p);
    mAlphaBetaInterface->calculateComposition(p.alpha, p.beta, p.CO2, p.N2, p.H2S);
    // Each component takes the properties of the engine's component of its name, so that a
    // reordered list keeps its own values and names the engine lacks keep theirs.
    QHash<QString, int> engineIndex;
    for (int i = 0; i < mAlphaBetaInterface->getNumberOfComponents(); ++i)
        engineIndex.insert(QString::fromStdString(mAlphaBetaInterface->getComponentName(i)), i);
    for (const Value& element : fluid.arrayValue(fluidkey::components)) {
        const ComponentRecord component = element.toDictionary();
        const auto found = engineIndex.constFind(component.stringValue(componentkey::name));
        if (found != engineIndex.constEnd())
            writeAlphaBetaModelProperties(*mAlphaBetaInterface, *found, component);
    }
    showNewComponents();
}

void ModelBox::updateAlphaBetaExDistribution()
{
    const AlphaBetaFields p = readFields(*mControls);
    std::array<double, kCarbonNumberEntries> z{};
    int count = kCarbonNumberEntries;
    calculateMontelFluidComposition(z, count, p.alpha, p.beta, p.N2, p.CO2, p.H2S);
    std::fill(z.begin() + std::clamp(count, 0, kCarbonNumberEntries), z.end(), 0.0);
    if (!mTables.hasSelectedFluid())
        return;
    const FluidRecord fluid = mTables.selectedFluid();
    storeModelKeys(fluid, p);
    Array components = fluid.arrayValue(fluidkey::components);
    components.clear();
    for (const auto& [gas, fraction] : {std::pair{"N2", p.N2}, std::pair{"CO2", p.CO2}, std::pair{"H2S", p.H2S}})
        components.append(namedComponent(gas, CorrelationCode::jianzhong0, fraction * 100));
    for (int i = 0; i < kLastSingleCarbonNumber; ++i)
        components.append(namedComponent(QString::asprintf("C%d", i + 1), CorrelationCode::jianzhong0, z[i] * 100));
    const double plusFraction = std::accumulate(z.begin() + kLastSingleCarbonNumber, z.end(), 0.0);
    components.append(namedComponent(QString::asprintf("C%d+", kLastSingleCarbonNumber + 1),
                                     CorrelationCode::katzFiroozabadi, plusFraction * 100));
    showNewComponents();
}

FluidRecord ModelBox::createAlphaBetaFluid(double alpha, double beta, double CO2, double N2, double H2S,
                                                       const QString& name)
{
    FluidRecord fluid{{fluidkey::name, QStringLiteral("%1 adjusted").arg(name)},
                      {fluidkey::comment, QStringLiteral("Fitted with the alpha-beta model from %1").arg(name)},
                      {fluidkey::fluidType, code_number(FluidType::alphaBeta)},
                      {fluidkey::eos, QStringLiteral("PR")}};
    storeModelKeys(fluid, {alpha, beta, CO2, N2, H2S});
    // Parameters the engine finds no sound composition for give the model's components at
    // 0 mole percent, never the values of the composition computed before.
    const bool sound = mAlphaBetaInterface->calculateComposition(alpha, beta, CO2, N2, H2S);
    Array components;
    for (int i = 0; i < mAlphaBetaInterface->getNumberOfComponents(); ++i)
        components.append(sound ? alphaBetaModelComponent(*mAlphaBetaInterface, i)
                                : namedComponent(QString::fromStdString(mAlphaBetaInterface->getComponentName(i)),
                                                 CorrelationCode::jianzhong0, 0));
    fluid.setValue(fluidkey::components, components);
    return fluid;
}

}  // namespace quorvel
