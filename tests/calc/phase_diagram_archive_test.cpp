// Phase-diagram records written to a keyed archive and read back: every key in its order
// and kind under the archived class names, links between records restored, run-time
// values left out, damaged mole-fraction arrays refused.
#include "support/PhaseDiagramFixtures.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kRootKey = QStringLiteral("phaseDiagrams");

// A diagram of two branches (the liquid one broken by a break point without fractions),
// closed by a critical point, with an isochore pair and a trapping line on its one-phase part.
struct Document {
    PhaseDiagramPtr diagram;
    IsochorPair pair;
    TrappingLinePtr line;
};

Document makeDocument(bool withVapourBranch = true)
{
    Document document;
    document.diagram = makeDiagram(withVapourBranch);
    const PhaseDiagramPtr& diagram = document.diagram;
    auto& liquidPoints = diagram->liquidIsopleth()->points();
    liquidPoints.insert(liquidPoints.begin() + 1, makeBranch(Homogenisation::toLiquid, {{0, 0, kBreak}})->points()[0]);
    liquidPoints.back()->setLiquidVolume(1.5e-4);
    liquidPoints.back()->setVapourDensity(0.2);
    diagram->liquidIsopleth()->setMinT(0);
    diagram->liquidIsopleth()->setMaxT(102);
    diagram->liquidIsopleth()->setMaxP(112);
    diagram->buildCriticalPoint();
    diagram->setGOR(150.5);
    diagram->setAPI(38.25);
    diagram->setCH4(60);
    diagram->setMassVolLiq(0.81);
    diagram->setLiqMolarWeight(210);

    document.pair = addIsochorPair(diagram, 90, Homogenisation::toLiquid);
    const IsochorPtr& monophasic = document.pair.monophasic;
    monophasic->setPh(80);
    monophasic->setTrap(423.15);
    monophasic->setPtrap(175);
    monophasic->setBulkVolume(1.2e-4);
    monophasic->setBulkDensity0(0.7);
    monophasic->setBulkDensity1(0.71);
    monophasic->setBulkMolarWeight(96);
    monophasic->setGOR(150.5);
    monophasic->setAPI(38.25);
    monophasic->setCH4(60);
    document.pair.biphasic->setMinT(50);
    document.pair.biphasic->setMaxT(90);
    document.pair.biphasic->setMaxFv(12.5);
    document.line = std::make_shared<CTrappingLine>();
    EXPECT_TRUE(document.line->attachToIsochor(monophasic, 120));
    return document;
}

QByteArray archived(const PhaseDiagramPtr& diagram)
{
    QString error;
    const QByteArray data = KeyedArchiver::archivedDataWithRootKeys({{kRootKey, Array{diagram}}}, &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return data;
}

PhaseDiagramPtr unarchived(const QByteArray& data, QString* error = nullptr)
{
    registerPhaseDiagramClasses();
    const std::optional<Dictionary> roots = KeyedUnarchiver::unarchivedRootKeys(data, {kRootKey}, error);
    return roots ? roots->arrayValue(kRootKey).at(0).toObject<CPhaseDiagram>() : nullptr;
}

// Every value of a record given by its accessors.
template <class Record, class Value>
std::vector<Value> valuesOf(const Record& record, std::initializer_list<Value (Record::*)() const> accessors)
{
    std::vector<Value> values;
    for (auto accessor : accessors)
        values.push_back((record.*accessor)());
    return values;
}

std::vector<double> isochorValues(const CIsochor& i)
{
    return valuesOf<CIsochor, double>(i, {&CIsochor::Th, &CIsochor::Ph, &CIsochor::Trap, &CIsochor::Ptrap,
                                          &CIsochor::bulkVolume, &CIsochor::bulkDensity0, &CIsochor::bulkDensity1,
                                          &CIsochor::bulkMolarWeight, &CIsochor::GOR, &CIsochor::API, &CIsochor::CH4,
                                          &CIsochor::minT, &CIsochor::maxT, &CIsochor::minFv, &CIsochor::maxFv});
}

void expectSameIsochor(const CIsochor& read, const CIsochor& written)
{
    EXPECT_EQ(read.name(), written.name());
    EXPECT_EQ(isochorValues(read), isochorValues(written));
    EXPECT_EQ(read.homog(), written.homog());
    EXPECT_EQ(read.isBiphasic(), written.isBiphasic());
    EXPECT_EQ(read.curveFormat()->size(), written.curveFormat()->size());
    EXPECT_EQ(read.curveFormat()->color(), written.curveFormat()->color());
    ASSERT_EQ(read.points().size(), written.points().size());
    for (std::size_t i = 0; i < read.points().size(); ++i) {
        EXPECT_EQ(read.points()[i]->T(), written.points()[i]->T());
        EXPECT_EQ(read.points()[i]->P(), written.points()[i]->P());
        const auto* readTwoPhase = dynamic_cast<const CBiphasicIsochorPoint*>(read.points()[i].get());
        const auto* writtenTwoPhase = dynamic_cast<const CBiphasicIsochorPoint*>(written.points()[i].get());
        ASSERT_EQ(readTwoPhase != nullptr, writtenTwoPhase != nullptr);
        if (readTwoPhase) {
            EXPECT_EQ(readTwoPhase->Fv(), writtenTwoPhase->Fv());
            EXPECT_EQ(readTwoPhase->otherV(), writtenTwoPhase->otherV());
            EXPECT_EQ(readTwoPhase->N(), writtenTwoPhase->N());
            EXPECT_EQ(readTwoPhase->otherz(), writtenTwoPhase->otherz());
        }
    }
}

std::vector<double> branchValues(const CIsopleth& b)
{
    return valuesOf<CIsopleth, double>(b, {&CIsopleth::Th, &CIsopleth::minT, &CIsopleth::maxT, &CIsopleth::minP,
                                           &CIsopleth::maxP});
}

std::vector<double> diagramValues(const CPhaseDiagram& d)
{
    return valuesOf<CPhaseDiagram, double>(d, {&CPhaseDiagram::GOR, &CPhaseDiagram::API, &CPhaseDiagram::CH4,
                                               &CPhaseDiagram::massVolLiq, &CPhaseDiagram::liqMolarWeight});
}

void expectSameBranch(const CIsopleth& read, const CIsopleth& written)
{
    EXPECT_EQ(read.name(), written.name());
    EXPECT_EQ(read.homog(), written.homog());
    EXPECT_EQ(read.N(), written.N());
    EXPECT_EQ(read.xref(), written.xref());
    EXPECT_EQ(branchValues(read), branchValues(written));
    ASSERT_EQ(read.points().size(), written.points().size());
    const auto pointValues = [](const CIsoplethPoint& p) {
        return valuesOf<CIsoplethPoint, double>(p, {&CIsoplethPoint::T, &CIsoplethPoint::P,
                                                    &CIsoplethPoint::liquidVolume, &CIsoplethPoint::vapourVolume,
                                                    &CIsoplethPoint::liquidDensity, &CIsoplethPoint::vapourDensity});
    };
    for (std::size_t i = 0; i < read.points().size(); ++i) {
        const CIsoplethPoint& r = *read.points()[i];
        const CIsoplethPoint& w = *written.points()[i];
        EXPECT_EQ(pointValues(r), pointValues(w));
        EXPECT_EQ(r.N(), w.N());
        EXPECT_EQ(r.skip(), w.skip());
        EXPECT_EQ(r.otherz(), w.otherz());
    }
}

TEST(PhaseDiagramArchive, RoundTripKeepsRecordsAndTheirLinks)
{
    const Document written = makeDocument();
    const PhaseDiagramPtr diagram = unarchived(archived(written.diagram));
    ASSERT_TRUE(diagram);

    EXPECT_EQ(diagram->name(), "Oil A");
    EXPECT_TRUE(diagram->thermoModel().isEqualTo(written.diagram->thermoModel()));
    EXPECT_EQ(diagramValues(*diagram), (std::vector<double>{150.5, 38.25, 60, 0.81, 210}));
    ASSERT_TRUE(diagram->liquidIsopleth() && diagram->vapourIsopleth());
    expectSameBranch(*diagram->liquidIsopleth(), *written.diagram->liquidIsopleth());
    expectSameBranch(*diagram->vapourIsopleth(), *written.diagram->vapourIsopleth());
    EXPECT_EQ(diagram->liquidIsopleth()->phaseDiagram(), diagram);
    EXPECT_EQ(diagram->vapourIsopleth()->phaseDiagram(), diagram);

    ASSERT_EQ(diagram->biphasicIsochors().size(), 1u);
    ASSERT_EQ(diagram->monophasicIsochors().size(), 1u);
    const IsochorPtr biphasic = diagram->biphasicIsochors()[0];
    const IsochorPtr monophasic = diagram->monophasicIsochors()[0];
    expectSameIsochor(*biphasic, *written.pair.biphasic);
    expectSameIsochor(*monophasic, *written.pair.monophasic);
    EXPECT_EQ(biphasic->sister(), monophasic);
    EXPECT_EQ(monophasic->sister(), biphasic);
    EXPECT_EQ(biphasic->phaseDiagram(), diagram);
    EXPECT_EQ(monophasic->phaseDiagram(), diagram);

    ASSERT_EQ(monophasic->trappingLines().size(), 1u);
    const TrappingLinePtr line = monophasic->trappingLines()[0];
    expectSameIsochor(*line, *written.line);
    EXPECT_EQ(line->trappingName(), "Oil A : inclusion 1, Thaq = 120, Pt = 140");
    EXPECT_EQ(line->isochor(), monophasic);
    EXPECT_EQ(line->phaseDiagram(), diagram);
    EXPECT_EQ(line->trapCelsius(), 120);
    EXPECT_NEAR(monophasic->trapCelsius(), 150, 1e-9);
}

TEST(PhaseDiagramArchive, DiagramWithoutVapourBranch)
{
    const PhaseDiagramPtr diagram = unarchived(archived(makeDocument(false).diagram));
    ASSERT_TRUE(diagram);
    EXPECT_EQ(diagram->vapourIsopleth(), nullptr);
    ASSERT_TRUE(diagram->liquidIsopleth());
    EXPECT_EQ(diagram->liquidIsopleth()->phaseDiagram(), diagram);
}

TEST(PhaseDiagramArchive, RunTimeValuesStayOutOfTheFile)
{
    const Document document = makeDocument();
    // Keys a fluid record carries at run time, added to the diagram's own copy afterwards.
    Dictionary model = document.diagram->thermoModel();
    model.setValue("curve", Dictionary{{"name", "curve 1"}});
    model.setValue("graphPoint", "marker");
    // A drawn isochore keeps the style last set on its curve: size truncated, colour as set.
    auto curve = std::make_shared<CGraphCurve>();
    curve->setToolSizeFactor(2.7f);
    curve->setColor(Color::blue());
    document.pair.monophasic->setGraphCurve(curve);
    document.diagram->liquidIsopleth()->setGraphCurve(std::make_shared<CGraphCurve>());
    document.diagram->setCriticalPoint(CGraphPoint::newGraphPoint(1, 2));

    const PhaseDiagramPtr diagram = unarchived(archived(document.diagram));
    ASSERT_TRUE(diagram);
    EXPECT_FALSE(diagram->thermoModel().contains("curve"));
    EXPECT_FALSE(diagram->thermoModel().contains("graphPoint"));
    EXPECT_TRUE(model.contains("curve"));  // the open document's record keeps them
    EXPECT_EQ(diagram->criticalPoint(), nullptr);
    EXPECT_EQ(diagram->liquidIsopleth()->graphCurve(), nullptr);
    const IsochorPtr monophasic = diagram->monophasicIsochors()[0];
    EXPECT_EQ(monophasic->graphCurve(), nullptr);
    EXPECT_EQ(monophasic->curveFormat()->size(), 2);
    EXPECT_EQ(monophasic->curveFormat()->color(), Color::blue());
    // An isochore never drawn keeps its format.
    EXPECT_EQ(diagram->biphasicIsochors()[0]->curveFormat()->size(), 1);
    EXPECT_EQ(diagram->biphasicIsochors()[0]->curveFormat()->color(), Color::red());
}

// ---- The archive as another reader sees it

// Prints, for each archived record, its class, the class chain under "$classes" and its
// keys in the order of the file with the kind of each value.
const char* kArchiveLister = R"(
import plistlib, sys
with open(sys.argv[1], 'rb') as f:
    archive = plistlib.load(f)
objects = archive['$objects']
def kind(value):
    if isinstance(value, plistlib.UID): return 'object'
    if isinstance(value, bool): return 'bool'
    if isinstance(value, int): return 'int'
    if isinstance(value, float): return 'double'
    return type(value).__name__
for item in objects:
    if isinstance(item, dict) and '$class' in item:
        cls = objects[item['$class'].data]
        keys = ['%s:%s' % (key, kind(value)) for key, value in item.items() if key != '$class']
        print('%s|%s|%s' % (cls['$classname'], ','.join(cls['$classes']), ' '.join(keys)))
)";

QStringList keysOf(const QString& kinds, const QStringList& keys)
{
    QStringList listed;
    for (const QString& key : keys)
        listed.append(key + ':' + kinds);
    return listed;
}

QStringList isochorKeys()
{
    return QStringList{"curveFormat:object", "points:object", "name:object"}
           + keysOf("double", {"Th", "Ph", "Trap", "Ptrap"}) + keysOf("bool", {"homog", "isBiphasic"})
           + keysOf("double", {"bulkVolume", "bulkDensity0", "bulkDensity1", "bulkMolarWeight", "GOR", "API", "CH4",
                               "minT", "maxT", "minFv", "maxFv"})
           + QStringList{"trappingLines:object", "sister:object", "phaseDiagram:object"};
}

TEST(PhaseDiagramArchive, ClassesAndKeysAsAnotherReaderSeesThem)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const QString path = directory.filePath("diagram.ptd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(archived(makeDocument().diagram));
    file.close();

    QProcess python;
    python.start("python3", {"-c", kArchiveLister, path});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();

    // The first record of each class, as "chain|keys".
    QMap<QString, QString> listed;
    for (const QString& line : QString::fromUtf8(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('|');
        ASSERT_EQ(fields.size(), 3) << line.toStdString();
        if (!listed.contains(fields[0]))
            listed.insert(fields[0], fields[1] + '|' + fields[2]);
    }

    const QMap<QString, QString> expected{
        {"CPhaseDiagram", "CPhaseDiagram,NSObject|"
                              + (QStringList{"name:object", "monophasicIsochors:object", "biphasicIsochors:object",
                                             "liquidIsopleth:object", "vapourIsopleth:object", "thermoModel:object"}
                                 + keysOf("double", {"GOR", "API", "liqMolarWeight", "massVolLiq", "CH4"}))
                                    .join(' ')},
        {"CIsopleth", "CIsopleth,NSObject|"
                          + (QStringList{"curveFormat:object", "points:object", "name:object", "Th:double", "N:int",
                                         "xref:object", "homog:bool"}
                             + keysOf("double", {"minT", "maxT", "minP", "maxP"}))
                                .join(' ')},
        {"CIsoplethPoint", "CIsoplethPoint,NSObject|"
                               + (keysOf("double", {"T", "P", "liquidVolume", "vapourVolume", "liquidDensity",
                                                    "vapourDensity"})
                                  + QStringList{"N:int", "skip:int", "otherz:object"})
                                     .join(' ')},
        {"CIsochor", "CIsochor,NSObject|" + isochorKeys().join(' ')},
        {"CTrappingLine", "CTrappingLine,CIsochor,NSObject|"
                              + (isochorKeys() + QStringList{"trappingName:object", "isochor:object"}).join(' ')},
        {"CIsochorPoint", "CIsochorPoint,NSObject|T:double P:double"},
        {"CBiphasicIsochorPoint",
         "CBiphasicIsochorPoint,CIsochorPoint,NSObject|T:double P:double Fv:double otherV:double N:int otherz:object"},
        {"CCurveFormat", "CCurveFormat,NSObject|size:int color:object"},
    };
    for (auto entry = expected.cbegin(); entry != expected.cend(); ++entry) {
        SCOPED_TRACE(entry.key().toStdString());
        EXPECT_EQ(listed.value(entry.key()).toStdString(), entry.value().toStdString());
    }
}

// ---- Damaged archives

TEST(PhaseDiagramArchive, RefusesPointsWithoutOneFractionPerComponent)
{
    const struct {
        const char* what;
        void (*damage)(const Document&);
        const char* fault;
    } cases[] = {
        {"a liquid-branch point with too few fractions",
         [](const Document& d) { d.diagram->liquidIsopleth()->points()[2]->setOtherz({0.5}); }, "a point of its liquid branch has 1 mole fractions for 2 components"},
        {"a vapour-branch point with too many fractions",
         [](const Document& d) { d.diagram->vapourIsopleth()->points()[0]->setOtherz({0.2, 0.3, 0.5}); },
         "a point of its vapour branch has 3 mole fractions for 2 components"},
        {"a point whose count disagrees with the diagram",
         [](const Document& d) { d.diagram->vapourIsopleth()->points()[0]->setN(3); },
         "a point of its vapour branch counts 3 components where the diagram has 2"},
        {"a branch whose reference fractions are short",
         [](const Document& d) { d.diagram->vapourIsopleth()->setXref({1.0}); },
         "its vapour branch has 1 mole fractions for 2 components"},
        {"a two-phase isochore point with too many fractions",
         [](const Document& d) {
             std::static_pointer_cast<CBiphasicIsochorPoint>(d.pair.biphasic->points()[1])->setOtherz({0.1, 0.2, 0.7});
         },
         "a point of the isochore \"Oil A : inclusion 1\" has 3 mole fractions for 2 components"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Document document = makeDocument();
        c.damage(document);
        QString error;
        EXPECT_EQ(unarchived(archived(document.diagram), &error), nullptr);
        EXPECT_EQ(error, QStringLiteral("The phase diagram \"Oil A\" is damaged: %1.").arg(c.fault));
    }
}

// The fluid a diagram models comes from another document: the diagram keeps a copy of
// its own, down to the component records, so later edits of the fluid leave it as computed.
TEST(PhaseDiagramArchive, TheModelIsACopyOfItsOwnDownToTheComponents)
{
    Dictionary fluid{{"name", "Oil A"},
                     {"fluidType", 2},
                     {"components", Array{Dictionary{{"name", "C1"}, {"mole", 100.0}}}},
                     {"curve", Dictionary{{"name", "curve 1"}}}};
    auto diagram = std::make_shared<CPhaseDiagram>();
    diagram->setThermoModel(fluid);

    fluid.setValue("name", "renamed");
    fluid.arrayValue("components").at(0).toDictionary().setValue("mole", 50.0);
    const Dictionary model = diagram->thermoModel();
    EXPECT_EQ(model.stringValue("name"), "Oil A");
    EXPECT_DOUBLE_EQ(model.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 100.0);
    EXPECT_FALSE(model.contains("curve"));
    EXPECT_TRUE(fluid.contains("curve")) << "the source record keeps its curve";
}

} // namespace
