#include "editor/FluidRecord.h"

#include "characterisation/Correlations.h"
#include "characterisation/MeasuredPoint.h"

namespace quorvel {

QString fluidkey::apiMethod(ApiMethod method)
{
    return QStringLiteral("API%1").arg(static_cast<int>(method));
}

FluidRecord makeNewFluid(bool firstFluid)
{
    ComponentRecord c1;
    setComponentName(QStringLiteral("C1"), c1, CorrelationCode::jianzhong0);
    c1.setValue(componentkey::mole, firstFluid ? 100.0 : 0.0);
    FluidRecord fluid;
    fluid.setValue(fluidkey::name, QStringLiteral("New"));
    fluid.setValue(fluidkey::comment, QString());
    fluid.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
    fluid.setValue(fluidkey::eos, QStringLiteral("PR"));
    fluid.setValue(fluidkey::components, Array{c1});
    return fluid;
}

namespace {

void copyKeys(const Dictionary& from, Dictionary& to, std::initializer_list<QString> keys)
{
    for (const QString& key : keys)
        if (from.contains(key))
            to.setValue(key, from.value(key));
}

}  // namespace

FluidRecord duplicateFluid(const FluidRecord& source)
{
    const QString sourceName = source.stringValue(fluidkey::name);
    FluidRecord copy;
    copy.setValue(fluidkey::name, QStringLiteral("%1 - duplicated").arg(sourceName));
    copy.setValue(fluidkey::comment, QStringLiteral("Duplicated from %1").arg(sourceName));
    copy.setValue(fluidkey::fluidType, code_number(FluidType::componentList));
    copyKeys(source, copy, {fluidkey::eos});
    if (source.contains(fluidkey::tsat))
        copyKeys(source, copy, {fluidkey::tsat, fluidkey::satPhase});
    if (source.contains(fluidkey::texp)) {
        setMeasuredTemperatureCelsius(copy, measuredTemperatureCelsius(source));
        copyKeys(source, copy, {fluidkey::pexp, fluidkey::hexp});
    }
    Array components;
    for (const Value& value : source.arrayValue(fluidkey::components)) {
        const Dictionary from = value.toDictionary();
        Dictionary to;
        using namespace componentkey;
        for (const QString& key : {name, tc, pc, vc, tb, omega, sg, nc, mw, mole})
            to.setValue(key, from.value(key));
        copyKeys(from, to, {corr});
        components.append(to);
    }
    copy.setValue(fluidkey::components, components);
    return copy;
}

QString nextComponentName(int nc)
{
    if (nc < 1)
        return QStringLiteral("C1");
    switch (nc) {
    case kSpeciesC7Plus: return QStringLiteral("C8");
    case kSpeciesCn1: return QStringLiteral("Cn2");
    case kSpeciesCn2: return QStringLiteral("C10");
    case kSpeciesIC4: return QStringLiteral("nC5");
    case kSpeciesIC5: return QStringLiteral("nC6");
    default: break;
    }
    if (nc > kSpeciesPlusFraction && nc < kSpeciesPlusFraction + 100)
        return QStringLiteral("C%1+").arg(nc - kSpeciesPlusFraction + 1);
    return QStringLiteral("C%1").arg(nc + 1);
}

QString typedComponentName(const QString& name)
{
    return name.startsWith(QLatin1Char('c')) ? name.toUpper() : name;
}

bool correlationReadsKey(CorrelationCode code, const QString& key)
{
    using enum CorrelationCode;
    static const QList<CorrelationCode> molarWeightCodes{jianzhong1, riaziDaubert, leeKesler, winn, pedersen, montel};
    static const QList<CorrelationCode> gravityCodes{jianzhong1, jianzhong2, riaziDaubert, leeKesler,
                                                     winn, cavett, pedersen};
    static const QList<CorrelationCode> boilingCodes{jianzhong2, edmister, cavett};
    if (key == componentkey::mw)
        return molarWeightCodes.contains(code);
    if (key == componentkey::sg)
        return gravityCodes.contains(code);
    if (key == componentkey::tb)
        return boilingCodes.contains(code);
    return false;
}

}  // namespace quorvel
