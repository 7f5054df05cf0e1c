#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cmath>

using namespace quorvel;

namespace {

// A small record graph shaped like a phase diagram: a diagram owns its
// isochores, an isochore refers back to its diagram and to its sister.
struct TestIsochor;

struct TestDiagram : ArchivableObject
{
    QString name;
    Array isochors;
    Dictionary thermoModel;
    float rangeMax = 0.0f;

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeObject(name, "name");
        coder.encodeObject(isochors, "isochors");
        coder.encodeObject(thermoModel, "thermoModel");
        coder.encodeFloat(rangeMax, "maxX");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        name = coder.decodeObject("name").toString();
        isochors = coder.decodeObject("isochors").toArray();
        thermoModel = coder.decodeObject("thermoModel").toDictionary();
        rangeMax = coder.decodeFloat("maxX");
    }
};

struct TestIsochor : ArchivableObject
{
    double Th = 0.0;
    qint32 N = 0;
    bool homog = false;
    std::weak_ptr<TestIsochor> sister;
    std::weak_ptr<TestDiagram> phaseDiagram;

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeDouble(Th, "Th");
        coder.encodeInt32(N, "N");
        coder.encodeBool(homog, "homog");
        coder.encodeConditionalObject(sister.lock(), "sister");
        coder.encodeConditionalObject(phaseDiagram.lock(), "phaseDiagram");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        Th = coder.decodeDouble("Th");
        N = coder.decodeInt32("N");
        homog = coder.decodeBool("homog");
        sister = coder.decodeObjectOfClass<TestIsochor>("sister");
        phaseDiagram = coder.decodeObjectOfClass<TestDiagram>("phaseDiagram");
    }
};

struct TestTrappingLine : TestIsochor
{
    QString trappingName;
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        TestIsochor::encodeWithCoder(coder);
        coder.encodeObject(trappingName, "trappingName");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        TestIsochor::initWithCoder(coder);
        trappingName = coder.decodeObject("trappingName").toString();
    }
};

void registerTestClasses()
{
    registerArchivableClass<TestDiagram>("CPhaseDiagram");
    registerArchivableClass<TestIsochor>("CIsochor");
    registerArchivableClass<TestTrappingLine>("CTrappingLine", "CIsochor");
}

Dictionary everyValueKind()
{
    Dictionary record;
    record.setValue("name", QString::fromUtf8("Inclusion \xc3\xa9\xe2\x82\xac"));
    record.setValue("$escaped", "dollar key");
    record.setValue("empty", "");
    record.setValue("code", 2);
    record.setValue("negative", -17);
    record.setValue("large", qint64(1) << 50);
    record.setValue("Th", 123.456);
    record.setValue("third", 1.0 / 3.0);
    record.setValue("whole", 5.0);  // a double with an integral value stays a double
    record.setValue("flag", true);
    record.setValue("off", false);
    record.setValue("color", Color::fromRgb(1.0, 0.25, 0.1, 0.5));
    record.setValue("grey", Color::fromWhite(0.3));
    record.setValue("bytes", QByteArray("\x00\x01\xff", 3));
    record.setValue("nan", Value::notANumber());
    record.setValue("emptyDictionary", Dictionary());
    record.setValue("emptyArray", Array());
    record.setValue("data", Array{Array{0.1, 0.2, 150.0}, Array{0.2, 0.3, 160.0}});
    Dictionary nested;
    nested.setValue("homog", "liquid");
    record.setValue("inclusion", nested);
    return record;
}

QByteArray roundTripBytes(const Value& root)
{
    QString error;
    const QByteArray bytes = KeyedArchiver::archivedData(root, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return bytes;
}

}  // namespace

TEST(KeyedArchive, EveryValueKindComesBackWithItsKind)
{
    const Dictionary original = everyValueKind();
    QString error;
    const Value decoded = KeyedUnarchiver::unarchivedObject(roundTripBytes(original), &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const Dictionary record = decoded.toDictionary();

    EXPECT_TRUE(record.isEqualTo(original));
    EXPECT_NE(record, original);
    EXPECT_TRUE(record.value("code").isInt());
    EXPECT_TRUE(record.value("whole").isDouble());
    EXPECT_TRUE(record.value("flag").isBool());
    EXPECT_TRUE(record.value("nan").isNotANumber());
    EXPECT_EQ(record.doubleValue("third"), 1.0 / 3.0);
    EXPECT_EQ(record.colorValue("color"), Color::fromRgb(1.0, 0.25, 0.1, 0.5));
    EXPECT_EQ(record.colorValue("grey").space(), Color::Space::White);
    EXPECT_EQ(record.stringValue("$escaped"), "dollar key");

    // Decoded containers are mutable, new instances.
    record.arrayValue("data").append(Array{0.3, 0.4, 170.0});
    EXPECT_EQ(record.arrayValue("data").size(), 3);
    EXPECT_EQ(original.arrayValue("data").size(), 2);
}

TEST(KeyedArchive, SharedRecordsAreWrittenOnceAndDecodeToOneRecord)
{
    // An alpha-beta marker refers to the curve record stored in the curve list.
    Dictionary curve;
    curve.setValue("name", "curve 1");
    curve.setValue("graphCurve", "run-time only");
    Dictionary marker;
    marker.setValue("curve", curve);
    marker.setValue("graphPoint", "run-time only");

    KeyedArchiver archiver;
    archiver.setTransientKeys({"graphCurve", "graphPoint"});
    archiver.encodeObject(Array{curve}, "curves");
    archiver.encodeObject(Array{marker}, "points");
    const QByteArray bytes = archiver.finishEncoding();
    ASSERT_FALSE(archiver.hasError());
    EXPECT_TRUE(curve.contains("graphCurve")) << "saving leaves the records as they are";

    QString error;
    const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {"curves", "points"}, &error);
    ASSERT_TRUE(roots) << error.toStdString();
    const Dictionary decodedCurve = roots->arrayValue("curves").at(0).toDictionary();
    const Dictionary decodedMarker = roots->arrayValue("points").at(0).toDictionary();
    EXPECT_EQ(decodedMarker.dictionaryValue("curve"), decodedCurve);
    EXPECT_FALSE(decodedCurve.contains("graphCurve"));
    EXPECT_FALSE(decodedMarker.contains("graphPoint"));
}

TEST(KeyedArchive, ObjectGraphWithBackReferencesSistersAndConditionalObjects)
{
    registerTestClasses();
    auto diagram = std::make_shared<TestDiagram>();
    diagram->name = "Fluid 1";
    diagram->rangeMax = 300.5f;
    diagram->thermoModel.setValue("EOS", "PR");
    auto mono = std::make_shared<TestIsochor>();
    auto bi = std::make_shared<TestIsochor>();
    auto trap = std::make_shared<TestTrappingLine>();
    auto stray = std::make_shared<TestIsochor>();  // only ever referred to conditionally
    mono->Th = 120.5;
    mono->N = -3;
    mono->homog = true;
    mono->sister = bi;
    bi->sister = mono;
    trap->trappingName = "T = 200";
    trap->sister = stray;
    for (auto& isochor : {mono, bi, std::static_pointer_cast<TestIsochor>(trap)}) {
        isochor->phaseDiagram = diagram;
        diagram->isochors.append(isochor);
    }

    QString error;
    const QByteArray bytes =
        KeyedArchiver::archivedDataWithRootKeys({{"phaseDiagrams", Array{diagram, diagram}}}, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {"phaseDiagrams"}, &error);
    ASSERT_TRUE(roots) << error.toStdString();

    const Array diagrams = roots->arrayValue("phaseDiagrams");
    auto decoded = diagrams.at(0).toObject<TestDiagram>();
    ASSERT_TRUE(decoded);
    EXPECT_EQ(diagrams.at(1).toObject(), decoded) << "one object however often it is stored";
    EXPECT_EQ(decoded->name, "Fluid 1");
    EXPECT_EQ(decoded->rangeMax, 300.5f);
    EXPECT_EQ(decoded->thermoModel.stringValue("EOS"), "PR");
    ASSERT_EQ(decoded->isochors.size(), 3);

    auto decodedMono = decoded->isochors.at(0).toObject<TestIsochor>();
    auto decodedBi = decoded->isochors.at(1).toObject<TestIsochor>();
    auto decodedTrap = decoded->isochors.at(2).toObject<TestTrappingLine>();
    ASSERT_TRUE(decodedMono && decodedBi && decodedTrap);
    EXPECT_EQ(decodedMono->Th, 120.5);
    EXPECT_EQ(decodedMono->N, -3);
    EXPECT_TRUE(decodedMono->homog);
    EXPECT_EQ(decodedMono->sister.lock(), decodedBi);
    EXPECT_EQ(decodedBi->sister.lock(), decodedMono);
    EXPECT_EQ(decodedTrap->trappingName, "T = 200");
    EXPECT_EQ(decodedTrap->sister.lock(), nullptr) << "a conditional object never stored reads as none";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(decoded->isochors.at(i).toObject<TestIsochor>()->phaseDiagram.lock(), decoded);
}

namespace {

// An object that writes a key twice: the second value is the one kept, even
// when the first was a conditional reference still waiting for its object.
struct Rewriter : ArchivableObject
{
    std::shared_ptr<TestIsochor> first;
    std::shared_ptr<TestIsochor> second;
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeConditionalObject(first, "sister");
        coder.encodeInt32(5, "sister");
        coder.encodeConditionalObject(first, "owner");
        coder.encodeConditionalObject(second, "owner");
    }
};

}  // namespace

TEST(KeyedArchive, AKeyWrittenAgainReplacesAConditionalReference)
{
    registerTestClasses();
    registerArchivableClass<Rewriter>("CRewriter");
    auto rewriter = std::make_shared<Rewriter>();
    rewriter->first = std::make_shared<TestIsochor>();
    rewriter->second = std::make_shared<TestIsochor>();
    rewriter->second->Th = 7.5;

    QString error;
    const QByteArray bytes = KeyedArchiver::archivedDataWithRootKeys(
        {{"rewriter", rewriter}, {"first", rewriter->first}, {"second", rewriter->second}}, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    // Read back by hand: Rewriter has no decoder of its own.
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    plist_t objects = plist_dict_get_item(root, "$objects");
    auto deref = [&](plist_t uidNode) {
        uint64_t uid = 0;
        plist_get_uid_val(uidNode, &uid);
        return plist_array_get_item(objects, uint32_t(uid));
    };
    plist_t top = plist_dict_get_item(root, "$top");
    plist_t written = deref(plist_dict_get_item(top, "rewriter"));
    uint64_t sister = 0;
    plist_get_uint_val(plist_dict_get_item(written, "sister"), &sister);
    EXPECT_EQ(sister, 5u);
    EXPECT_EQ(deref(plist_dict_get_item(written, "owner")), deref(plist_dict_get_item(top, "second")));
    plist_free(root);
}

TEST(KeyedArchive, DocumentFilesKeepRootKeysAndReportMissingOnes)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("model.flu");
    Dictionary fluid;
    fluid.setValue("name", "New");
    QString error;
    ASSERT_TRUE(KeyedArchiver::writeFile(path, {{"fluids", Array{fluid}}}, &error)) << error.toStdString();

    const auto read = KeyedUnarchiver::readFile(path, {"fluids"}, &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(read->arrayValue("fluids").at(0).toDictionary().stringValue("name"), "New");

    EXPECT_FALSE(KeyedUnarchiver::readFile(path, {"InclusionsArray"}, &error));
    EXPECT_EQ(error, "The archive has no \"InclusionsArray\" entry.");
    EXPECT_FALSE(KeyedUnarchiver::readFile(dir.filePath("absent.inc"), {}, &error));
    EXPECT_TRUE(error.contains("could not be read"));
}

TEST(KeyedArchive, ObjectsOfUnregisteredClassesAreRefusedWhenWriting)
{
    struct Unregistered : ArchivableObject {};
    QString error;
    EXPECT_TRUE(KeyedArchiver::archivedData(std::make_shared<Unregistered>(), &error).isEmpty());
    EXPECT_TRUE(error.contains("cannot be archived"));

    Array selfContaining;
    selfContaining.append(selfContaining);
    EXPECT_TRUE(KeyedArchiver::archivedData(selfContaining, &error).isEmpty());
    EXPECT_TRUE(error.contains("contains itself"));
    selfContaining.clear();  // break the cycle
}

// The layout as an independent reader (python's plistlib) sees it.
TEST(KeyedArchive, IndependentReaderSeesThePlatformLayout)
{
    const QString python = QStandardPaths::findExecutable("python3");
    if (python.isEmpty())
        GTEST_SKIP() << "python3 is not available";

    Dictionary fluid;
    fluid.setValue("name", "Oil");
    fluid.setValue("color", Color::red());
    fluid.setValue("grey", Color::fromWhite(0.5, 0.25));
    fluid.setValue("fluidType", 2);
    fluid.setValue("components", Array{Dictionary()});

    QTemporaryDir dir;
    const QString path = dir.filePath("fluids.flu");
    ASSERT_TRUE(KeyedArchiver::writeFile(path, {{"fluids", Array{fluid}}}));

    // Dumps the archive with UIDs as integers and data as latin-1 text.
    const char* script = R"(
import json, plistlib, sys
def plain(x):
    if isinstance(x, plistlib.UID): return {"UID": x.data}
    if isinstance(x, bytes): return {"bytes": x.decode("latin-1")}
    if isinstance(x, dict): return {k: plain(v) for k, v in x.items()}
    if isinstance(x, list): return [plain(v) for v in x]
    return x
with open(sys.argv[1], "rb") as f:
    print(json.dumps(plain(plistlib.load(f))))
)";
    QProcess process;
    process.start(python, {"-c", script, path});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QJsonObject archive = QJsonDocument::fromJson(process.readAllStandardOutput()).object();

    EXPECT_EQ(archive["$archiver"].toString(), "NSKeyedArchiver");
    EXPECT_EQ(archive["$version"].toInt(), 100000);
    const QJsonArray objects = archive["$objects"].toArray();
    EXPECT_EQ(objects[0].toString(), "$null");
    auto deref = [&](const QJsonValue& ref) { return objects[ref.toObject()["UID"].toInt()]; };
    auto className = [&](const QJsonValue& object) {
        return deref(object.toObject()["$class"]).toObject()["$classname"].toString();
    };

    const QJsonValue fluids = deref(archive["$top"].toObject()["fluids"]);
    EXPECT_EQ(className(fluids), "NSMutableArray");
    const QJsonValue classEntry = deref(fluids.toObject()["$class"]);
    EXPECT_EQ(classEntry.toObject()["$classes"].toArray(), QJsonArray({"NSMutableArray", "NSArray", "NSObject"}));

    const QJsonObject record = deref(fluids.toObject()["NS.objects"].toArray()[0]).toObject();
    EXPECT_EQ(className(record), "NSMutableDictionary");
    const QJsonArray keys = record["NS.keys"].toArray();
    const QJsonArray values = record["NS.objects"].toArray();
    ASSERT_EQ(keys.size(), values.size());
    QJsonObject byKey;
    for (int i = 0; i < keys.size(); ++i)
        byKey[deref(keys[i]).toString()] = deref(values[i]);
    EXPECT_EQ(byKey["name"].toString(), "Oil");
    EXPECT_EQ(byKey["fluidType"].toInt(), 2);
    EXPECT_EQ(className(byKey["components"]), "NSMutableArray");
    EXPECT_EQ(className(byKey["color"]), "NSColor");
    EXPECT_EQ(byKey["color"].toObject()["NSColorSpace"].toInt(), 1);
    EXPECT_EQ(byKey["color"].toObject()["NSRGB"].toObject()["bytes"].toString(), QString("1 0 0") + QChar(0));
    EXPECT_EQ(byKey["grey"].toObject()["NSColorSpace"].toInt(), 3);
    EXPECT_EQ(byKey["grey"].toObject()["NSWhite"].toObject()["bytes"].toString(), QString("0.5 0.25") + QChar(0));
}

// An XML archive as the platform's converter writes it (UIDs as CF$UID dictionaries).
TEST(KeyedArchive, XmlArchivesAreRead)
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
  <key>$archiver</key><string>NSKeyedArchiver</string>
  <key>$objects</key>
  <array>
    <string>$null</string>
    <dict>
      <key>$class</key><dict><key>CF$UID</key><integer>5</integer></dict>
      <key>NS.objects</key><array><dict><key>CF$UID</key><integer>2</integer></dict></array>
    </dict>
    <dict>
      <key>$class</key><dict><key>CF$UID</key><integer>6</integer></dict>
      <key>NS.keys</key><array><dict><key>CF$UID</key><integer>3</integer></dict></array>
      <key>NS.objects</key><array><dict><key>CF$UID</key><integer>4</integer></dict></array>
    </dict>
    <string>Th</string>
    <real>98.5</real>
    <dict>
      <key>$classes</key><array><string>NSArray</string><string>NSObject</string></array>
      <key>$classname</key><string>NSArray</string>
    </dict>
    <dict>
      <key>$classes</key><array><string>NSDictionary</string><string>NSObject</string></array>
      <key>$classname</key><string>NSDictionary</string>
    </dict>
  </array>
  <key>$top</key><dict><key>InclusionsArray</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>
  <key>$version</key><integer>100000</integer>
</dict>
</plist>
)";
    QString error;
    const auto roots = KeyedUnarchiver::unarchivedRootKeys(xml, {"InclusionsArray"}, &error);
    ASSERT_TRUE(roots) << error.toStdString();
    Array inclusions = roots->arrayValue("InclusionsArray");
    ASSERT_EQ(inclusions.size(), 1);
    EXPECT_EQ(inclusions.at(0).toDictionary().doubleValue("Th"), 98.5);
    inclusions.append(Dictionary());  // immutable classes in the file still decode mutable
    EXPECT_EQ(roots->arrayValue("InclusionsArray").size(), 2);
}
