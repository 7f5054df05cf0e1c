// Plot objects: markers, colours and cousins, copies, curves (hit test, export,
// interpolation), points, marker lists and the legend's extent.
#include "support/ProbeView.h"
#include "support/file_size_limit.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphLegend.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"
#include "plot/CGraphText.h"

#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::ProbeView;

namespace {

// A view where data units and view coordinates coincide.
class IdentityView : public ::testing::Test {
protected:
    IdentityView() : view(QRect(0, 0, 400, 300)) { view.useIdentityTransform(); }

    template <class T>
    std::shared_ptr<T> add(std::shared_ptr<T> object)
    {
        view.addGraphObject(object);
        return object;
    }
    // Draws one object on its own canvas (the view's own draw would recompute the transform).
    void renderAlone(CGraphObject& object)
    {
        QImage image(400, 300, QImage::Format_ARGB32);
        QPainter painter(&image);
        ViewCanvas canvas(painter, 300);
        object.render(canvas, view.plotFrame());
    }

    ProbeView view;
};

} // namespace

TEST(Markers, FilledCodesAndShapes)
{
    for (int code = -2; code <= 14; ++code)
        EXPECT_EQ(isFilledMarker(markerCodeFromNumber(code)),
                  code == 1 || code == 3 || code == 7 || code == 8 || code == 11)
            << code;

    const QPainterPath circle = CGraphObject::constructPoint0(markerCodeFromNumber(0), 4, 4, 10, 20);
    for (const int code : {1, 2, 13, 100, -1})
        EXPECT_EQ(CGraphObject::constructPoint0(markerCodeFromNumber(code), 4, 4, 10, 20), circle) << code;
    EXPECT_EQ(circle.boundingRect(), QRectF(6, 16, 8, 8));

    struct Shape {
        int code;
        QRectF bounds;
    };
    const Shape shapes[] = {
        {3, {6, 16, 8, 8}},
        {5, {6, 16, 8, 8}},
        {6, {6, 16, 8, 8}},
        {7, {6, 20 - 0.667f * 4, 8, (0.667f + 1.333f) * 4}},   // apex up
        {10, {6, 20 - 1.333f * 4, 8, (0.667f + 1.333f) * 4}},  // apex down
        {12, {6, 16, 8, 8}},
    };
    for (const Shape& s : shapes) {
        const QRectF b = CGraphObject::constructPoint0(markerCodeFromNumber(s.code), 4, 4, 10, 20).boundingRect();
        EXPECT_NEAR(b.x(), s.bounds.x(), 1e-5) << s.code;
        EXPECT_NEAR(b.y(), s.bounds.y(), 1e-5) << s.code;
        EXPECT_NEAR(b.width(), s.bounds.width(), 1e-5) << s.code;
        EXPECT_NEAR(b.height(), s.bounds.height(), 1e-5) << s.code;
    }
    // Triangles are closed; plus and cross are two open strokes.
    EXPECT_EQ(CGraphObject::constructPoint0(markerCodeFromNumber(5), 4, 4, 10, 20).elementCount(), 4);
    EXPECT_EQ(QPointF(CGraphObject::constructPoint0(markerCodeFromNumber(8), 4, 4, 10, 20).elementAt(2)),
              QPointF(10, 20.0f - 1.333f * 4.0f));
}

TEST(GraphObject, HighlightSizeFactorAndColour)
{
    CGraphObject object;
    EXPECT_FALSE(object.isSelectable());
    object.setHilited(true);
    EXPECT_FALSE(object.isHilited()); // not selectable: ignored
    object.setSelectable(true);
    object.setHilited(true);
    object.setSelectable(false);
    EXPECT_TRUE(object.isHilited()); // stays until cleared while selectable
    object.setHilited(false);
    EXPECT_TRUE(object.isHilited());

    for (int i = 0; i < 3; ++i)
        object.decreaseToolSizeFactor();
    EXPECT_EQ(object.getToolSizeFactor(), -2.0f); // not clamped

    EXPECT_EQ(object.getRed(), 0);
    object.setColor(0.5f, 1.0f, 0.25f);
    EXPECT_EQ(object.getRed(), 32767);
    EXPECT_EQ(object.getGreen(), 65535);
    EXPECT_EQ(object.getBlue(), 16383);
    EXPECT_EQ(object.getBounds(PlotFrame{}), QRectF()); // never drawn
}

TEST(GraphObject, ColourCousinsFollowSetColorOnly)
{
    CGraphCurve liquid, vapour, third;
    liquid.setColorCousinship(&vapour);
    vapour.setColorCousinship(&third);
    liquid.setColor(Color::red());
    EXPECT_EQ(vapour.color(), Color::red());
    EXPECT_EQ(third.color(), std::nullopt); // a cousin's cousin keeps its colour
    vapour.applyColor(Color::blue());
    EXPECT_EQ(liquid.color(), Color::red());
    vapour.setColor(0, 1, 0);
    EXPECT_EQ(liquid.color(), Color::red());
    {
        CGraphCurve shortLived;
        shortLived.setColorCousinship(&liquid);
    }
    EXPECT_EQ(liquid.colorCousins().size(), 1u); // the gone object left no link
    liquid.breakCousinship(&vapour);
    EXPECT_TRUE(liquid.colorCousins().empty());
    EXPECT_EQ(vapour.colorCousins().size(), 1u);
}

TEST_F(IdentityView, CopiesKeepStyleAndDataButNoRecordViewOrHighlight)
{
    const Dictionary record;
    auto point = add(CGraphStringPoint::newGraphStringPoint(3, 4));
    point->setName(QStringLiteral("P"));
    point->setSize(2);
    point->setSelector(MarkerCode::FilledTriangleUp);
    point->setColor(Color::blue());
    point->setLabel(QStringLiteral("label"));
    point->setOffsetX(10);
    point->setOffsetY(-5);
    point->setShowLabel(true);
    point->setHilited(true);
    point->setToolSizeFactor(9);
    point->setReferenceObject(Value(record));

    const auto copy = std::dynamic_pointer_cast<CGraphStringPoint>(point->copy());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->name(), point->name());
    EXPECT_EQ(copy->size(), 2.0f);
    EXPECT_EQ(code_number(copy->selector()), 7);
    EXPECT_EQ(copy->color(), Color::blue());
    EXPECT_EQ(copy->getLabel(), QStringLiteral("label"));
    EXPECT_EQ(copy->offsetX(), 10.0f);
    EXPECT_TRUE(copy->showsLabel());
    EXPECT_EQ(copy->getX(), 3.0f);
    EXPECT_FALSE(copy->hasReferenceObject());
    EXPECT_EQ(copy->getPlotView(), nullptr);
    EXPECT_FALSE(copy->isHilited());
    EXPECT_EQ(copy->getToolSizeFactor(), 3.0f); // the construction's factor

    auto list = std::make_shared<CGraphStringPointCurve>();
    list->addPoint(QStringLiteral("a"), 1, 1);
    list->setShowLabels(false);
    const auto listCopy = std::dynamic_pointer_cast<CGraphStringPointCurve>(list->copy());
    EXPECT_TRUE(listCopy->showsLabels());
    EXPECT_EQ(listCopy->mStringPointArray()[0], list->mStringPointArray()[0]); // shared entries

    auto joined = std::make_shared<CGraphPointCurve>();
    joined->setJoinPoints(true);
    EXPECT_TRUE(std::dynamic_pointer_cast<CGraphPointCurve>(joined->copy())->joinsPoints());
}

TEST_F(IdentityView, MarkerRadiusFollowsSizeFactorAndHighlight)
{
    auto point = add(CGraphPoint::newGraphPoint(100, 100)); // size factor 3
    point->setSelector(MarkerCode::Square);
    renderAlone(*point);
    EXPECT_EQ(point->getBounds(view.plotFrame()), QRectF(96.5, 96.5, 7, 7)); // radius 3.5
    point->setHilited(true);
    renderAlone(*point);
    EXPECT_EQ(point->getBounds(view.plotFrame()), QRectF(95.5, 95.5, 9, 9)); // radius 4.5

    auto list = add(std::make_shared<CGraphPointCurve>());
    list->setSelector(MarkerCode::FilledSquare);
    list->setToolSizeFactor(10);
    list->setJoinPoints(true);
    list->addPoint(50, 50, 99); // the third argument means nothing
    renderAlone(*list);
    EXPECT_EQ(list->getBounds(view.plotFrame()), QRectF(43, 43, 14, 14)); // one marker of radius 7, no line
    list->addPoint(150, 50);
    list->setHilited(true);
    renderAlone(*list);
    EXPECT_EQ(list->getBounds(view.plotFrame()), QRectF(42, 42, 116, 16)); // radius 8 and the joining line
}

TEST_F(IdentityView, HiddenAndUnselectableObjectsAreNeverHit)
{
    auto point = add(CGraphPoint::newGraphPoint(100, 100));
    EXPECT_TRUE(point->isHit({103, 98}, view.plotFrame()));
    EXPECT_FALSE(point->isHit({107, 100}, view.plotFrame()));
    point->setHidden(true);
    EXPECT_FALSE(point->isHit({100, 100}, view.plotFrame()));
    point->setHidden(false);
    point->setSelectable(false);
    EXPECT_FALSE(point->isHit({100, 100}, view.plotFrame()));

    auto text = add(std::make_shared<CGraphText>());
    text->setText(QStringLiteral("note"));
    EXPECT_FALSE(text->isSelectable());
    EXPECT_FALSE(text->isHit({0, 0}, view.plotFrame()));
}

TEST_F(IdentityView, LabelledMarkerListReportsTheMarkerHit)
{
    auto list = add(std::make_shared<CGraphStringPointCurve>());
    EXPECT_EQ(list->getHitPointName(), QString()); // no entries
    list->addPoint(QStringLiteral("first"), 10, 10);
    list->addPoint(QStringLiteral("second"), 50, 10);
    list->addPoint(QStringLiteral("third"), 90, 10);
    EXPECT_EQ(list->getHitPointName(), QStringLiteral("first")); // nothing hit yet
    EXPECT_TRUE(list->isHit({52, 12}, view.plotFrame()));
    EXPECT_EQ(list->getHitPointName(), QStringLiteral("second"));
    EXPECT_FALSE(list->isHit({70, 10}, view.plotFrame()));
    EXPECT_EQ(list->getHitPointName(), QStringLiteral("second"));
}

TEST_F(IdentityView, CurveHitTest)
{
    // Points (0,0) (1,1) [break at (9,9)] (2,2) (3,3), scaled by 100 into view units.
    auto broken = add(std::make_shared<CGraphCurve>());
    for (const auto& [x, y, flag] : {std::tuple{0, 0, false}, {1, 1, false}, {9, 9, true}, {2, 2, false}, {3, 3, false}})
        broken->addPoint(100.0f * x + 50, 100.0f * y + 50, flag);
    auto horizontal = add(std::make_shared<CGraphCurve>());
    horizontal->addPoint(100, 100, false);
    horizontal->addPoint(200, 100, false);
    auto single = add(std::make_shared<CGraphCurve>());
    single->addPoint(300, 200, false);
    auto empty = add(std::make_shared<CGraphCurve>());

    struct Case {
        const char* what;
        const CGraphCurve* curve;
        QPointF click;
        bool hit;
    };
    const Case cases[] = {
        {"first point's box", horizontal.get(), {97, 100}, true},
        {"past the last point", horizontal.get(), {203, 100}, false},
        {"exactly 5 above the segment", horizontal.get(), {150, 105}, true},
        {"5.01 above the segment", horizontal.get(), {150, 105.01}, false},
        {"5 below the segment", horizontal.get(), {150, 95}, true},
        {"one point", single.get(), {304, 196}, true},
        {"beside one point", single.get(), {306, 200}, false},
        {"no points", empty.get(), {0, 0}, false},
        {"first run", broken.get(), {100, 102}, true},
        {"second run", broken.get(), {300, 298}, true},
        {"undrawn line from the break point to (2,2)", broken.get(), {700, 700}, false},
        {"break point itself", broken.get(), {950, 950}, false},
        {"undrawn line from (1,1) to the break point", broken.get(), {500, 500}, false},
        {"undrawn line from (1,1) to (2,2)", broken.get(), {200, 200}, false},
        {"start of the second run", broken.get(), {253, 248}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.curve->isHit(c.click, view.plotFrame()), c.hit) << c.what;

    horizontal->setHidden(true);
    EXPECT_FALSE(horizontal->isHit({150, 100}, view.plotFrame()));
    horizontal->setHidden(false);
    horizontal->setSelectable(false);
    EXPECT_FALSE(horizontal->isHit({150, 100}, view.plotFrame()));
}

TEST_F(IdentityView, CurveDrawWidthFollowsItsSize)
{
    auto curve = add(std::make_shared<CGraphCurve>());
    curve->addPoint(10, 10, false);
    curve->addPoint(20, 30, false);
    curve->setToolSizeFactor(3);
    renderAlone(*curve);
    EXPECT_EQ(curve->getToolSizeFactor(), 1.0f); // the size wins at the next draw
    curve->setSize(2);
    curve->setHilited(true);
    renderAlone(*curve);
    EXPECT_EQ(curve->getToolSizeFactor(), 2.0f);

    // A list starting with a flagged point: both following points start a run.
    auto gapped = add(std::make_shared<CGraphCurve>());
    gapped->addPoint(1, 1, true);
    gapped->addPoint(10, 10, false);
    gapped->addPoint(20, 20, false);
    gapped->addPoint(30, 30, false);
    renderAlone(*gapped);
    // (A path keeps only the last of two moves in a row.)
    const QPainterPath& path = gapped->path();
    ASSERT_GE(path.elementCount(), 2);
    const QPainterPath::Element last = path.elementAt(path.elementCount() - 1);
    const QPainterPath::Element before = path.elementAt(path.elementCount() - 2);
    EXPECT_TRUE(last.isLineTo());
    EXPECT_EQ(QPointF(last), QPointF(30, 30));
    EXPECT_TRUE(before.isMoveTo());
    EXPECT_EQ(QPointF(before), QPointF(20, 20));
    for (int i = 0; i < path.elementCount(); ++i)
        EXPECT_FALSE(path.elementAt(i).isLineTo() && QPointF(path.elementAt(i)) == QPointF(20, 20));
}

TEST(GraphCurve, PointAccessCheckBounds)
{
    CGraphCurve curve;
    float x = -1, y = -1;
    EXPECT_FALSE(curve.getLastPointCoord(x, y));
    EXPECT_EQ(x, -1.0f);
    EXPECT_FALSE(curve.getPointAtIndex(0));
    curve.addPoint(1, 2, false);
    curve.addPoint(3, 4, true);
    EXPECT_TRUE(curve.getLastPointCoord(x, y));
    EXPECT_EQ((std::pair{x, y}), (std::pair{3.f, 4.f})); // the flag is ignored
    EXPECT_EQ(curve.getPointAtIndex(0), (PlotPoint{1, 2}));
    EXPECT_FALSE(curve.getPointAtIndex(2));
    EXPECT_FALSE(curve.getPointAtIndex(-1));
}

TEST(GraphCurve, InterpolatesBetweenPoints)
{
    CGraphCurve curve;
    curve.addPoint(0, 0, false);
    curve.addPoint(10, 20, false);
    curve.addPoint(20, 0, false);
    EXPECT_FLOAT_EQ(curve.getYFromX(5), 10.0f);
    EXPECT_FLOAT_EQ(curve.getYFromX(15), 10.0f);
    EXPECT_FLOAT_EQ(curve.getYFromX(0), 0.0f);
    EXPECT_FLOAT_EQ(curve.getYFromX(25), 0.0f); // not covered
    EXPECT_FLOAT_EQ(CGraphCurve().getYFromX(1), 0.0f);
}

TEST(GraphCurve, ExportTextByteForByte)
{
    CGraphCurve curve;
    for (const auto& [x, y, flag] : {std::tuple{0.f, 0.f, false}, {1.f, 1.f, false}, {9.f, 9.f, true},
                                     {150.f, -0.001f, false}, {3.f, 3.5e12f, false}})
        curve.addPoint(x, y, flag);
    const QByteArray expected = "      0.000000e+00\t      0.000000e+00\r\n"
                                "      1.000000e+00\t      1.000000e+00\r\n"
                                "\r\n"
                                "      1.500000e+02\t     -1.000000e-03\r\n"
                                "      3.000000e+00\t      3.500000e+12\r\n";
    EXPECT_EQ(curve.exportText(), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    ASSERT_TRUE(curve.writeCurveData(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), expected);
}

TEST(GraphCurve, ExportAsksForDataTxtAndWritesTheChosenFile)
{
    CGraphCurve curve;
    curve.addPoint(1, 2, false);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chosen.txt"));
    PresetFileChooser chooser;
    RecordingAlertService alerts;

    EXPECT_FALSE(curve.exportCurveData()); // cancelled
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    chooser.queuePath(path);
    EXPECT_TRUE(curve.exportCurveData());
    ASSERT_EQ(chooser.requests().size(), 2);
    EXPECT_TRUE(chooser.requests()[1].save);
    EXPECT_EQ(chooser.requests()[1].proposedName, QStringLiteral("data.txt"));
    EXPECT_EQ(chooser.requests()[1].extensions, QStringList{QStringLiteral("txt")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), curve.exportText());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST(GraphCurve, ExportThatRunsOutOfRoomKeepsTheOldFileAndSaysWhy)
{
    CGraphCurve curve;
    for (int i = 0; i < 200; ++i)
        curve.addPoint(i, i * 0.5, false);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data.txt"));
    const QByteArray old("the previous export\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(old), old.size());
    }
    PresetFileChooser chooser;
    chooser.queuePath(path);
    RecordingAlertService alerts;
    {
        const test::FileSizeLimit limit(512);  // well short of the curve's text
        ASSERT_TRUE(limit.isSet());
        EXPECT_FALSE(curve.exportCurveData());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.messages().join(' ').contains(QStringLiteral("File too large")))
        << alerts.messages().join(' ').toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("data.txt")}) << "no file left behind";
}

TEST(GraphCurve, ExportThatCannotOpenItsFileReportsItAndWritesNothing)
{
    CGraphCurve curve;
    curve.addPoint(1, 2, false);
    QTemporaryDir dir;
    // The parent "folder" is a file: nothing can be created below it.
    QFile blocker(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath(QStringLiteral("not-a-folder/data.txt"));
    PresetFileChooser chooser;
    chooser.queuePath(path);
    RecordingAlertService alerts;

    EXPECT_FALSE(curve.exportCurveData());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.messages()[0].contains(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{QStringLiteral("not-a-folder")});
    EXPECT_EQ(QFileInfo(blocker).size(), 0);
}

TEST(GraphLegend, ExtentFromItsRows)
{
    ProbeView view(QRect(0, 0, 400, 300));
    view.useIdentityTransform();
    auto a = std::make_shared<CGraphCurve>();
    a->setName(QStringLiteral("Liquid"));
    auto b = CGraphPoint::newGraphPoint(0, 0);
    b->setName(QStringLiteral("Critical point of a long name"));
    auto unnamed = std::make_shared<CGraphPointCurve>();
    auto labelled = std::make_shared<CGraphStringPointCurve>();
    labelled->setName(QStringLiteral("a name far longer than all the others in the box"));

    CGraphLegend& legend = *view.mLegend();
    view.setLegendPosition(100, 50);
    QImage image(400, 300, QImage::Format_ARGB32);
    const auto draw = [&] {
        QPainter painter(&image);
        ViewCanvas canvas(painter, 300);
        legend.render(canvas, view.plotFrame());
    };
    draw();
    EXPECT_EQ(legend.width(), 0.0f);
    EXPECT_EQ(legend.height(), -6.0f);
    EXPECT_FALSE(legend.isHit({100, 50}, view.plotFrame()));
    EXPECT_FALSE(legend.isHit({100, 47}, view.plotFrame()));

    for (const GraphObjectPtr& object : std::vector<GraphObjectPtr>{a, b, unnamed, labelled})
        view.includesIntoLegend(object);
    draw();
    const TextAttributes& attributes = view.state().fonts().legends;
    const QSizeF rows[] = {textSize(QStringLiteral("Liquid"), attributes),
                           textSize(QStringLiteral("Critical point of a long name"), attributes),
                           textSize(QStringLiteral("Untitled"), attributes)};
    double width = 0, height = -6;
    for (const QSizeF& row : rows) {
        width = std::max(width, row.width() + 30);
        height += row.height() + 6;
    }
    EXPECT_FLOAT_EQ(legend.width(), static_cast<float>(width)); // the labelled list adds nothing
    EXPECT_FLOAT_EQ(legend.height(), static_cast<float>(height));
    EXPECT_EQ(legend.getBounds(view.plotFrame()), QRectF(100, 50, legend.width(), legend.height()));
    // Edges as an unflipped view counts them: left and top in, right and bottom out.
    EXPECT_TRUE(legend.isHit({100, 60}, view.plotFrame()));
    EXPECT_TRUE(legend.isHit({100 + legend.width() - 0.5, 50 + legend.height()}, view.plotFrame()));
    EXPECT_FALSE(legend.isHit({100 + legend.width(), 60}, view.plotFrame()));
    EXPECT_FALSE(legend.isHit({99.9, 60}, view.plotFrame()));
    EXPECT_FALSE(legend.isHit({110, 50}, view.plotFrame()));
    EXPECT_FALSE(legend.isHit({110, 50 + legend.height() + 0.1}, view.plotFrame()));

    // A hidden legend keeps its former extent.
    legend.setHidden(true);
    view.removeFromLegend(b.get());
    draw();
    EXPECT_FLOAT_EQ(legend.height(), static_cast<float>(height));
    EXPECT_FALSE(legend.isHit({110, 60}, view.plotFrame()));
}
