#include "app/InclusionRecord.h"

#include "platform/Document.h"

#include <QObject>

namespace quorvel {

Dictionary newVolumePoint(double tvol, double fvol, int code)
{
    return Dictionary{{"Tvol", tvol}, {"Fvol", fvol}, {"code", code}};
}

Dictionary newInclusionRecord()
{
    constexpr double th = 100, fv = 10, tv = 20;
    Array volumes;
    volumes.append(newVolumePoint(tv, fv, VolumeCode::Reading));
    volumes.append(newVolumePoint(th, 0, VolumeCode::Homogenisation));
    return Dictionary{{"name", "New inclusion"}, {"Th", th},     {"Fv", fv},       {"Tv", tv},
                      {"homog", "liquid"},       {"CO2", 0.0},   {"N2", 0.0},      {"H2S", 0.0},
                      {"type0", "Oil"},          {"type1", ""},  {"comment", ""},  {"volumes", volumes}};
}

bool volumePointLess(const Value& a, const Value& b)
{
    return a.toDictionary().floatValue("Tvol") < b.toDictionary().floatValue("Tvol");
}

void sortVolumes(const Array& volumes)
{
    Array(volumes).sort(volumePointLess);
}

bool homogenisesToLiquid(const Dictionary& inclusion)
{
    return inclusion.stringValue("homog") == QLatin1String("liquid");
}

bool isPetroleumInclusion(const Dictionary& inclusion)
{
    return inclusion.stringValue("type0") == QLatin1String("Oil");
}

std::optional<QString> checkInclusionList(const Value& list)
{
    if (!isArrayOfDictionaries(list))
        return QObject::tr("The inclusion list is not a list of inclusion records.");
    for (const Value& element : list.toArray()) {
        Dictionary inclusion = element.toDictionary();
        const Value volumes = inclusion.value("volumes");
        if (volumes.isNull())
            inclusion.setValue("volumes", Array());
        else if (!isArrayOfDictionaries(volumes))
            return QObject::tr("The volume readings of inclusion \u201c%1\u201d are not a list of points.")
                .arg(inclusion.stringValue("name"));
    }
    return std::nullopt;
}

}  // namespace quorvel
