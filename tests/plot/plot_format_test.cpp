// Plot formats: keyed archives under their class names, the values an archive may not
// bring in, and the settings a plot view writes to and takes from a format.
#include "support/ProbeView.h"

#include "plot/CCurveFormat.h"
#include "plot/CPlotFormat.h"
#include "plot/CPointFormat.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>

using namespace quorvel;
using quorvel::test::bounds;
using quorvel::test::ProbeView;

namespace {

template <class T>
std::shared_ptr<T> roundTrip(const std::shared_ptr<T>& object, QString* error = nullptr)
{
    const QByteArray data = KeyedArchiver::archivedData(Value(object));
    return KeyedUnarchiver::unarchivedObject(data, error).template toObject<T>();
}

// A format archived by hand with the given field values, as a damaged file may hold them.
class RawPlotFormat : public ArchivableObject {
public:
    float value = 0.0f;
    qint32 textSize = 10;
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        for (const char* key : {"minX", "maxX", "minY", "maxY", "currentMinX", "currentMaxX", "currentMinY",
                                "currentMaxY", "legendX", "legendY"})
            coder.encodeFloat(value, QLatin1String(key));
        auto text = std::make_shared<CTextFormat>();
        text->setSize(textSize);
        coder.encodeObject(text, QStringLiteral("legend"));
    }
};

// Reads an archived object back key by key, whatever class wrote it: what each of the
// keys asked for holds, and which of them the archive lacks.
class KeyedValues : public ArchivableObject {
public:
    static inline QStringList keys;
    std::map<QString, Value> values;
    QStringList missing;
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        for (const QString& key : keys) {
            if (!coder.containsValueForKey(key))
                missing << key;
            values[key] = coder.decodeObject(key);
        }
    }
};

// The archive of `object` read back by `keys` in place of the class `T` named `className`.
template <class T>
std::shared_ptr<KeyedValues> readByKeys(const std::shared_ptr<T>& object, const QString& className,
                                        const QStringList& keys)
{
    const QByteArray data = KeyedArchiver::archivedData(Value(object));
    KeyedValues::keys = keys;
    registerArchivableClass<KeyedValues>(className);
    auto read = KeyedUnarchiver::unarchivedObject(data).toObject<KeyedValues>();
    registerArchivableClass<T>(className);
    return read;
}

QStringList classNamesIn(const QByteArray& archive)
{
    QStringList names;
    for (const char* name : {"CPlotFormat", "CTextFormat", "CCurveFormat", "CPointFormat"})
        if (archive.contains(name))
            names << QLatin1String(name);
    return names;
}

} // namespace

TEST(PlotFormat, NewFormatRoundTripsWithItsDefaults)
{
    const auto read = roundTrip(std::make_shared<CPlotFormat>());
    ASSERT_TRUE(read);
    EXPECT_EQ((std::array{read->minX(), read->maxX(), read->minY(), read->maxY()}), (std::array{0.f, 1.f, 0.f, 1.f}));
    EXPECT_EQ((std::array{read->currentMinX(), read->currentMaxX(), read->currentMinY(), read->currentMaxY()}),
              (std::array{0.f, 1.f, 0.f, 1.f}));
    EXPECT_EQ(read->legendX(), 0.f);
    EXPECT_EQ(read->legendY(), 0.f);
    for (const auto& text : {read->legendFormat(), read->labelsFormat(), read->ticksFormat()}) {
        ASSERT_TRUE(text);
        EXPECT_EQ(text->fontName(), QStringLiteral("Arial"));
        EXPECT_EQ(text->size(), 10);
        EXPECT_EQ(text->style(), 0);
    }
}

TEST(PlotFormat, EveryFieldRoundTripsUnderTheClassNames)
{
    auto format = std::make_shared<CPlotFormat>();
    format->setMinX(-5.25f);
    format->setMaxX(300.5f);
    format->setMinY(1e-3f);
    format->setMaxY(7e5f);
    format->setCurrentMinX(10.f);
    format->setCurrentMaxX(120.f);
    format->setCurrentMinY(2.f);
    format->setCurrentMaxY(450.f);
    format->setLegendX(20.f);
    format->setLegendY(400.f);
    format->labelsFormat()->setFontName(QStringLiteral("Times"));
    format->labelsFormat()->setSize(14);
    format->labelsFormat()->setStyle(3);
    format->ticksFormat()->setStyle(0x10); // bits without a meaning are kept too

    const QByteArray data = KeyedArchiver::archivedData(Value(format));
    EXPECT_EQ(classNamesIn(data), (QStringList{"CPlotFormat", "CTextFormat"}));
    const auto read = KeyedUnarchiver::unarchivedObject(data).toObject<CPlotFormat>();
    ASSERT_TRUE(read);
    EXPECT_EQ((std::array{read->minX(), read->maxX(), read->minY(), read->maxY()}),
              (std::array{-5.25f, 300.5f, 1e-3f, 7e5f}));
    EXPECT_EQ((std::array{read->currentMinX(), read->currentMaxX(), read->currentMinY(), read->currentMaxY()}),
              (std::array{10.f, 120.f, 2.f, 450.f}));
    EXPECT_EQ(read->legendX(), 20.f);
    EXPECT_EQ(read->legendY(), 400.f);
    EXPECT_EQ(read->labelsFormat()->fontName(), QStringLiteral("Times"));
    EXPECT_EQ(read->labelsFormat()->size(), 14);
    EXPECT_EQ(read->labelsFormat()->style(), 3);
    EXPECT_EQ(read->ticksFormat()->style(), 0x10);
    EXPECT_NE(read->labelsFormat(), read->ticksFormat());
}

TEST(PlotFormat, EachFieldIsArchivedUnderItsOwnKey)
{
    // Distinct values show a key that holds another field's value, which a round trip
    // through the same class cannot.
    auto format = std::make_shared<CPlotFormat>();
    format->setMinX(1);
    format->setMaxX(2);
    format->setMinY(3);
    format->setMaxY(4);
    format->setCurrentMinX(5);
    format->setCurrentMaxX(6);
    format->setCurrentMinY(7);
    format->setCurrentMaxY(8);
    format->setLegendX(9);
    format->setLegendY(10);
    format->legendFormat()->setFontName(QStringLiteral("Legend"));
    format->labelsFormat()->setFontName(QStringLiteral("Labels"));
    format->ticksFormat()->setFontName(QStringLiteral("Ticks"));
    const QStringList rangeKeys{"minX", "maxX", "minY", "maxY", "currentMinX", "currentMaxX",
                                "currentMinY", "currentMaxY", "legendX", "legendY"};
    const auto plot = readByKeys(format, QStringLiteral("CPlotFormat"), rangeKeys + QStringList{"legend", "labels", "ticks"});
    ASSERT_TRUE(plot);
    EXPECT_EQ(plot->missing, QStringList());
    for (int i = 0; i < rangeKeys.size(); ++i)
        EXPECT_EQ(plot->values[rangeKeys[i]].toFloat(), float(i + 1)) << rangeKeys[i].toStdString();
    for (const char* key : {"legend", "labels", "ticks"}) {
        const auto text = plot->values[QLatin1String(key)].toObject<CTextFormat>();
        ASSERT_TRUE(text) << key;
        EXPECT_EQ(text->fontName().toLower(), QLatin1String(key));
    }

    auto text = std::make_shared<CTextFormat>();
    text->setFontName(QStringLiteral("Times"));
    text->setSize(14);
    text->setStyle(2);
    const auto textKeys = readByKeys(text, QStringLiteral("CTextFormat"), {"size", "fontName", "style"});
    ASSERT_TRUE(textKeys);
    EXPECT_EQ(textKeys->missing, QStringList());
    EXPECT_EQ(textKeys->values["size"].toInt(), 14);
    EXPECT_EQ(textKeys->values["fontName"].toString(), QStringLiteral("Times"));
    EXPECT_EQ(textKeys->values["style"].toInt(), 2);

    auto curve = std::make_shared<CCurveFormat>();
    curve->setSize(4);
    curve->setColor(Color::blue());
    const auto curveKeys = readByKeys(curve, QStringLiteral("CCurveFormat"), {"size", "color"});
    ASSERT_TRUE(curveKeys);
    EXPECT_EQ(curveKeys->missing, QStringList());
    EXPECT_EQ(curveKeys->values["size"].toInt(), 4);
    EXPECT_EQ(curveKeys->values["color"].toColor(), Color::blue());

    auto point = std::make_shared<CPointFormat>();
    point->setSize(5);
    point->setSelector(markerCodeFromNumber(9));
    point->setColor(Color::green());
    const auto pointKeys = readByKeys(point, QStringLiteral("CPointFormat"), {"size", "color", "selector"});
    ASSERT_TRUE(pointKeys);
    EXPECT_EQ(pointKeys->missing, QStringList());
    EXPECT_EQ(pointKeys->values["size"].toInt(), 5);
    EXPECT_EQ(pointKeys->values["color"].toColor(), Color::green());
    EXPECT_EQ(pointKeys->values["selector"].toInt(), 9);
}

TEST(PlotFormat, CurveAndPointFormatsRoundTripAndCopy)
{
    auto curve = std::make_shared<CCurveFormat>();
    EXPECT_EQ(curve->size(), 1);
    EXPECT_EQ(curve->color(), Color::red());
    curve->setSize(3);
    curve->setColor(Color::fromRgb(0.2, 0.4, 0.6, 0.5));
    const QByteArray curveData = KeyedArchiver::archivedData(Value(curve));
    EXPECT_EQ(classNamesIn(curveData), QStringList{"CCurveFormat"});
    const auto readCurve = KeyedUnarchiver::unarchivedObject(curveData).toObject<CCurveFormat>();
    ASSERT_TRUE(readCurve);
    EXPECT_EQ(readCurve->size(), 3);
    EXPECT_EQ(readCurve->color(), curve->color());
    const auto curveCopy = curve->copy();
    EXPECT_NE(curveCopy, curve);
    EXPECT_EQ(curveCopy->size(), 3);
    EXPECT_EQ(curveCopy->color(), curve->color());

    auto point = std::make_shared<CPointFormat>();
    EXPECT_EQ((std::array{point->size(), code_number(point->selector())}), (std::array{3, 3}));
    EXPECT_EQ(point->color(), Color::red());
    point->setSize(6);
    point->setSelector(MarkerCode::FilledDiamond);
    point->setColor(Color::fromWhite(0.25));
    const auto readPoint = roundTrip(point);
    ASSERT_TRUE(readPoint);
    EXPECT_EQ((std::array{readPoint->size(), code_number(readPoint->selector())}), (std::array{6, 11}));
    EXPECT_EQ(readPoint->color(), Color::fromWhite(0.25));
    const auto pointCopy = point->copy();
    EXPECT_EQ((std::array{pointCopy->size(), code_number(pointCopy->selector())}), (std::array{6, 11}));
}

TEST(PlotFormat, AnUnknownMarkerCodeIsReadAndWrittenBackAsItWas)
{
    auto point = std::make_shared<CPointFormat>();
    point->setSelector(markerCodeFromNumber(99));
    const QByteArray stored = KeyedArchiver::archivedData(Value(point));
    const auto read = KeyedUnarchiver::unarchivedObject(stored).toObject<CPointFormat>();
    ASSERT_TRUE(read);
    EXPECT_EQ(code_number(read->selector()), 99);
    EXPECT_EQ(KeyedArchiver::archivedData(Value(read)), stored);
}

TEST(TextFormat, StyleBitsAreBoldAndItalic)
{
    CTextFormat text;
    text.setStyle(3);
    EXPECT_EQ(text.isBold(), 1);
    EXPECT_EQ(text.isItalic(), 1);
    text.setItalic(false);
    EXPECT_EQ(text.style(), 1);
    text.setStyle(0x14);
    text.setBold(true);
    EXPECT_EQ(text.style(), 0x15);
    text.setBold(false);
    EXPECT_EQ(text.style(), 0x14);
}

TEST(PlotFormat, ArchivesWithValuesThatAreNotNumbersAreRefused)
{
    registerArchivableClass<RawPlotFormat>(QStringLiteral("CPlotFormat"));
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        auto raw = std::make_shared<RawPlotFormat>();
        raw->value = bad;
        const QByteArray data = KeyedArchiver::archivedData(Value(raw));
        // Read back as the real class.
        registerArchivableClass<CPlotFormat>(QStringLiteral("CPlotFormat"));
        QString error;
        const Value read = KeyedUnarchiver::unarchivedObject(data, &error);
        EXPECT_TRUE(read.isNull()) << bad;
        EXPECT_FALSE(error.isEmpty());
        registerArchivableClass<RawPlotFormat>(QStringLiteral("CPlotFormat"));
    }
    registerArchivableClass<CPlotFormat>(QStringLiteral("CPlotFormat"));
}

TEST(PlotFormat, SizesBelowOneAreReadAsOne)
{
    auto text = std::make_shared<CTextFormat>();
    text->setSize(-12);
    text->setFontName(QString());
    const auto readText = roundTrip(text);
    ASSERT_TRUE(readText);
    EXPECT_EQ(readText->size(), 1);
    EXPECT_EQ(readText->fontName(), QStringLiteral("Arial")); // a missing family reads as the default

    auto curve = std::make_shared<CCurveFormat>();
    curve->setSize(-4);
    EXPECT_EQ(roundTrip(curve)->size(), 1);
    auto point = std::make_shared<CPointFormat>();
    point->setSize(0);
    EXPECT_EQ(roundTrip(point)->size(), 1);
}

// --- The view's side

TEST(PlotViewFormat, UpdateAfterAZoomAndSetBackGiveBothRangesAndShowTheLegend)
{
    ProbeView view;
    view.setDefaultXYRange(0, 300, 0, 500);
    view.setMaxXYRange(-50, 400, -10, 1000);
    view.setXYRange(50, 150, 100, 200);
    view.setLegendPosition(20, 400);

    CPlotFormat format;
    view.updatePlotFormat(format);
    EXPECT_EQ((std::array{format.minX(), format.maxX(), format.minY(), format.maxY()}), (std::array{0.f, 300.f, 0.f, 500.f}));
    EXPECT_EQ((std::array{format.currentMinX(), format.currentMaxX(), format.currentMinY(), format.currentMaxY()}),
              (std::array{50.f, 150.f, 100.f, 200.f}));
    EXPECT_EQ(format.legendX(), 20.f);
    EXPECT_EQ(format.legendY(), 400.f);

    ProbeView other;
    other.setMaxXYRange(1, 2, 3, 4);
    ASSERT_TRUE(other.mLegend()->isHidden());
    other.setFromPlotFormat(format);
    EXPECT_EQ(bounds(other.state().ranges().defaults), (std::array{0.f, 300.f, 0.f, 500.f}));
    EXPECT_EQ(bounds(other.state().ranges().current),
              (std::array{50.f, 150.f, 100.f, 200.f}));
    EXPECT_EQ(bounds(other.state().ranges().maximum), (std::array{1.f, 2.f, 3.f, 4.f}));
    EXPECT_FALSE(other.mLegend()->isHidden());
    float lx, ly;
    other.mLegend()->getPosition(lx, ly);
    EXPECT_EQ(lx, 20.f);
    EXPECT_EQ(ly, 400.f);
}

TEST(PlotViewFormat, FontsComeFromTheFormatAndFontChangesAreSaved)
{
    CPlotFormat format;
    format.legendFormat()->setSize(9);
    format.legendFormat()->setStyle(2);
    format.ticksFormat()->setSize(11);
    format.labelsFormat()->setStyle(1);

    ProbeView view;
    view.setFromPlotFormat(format);
    EXPECT_EQ(view.state().fonts().legends.font.pixelSize(), 9);
    EXPECT_TRUE(view.state().fonts().legends.font.italic());
    EXPECT_FALSE(view.state().fonts().legends.font.bold());
    EXPECT_EQ(view.state().fonts().ticks.font.pixelSize(), 11);
    EXPECT_TRUE(view.state().fonts().labels.font.bold());
    EXPECT_EQ(view.state().fonts().labels.font.family(), QStringLiteral("Arial"));

    // A font chosen in the view goes into the format the document saves.
    view.changes().doChangeFont(TextAttributes::make(QStringLiteral("DejaVu Serif"), 16, true, true), FontKind::Ticks);
    view.updatePlotFormat(format);
    EXPECT_EQ(format.ticksFormat()->fontName(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(format.ticksFormat()->size(), 16);
    EXPECT_EQ(format.ticksFormat()->style(), 3);
    EXPECT_EQ(format.legendFormat()->size(), 9);
    EXPECT_EQ(format.legendFormat()->style(), 2);
    EXPECT_EQ(format.labelsFormat()->fontName(), QStringLiteral("Arial"));
}

TEST(PlotViewFormat, AMissingFontFallsBackToAnInstalledFamily)
{
    const QString fallback = TextAttributes::labelFont().font.family();
    for (const QString& name : {QStringLiteral("No Such Family 42"), QString()}) {
        const TextAttributes attributes = CPlotView::setTextAttributes(name, 12, true, false);
        EXPECT_TRUE(QFontDatabase::hasFamily(QFontInfo(attributes.font).family())) << name.toStdString();
        EXPECT_TRUE(attributes.font.families().contains(fallback) || attributes.font.family() == fallback);
        EXPECT_EQ(attributes.font.pixelSize(), 12);
        EXPECT_TRUE(attributes.font.bold());
    }
    EXPECT_EQ(CPlotView::setTextAttributes(QStringLiteral("DejaVu Sans"), 0, false, true).font.pixelSize(), 1);
}
