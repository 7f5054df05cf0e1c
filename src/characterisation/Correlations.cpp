#include "characterisation/Correlations.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/CharacterisationLog.h"

#include <array>
#include <initializer_list>

namespace quorvel {

namespace {

// The correlations of each set 101 .. 117, in the order they run.
const std::array<std::initializer_list<int>, kLastCorrelationSet - kFirstCorrelationSet + 1> kCorrelationSets{{
    {kCorrelationRiaziDaubert, kCorrelationEdmister},                             // 101
    {kCorrelationLeeKesler},                                                      // 102
    {kCorrelationWinn, kCorrelationEdmister},                                     // 103
    {kCorrelationPedersen},                                                       // 104
    {kCorrelationMontel},                                                         // 105
    {kCorrelationJianzhong1},                                                     // 106
    {kCorrelationKatzFiroozabadi},                                                // 107
    {kCorrelationAhmed},                                                          // 108
    {kCorrelationJianzhong0},                                                     // 109
    {kCorrelationPedersenTb, kCorrelationCavett, kCorrelationEdmister},           // 110
    {kCorrelationPedersenTb, kCorrelationJianzhong2},                             // 111
    {kCorrelationPedersenTb, kCorrelationTwu, kCorrelationEdmister},              // 112
    {kCorrelationWhitsonTb, kCorrelationCavett, kCorrelationEdmister},            // 113
    {kCorrelationWhitsonTb, kCorrelationJianzhong2},                              // 114
    {kCorrelationWhitsonTb, kCorrelationTwu, kCorrelationEdmister},               // 115
    {kCorrelationRiaziAlSahhaf},                                                  // 116
    {kCorrelationStamataki},                                                      // 117
}};

CorrelationStatus applySingleCorrelation(Dictionary component, int code)
{
    switch (code) {
    case kCorrelationJianzhong0:
    case kCorrelationJianzhong1:
    case kCorrelationJianzhong2:
        return applyJianzhongCorrelation(component, code);
    case kCorrelationKatzFiroozabadi:
        return applyKatzFiroozabadiCorrelation(component);
    case kCorrelationAhmed:
        return applyAhmedCorrelation(component);
    case kCorrelationRiaziDaubert:
        return applyRiaziDaubertCorrelation(component);
    case kCorrelationEdmister:
        return applyEdmisterCorrelation(component);
    case kCorrelationLeeKesler:
        return applyLeeKeslerCorrelation(component);
    case kCorrelationWinn:
        return applyWinnCorrelation(component);
    case kCorrelationCavett:
        return applyCavettCorrelation(component);
    case kCorrelationPedersen:
        return applyPedersenCorrelation(component);
    case kCorrelationMontel:
        return applyMontelCorrelation(component);
    case kCorrelationTwu:
        return applyTwuCorrelation(component);
    case kCorrelationRiaziAlSahhaf:
        return applyRiaziAlSahhafCorrelation(component);
    case kCorrelationStamataki:
        return applyStamatakiCorrelation(component);
    case kCorrelationPedersenTb:
        return applyPedersenTbCorrelation(component);
    case kCorrelationWhitsonTb:
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

CorrelationStatus applyCorrelationSet(Dictionary component, std::initializer_list<int> sequence)
{
    const Dictionary snapshot = component.copy();
    for (const int code : sequence) {
        const CorrelationStatus status = applySingleCorrelation(component, code);
        if (status != CorrelationStatus::Applied) {
            restoreRecord(component, snapshot);
            return status;
        }
    }
    return CorrelationStatus::Applied;
}

void writeBuiltInSpecies(Dictionary component, const BuiltInSpecies& species, int code)
{
    component.setValue(componentkey::tc, kelvinToCelsius(species.Tc));
    component.setValue(componentkey::tb, kelvinToCelsius(species.Tb));
    component.setValue(componentkey::pc, species.Pc);
    component.setValue(componentkey::vc, species.Vc);
    component.setValue(componentkey::omega, species.omega);
    component.setValue(componentkey::mw, species.mw);
    component.setValue(componentkey::sg, species.SG);
    component.setValue(componentkey::nc, species.nc);
    component.setValue(componentkey::corr, code);
}

// Components the whole-fluid correlation characterises: heavier than C6, but not iC4 and
// iC5, which keep their built-in data.
bool isHeavyFraction(int nc)
{
    return nc > kSpeciesLastLight && nc != kSpeciesIC4 && nc != kSpeciesIC5;
}

}  // namespace

CorrelationStatus applyCorrelation(Dictionary component, int code)
{
    if (code >= kFirstCorrelationSet && code <= kLastCorrelationSet)
        return applyCorrelationSet(component, kCorrelationSets[std::size_t(code - kFirstCorrelationSet)]);
    return applySingleCorrelation(component, code);
}

CorrelationStatus setComponentName(const QString& name, Dictionary component, int code)
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

int applyFluidCorrelation(const Dictionary& fluid, int code)
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
                                     .arg(code)
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
