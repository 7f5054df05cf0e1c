#include "characterisation/SplittingFramework.h"

#include "calc/FluidRecordKeys.h"
#include "characterisation/CarbonNumberTables.h"
#include "characterisation/CharacterisationLog.h"
#include "characterisation/Correlations.h"
#include "characterisation/Lumping.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace quorvel {

namespace {

constexpr CorrelationCode kSplitCorrelation = CorrelationCode::riaziAlSahhaf;
constexpr CorrelationCode kUnmatchedPlusCorrelation = CorrelationCode::jianzhong0;
// Gravities of heavy petroleum fractions, from heptane to asphaltenes: a plus fraction that
// would close a split outside them is not taken.
constexpr double kLightestPlusFraction = 0.65;
constexpr double kDensestPlusFraction = 1.2;
// Stored C7+ values within this relative distance of the components' own are kept as
// the measured ones.
constexpr double kStoredValueTolerance = 0.01;
const QString kPlusNameFormat = QStringLiteral("C%1+");

double moleFraction(const Dictionary& component) { return component.doubleValue(componentkey::mole) * 0.01; }

// Light names that set or add to a summary value; "nC6" and "CH4" count nowhere.
void summariseLightComponent(const QString& name, double z, CompositionSummary& summary)
{
    if (name == "C1")
        summary.C1 = z;
    else if (name == "C2")
        summary.C2 = z;
    else if (name == "C3")
        summary.C3 = z;
    else if (name == "C6")
        summary.C6 = z;
    else if (name == "iC4" || name == "nC4" || name == "C4")
        summary.C4 += z;
    else if (name == "iC5" || name == "nC5" || name == "C5")
        summary.C5 += z;
    else if (name == "N2")
        summary.N2 = z;
    else if (name == "CO2")
        summary.CO2 = z;
    else if (name == "H2S")
        summary.H2S = z;
}

void summariseNamedCut(const QString& name, double z, CompositionSummary& summary)
{
    if (name == "C7")
        summary.C7 = z;
    else if (name == "C8")
        summary.C8 = z;
    else if (name == "C9")
        summary.C9 = z;
    else if (name == "C10")
        summary.C10 = z;
}

// The composition summary of the fluid; the light components' copies go to lightCopies
// when one is given.
CompositionSummary summarise(const Dictionary& fluid, Array* lightCopies)
{
    CompositionSummary summary;
    HeavyMixture heavy;
    for (const Value& element : fluid.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        const QString name = component.stringValue(componentkey::name);
        const double z = moleFraction(component);
        if (isLightComponentName(name)) {
            if (lightCopies)
                lightCopies->append(copyComponent(component, false));
            summariseLightComponent(name, z, summary);
            continue;
        }
        if (component.intValue(componentkey::nc) > kSpeciesLastLight)
            heavy.add(component);
        summariseNamedCut(name, z, summary);
    }
    summary.zC7plus = heavy.moleFraction();
    summary.heavyCount = summary.zC7plus > 0 ? heavy.count() : 0;
    summary.mwC7plus = heavy.molarWeight();
    summary.SGC7plus = heavy.specificGravity();
    return summary;
}

bool agrees(double stored, double computed)
{
    return std::fabs(stored - computed) <= kStoredValueTolerance * std::fabs(computed);
}

// The stored value when present and, for a source whose components hold a heavy part,
// close to the components' value; otherwise the components' value.
double chooseStored(const Dictionary& source, const QString& key, double scale, double computed, bool haveComponents,
                    bool& replaced)
{
    const double stored = source.doubleValue(key) * scale;
    if (!haveComponents || (source.contains(key) && agrees(stored, computed)))
        return stored;
    replaced = true;
    return computed;
}

QString number(double x) { return QString::number(x, 'g', 6); }

bool isPositiveFinite(double x) { return std::isfinite(x) && x > 0; }

std::optional<Dictionary> findComponentNamed(const Array& components, const QString& name)
{
    for (const Value& element : components) {
        const Dictionary component = element.toDictionary();
        if (component.stringValue(componentkey::name) == name)
            return component;
    }
    return std::nullopt;
}

int clampLastCarbonNumber(int lastCarbonNumber, const QString& fluidName)
{
    const int clamped = std::clamp(lastCarbonNumber, kLowestLastCarbonNumber, kHighestLastCarbonNumber);
    if (clamped != lastCarbonNumber)
        writeCharacterisationLog(QStringLiteral("Splitting %1: the last carbon number %2 is outside %3 to %4; %5 is "
                                                "used.\n")
                                     .arg(fluidName)
                                     .arg(lastCarbonNumber)
                                     .arg(kLowestLastCarbonNumber)
                                     .arg(kHighestLastCarbonNumber)
                                     .arg(clamped));
    return clamped;
}

// The plus fraction that closes the heavy part's mass and volume on the target; false when
// it would not be plausible: not heavier than the cut before it, or with a gravity outside
// those of heavy petroleum fractions.
bool closeWithPlusFraction(const std::vector<SplitCut>& cuts, SplitCut& plus, const HeavyPartTarget& target)
{
    if (!(plus.z > 0) || !(target.SG > 0))
        return false;
    double mass = 0;
    double volume = 0;
    for (const SplitCut& cut : cuts) {
        mass += cut.z * cut.mw;
        volume += cut.z * cut.mw / cut.SG;
    }
    const double plusMass = target.z * target.mw - mass;
    const double plusVolume = target.z * target.mw / target.SG - volume;
    if (!(plusMass > 0) || !(plusVolume > 0))
        return false;
    plus.mw = plusMass / plus.z;
    plus.SG = plusMass / plusVolume;
    const double lastMw = cuts.empty() ? 0 : cuts.back().mw;
    return std::isfinite(plus.mw) && plus.mw > lastMw && plus.SG >= kLightestPlusFraction
           && plus.SG <= kDensestPlusFraction;
}

}  // namespace

CompositionSummary analyseFluidComposition(const Dictionary& fluid) { return summarise(fluid, nullptr); }

void matchHeavyPart(std::vector<SplitCut>& cuts, SplitCut& plus, const HeavyPartTarget& target,
                    const QString& fluidName)
{
    if (!isPositiveFinite(target.mw) || !isPositiveFinite(target.SG)) {
        writeCharacterisationLog(QStringLiteral("Splitting %1: no positive C7+ molar weight and gravity to match; "
                                                "the table values are kept.\n")
                                     .arg(fluidName));
        return;
    }
    double mass = plus.z * plus.mw;
    double volume = plus.z * plus.mw / plus.SG;
    for (const SplitCut& cut : cuts) {
        mass += cut.z * cut.mw;
        volume += cut.z * cut.mw / cut.SG;
    }
    // Scaling every molar weight by one factor scales the volume by the same factor.
    const double factor = target.z * target.mw / mass;
    const double gravityFactor = (target.z * target.mw / target.SG) / (volume * factor);
    if (!isPositiveFinite(factor) || !isPositiveFinite(gravityFactor))
        return;
    for (SplitCut& cut : cuts) {
        cut.mw *= factor;
        cut.SG /= gravityFactor;
    }
    plus.mw *= factor;
    plus.SG /= gravityFactor;
}

SplitCut makeSplitCut(int carbonNumber, double z, const QString& nameFormat, CorrelationCode code)
{
    Dictionary record;
    setComponentName(nameFormat.arg(carbonNumber), record, code);
    return {record, z, getKatzFiroozabadiMolarWeight(carbonNumber), record.doubleValue(componentkey::sg)};
}

void writeSplitCut(const SplitCut& cut)
{
    Dictionary record = cut.record;
    record.setValue(componentkey::mole, cut.z * 100);
    record.setValue(componentkey::mw, cut.mw);
    record.setValue(componentkey::sg, cut.SG);
}

SplitCut closeOrMatchHeavyPart(std::vector<SplitCut>& cuts, int plusCarbonNumber, double zPlus,
                               const HeavyPartTarget& target, const QString& fluidName,
                               CorrelationCode closingCode, CorrelationCode matchingCode)
{
    SplitCut plus = makeSplitCut(plusCarbonNumber, zPlus, kPlusNameFormat, closingCode);
    if (closeWithPlusFraction(cuts, plus, target))
        return plus;
    writeCharacterisationLog(QStringLiteral("Splitting %1: the plus fraction C%2+ would have no plausible molar weight "
                                            "or gravity; the split is matched instead.\n")
                                 .arg(fluidName)
                                 .arg(plusCarbonNumber));
    plus = makeSplitCut(plusCarbonNumber, zPlus, kPlusNameFormat, matchingCode);
    matchHeavyPart(cuts, plus, target, fluidName);
    return plus;
}

void logAverageDeviations(double ard, double aad)
{
    writeCharacterisationLog(QStringLiteral("\n"));
    writeCharacterisationLog(QString::asprintf("Average deviation (%%)          : %.2f \n", ard * 100));
    writeCharacterisationLog(QString::asprintf("Average absolute deviation (%%) : %.2f \n\n", aad * 100));
}

Dictionary createSplittedFluid(const Dictionary& source, const QString& methodWord, CompositionSummary& summary)
{
    const QString name = source.stringValue(fluidkey::name);
    Dictionary splitFluid{
        {fluidkey::name, QStringLiteral("%1 - %2").arg(name, methodWord)},
        {fluidkey::comment, QStringLiteral("Created by using %1 correlation from %2").arg(methodWord, name)},
        {fluidkey::fluidType, code_number(FluidType::componentList)}};
    if (source.contains(fluidkey::eos))
        splitFluid.setValue(fluidkey::eos, source.value(fluidkey::eos));
    Array components;
    summary = summarise(source, &components);
    splitFluid.setValue(fluidkey::components, components);
    return splitFluid;
}

HeavyPartTarget readHeavyPartTarget(const Dictionary& source)
{
    const CompositionSummary summary = analyseFluidComposition(source);
    const bool haveComponents = summary.zC7plus > 0;
    bool replaced = false;
    HeavyPartTarget target;
    target.z = chooseStored(source, fluidkey::c7plus, 0.01, summary.zC7plus, haveComponents, replaced);
    target.mw = chooseStored(source, fluidkey::mwC7plus, 1, summary.mwC7plus, haveComponents, replaced);
    target.SG = chooseStored(source, fluidkey::sgC7plus, 1, summary.SGC7plus, haveComponents, replaced);
    if (replaced)
        writeCharacterisationLog(
            QStringLiteral("Splitting %1: the stored C7+ (%2 %), mwC7+ (%3) and SGC7+ (%4) are absent or disagree "
                           "with its components (%5 %, %6, %7); the components' values are used.\n")
                .arg(source.stringValue(fluidkey::name), number(source.doubleValue(fluidkey::c7plus)),
                     number(source.doubleValue(fluidkey::mwC7plus)), number(source.doubleValue(fluidkey::sgC7plus)),
                     number(summary.zC7plus * 100), number(summary.mwC7plus), number(summary.SGC7plus)));
    return target;
}

void fillSplittedFluids(const Dictionary& source, Dictionary splitFluid, const SplitFractions& fractions, int count,
                        int lastCarbonNumber, bool matching)
{
    const QString fluidName = source.stringValue(fluidkey::name);
    const HeavyPartTarget target = readHeavyPartTarget(source);
    if (!(target.z > 0))
        return;
    const int last = clampLastCarbonNumber(lastCarbonNumber, fluidName);
    const int n = std::min(std::clamp(count, 1, kSplitFractionCount), last - 5);

    std::vector<SplitCut> cuts;
    for (int i = 0; i < n - 1; ++i)
        cuts.push_back(
            makeSplitCut(i + kFirstSplitCarbonNumber, fractions[i], QStringLiteral("C%1"), kSplitCorrelation));
    double zPlus = 0;
    for (int i = n - 1; i < kSplitFractionCount; ++i)
        zPlus += fractions[i];
    const int plusCarbonNumber = n - 1 + kFirstSplitCarbonNumber;

    SplitCut plus;
    if (matching) {
        plus = makeSplitCut(plusCarbonNumber, zPlus, kPlusNameFormat, kSplitCorrelation);
        matchHeavyPart(cuts, plus, target, fluidName);
    } else {
        plus = closeOrMatchHeavyPart(cuts, plusCarbonNumber, zPlus, target, fluidName, kUnmatchedPlusCorrelation,
                                     kSplitCorrelation);
    }

    Array components = splitFluid.arrayValue(fluidkey::components);
    for (const SplitCut& cut : cuts) {
        writeSplitCut(cut);
        components.append(cut.record);
    }
    writeSplitCut(plus);
    components.append(plus.record);
}

void fillSplittedFluidsByDefault(const Dictionary& source, Dictionary splitFluid)
{
    const HeavyPartTarget target = readHeavyPartTarget(source);
    if (!(target.z > 0))
        return;
    Dictionary component;
    setComponentName(QStringLiteral("C7+"), component, CorrelationCode::jianzhong0);
    component.setValue(componentkey::mole, target.z * 100);
    if (isPositiveFinite(target.mw) && isPositiveFinite(target.SG)) {
        component.setValue(componentkey::mw, target.mw);
        component.setValue(componentkey::sg, target.SG);
    }
    splitFluid.arrayValue(fluidkey::components).append(component);
}

void compareSplittedFluids(const Dictionary& source, Dictionary splitFluid, double& ardx, double& aadx,
                           bool writeLog)
{
    ardx = 0;
    aadx = 0;
    int rows = 0;
    if (writeLog) {
        writeCharacterisationLog(QStringLiteral("Comparison of (%1) with (%2) : \n\n")
                                     .arg(source.stringValue(fluidkey::name), splitFluid.stringValue(fluidkey::name)));
        writeCharacterisationLog(QString::asprintf("%8s%16s%16s%16s%16s\n\n", "Index", "Component", "Mole (exp, %)",
                                                   "Mole (calc, %)", "Dev. (%)"));
    }
    const Array splitComponents = splitFluid.arrayValue(fluidkey::components);
    for (const Value& element : source.arrayValue(fluidkey::components)) {
        const Dictionary component = element.toDictionary();
        const QString name = component.stringValue(componentkey::name);
        const double measured = component.doubleValue(componentkey::mole);
        if (isLightComponentName(name) || measured == 0)
            continue;
        const std::optional<Dictionary> namesake = findComponentNamed(splitComponents, name);
        if (!namesake)
            continue;
        const double calculated = namesake->doubleValue(componentkey::mole);
        const double deviation = (calculated - measured) / measured;
        ++rows;
        if (writeLog)
            writeCharacterisationLog(QString::asprintf("%8d%s%16.6f%16.6f%16.6f\n", rows, name.toUtf8().constData(),
                                                       measured, calculated, deviation * 100));
        ardx += deviation;
        aadx += std::fabs(deviation);
    }
    if (rows == 0)
        return;
    ardx /= rows;
    aadx /= rows;
    if (writeLog)
        logAverageDeviations(ardx, aadx);
    splitFluid.setValue(fluidkey::ardx, ardx * 100);
    splitFluid.setValue(fluidkey::aadx, aadx * 100);
}

}  // namespace quorvel
