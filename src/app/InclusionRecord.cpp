#include "app/InclusionRecord.h"

#include "platform/Document.h"

#include <QObject>

namespace quorvel {

Dictionary newVolumePoint(double tvol, double fvol, VolumeCode code)
{
    return Dictionary{{volumekey::Tvol, tvol}, {volumekey::Fvol, fvol}, {volumekey::code, code_number(code)}};
}

Dictionary newInclusionRecord()
{
    constexpr double th = 100, fv = 10, tv = 20;
    Array volumes;
    volumes.append(newVolumePoint(tv, fv, VolumeCode::Reading));
    volumes.append(newVolumePoint(th, 0, VolumeCode::Homogenisation));
    return Dictionary{{inclusionkey::name, "New inclusion"},
                      {inclusionkey::Th, th},
                      {inclusionkey::Fv, fv},
                      {inclusionkey::Tv, tv},
                      {inclusionkey::homog, homogvalue::liquid},
                      {inclusionkey::CO2, 0.0},
                      {inclusionkey::N2, 0.0},
                      {inclusionkey::H2S, 0.0},
                      {inclusionkey::type0, "Oil"},
                      {inclusionkey::type1, ""},
                      {inclusionkey::comment, ""},
                      {inclusionkey::volumes, volumes}};
}

bool volumePointLess(const Value& a, const Value& b)
{
    return a.toDictionary().floatValue(volumekey::Tvol) < b.toDictionary().floatValue(volumekey::Tvol);
}

void sortVolumes(const Array& volumes)
{
    Array(volumes).sort(volumePointLess);
}

Homogenisation homogenisationOf(const Dictionary& record)
{
    const bool toLiquid = record.stringValue(inclusionkey::homog) == homogvalue::liquid;
    return homogenisationFromFlag(toLiquid);
}

QString homogRecordText(Homogenisation homogenisation)
{
    return homogenisation == Homogenisation::toLiquid ? homogvalue::liquid : homogvalue::gas;
}

bool isPetroleumInclusion(const Dictionary& inclusion)
{
    return inclusion.stringValue(inclusionkey::type0) == QLatin1String("Oil");
}

std::optional<QString> checkInclusionList(const Value& list)
{
    if (!isArrayOfDictionaries(list))
        return QObject::tr("The inclusion list is not a list of inclusion records.");
    for (const Value& element : list.toArray()) {
        Dictionary inclusion = element.toDictionary();
        const Value volumes = inclusion.value(inclusionkey::volumes);
        if (volumes.isNull())
            inclusion.setValue(inclusionkey::volumes, Array());
        else if (!isArrayOfDictionaries(volumes))
            return QObject::tr("The volume readings of inclusion \u201c%1\u201d are not a list of points.")
                .arg(inclusion.stringValue(inclusionkey::name));
    }
    return std::nullopt;
}

}  // namespace quorvel
