// Every archived record class against the keys its file format lists, apart from the
// classes' own coding: stand-ins that know only the listed keys write a file, the records
// read it and write it again, and the stand-ins read that back with every value in place.
// A key misspelt alike in a record's writing and reading (say "PTrap" for "Ptrap") loses
// its value on the way. The back references ("sister", "phaseDiagram", "isochor") need the
// records that own them and are left to the phase-diagram archive's own tests.
#include "calc/CIsochor.h"
#include "calc/CIsopleth.h"
#include "calc/CPhaseDiagram.h"
#include "calc/PhaseDiagramRecords.h"
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "plot/CCurveFormat.h"
#include "plot/CPlotFormat.h"
#include "plot/CPointFormat.h"
#include "plot/CTextFormat.h"

#include <QHash>

#include <gtest/gtest.h>

#include <iterator>
#include <utility>

using namespace quorvel;

namespace {

struct ListedClass
{
    const char* name;
    const char* superclass;
    QStringList keys;  // in the order written
};

const QStringList kIsochorKeys{"curveFormat", "points",       "name",          "Th",           "Ph",
                               "Trap",        "Ptrap",        "homog",         "isBiphasic",   "bulkVolume",
                               "bulkDensity0", "bulkDensity1", "bulkMolarWeight", "GOR",       "API",
                               "CH4",         "minT",         "maxT",          "minFv",        "maxFv",
                               "trappingLines", "sister",     "phaseDiagram"};

// The keys of each record class as the file format lists them.
const ListedClass kListed[] = {
    {"CTextFormat", "NSObject", {"size", "fontName", "style"}},
    {"CCurveFormat", "NSObject", {"size", "color"}},
    {"CPointFormat", "NSObject", {"size", "color", "selector"}},
    {"CPlotFormat",
     "NSObject",
     {"minX", "maxX", "minY", "maxY", "currentMinX", "currentMaxX", "currentMinY", "currentMaxY", "legendX", "legendY",
      "legend", "labels", "ticks"}},
    {"CIsoplethPoint",
     "NSObject",
     {"T", "P", "liquidVolume", "vapourVolume", "liquidDensity", "vapourDensity", "N", "skip", "otherz"}},
    {"CIsopleth",
     "NSObject",
     {"curveFormat", "points", "name", "Th", "N", "xref", "homog", "minT", "maxT", "minP", "maxP"}},
    {"CPhaseDiagram",
     "NSObject",
     {"name", "monophasicIsochors", "biphasicIsochors", "liquidIsopleth", "vapourIsopleth", "thermoModel", "GOR",
      "API", "liqMolarWeight", "massVolLiq", "CH4"}},
    {"CIsochorPoint", "NSObject", {"T", "P"}},
    {"CBiphasicIsochorPoint", "CIsochorPoint", {"T", "P", "Fv", "otherV", "N", "otherz"}},
    {"CIsochor", "NSObject", kIsochorKeys},
    {"CTrappingLine", "CIsochor", kIsochorKeys + QStringList{"trappingName", "isochor"}},
};

// Writes and reads exactly the listed keys of its class; a key without a value is not written.
class StandIn : public ArchivableObject
{
public:
    explicit StandIn(int listed) : listed(listed) {}

    StandIn& set(const QString& key, const Value& value)
    {
        EXPECT_TRUE(kListed[listed].keys.contains(key)) << key.toStdString();
        values.insert(key, value);
        return *this;
    }

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        for (const QString& key : kListed[listed].keys) {
            const Value value = values.value(key);
            if (value.isDouble())
                coder.encodeDouble(value.toDouble(), key);
            else if (value.isInt())
                coder.encodeInt32(value.toInt(), key);
            else if (value.isBool())
                coder.encodeBool(value.toBool(), key);
            else if (!value.isNull())
                coder.encodeObject(value, key);
        }
    }

    void initWithCoder(KeyedUnarchiver& coder) override
    {
        for (const QString& key : kListed[listed].keys)
            values.insert(key, coder.decodeObject(key));
    }

    int listed;  // index in kListed
    QHash<QString, Value> values;
};

template <int I>
struct StandInAs : StandIn
{
    StandInAs() : StandIn(I) {}
};

template <int... I>
void useStandIns(std::integer_sequence<int, I...>)
{
    (registerArchivableClass<StandInAs<I>>(kListed[I].name, kListed[I].superclass), ...);
}

void useStandIns()
{
    useStandIns(std::make_integer_sequence<int, int(std::size(kListed))>());
}

void useRecordClasses()
{
    registerArchivableClass<CTextFormat>("CTextFormat");
    registerArchivableClass<CCurveFormat>("CCurveFormat");
    registerArchivableClass<CPointFormat>("CPointFormat");
    registerArchivableClass<CPlotFormat>("CPlotFormat");
    registerArchivableClass<CIsoplethPoint>("CIsoplethPoint");
    registerArchivableClass<CIsopleth>("CIsopleth");
    registerArchivableClass<CPhaseDiagram>("CPhaseDiagram");
    registerArchivableClass<CIsochorPoint>("CIsochorPoint");
    registerArchivableClass<CBiphasicIsochorPoint>("CBiphasicIsochorPoint", "CIsochorPoint");
    registerArchivableClass<CIsochor>("CIsochor");
    registerArchivableClass<CTrappingLine>("CTrappingLine", "CIsochor");
}

// A stand-in of the named class (while the stand-ins are in use).
std::shared_ptr<StandIn> make(const QString& className)
{
    return std::static_pointer_cast<StandIn>(ArchivableClasses::make(className));
}

// Distinct values for the numeric keys, exact in single precision (the plot format's
// floats), so that a value landing under another key shows.
StandIn& numbered(StandIn& record, const QStringList& keys, double first)
{
    for (int i = 0; i < keys.size(); ++i)
        record.set(keys[i], first + 0.5 * i);
    return record;
}

std::shared_ptr<StandIn> curveFormat()
{
    auto format = make("CCurveFormat");
    format->set("size", 3).set("color", Color::red());
    return format;
}

std::shared_ptr<StandIn> isochor(bool biphasic, bool trapping = false)
{
    auto line = trapping ? make("CTrappingLine") : make("CIsochor");
    auto point = biphasic ? make("CBiphasicIsochorPoint") : make("CIsochorPoint");
    numbered(*point, {"T", "P"}, 120);
    if (biphasic)
        numbered(*point, {"Fv", "otherV"}, 5).set("N", 2).set("otherz", Array{0.5, 0.5});
    line->set("curveFormat", curveFormat()).set("points", Array{point}).set("name", "Inc 1");
    numbered(*line,
             {"Th", "Ph", "Trap", "Ptrap", "bulkVolume", "bulkDensity0", "bulkDensity1", "bulkMolarWeight", "GOR", "API",
              "CH4", "minT", "maxT", "minFv", "maxFv"},
             10);
    line->set("homog", true).set("isBiphasic", biphasic).set("trappingLines", Array());
    if (trapping)
        line->set("trappingName", "T = 200");
    return line;
}

std::shared_ptr<StandIn> isopleth(bool liquid)
{
    auto point = make("CIsoplethPoint");
    numbered(*point, {"T", "P", "liquidVolume", "vapourVolume", "liquidDensity", "vapourDensity"}, liquid ? 1 : 101);
    point->set("N", 2).set("skip", 1).set("otherz", Array{0.7, 0.3});
    auto branch = make("CIsopleth");
    branch->set("curveFormat", curveFormat()).set("points", Array{point}).set("name", "Oil A");
    numbered(*branch, {"Th", "minT", "maxT", "minP", "maxP"}, liquid ? 30 : 130);
    branch->set("N", 2).set("xref", Array{0.6, 0.4}).set("homog", liquid);
    return branch;
}

std::shared_ptr<StandIn> phaseDiagram()
{
    auto monophasic = isochor(false);
    monophasic->set("trappingLines", Array{isochor(false, true)});
    auto diagram = make("CPhaseDiagram");
    diagram->set("name", "Oil A").set("thermoModel", Dictionary{{"name", "Oil A"}});
    diagram->set("monophasicIsochors", Array{monophasic}).set("biphasicIsochors", Array{isochor(true)});
    diagram->set("liquidIsopleth", isopleth(true)).set("vapourIsopleth", isopleth(false));
    numbered(*diagram, {"GOR", "API", "liqMolarWeight", "massVolLiq", "CH4"}, 50);
    return diagram;
}

std::shared_ptr<StandIn> plotFormat()
{
    auto format = make("CPlotFormat");
    numbered(*format,
             {"minX", "maxX", "minY", "maxY", "currentMinX", "currentMaxX", "currentMinY", "currentMaxY", "legendX",
              "legendY"},
             -2);
    for (const char* key : {"legend", "labels", "ticks"}) {
        auto text = make("CTextFormat");
        text->set("size", 11).set("fontName", QString("Font ") + key).set("style", 2);
        format->set(key, text);
    }
    return format;
}

// Where `read` differs from `written`, down through stand-ins and arrays.
void expectSame(const Value& written, const Value& read, const std::string& path)
{
    const auto a = written.toObject<StandIn>(), b = read.toObject<StandIn>();
    if (a || b) {
        ASSERT_TRUE(a && b) << path << ": a record where there was none, or none where there was one";
        ASSERT_EQ(a->listed, b->listed) << path;
        for (const QString& key : kListed[a->listed].keys)
            expectSame(a->values.value(key), b->values.value(key), path + "/" + kListed[a->listed].name + "." +
                                                                       key.toStdString());
        return;
    }
    if (written.isArray() && read.isArray()) {
        ASSERT_EQ(written.toArray().size(), read.toArray().size()) << path;
        for (int i = 0; i < written.toArray().size(); ++i)
            expectSame(written.toArray().at(i), read.toArray().at(i), path + "[" + std::to_string(i) + "]");
        return;
    }
    EXPECT_TRUE(written.isEqualTo(read)) << path << " lost its value";
}

TEST(RecordArchiveKeys, EveryListedKeyIsReadAndWrittenByItsRecordClass)
{
    registerPhaseDiagramClasses();  // once and for all, before the stand-ins take the names
    useStandIns();
    const KeyedArchiver::RootList written{
        {"diagram", phaseDiagram()}, {"plotFormat", plotFormat()}, {"pointFormat", [] {
             auto format = make("CPointFormat");
             format->set("size", 4).set("color", Color::blue()).set("selector", 2);
             return format;
         }()}};
    QString error;
    const QByteArray listedFile = KeyedArchiver::archivedDataWithRootKeys(written, &error);
    ASSERT_FALSE(listedFile.isEmpty()) << error.toStdString();

    useRecordClasses();
    const auto records = KeyedUnarchiver::unarchivedRootKeys(listedFile, {}, &error);
    ASSERT_TRUE(records) << error.toStdString();
    ASSERT_TRUE(records->objectValue<CPhaseDiagram>("diagram"));
    ASSERT_TRUE(records->objectValue<CPlotFormat>("plotFormat"));
    ASSERT_TRUE(records->objectValue<CPointFormat>("pointFormat"));
    KeyedArchiver::RootList rewritten;
    for (const auto& [key, value] : written)
        rewritten.append({key, records->value(key)});
    const QByteArray recordsFile = KeyedArchiver::archivedDataWithRootKeys(rewritten, &error);
    ASSERT_FALSE(recordsFile.isEmpty()) << error.toStdString();

    useStandIns();
    const auto readBack = KeyedUnarchiver::unarchivedRootKeys(recordsFile, {}, &error);
    useRecordClasses();
    ASSERT_TRUE(readBack) << error.toStdString();
    for (const auto& [key, value] : written)
        expectSame(value, readBack->value(key), key.toStdString());
}

}  // namespace
