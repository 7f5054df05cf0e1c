#include "characterisation/Correlations.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/CharacterisationLog.h"

#include <array>
#include <initializer_list>

namespace quorvel {

namespace {

using enum CorrelationCode;

constexpr std::size_t kCorrelationSetCount = std::size_t(code_number(lastSet) - code_number(firstSet)) + 1;

// The correlations of each set 101 .. 117, in the order they run.
const std::array<std::initializer_list<CorrelationCode>, kCorrelationSetCount> kCorrelationSets{{
    {riaziDaubert, edmister},          // 101
    {leeKesler},                       // 102
    {winn, edmister},                  // 103
    {pedersen},                        // 104
    {montel},                          // 105
    {jianzhong1},                      // 106
    {katzFiroozabadi},                 // 107
    {ahmed},                           // 108
    {jianzhong0},                      // 109
    {pedersenTb, cavett, edmister},    // 110
    {pedersenTb, jianzhong2},          // 111
    {pedersenTb, twu, edmister},       // 112
    {whitsonTb, cavett, edmister},     // 113
    {whitsonTb, jianzhong2},           // 114
    {whitsonTb, twu, edmister},        // 115
    {riaziAlSahhaf},                   // 116
    {stamataki},                       // 117
}};

CorrelationStatus applySingleCorrelation(Dictionary component, CorrelationCode code)
{
    switch (code) {
    case jianzhong0:
    case jianzhong1:
    case jianzhong2:
        return applyJianzhongCorrelation(component, code);
    case katzFiroozabadi:
        return applyKatzFiroozabadiCorrelation(component);
    case ahmed:
        return applyAhmedCorrelation(component);
    case riaziDaubert:
        return applyRiaziDaubertCorrelation(component);
    case edmister:
        return applyEdmisterCorrelation(component);
    case leeKesler:
        return applyLeeKeslerCorrelation(component);
    case winn:
        return applyWinnCorrelation(component);
    case cavett:
        return applyCavettCorrelation(component);
    case pedersen:
        return applyPedersenCorrelation(component);
    case montel:
        return applyMontelCorrelation(component);
    case twu:
        return applyTwuCorrelation(component);
    case riaziAlSahhaf:
        return applyRiaziAlSahhafCorrelation(component);
    case stamataki:
        return applyStamatakiCorrelation(component);
    case pedersenTb:
        return applyPedersenTbCorrelation(component);
    case whitsonTb:
        return applyWhitsonTbCorrelation(component);
    default:
        return CorrelationStatus::UnknownCode;
    }
}

// Puts back every key of the snapshot and drops the keys added since.
void restoreRecord(Dictionary component, const Dictionary& snapshot)
{
    component.clear();
    for (const QString& key : snapshot.keys())
        component.setValue(key, snapshot.value(key));
}

CorrelationStatus applyCorrelationSet(Dictionary component, std::initializer_list<CorrelationCode> sequence)
{
    const Dictionary snapshot = component.copy();
    for (const CorrelationCode code : sequence) {
        const CorrelationStatus status = applySingleCorrelation(component, code);
        if (status != CorrelationStatus::Applied) {
            restoreRecord(component, snapshot);
            return status;
        }
    }
    return CorrelationStatus::Applied;
}

void writeBuiltInSpecies(Dictionary component, const BuiltInSpecies& species, CorrelationCode code)
{
    component.setValue(componentkey::tc, kelvinToCelsius(species.Tc));
    component.setValue(componentkey::tb, kelvinToCelsius(species.Tb));
    component.setValue(componentkey::pc, species.Pc);
    component.setValue(componentkey::vc, species.Vc);
    component.setValue(componentkey::omega, species.omega);
    component.setValue(componentkey::mw, species.mw);
    component.setValue(componentkey::sg, species.SG);
    component.setValue(componentkey::nc, species.nc);
    component.setValue(componentkey::corr, code_number(code));
}

// Components the whole-fluid correlation characterises: heavier than C6, but not iC4 and
// iC5, which keep their built-in data.
bool isHeavyFraction(int nc)
{
    return nc > kSpeciesLastLight && nc != kSpeciesIC4 && nc != kSpeciesIC5;
}

}  // namespace

CorrelationStatus applyCorrelation(Dictionary component, CorrelationCode code)
{
    if (isCorrelationSet(code))
        return applyCorrelationSet(component,
                                   kCorrelationSets[std::size_t(code_number(code) - code_number(firstSet))]);
    return applySingleCorrelation(component, code);
}

CorrelationStatus setComponentName(const QString& name, Dictionary component, CorrelationCode code)
{
    component.setValue(componentkey::name, name);
    const int nc = getSpeciesIdentifier(name);
    if (const std::optional<BuiltInSpecies> species = findBuiltInSpecies(nc)) {
        writeBuiltInSpecies(component, *species, code);
        return CorrelationStatus::Applied;
    }
    component.setValue(componentkey::nc, nc);
    return applyCorrelation(component, code);
}

int applyFluidCorrelation(const Dictionary& fluid, CorrelationCode code)
{
    int leftUnchanged = 0;
    for (const Value& element : fluid.arrayValue(fluidkey::components)) {
        Dictionary component = element.toDictionary();
        if (!element.isDictionary() || !isHeavyFraction(component.intValue(componentkey::nc)))
            continue;
        const CorrelationStatus status = applyCorrelation(component, code);
        if (status == CorrelationStatus::Applied)
            continue;
        ++leftUnchanged;
        writeCharacterisationLog(QStringLiteral("Correlation %1 leaves %2 unchanged: %3.\n")
                                     .arg(code_number(code))
                                     .arg(component.stringValue(componentkey::name), describeStatus(status)));
    }
    return leftUnchanged;
}

QString getMcCainFluidType(const Dictionary& fluid)
{
    static const QStringList kLightNames{"C1", "N2", "CH4"};
    static const QStringList kIntermediateNames{"C2",  "C3",  "C4",  "iC4", "nC4", "C5",
                                                "iC5", "nC5", "C6",  "nC6", "H2S", "CO2"};
    double light = 0;
    double heavy = 0;
    for (const Value& element : fluid.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        const QString name = component.stringValue(componentkey::name);
        const double z = component.doubleValue(componentkey::mole) * 0.01;
        if (kLightNames.contains(name))
            light += z;
        else if (!kIntermediateNames.contains(name))
            heavy += z;
    }
    if (heavy >= 0.7)
        return QStringLiteral("Low shrinkage oil");
    if (heavy >= 0.3)
        return QStringLiteral("Ordinary black oil");
    if (heavy >= 0.125)
        return QStringLiteral("Volatile oil");
    if (light >= 0.91)
        return QStringLiteral("Dry gas");
    return QStringLiteral("Gas condensate");
}

}  // namespace quorvel
