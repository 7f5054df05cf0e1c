#include "characterisation/Lumping.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/Correlations.h"

#include <array>

namespace quorvel {

namespace {

constexpr CorrelationCode kLumpCorrelationSet = CorrelationCode::firstSet;  // 101: Riazi-Daubert, then Edmister
constexpr int kCn1LastCarbonNumber = 25;
constexpr int kCn2FirstCarbonNumber = 26;
constexpr int kLastSingleCarbonNumber = 499;
constexpr int kPedersenRunsWanted = 12;
constexpr int kLastPedersenCarbonNumber = 99;

const std::array<const QString*, 10> kCopiedKeys{
    &componentkey::name,  &componentkey::tc, &componentkey::tb, &componentkey::pc,   &componentkey::vc,
    &componentkey::omega, &componentkey::mw, &componentkey::sg, &componentkey::mole, &componentkey::nc};

double moleFraction(const Dictionary& component) { return component.doubleValue(componentkey::mole) * 0.01; }

Dictionary newLumpedFluid(const Dictionary& source)
{
    const QString name = source.stringValue(fluidkey::name);
    Dictionary fluid{{fluidkey::name, QStringLiteral("%1 - lumped").arg(name)},
                     {fluidkey::comment, QStringLiteral("Lumped from %1").arg(name)},
                     {fluidkey::fluidType, code_number(FluidType::componentList)}};
    if (source.contains(fluidkey::eos))
        fluid.setValue(fluidkey::eos, source.value(fluidkey::eos));
    return fluid;
}

bool isHeavy(const Dictionary& component) { return component.intValue(componentkey::nc) > kSpeciesLastLight; }

void writeHeavyTotals(Dictionary fluid, const HeavyMixture& heavy)
{
    fluid.setValue(fluidkey::c7plus, heavy.moleFraction());
    fluid.setValue(fluidkey::sgC7plus, heavy.specificGravity());
    fluid.setValue(fluidkey::mwC7plus, heavy.molarWeight());
}

// A lump with the mixture's mole percent, molar weight and gravity, named and
// characterised by the lump correlation set.
Dictionary makeLump(const QString& name, const HeavyMixture& mixture, int nc)
{
    Dictionary lump{{componentkey::mole, mixture.moleFraction() * 100},
                    {componentkey::nc, nc},
                    {componentkey::mw, mixture.molarWeight()},
                    {componentkey::sg, mixture.specificGravity()}};
    setComponentName(name, lump, kLumpCorrelationSet);
    return lump;
}

// A Cn lump: the mixing rule for its weight and gravity, and mole-weighted critical
// properties of its members in place of the correlation's.
struct CriticalAverage
{
    HeavyMixture mixture;
    double zTc = 0, zTb = 0, zPc = 0, zVc = 0, zOmega = 0;  // temperatures in kelvin

    void add(const Dictionary& component)
    {
        const double z = moleFraction(component);
        mixture.add(component);
        zTc += z * celsiusToKelvin(component.doubleValue(componentkey::tc));
        zTb += z * celsiusToKelvin(component.doubleValue(componentkey::tb));
        zPc += z * component.doubleValue(componentkey::pc);
        zVc += z * component.doubleValue(componentkey::vc);
        zOmega += z * component.doubleValue(componentkey::omega);
    }

    Dictionary lump(const QString& name, int nc) const
    {
        Dictionary record = makeLump(name, mixture, nc);
        const double z = mixture.moleFraction();
        record.setValue(componentkey::tc, kelvinToCelsius(zTc / z));
        record.setValue(componentkey::pc, zPc / z);
        record.setValue(componentkey::vc, zVc / z);
        record.setValue(componentkey::tb, kelvinToCelsius(zTb / z));
        record.setValue(componentkey::omega, zOmega / z);
        return record;
    }
};

bool joinsCn1(int nc)
{
    return (nc > kSpeciesLastLight && nc <= kCn1LastCarbonNumber) || nc == kSpeciesC7Plus || nc == kSpeciesCn1 ||
           (nc >= kSpeciesPlusFraction + 7 && nc <= kSpeciesPlusFraction + kCn1LastCarbonNumber);
}

bool joinsCn2(int nc)
{
    return nc == kSpeciesCn2 || (nc >= kCn2FirstCarbonNumber && nc <= kLastSingleCarbonNumber) ||
           nc >= kSpeciesPlusFraction + kCn2FirstCarbonNumber;
}

bool isKeptSingleCarbonNumber(int nc) { return nc >= 7 && nc <= 10; }

Dictionary lumpIntoCn1Cn2(const Dictionary& source, bool keepC7toC10)
{
    Dictionary fluid = newLumpedFluid(source);
    Array components;
    HeavyMixture heavy;
    CriticalAverage cn1;
    CriticalAverage cn2;
    for (const Value& element : source.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        const int nc = component.intValue(componentkey::nc);
        if (isLightComponentName(component.stringValue(componentkey::name))) {
            components.append(copyComponent(component, keepC7toC10));
            continue;
        }
        if (!isHeavy(component))
            continue;
        heavy.add(component);
        if (keepC7toC10 && isKeptSingleCarbonNumber(nc))
            components.append(copyComponent(component, true));
        else if (joinsCn1(nc))
            cn1.add(component);
        else if (joinsCn2(nc))
            cn2.add(component);
    }
    if (heavy.moleFraction() > 0)
        writeHeavyTotals(fluid, heavy);
    if (cn1.mixture.moleFraction() > 0)
        components.append(cn1.lump(QStringLiteral("Cn1"), kSpeciesCn1));
    if (cn2.mixture.moleFraction() > 0)
        components.append(cn2.lump(QStringLiteral("Cn2"), kSpeciesCn2));
    fluid.setValue(fluidkey::components, components);
    return fluid;
}

// Identifiers that size the Pedersen runs: single carbon numbers up to C99 and the
// named and numbered plus fractions.
bool countsForPedersenRuns(int nc)
{
    return (nc >= 7 && nc <= kLastPedersenCarbonNumber) || nc == kSpeciesC7Plus || nc == kSpeciesCn1 ||
           nc == kSpeciesCn2 || nc >= kSpeciesPlusFraction + 7;
}

// The name of the trailing Pedersen lump, from the identifier of the last component it
// follows.
QString trailingLumpName(int nc)
{
    if (nc == kSpeciesC7Plus)
        return QStringLiteral("C7+");
    if (nc == kSpeciesCn1)
        return QStringLiteral("Cn1");
    if (nc == kSpeciesCn2)
        return QStringLiteral("Cn2");
    return QStringLiteral("C%1+").arg(nc > kSpeciesPlusFraction ? nc - kSpeciesPlusFraction : nc);
}

// A complete Pedersen run keeps the name and critical properties of its last member.
Dictionary runRecord(const Dictionary& lastMember, const HeavyMixture& run)
{
    Dictionary record;
    for (const QString& key : {componentkey::name, componentkey::tc, componentkey::tb, componentkey::pc,
                               componentkey::vc, componentkey::omega})
        record.setValue(key, lastMember.value(key));
    record.setValue(componentkey::mw, run.molarWeight());
    record.setValue(componentkey::sg, run.specificGravity());
    record.setValue(componentkey::mole, run.moleFraction() * 100);
    record.setValue(componentkey::nc, lastMember.value(componentkey::nc));
    return record;
}

}  // namespace

Dictionary copyComponent(const Dictionary& component, bool withCorrelationCode)
{
    Dictionary copy;
    for (const QString* key : kCopiedKeys)
        if (component.contains(*key))
            copy.setValue(*key, component.value(*key));
    if (withCorrelationCode && component.contains(componentkey::corr))
        copy.setValue(componentkey::corr, component.value(componentkey::corr));
    return copy;
}

bool isLightComponentName(const QString& name)
{
    static const QStringList kLightNames{"C1",  "C2",  "C3", "C4",  "iC4", "nC4", "C5",  "iC5",
                                         "nC5", "C6",  "nC6", "H2S", "CH4", "CO2", "N2"};
    return kLightNames.contains(name);
}

void HeavyMixture::add(const Dictionary& component)
{
    add(component.doubleValue(componentkey::mole) * 0.01, component.doubleValue(componentkey::mw),
        component.doubleValue(componentkey::sg));
}

void HeavyMixture::add(double z, double mw, double SG)
{
    mZ += z;
    mMass += z * mw;
    if (SG > 0)
        mVolume += z * mw / SG;
    else
        mGravityKnown = false;
    ++mCount;
}

void HeavyMixture::add(const HeavyMixture& other)
{
    mZ += other.mZ;
    mMass += other.mMass;
    mVolume += other.mVolume;
    mGravityKnown = mGravityKnown && other.mGravityKnown;
    mCount += other.mCount;
}

double HeavyMixture::molarWeight() const { return mZ != 0 ? mMass / mZ : 0; }

double HeavyMixture::specificGravity() const
{
    return mGravityKnown && mVolume != 0 ? mMass / mVolume : 0;
}

Dictionary lumpFluidC7plus(const Dictionary& source)
{
    Dictionary fluid = newLumpedFluid(source);
    Array components;
    HeavyMixture heavy;
    for (const Value& element : source.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        if (isLightComponentName(component.stringValue(componentkey::name)))
            components.append(copyComponent(component, false));
        else if (isHeavy(component))
            heavy.add(component);
    }
    if (heavy.moleFraction() > 0)
        components.append(makeLump(QStringLiteral("C7+"), heavy, kSpeciesC7Plus));
    writeHeavyTotals(fluid, heavy);
    fluid.setValue(fluidkey::components, components);
    return fluid;
}

Dictionary lumpFluidCn1Cn2(const Dictionary& source) { return lumpIntoCn1Cn2(source, false); }

Dictionary lumpFluidC7C8C9C10Cn1Cn2(const Dictionary& source) { return lumpIntoCn1Cn2(source, true); }

Dictionary lumpFluidPedersen(const Dictionary& source)
{
    const Array sourceComponents = source.arrayValue(fluidkey::components);
    int counted = 0;
    for (const Value& element : sourceComponents)
        if (countsForPedersenRuns(element.toDictionary().intValue(componentkey::nc)))
            ++counted;
    const int runLength = std::max(1, counted / kPedersenRunsWanted);

    Dictionary fluid = newLumpedFluid(source);
    Array components;
    HeavyMixture heavy;
    HeavyMixture run;
    int lastNonLightNc = 0;
    for (const Value& element : sourceComponents) {
        const Dictionary component = element.toDictionary();
        if (isLightComponentName(component.stringValue(componentkey::name))) {
            components.append(copyComponent(component, false));
            continue;
        }
        lastNonLightNc = component.intValue(componentkey::nc);
        if (isHeavy(component))
            run.add(component);
        if (run.count() == runLength) {
            components.append(runRecord(component, run));
            heavy.add(run);
            run = HeavyMixture();
        }
    }
    if (!run.isEmpty()) {
        Dictionary lump{{componentkey::mole, run.moleFraction() * 100},
                        {componentkey::mw, run.molarWeight()},
                        {componentkey::sg, run.specificGravity()}};
        setComponentName(trailingLumpName(lastNonLightNc), lump, kLumpCorrelationSet);
        components.append(lump);
        heavy.add(run);
    }
    writeHeavyTotals(fluid, heavy);
    fluid.setValue(fluidkey::components, components);
    return fluid;
}

}  // namespace quorvel
