#include "characterisation/SpeciesIdentifier.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <utility>

namespace quorvel {

namespace {

// Exact names, tested before the general rules; "C7+", "Cn1" and "Cn2" differ from them.
const std::array<std::pair<const char*, int>, 28> kExactNames{{
    {"N2", kSpeciesN2},   {"CO2", kSpeciesCO2},   {"H2S", kSpeciesH2S},  {"C1", 1},    {"C2", 2},
    {"C3", 3},            {"iC4", kSpeciesIC4},   {"nC4", 4},            {"iC5", kSpeciesIC5},
    {"nC5", 5},           {"C6", 6},              {"C7", 7},             {"C8", 8},    {"C9", 9},
    {"C10", 10},          {"C11", 11},            {"C12", 12},           {"C13", 13},  {"C14", 14},
    {"C15", 15},          {"C17", 17},            {"C20", 20},           {"C24", 24},  {"C30", 30},
    {"C35", 35},          {"C7+", kSpeciesC7Plus}, {"Cn1", kSpeciesCn1}, {"Cn2", kSpeciesCn2},
}};

const std::array<BuiltInSpecies, 11> kBuiltInSpecies{{
    {kSpeciesN2, 126.2, 33.9, 0.04, 28.01, 89, 75, 0},
    {kSpeciesCO2, 304.21, 73.825, 0.225, 44.01, 93, 185, 0},
    {kSpeciesH2S, 373.2, 88.2, 0.105, 34.08, 117, 398.8, 0},
    {1, 190.555, 45.95, 0.013, 16.04, 99.2, 116.65, 0},
    {2, 305.4, 48.2, 0.105, 30.07, 148, 184.52, 0},
    {3, 369.95, 41.9, 0.152, 44.1, 203, 231.08, 0.507},
    {kSpeciesIC4, 408.8, 35.92, 0.176, 58.12, 263, 261.85, 0.572},
    {4, 425.2, 37.5, 0.193, 58.12, 255, 272.65, 0.572},
    {kSpeciesIC5, 433.8, 31.54, 0.197, 71.95, 306, 301, 0.626},
    {5, 469.7, 33.25, 0.251, 72.15, 304, 309.22, 0.626},
    {6, 507.4, 29.75, 0.296, 85.26, 385, 341.89, 0.663},
}};

// Leading white space, an optional sign, then decimal digits up to the first other
// character; no digits give 0 and the value is clamped to the int range.
int readInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t(INT_MAX) + 1;  // enough to saturate either way
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        magnitude = std::min<std::int64_t>(kLimit, magnitude * 10 + (text[i].unicode() - u'0'));
    const std::int64_t value = negative ? -magnitude : magnitude;
    return int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

int plusFractionIdentifier(int carbonNumber)
{
    return int(std::min<std::int64_t>(std::int64_t(kSpeciesPlusFraction) + carbonNumber, INT_MAX));
}

// The identifier of the text after a "C" or "nC" prefix.
int identifierAfterPrefix(QStringView rest)
{
    if (rest.endsWith(u'+'))
        return plusFractionIdentifier(readInteger(rest.chopped(1)));
    return readInteger(rest);
}

}  // namespace

int getSpeciesIdentifier(const QString& name)
{
    for (const auto& [exactName, identifier] : kExactNames)
        if (name == QLatin1StringView(exactName))
            return identifier;
    if (name.startsWith(u'C'))
        return identifierAfterPrefix(QStringView(name).mid(1));
    if (name.startsWith(u"nC"))
        return identifierAfterPrefix(QStringView(name).mid(2));
    return kSpeciesUnknown;
}

std::optional<BuiltInSpecies> findBuiltInSpecies(int nc)
{
    for (const BuiltInSpecies& species : kBuiltInSpecies)
        if (species.nc == nc)
            return species;
    return std::nullopt;
}

}  // namespace quorvel
