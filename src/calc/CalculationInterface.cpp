#include "calc/CalculationInterface.h"
#include "calc/FluidRecordKeys.h"
#include "calc/Units.h"

#include "thermo/Montel.h"
#include "thermo/Oil1.h"
#include "thermo/Oil2.h"
#include "thermo/Peng.h"
#include "thermo/SRK.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <limits>

namespace quorvel {

using namespace units;

namespace {

template <class Model>
void buildPhaseModels(std::unique_ptr<ClaCubic0>& liquid, std::unique_ptr<ClaCubic0>& vapour)
{
    liquid = std::make_unique<Model>(phase_kind::liquid);
    vapour = std::make_unique<Model>(phase_kind::vapour);
}

// Value of component i of a per-component array, not-a-number outside it.
double entry(const std::vector<double>& values, int i)
{
    return i >= 0 && i < static_cast<int>(values.size()) ? values[i] : kNaN;
}

} // namespace

CalculationInterface::CalculationInterface(FluidType type, EquationOfState eos) : fluidType(type)
{
    if (fluidType == FluidType::alphaBeta) {
        buildPhaseModels<Montel>(liquidPhase, vapourPhase);
        oil = std::make_unique<Oil1>(*liquidPhase, *vapourPhase);
        loaded = true;  // the model fluid is set up by name
    } else if (fluidType == FluidType::componentList || fluidType == FluidType::carbonNumbers) {
        if (eos == EquationOfState::srk)
            buildPhaseModels<SRK>(liquidPhase, vapourPhase);
        else
            buildPhaseModels<Peng>(liquidPhase, vapourPhase);
        oil = std::make_unique<Oil2>(*liquidPhase, *vapourPhase);
    }
}

CalculationInterface::~CalculationInterface()
{
    // The equilibrium object refers to the phase models: it goes first.
    oil.reset();
    liquidPhase.reset();
    vapourPhase.reset();
}

// ---- Loading ------------------------------------------------------------------------------

void CalculationInterface::setThermodynamicModel(const FluidRecord& record)
{
    if (fluidTypeOf(record) != fluidType) {
        std::fputs("Error model fluid type", stderr);
        loaded = false;
        return;
    }
    if (fluidType == FluidType::alphaBeta) {
        setAlpha(record.doubleValue(fluidkey::alpha));
        setBeta(record.doubleValue(fluidkey::beta));
        setCO2(record.doubleValue(fluidkey::CO2));
        setN2(record.doubleValue(fluidkey::N2));
        setH2S(record.doubleValue(fluidkey::H2S));
        finalize();
    } else if (fluidType == FluidType::componentList || fluidType == FluidType::carbonNumbers) {
        setModelFluid(FluidType::componentList, record);
    }
}

std::string CalculationInterface::refusalOf(const FluidRecord& record) const
{
    if (!oil)
        return "no thermodynamic model for this fluid type";
    const Array components = record.arrayValue(fluidkey::components);
    if (components.size() > std::numeric_limits<short>::max())
        return "too many components";
    if (fluidType == FluidType::alphaBeta && components.size() != kModelComponentCount)
        return "the alpha-beta model fluid needs its 17 components, not "
               + std::to_string(components.size());
    for (const Value& value : components) {
        const ComponentRecord component = value.toDictionary();
        // An absent critical temperature would read as 0 degrees Celsius: refused too.
        const bool hasTc = component.contains(componentkey::tc);
        if (!hasTc || !(component.doubleValue(componentkey::tc) + kCelsiusOffset > 0)
            || !(component.doubleValue(componentkey::pc) > 0))
            return "component \"" + component.stringValue(componentkey::name).toStdString()
                   + "\" needs a critical temperature above 0 K and a critical pressure above 0";
    }
    return {};
}

bool CalculationInterface::setModelFluid(FluidType modelFluidType, const FluidRecord& record)
{
    if (const std::string refusal = refusalOf(record); !refusal.empty()) {
        std::fprintf(stderr, "Fluid not loaded: %s\n", refusal.c_str());
        loaded = false;
        return false;
    }
    const Array components = record.arrayValue(fluidkey::components);
    oil->setModelFluidType(modelFluidType);
    oil->number_of_components(static_cast<short>(components.size()));
    if (fluidType == FluidType::alphaBeta)
        static_cast<Oil1&>(*oil).setDistributionParameters(
            record.doubleValue(fluidkey::alpha), record.doubleValue(fluidkey::beta),
            record.doubleValue(fluidkey::CO2), record.doubleValue(fluidkey::N2),
            record.doubleValue(fluidkey::H2S));
    for (int i = 0; i < components.size(); ++i)
        writeComponent(i, components.at(i).toDictionary());
    loaded = components.size() > 0;
    return loaded;
}

// Every datum of a component is written before add_component, which lets the phase models
// compute the component's parameters from them.
void CalculationInterface::writeComponent(int i, const ComponentRecord& component)
{
    const auto read = [&](const QString& key) { return component.doubleValue(key); };
    const double Tc = read(componentkey::tc) + kCelsiusOffset;
    const double Pc = read(componentkey::pc) * kPascalPerBar;
    const double omega = read(componentkey::omega);
    const double mw = read(componentkey::mw);
    const double Vc = read(componentkey::vc);  // cm3/mol
    const std::optional<double> slope =
        component.contains(componentkey::slope) ? std::optional(read(componentkey::slope)) : std::nullopt;
    oil->setComponentConstants(static_cast<short>(i),
                               {Tc, Pc, omega, mw, Vc, read(componentkey::sg), read(componentkey::tb) + kCelsiusOffset,
                                component.intValue(componentkey::nc), correlationCodeFromNumber(component.intValue(componentkey::corr)),
                                slope},
                               *liquidPhase, *vapourPhase);

    const QByteArray name = component.stringValue(componentkey::name).toUtf8();
    oil->add_component(static_cast<short>(i), name.constData());
    oil->composition(static_cast<short>(i), read(componentkey::mole) * 0.01);
}

void CalculationInterface::finalize()
{
    if (fluidType != FluidType::alphaBeta || !oil)
        return;
    loaded = static_cast<Oil1&>(*oil).setDistributionParameters(alpha, beta, CO2, N2, H2S);
    if (!loaded)
        std::fprintf(stderr,
                     "Fluid not loaded: alpha %g and beta %g with these gas contents give negative or undefined "
                     "mole fractions.\n",
                     alpha, beta);
}

// ---- Accessors ----------------------------------------------------------------------------

int CalculationInterface::getNumberOfComponents() const
{
    return oil ? oil->componentCount() : 0;
}

double CalculationInterface::getIsoplethComposition(int i) const
{
    return oil ? entry(oil->feedComposition(), i) : kNaN;
}

double CalculationInterface::getLiquidVolume() const { return oil ? oil->liquidModel()->molarVolume() : kNaN; }

double CalculationInterface::getLiquidDensity() const { return oil ? oil->liquidModel()->phaseDensity() : kNaN; }

double CalculationInterface::getVapourVolume() const { return oil ? oil->vapourModel()->molarVolume() : kNaN; }

double CalculationInterface::getVapourDensity() const { return oil ? oil->vapourModel()->phaseDensity() : kNaN; }

double CalculationInterface::getLiquidComposition(int i) const
{
    return oil ? entry(oil->liquidModel()->moleFraction(), i) : kNaN;
}

double CalculationInterface::getVapourComposition(int i) const
{
    return oil ? entry(oil->vapourModel()->moleFraction(), i) : kNaN;
}

double CalculationInterface::getBubbleVolumeFraction() const
{
    return oil ? oil->volumetricVaporizationRatio() : kNaN;
}

double CalculationInterface::getC7plus() const { return oil ? oil->feedC7plusFraction() * 100 : kNaN; }

} // namespace quorvel
