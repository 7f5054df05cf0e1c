#include "characterisation/Lumping.h"

#include "characterisation/Correlations.h"

#include <array>

namespace quorvel {

namespace {

constexpr int kLumpCorrelationSet = 101;  // Riazi-Daubert, then Edmister
constexpr int kFluidTypeComponents = 2;
constexpr int kCn1LastCarbonNumber = 25;
constexpr int kCn2FirstCarbonNumber = 26;
constexpr int kLastSingleCarbonNumber = 499;
constexpr int kPedersenRunsWanted = 12;
constexpr int kLastPedersenCarbonNumber = 99;

const std::array<const char*, 10> kCopiedKeys{"name", "Tc", "Tb", "Pc", "Vc", "omega", "mw", "SG", "mole", "nc"};

double moleFraction(const Dictionary& component) { return component.doubleValue("mole") * 0.01; }

Dictionary newLumpedFluid(const Dictionary& source)
{
    const QString name = source.stringValue("name");
    Dictionary fluid{{"name", QStringLiteral("%1 - lumped").arg(name)},
                     {"comment", QStringLiteral("Lumped from %1").arg(name)},
                     {"fluidType", kFluidTypeComponents}};
    if (source.contains("EOS"))
        fluid.setValue("EOS", source.value("EOS"));
    return fluid;
}

bool isHeavy(const Dictionary& component) { return component.intValue("nc") > kSpeciesLastLight; }

void writeHeavyTotals(Dictionary fluid, const HeavyMixture& heavy)
{
    fluid.setValue("C7+", heavy.moleFraction());
    fluid.setValue("SGC7+", heavy.specificGravity());
    fluid.setValue("mwC7+", heavy.molarWeight());
}

// A lump with the mixture's mole percent, molar weight and gravity, named and
// characterised by the lump correlation set.
Dictionary makeLump(const QString& name, const HeavyMixture& mixture, int nc)
{
    Dictionary lump{{"mole", mixture.moleFraction() * 100},
                    {"nc", nc},
                    {"mw", mixture.molarWeight()},
                    {"SG", mixture.specificGravity()}};
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
        zTc += z * celsiusToKelvin(component.doubleValue("Tc"));
        zTb += z * celsiusToKelvin(component.doubleValue("Tb"));
        zPc += z * component.doubleValue("Pc");
        zVc += z * component.doubleValue("Vc");
        zOmega += z * component.doubleValue("omega");
    }

    Dictionary lump(const QString& name, int nc) const
    {
        Dictionary record = makeLump(name, mixture, nc);
        const double z = mixture.moleFraction();
        record.setValue("Tc", kelvinToCelsius(zTc / z));
        record.setValue("Pc", zPc / z);
        record.setValue("Vc", zVc / z);
        record.setValue("Tb", kelvinToCelsius(zTb / z));
        record.setValue("omega", zOmega / z);
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
    for (const Value& element : source.arrayValue("components")) {
        const Dictionary component = element.toDictionary();
        const int nc = component.intValue("nc");
        if (isLightComponentName(component.stringValue("name"))) {
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
    fluid.setValue("components", components);
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
    for (const char* key : {"name", "Tc", "Tb", "Pc", "Vc", "omega"})
        record.setValue(key, lastMember.value(key));
    record.setValue("mw", run.molarWeight());
    record.setValue("SG", run.specificGravity());
    record.setValue("mole", run.moleFraction() * 100);
    record.setValue("nc", lastMember.value("nc"));
    return record;
}

}  // namespace

Dictionary copyComponent(const Dictionary& component, bool withCorrelationCode)
{
    Dictionary copy;
    for (const char* key : kCopiedKeys)
        if (component.contains(key))
            copy.setValue(key, component.value(key));
    if (withCorrelationCode && component.contains("corr"))
        copy.setValue("corr", component.value("corr"));
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
    add(component.doubleValue("mole") * 0.01, component.doubleValue("mw"), component.doubleValue("SG"));
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
    for (const Value& element : source.arrayValue("components")) {
        const Dictionary component = element.toDictionary();
        if (isLightComponentName(component.stringValue("name")))
            components.append(copyComponent(component, false));
        else if (isHeavy(component))
            heavy.add(component);
    }
    if (heavy.moleFraction() > 0)
        components.append(makeLump(QStringLiteral("C7+"), heavy, kSpeciesC7Plus));
    writeHeavyTotals(fluid, heavy);
    fluid.setValue("components", components);
    return fluid;
}

Dictionary lumpFluidCn1Cn2(const Dictionary& source) { return lumpIntoCn1Cn2(source, false); }

Dictionary lumpFluidC7C8C9C10Cn1Cn2(const Dictionary& source) { return lumpIntoCn1Cn2(source, true); }

Dictionary lumpFluidPedersen(const Dictionary& source)
{
    const Array sourceComponents = source.arrayValue("components");
    int counted = 0;
    for (const Value& element : sourceComponents)
        if (countsForPedersenRuns(element.toDictionary().intValue("nc")))
            ++counted;
    const int runLength = std::max(1, counted / kPedersenRunsWanted);

    Dictionary fluid = newLumpedFluid(source);
    Array components;
    HeavyMixture heavy;
    HeavyMixture run;
    int lastNonLightNc = 0;
    for (const Value& element : sourceComponents) {
        const Dictionary component = element.toDictionary();
        if (isLightComponentName(component.stringValue("name"))) {
            components.append(copyComponent(component, false));
            continue;
        }
        lastNonLightNc = component.intValue("nc");
        if (isHeavy(component))
            run.add(component);
        if (run.count() == runLength) {
            components.append(runRecord(component, run));
            heavy.add(run);
            run = HeavyMixture();
        }
    }
    if (!run.isEmpty()) {
        Dictionary lump{{"mole", run.moleFraction() * 100}, {"mw", run.molarWeight()}, {"SG", run.specificGravity()}};
        setComponentName(trailingLumpName(lastNonLightNc), lump, kLumpCorrelationSet);
        components.append(lump);
        heavy.add(run);
    }
    writeHeavyTotals(fluid, heavy);
    fluid.setValue("components", components);
    return fluid;
}

}  // namespace quorvel
