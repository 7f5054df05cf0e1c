// The contents of every document file and of the fluids pasteboard, written
// and read back: each archived class under its class name with exactly its
// keys and value kinds, the records with their keys, shared records and
// back references restored.
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>

using namespace quorvel;

namespace {

// How a key is written: an object, a conditional object, an object held as a
// back reference (written unconditionally), or a scalar.
enum class Kind { Object, Conditional, BackReference, Int, Bool, Float, Double };

struct Field
{
    QString key;
    Kind kind;
};

struct ArchivedClass
{
    QString name;
    QString superclass;
    QList<Field> fields;
};

QList<Field> fieldsOf(Kind kind, const QStringList& keys)
{
    QList<Field> fields;
    for (const QString& key : keys)
        fields.append({key, kind});
    return fields;
}

QList<Field> isochorFields()
{
    return QList<Field>{{"curveFormat", Kind::Object}, {"points", Kind::Object}, {"name", Kind::Object}}
           + fieldsOf(Kind::Double, {"Th", "Ph", "Trap", "Ptrap"}) + fieldsOf(Kind::Bool, {"homog", "isBiphasic"})
           + fieldsOf(Kind::Double, {"bulkVolume", "bulkDensity0", "bulkDensity1", "bulkMolarWeight", "GOR", "API",
                                     "CH4", "minT", "maxT", "minFv", "maxFv"})
           + QList<Field>{{"trappingLines", Kind::Object},
                          {"sister", Kind::Conditional},
                          {"phaseDiagram", Kind::Conditional}};
}

enum ClassIndex
{
    TextFormat,
    CurveFormat,
    PointFormat,
    PlotFormat,
    IsoplethPoint,
    Isopleth,
    PhaseDiagram,
    IsochorPoint,
    BiphasicIsochorPoint,
    Isochor,
    TrappingLine,
    ClassCount
};

// The archived classes of the phase-diagram and alpha-beta plot files.
const QList<ArchivedClass>& archivedClasses()
{
    static const QList<ArchivedClass> classes{
        {"CTextFormat", "NSObject", {{"size", Kind::Int}, {"fontName", Kind::Object}, {"style", Kind::Int}}},
        {"CCurveFormat", "NSObject", {{"size", Kind::Int}, {"color", Kind::Object}}},
        {"CPointFormat", "NSObject", {{"size", Kind::Int}, {"color", Kind::Object}, {"selector", Kind::Int}}},
        {"CPlotFormat", "NSObject",
         fieldsOf(Kind::Float, {"minX", "maxX", "minY", "maxY", "currentMinX", "currentMaxX", "currentMinY",
                                "currentMaxY", "legendX", "legendY"})
             + fieldsOf(Kind::Object, {"legend", "labels", "ticks"})},
        {"CIsoplethPoint", "NSObject",
         fieldsOf(Kind::Double, {"T", "P", "liquidVolume", "vapourVolume", "liquidDensity", "vapourDensity"})
             + fieldsOf(Kind::Int, {"N", "skip"}) + QList<Field>{{"otherz", Kind::Object}}},
        {"CIsopleth", "NSObject",
         fieldsOf(Kind::Object, {"curveFormat", "points", "name"})
             + QList<Field>{{"Th", Kind::Double}, {"N", Kind::Int}, {"xref", Kind::Object}, {"homog", Kind::Bool}}
             + fieldsOf(Kind::Double, {"minT", "maxT", "minP", "maxP"})},
        {"CPhaseDiagram", "NSObject",
         fieldsOf(Kind::Object,
                  {"name", "monophasicIsochors", "biphasicIsochors", "liquidIsopleth", "vapourIsopleth", "thermoModel"})
             + fieldsOf(Kind::Double, {"GOR", "API", "liqMolarWeight", "massVolLiq", "CH4"})},
        {"CIsochorPoint", "NSObject", fieldsOf(Kind::Double, {"T", "P"})},
        {"CBiphasicIsochorPoint", "CIsochorPoint",
         fieldsOf(Kind::Double, {"T", "P", "Fv", "otherV"})
             + QList<Field>{{"N", Kind::Int}, {"otherz", Kind::Object}}},
        {"CIsochor", "NSObject", isochorFields()},
        {"CTrappingLine", "CIsochor",
         isochorFields() + QList<Field>{{"trappingName", Kind::Object}, {"isochor", Kind::BackReference}}},
    };
    return classes;
}

// A stand-in for one archived class: writes and reads exactly its keys.
// An object key without a value is not written (as a diagram without a vapour
// branch has no "vapourIsopleth").
class Stored : public ArchivableObject
{
public:
    explicit Stored(int index) : mClass(&archivedClasses()[index]) {}

    const ArchivedClass& archivedClass() const { return *mClass; }

    Stored& set(const QString& key, const Value& value)
    {
        if (isHeldWeakly(key))
            mWeak.insert(key, WeakValue(value));
        else
            mValues.insert(key, value);
        return *this;
    }

    Value get(const QString& key) const { return isHeldWeakly(key) ? mWeak.value(key).lock() : mValues.value(key); }

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        for (const Field& field : mClass->fields) {
            const Value value = get(field.key);
            switch (field.kind) {
            case Kind::Object:
            case Kind::BackReference:
                if (!value.isNull())
                    coder.encodeObject(value, field.key);
                break;
            case Kind::Conditional: coder.encodeConditionalObject(value, field.key); break;
            case Kind::Int: coder.encodeInt32(value.toInt(), field.key); break;
            case Kind::Bool: coder.encodeBool(value.toBool(), field.key); break;
            case Kind::Float: coder.encodeFloat(value.toFloat(), field.key); break;
            case Kind::Double: coder.encodeDouble(value.toDouble(), field.key); break;
            }
        }
    }

    void initWithCoder(KeyedUnarchiver& coder) override
    {
        for (const Field& field : mClass->fields) {
            switch (field.kind) {
            case Kind::Object:
            case Kind::BackReference:
            case Kind::Conditional: set(field.key, coder.decodeObject(field.key)); break;
            case Kind::Int: set(field.key, coder.decodeInt32(field.key)); break;
            case Kind::Bool: set(field.key, coder.decodeBool(field.key)); break;
            case Kind::Float: set(field.key, double(coder.decodeFloat(field.key))); break;
            case Kind::Double: set(field.key, coder.decodeDouble(field.key)); break;
            }
        }
    }

private:
    bool isHeldWeakly(const QString& key) const
    {
        for (const Field& field : mClass->fields)
            if (field.key == key)
                return field.kind == Kind::Conditional || field.kind == Kind::BackReference;
        return false;
    }

    const ArchivedClass* mClass;
    QHash<QString, Value> mValues;
    QHash<QString, WeakValue> mWeak;
};

template <int I>
struct StoredAs : Stored
{
    StoredAs() : Stored(I) {}
};

template <int... I>
void registerStandIns(std::integer_sequence<int, I...>)
{
    (registerArchivableClass<StoredAs<I>>(archivedClasses()[I].name, archivedClasses()[I].superclass), ...);
}

template <int I>
std::shared_ptr<Stored> make()
{
    return std::make_shared<StoredAs<I>>();
}

// ---- The documents

std::shared_ptr<Stored> textFormat()
{
    auto format = make<TextFormat>();
    format->set("size", 10).set("fontName", "Arial").set("style", 3);
    return format;
}

std::shared_ptr<Stored> plotFormat()
{
    auto format = make<PlotFormat>();
    const float values[] = {0.0f, 300.0f, 0.0f, 500.0f, 12.5f, 250.25f, -1.0f, 480.0f, 20.0f, 400.0f};
    for (int i = 0; i < 10; ++i)
        format->set(archivedClasses()[PlotFormat].fields[i].key, double(values[i]));
    format->set("legend", textFormat()).set("labels", textFormat()).set("ticks", textFormat());
    return format;
}

std::shared_ptr<Stored> curveFormat(const Color& color)
{
    auto format = make<CurveFormat>();
    format->set("size", 2).set("color", color);
    return format;
}

Dictionary component(const QString& name, int nc, double mole)
{
    return Dictionary{{"name", name}, {"nc", nc}, {"mole", mole}, {"mw", 16.043}, {"Tc", -82.59}, {"corr", 101}};
}

Dictionary fluidRecord()
{
    return Dictionary{{"name", "Oil A"},
                      {"comment", ""},
                      {"fluidType", 2},
                      {"EOS", "PR"},
                      {"alpha", 0.35},
                      {"GOR", Value::notANumber()},
                      {"components", Array{component("C1", 1, 60.0), component("C7+", 2000, 40.0)}}};
}

Dictionary inclusionRecord()
{
    Dictionary inclusion{{"name", "New inclusion"}, {"Th", 100.0}, {"Fv", 10.0}, {"Tv", 20.0}, {"homog", "liquid"},
                         {"CO2", 0.0},           {"N2", 0.0},    {"H2S", 0.0}, {"type0", "Oil"}, {"type1", ""},
                         {"comment", "Th typed as text"}};
    inclusion.setValue("volumes", Array{Dictionary{{"Tvol", 20.0}, {"Fvol", 10.0}, {"code", 1}},
                                        Dictionary{{"Tvol", "100"}, {"Fvol", 0.0}, {"code", 2}}});
    return inclusion;
}

std::shared_ptr<Stored> isopleth(bool liquid)
{
    auto branch = make<Isopleth>();
    Array points;
    for (int i = 0; i < 2; ++i) {
        auto point = make<IsoplethPoint>();
        point->set("T", 100.0 + i).set("P", 150.5 - i).set("liquidVolume", 1.2e-4).set("vapourVolume", 3.4e-4);
        point->set("liquidDensity", 0.61).set("vapourDensity", 0.21).set("N", 2).set("skip", i);
        point->set("otherz", Array{0.7, 0.3});
        points.append(point);
    }
    branch->set("curveFormat", curveFormat(Color::red())).set("points", points).set("name", "Oil A");
    branch->set("Th", 0.0).set("N", 2).set("xref", Array{0.6, 0.4}).set("homog", liquid);
    branch->set("minT", -10.0).set("maxT", 352.0).set("minP", 1.0).set("maxP", 202.0);
    return branch;
}

std::shared_ptr<Stored> isochor(int index, bool biphasic, const std::shared_ptr<Stored>& diagram)
{
    auto line = index == TrappingLine ? make<TrappingLine>() : make<Isochor>();
    Array points;
    for (int i = 0; i < 2; ++i) {
        auto point = biphasic ? make<BiphasicIsochorPoint>() : make<IsochorPoint>();
        point->set("T", 120.0 + 20 * i).set("P", 180.0 + 30 * i);
        if (biphasic)
            point->set("Fv", 5.0 - i).set("otherV", 2e-4).set("N", 2).set("otherz", Array{0.5, 0.5});
        points.append(point);
    }
    line->set("curveFormat", curveFormat(Color::fromWhite(0.0))).set("points", points).set("name", "Inc 1");
    const QStringList doubles{"Th", "Ph", "Trap", "Ptrap", "bulkVolume", "bulkDensity0", "bulkDensity1",
                              "bulkMolarWeight", "GOR", "API", "CH4", "minT", "maxT", "minFv", "maxFv"};
    for (int i = 0; i < doubles.size(); ++i)
        line->set(doubles[i], 1.5 * (i + 1));
    line->set("homog", true).set("isBiphasic", biphasic).set("trappingLines", Array());
    line->set("phaseDiagram", diagram);
    return line;
}

// Two diagrams: a complete one with a pair of isochores and a trapping line,
// and one without a vapour branch.
Array phaseDiagrams()
{
    auto diagram = make<PhaseDiagram>();
    diagram->set("name", "Oil A").set("thermoModel", fluidRecord());
    diagram->set("liquidIsopleth", isopleth(true)).set("vapourIsopleth", isopleth(false));
    auto mono = isochor(Isochor, false, diagram);
    auto bi = isochor(Isochor, true, diagram);
    mono->set("sister", bi);
    bi->set("sister", mono);
    auto trap = isochor(TrappingLine, false, diagram);
    trap->set("trappingName", "T = 200").set("isochor", mono).set("sister", Value());
    mono->set("trappingLines", Array{trap});
    diagram->set("monophasicIsochors", Array{mono}).set("biphasicIsochors", Array{bi});
    for (const char* key : {"GOR", "API", "liqMolarWeight", "massVolLiq", "CH4"})
        diagram->set(key, 42.25);

    auto liquidOnly = make<PhaseDiagram>();
    liquidOnly->set("name", "AB 0.300 0.400").set("thermoModel", Dictionary{{"fluidType", 1}, {"alpha", 0.3}});
    liquidOnly->set("liquidIsopleth", isopleth(true));
    liquidOnly->set("monophasicIsochors", Array()).set("biphasicIsochors", Array());
    for (const char* key : {"GOR", "API", "liqMolarWeight", "massVolLiq", "CH4"})
        liquidOnly->set(key, 0.0);
    return Array{diagram, liquidOnly};
}

// Curves, markers (one on the curve, sharing its record) and a correlation line.
KeyedArchiver::RootList alphaBetaPlot()
{
    Dictionary curve{{"name", "Inc 1"}, {"Th", 100.0}, {"Fv", 10.0}, {"Tv", 20.0}, {"CO2", 1.5}, {"N2", 0.0},
                     {"H2S", 0.0},      {"homog", "gas"}, {"size", 1}, {"color", Color::red()}, {"alpha0", 0.12},
                     {"index", 0},      {"inclusion", inclusionRecord().copy()},
                     {"graphCurve", "run time only"}};
    curve.setValue("data", Array{Array{0.12, 0.30, 210.0}, Array{0.15, 0.35, 230.5}});
    Dictionary marker{{"alpha", 0.15}, {"beta", 0.35}, {"CO2", 1.5}, {"N2", 0.0}, {"H2S", 0.0}, {"Ph", 230.5},
                      {"name", "P1"},  {"size", 1},    {"color", Color::blue()}, {"selector", 1}, {"fluidType", 1},
                      {"curve", curve}, {"inclusion", curve.dictionaryValue("inclusion").copy()},
                      {"graphPoint", "run time only"}};
    Dictionary unplaced{{"alpha", 0.2}, {"beta", 0.5}, {"Ph", 0.0}, {"name", "P2"}, {"fluidType", 1}};
    Dictionary correlation{{"name", "model"}, {"path", "/data/model.flu"}, {"size", 1}, {"selector", 1},
                           {"color", Color::black()}};
    correlation.setValue("data", Array{Dictionary{{"name", "AB"}, {"alpha", 0.3}, {"beta", 0.4}, {"CO2", 0.01},
                                                  {"N2", 0.0}, {"H2S", 0.0}, {"GOR", 120.0}, {"API", 38.5}}});
    return {{"curves", Array{curve}},
            {"points", Array{marker, unplaced}},
            {"correlations", Array{correlation}},
            {"plotFormat", plotFormat()}};
}

struct Document
{
    const char* name;
    std::function<KeyedArchiver::RootList()> roots;
};

const Document documents[] = {
    {"PhaseDiagram", [] { return KeyedArchiver::RootList{{"phaseDiagrams", phaseDiagrams()}, {"plotFormat", plotFormat()}}; }},
    {"AlphaBetaPlot", alphaBetaPlot},
    {"FluidModel", [] { return KeyedArchiver::RootList{{"fluids", Array{fluidRecord(), fluidRecord()}}}; }},
    {"InclusionData", [] { return KeyedArchiver::RootList{{"InclusionsArray", Array{inclusionRecord()}}}; }},
    {"FluidsPasteboard", [] { return KeyedArchiver::RootList{{"root", Array{fluidRecord()}}}; }},
};

const QStringList transientKeys{"graphCurve", "graphPoint"};

// Whether a decoded graph is the written one: the same kinds and values, and
// one decoded instance for each written container or object.
class GraphMatch
{
public:
    bool same(const Value& written, const Value& read, const QString& path)
    {
        if (const void* identity = written.identity()) {
            if (mMatched.contains(identity))
                return check(mMatched.value(identity) == read.identity(), path + ": not the shared instance");
            if (!check(read.identity() && !mTaken.contains(read.identity()), path + ": a separate instance expected"))
                return false;
            mMatched.insert(identity, read.identity());
            mTaken.insert(read.identity());
        }
        if (!check(written.type() == read.type(), path + ": another kind of value"))
            return false;
        switch (written.type()) {
        case Value::Type::Dictionary: return sameDictionary(written.toDictionary(), read.toDictionary(), path);
        case Value::Type::Array: {
            const Array a = written.toArray(), b = read.toArray();
            bool ok = check(a.size() == b.size(), path + ": another length");
            for (int i = 0; ok && i < a.size(); ++i)
                ok = same(a.at(i), b.at(i), path + "[" + QString::number(i) + "]");
            return ok;
        }
        case Value::Type::Object: {
            auto a = written.toObject<Stored>(), b = read.toObject<Stored>();
            if (!check(a && b && &a->archivedClass() == &b->archivedClass(), path + ": another class"))
                return false;
            bool ok = true;
            for (const Field& field : a->archivedClass().fields)
                ok = same(a->get(field.key), b->get(field.key), path + "." + field.key) && ok;
            return ok;
        }
        default: return check(written == read, path + ": another value");
        }
    }

    QStringList failures;

private:
    bool sameDictionary(const Dictionary& a, const Dictionary& b, const QString& path)
    {
        QStringList keys = a.keys();
        for (const QString& key : transientKeys)
            keys.removeAll(key);
        bool ok = check(keys == b.keys(), path + ": other keys");
        for (const QString& key : keys)
            ok = same(a.value(key), b.value(key), path + "." + key) && ok;
        return ok;
    }

    bool check(bool condition, const QString& failure)
    {
        if (!condition)
            failures.append(failure);
        return condition;
    }

    QHash<const void*, const void*> mMatched;
    QSet<const void*> mTaken;
};

// ---- The property list as written

QString stringOf(plist_t node)
{
    char* text = nullptr;
    plist_get_string_val(node, &text);
    const QString result = QString::fromUtf8(text);
    std::free(text);
    return result;
}

QStringList keysOf(plist_t dict)
{
    QStringList keys;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dict, &iter);
    char* key = nullptr;
    plist_t node = nullptr;
    for (plist_dict_next_item(dict, iter, &key, &node); key; plist_dict_next_item(dict, iter, &key, &node)) {
        keys.append(QString::fromUtf8(key));
        std::free(key);
        key = nullptr;
    }
    std::free(iter);
    keys.sort();
    return keys;
}

plist_type plistTypeOf(Kind kind)
{
    switch (kind) {
    case Kind::Int: return PLIST_UINT;
    case Kind::Bool: return PLIST_BOOLEAN;
    case Kind::Float:
    case Kind::Double: return PLIST_REAL;
    default: return PLIST_UID;
    }
}

// Every archived object of the list: its class chain, and its keys with the
// plist kind of each as its class prescribes. Returns the class names found.
QSet<QString> checkArchivedObjects(const QByteArray& bytes, QStringList& failures)
{
    QHash<QString, const ArchivedClass*> byName;
    for (const ArchivedClass& c : archivedClasses())
        byName.insert(c.name, &c);
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    plist_t objects = plist_dict_get_item(root, "$objects");
    QSet<QString> found;
    for (uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
        plist_t object = plist_array_get_item(objects, i);
        plist_t classRef = plist_dict_get_item(object, "$class");
        if (!classRef)
            continue;
        uint64_t uid = 0;
        plist_get_uid_val(classRef, &uid);
        plist_t classEntry = plist_array_get_item(objects, uint32_t(uid));
        const QString name = stringOf(plist_dict_get_item(classEntry, "$classname"));
        found.insert(name);
        const ArchivedClass* archived = byName.value(name);
        if (!archived)
            continue;
        QStringList chain;
        plist_t classes = plist_dict_get_item(classEntry, "$classes");
        for (uint32_t k = 0; k < plist_array_get_size(classes); ++k)
            chain.append(stringOf(plist_array_get_item(classes, k)));
        const QStringList expectedChain = archived->superclass == "NSObject"
                                              ? QStringList{name, "NSObject"}
                                              : QStringList{name, archived->superclass, "NSObject"};
        if (chain != expectedChain)
            failures.append(name + ": class chain " + chain.join(", "));
        QStringList keys = keysOf(object);
        keys.removeAll("$class");
        for (const Field& field : archived->fields) {
            plist_t node = plist_dict_get_item(object, field.key.toUtf8().constData());
            // Only an object key may be left out, when it has no value.
            if (!node && (field.kind == Kind::Object || field.kind == Kind::BackReference))
                continue;
            if (!node || plist_get_node_type(node) != plistTypeOf(field.kind))
                failures.append(name + "." + field.key + ": missing or of another kind");
            keys.removeAll(field.key);
        }
        if (!keys.isEmpty())
            failures.append(name + ": keys of no field " + keys.join(", "));
    }
    plist_free(root);
    return found;
}

class DocumentFormat : public testing::TestWithParam<Document>
{
protected:
    static void SetUpTestSuite() { registerStandIns(std::make_integer_sequence<int, ClassCount>()); }
};

std::string documentName(const testing::TestParamInfo<Document>& info)
{
    return info.param.name;
}

}  // namespace

TEST_P(DocumentFormat, IsWrittenWithItsClassesAndKeysAndReadBackWhole)
{
    const KeyedArchiver::RootList roots = GetParam().roots();
    KeyedArchiver archiver;
    archiver.setTransientKeys(transientKeys);
    QStringList rootKeys;
    for (const auto& [key, value] : roots) {
        archiver.encodeObject(value, key);
        rootKeys.append(key);
    }
    const QByteArray bytes = archiver.finishEncoding();
    ASSERT_FALSE(archiver.hasError()) << archiver.errorString().toStdString();

    QStringList failures;
    const QSet<QString> classes = checkArchivedObjects(bytes, failures);
    EXPECT_TRUE(failures.isEmpty()) << failures.join("\n").toStdString();
    if (QString(GetParam().name) == "PhaseDiagram") {
        for (const ArchivedClass& c : archivedClasses()) {
            if (c.name != "CPointFormat") {  // archivable, but no document holds one
                EXPECT_TRUE(classes.contains(c.name)) << c.name.toStdString();
            }
        }
    }

    QString error;
    const auto read = KeyedUnarchiver::unarchivedRootKeys(bytes, rootKeys, &error);
    ASSERT_TRUE(read) << error.toStdString();
    GraphMatch match;
    for (const auto& [key, value] : roots)
        match.same(value, read->value(key), key);
    EXPECT_TRUE(match.failures.isEmpty()) << match.failures.join("\n").toStdString();
}

INSTANTIATE_TEST_SUITE_P(Documents, DocumentFormat, testing::ValuesIn(documents), documentName);

TEST(ArchivedClasses, PointFormatsAndObjectKeysLeftOut)
{
    registerStandIns(std::make_integer_sequence<int, ClassCount>());
    auto point = make<PointFormat>();
    point->set("size", 3).set("color", Color::red()).set("selector", 3);
    auto emptyDiagram = make<PhaseDiagram>();  // no name, branches, lists or model
    QString error;
    const QByteArray bytes = KeyedArchiver::archivedData(Array{point, emptyDiagram}, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    const Array read = KeyedUnarchiver::unarchivedObject(bytes, &error).toArray();
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    auto readPoint = read.at(0).toObject<Stored>();
    auto readDiagram = read.at(1).toObject<Stored>();
    ASSERT_TRUE(readPoint && readDiagram);
    EXPECT_EQ(readPoint->get("selector"), Value(3));
    EXPECT_EQ(readPoint->get("color").toColor(), Color::red());
    EXPECT_TRUE(readDiagram->get("vapourIsopleth").isNull());
    EXPECT_TRUE(readDiagram->get("thermoModel").isNull());
}
