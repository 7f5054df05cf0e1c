// What a reader of a plot sees: no text covers another, x tick labels sit centred on
// their ticks, legend samples are as thick as their curves, the highlighted legend's
// frame goes around its texts and marker labels keep clear of their markers. Measured on
// what the view draws (a recording paint device); each plot is also rendered into
// plot_legible_*.png in the test's working directory to be looked at.
#include "support/PaintRecorder.h"
#include "support/ProbeView.h"

#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphStringPoint.h"
#include "plot/CGraphStringPointCurve.h"

#include <gtest/gtest.h>

using namespace quorvel;
using quorvel::test::overlap;
using quorvel::test::PaintRecorder;
using quorvel::test::ProbeView;
using quorvel::test::RecordedShape;
using quorvel::test::RecordedText;

namespace {

struct Drawing {
    std::vector<RecordedText> texts;
    std::vector<RecordedShape> shapes;
};

Drawing record(ProbeView& view, const QString& imageName)
{
    view.renderImage().save(QStringLiteral("plot_legible_%1.png").arg(imageName));
    PaintRecorder device(view.width(), view.height());
    QPainter painter(&device);
    view.drawView(painter);
    painter.end();
    return {device.texts, device.shapes};
}

std::vector<RecordedText> textsNamed(const Drawing& drawing, const QString& text)
{
    std::vector<RecordedText> found;
    for (const RecordedText& t : drawing.texts)
        if (t.text == text)
            found.push_back(t);
    return found;
}

struct Axes {
    const char* name;
    const char* xTitle;
    const char* yTitle;
    float xMin, xMax, yMin, yMax;
    int xTicks, yTicks, xDigits, yDigits;
    bool logY;
};

void setUpAxes(ProbeView& view, const Axes& axes)
{
    view.setLabels(QString::fromUtf8(axes.xTitle), QString::fromUtf8(axes.yTitle));
    view.setDefaultXYRange(axes.xMin, axes.xMax, axes.yMin, axes.yMax);
    view.setTicksNumber(axes.xTicks, axes.yTicks);
    view.setTicksDigits(axes.xDigits, axes.yDigits);
    view.state().axes().showLogY = axes.logY;
}

const Axes kAxes[] = {
    {"pressure", "T (\u00B0C)", "P (bar)", 0, 400, 0, 150, 9, 7, 0, 0, false},
    {"long_titles", "Temperature (K)", "Liquid volume fraction (%)", 250, 450, 0, 100, 5, 6, 0, 1, false},
    {"signed_decimals", "Alpha", "Beta", -1, 1, -0.5f, 0.5f, 5, 5, 3, 3, false},
    {"log_axis", "P (bar)", "Viscosity (cP)", 0, 100, 0.1f, 1e5f, 6, 7, 0, 0, true},
};

} // namespace

TEST(LegiblePlot, NoTextCoversAnother)
{
    for (const Axes& axes : kAxes) {
        ProbeView view(QRect(0, 0, 640, 480));
        setUpAxes(view, axes);
        auto point = std::make_shared<CGraphStringPoint>();
        point->setPoint(0.5f * (axes.xMin + axes.xMax), axes.logY ? 100.0f : 0.5f * (axes.yMin + axes.yMax));
        point->setLabel(QStringLiteral("Inclusion 12"));
        point->setShowLabel(true);
        view.addGraphObject(point);
        const Drawing drawing = record(view, QLatin1String(axes.name));
        ASSERT_GT(drawing.texts.size(), 8u) << axes.name;
        for (std::size_t i = 0; i < drawing.texts.size(); ++i)
            for (std::size_t j = i + 1; j < drawing.texts.size(); ++j)
                EXPECT_FALSE(overlap(drawing.texts[i].box, drawing.texts[j].box))
                    << axes.name << ": \"" << drawing.texts[i].text.toStdString() << "\" and \""
                    << drawing.texts[j].text.toStdString() << "\"";
        // The y title still starts at the view's left inset.
        const std::vector<RecordedText> title = textsNamed(drawing, QString::fromUtf8(axes.yTitle));
        ASSERT_EQ(title.size(), 1u) << axes.name;
        EXPECT_NEAR(title[0].box.left(), 5.0, 0.5) << axes.name;
    }
}

TEST(LegiblePlot, XTickLabelsAreCentredOnTheirTicks)
{
    for (const Axes& axes : kAxes) {
        ProbeView view(QRect(0, 0, 640, 480));
        setUpAxes(view, axes);
        const Drawing drawing = record(view, QStringLiteral("ticks_%1").arg(QLatin1String(axes.name)));
        const QRectF plot = view.drawing().getPlotRect();
        int labels = 0;
        for (const RecordedText& text : drawing.texts) {
            bool isNumber = false;
            const float value = text.text.toFloat(&isNumber);
            if (!isNumber || text.box.bottom() > plot.y())
                continue; // not wholly below the plot area: a y label
            ++labels;
            EXPECT_NEAR(text.box.center().x(), view.getXValue(value), 0.5) << axes.name << " " << value;
        }
        EXPECT_GE(labels, 3) << axes.name;
    }
}

TEST(LegiblePlot, LegendSampleIsAsThickAsItsCurve)
{
    ProbeView view(QRect(0, 0, 400, 300));
    view.setDefaultXYRange(0, 100, 0, 100);
    for (const float size : {1.0f, 4.0f}) {
        auto curve = std::make_shared<CGraphCurve>();
        curve->setName(QStringLiteral("Isochore"));
        curve->setColor(Color::red());
        curve->setSize(size);
        curve->addPoint(10, 80, false);
        curve->addPoint(90, 90, false);
        view.purge();
        view.addGraphObject(curve);
        view.includesIntoLegend(curve);
        view.setLegendPosition(20, 20);
        const Drawing drawing = record(view, size > 1 ? QStringLiteral("thick_legend") : QStringLiteral("thin_legend"));
        int samples = 0;
        for (const RecordedShape& shape : drawing.shapes) {
            const bool isSample = shape.stroked && std::abs(shape.bounds.width() - 20.0) < 0.01 && shape.bounds.height() < 0.01;
            if (!isSample)
                continue;
            ++samples;
            EXPECT_DOUBLE_EQ(shape.pen.widthF(), size);
        }
        EXPECT_EQ(samples, 1) << size;
    }
}

TEST(LegiblePlot, HighlightedLegendFrameGoesAroundItsTexts)
{
    ProbeView view(QRect(0, 0, 400, 300));
    view.setDefaultXYRange(0, 100, 0, 100);
    const QString names[] = {QStringLiteral("Bubble curve"), QStringLiteral("Wide dew curve W")};
    for (const QString& name : names) {
        auto curve = std::make_shared<CGraphCurve>();
        curve->setName(name);
        curve->addPoint(0, 0, false);
        curve->addPoint(100, 100, false);
        view.addGraphObject(curve);
        view.includesIntoLegend(curve);
    }
    auto point = CGraphPoint::newGraphPoint(70, 30);
    point->setName(QStringLiteral("Critical point"));
    view.addGraphObject(point);
    view.includesIntoLegend(point);
    view.setLegendPosition(20, 40);
    view.mLegend()->setHilited(true);
    const Drawing drawing = record(view, QStringLiteral("hilited_legend"));

    std::vector<QRectF> frames;
    for (const RecordedShape& shape : drawing.shapes)
        if (shape.stroked && !shape.pen.dashPattern().isEmpty() && shape.pen.style() != Qt::SolidLine)
            frames.push_back(shape.bounds);
    ASSERT_EQ(frames.size(), 1u);
    const double halfPen = 0.5;
    const QRectF inside = frames[0].adjusted(halfPen, halfPen, -halfPen, -halfPen);
    for (const QString& name : {names[0], names[1], QStringLiteral("Critical point")}) {
        const std::vector<RecordedText> rows = textsNamed(drawing, name);
        ASSERT_EQ(rows.size(), 1u) << name.toStdString();
        EXPECT_TRUE(inside.contains(rows[0].box)) << name.toStdString();
    }
}

TEST(LegiblePlot, MarkerLabelsKeepClearOfTheirMarkers)
{
    auto named = CGraphPoint::newGraphPoint(30, 50);
    named->setName(QStringLiteral("Critical point"));
    named->setShowLabel(true);
    named->setHilited(true); // the larger marker
    auto labelled = CGraphStringPoint::newGraphStringPoint(70, 50);
    labelled->setLabel(QStringLiteral("Inclusion 3"));
    labelled->setShowLabel(true);
    auto list = std::make_shared<CGraphStringPointCurve>();
    list->setToolSizeFactor(10);
    list->addPoint(QStringLiteral("API 30"), 40, 20);
    struct Case {
        std::shared_ptr<CGraphObject> object;
        QString label;
    };
    for (const Case& c : {Case{named, QStringLiteral("Critical point")}, Case{labelled, QStringLiteral("Inclusion 3")},
                          Case{list, QStringLiteral("API 30")}}) {
        ProbeView view(QRect(0, 0, 400, 300));
        view.setDefaultXYRange(0, 100, 0, 100);
        view.addGraphObject(c.object);
        const Drawing drawing = record(view, QStringLiteral("marker_label_%1").arg(c.label).replace(QLatin1Char(' '), QLatin1Char('_')));
        const std::vector<RecordedText> label = textsNamed(drawing, c.label);
        ASSERT_EQ(label.size(), 1u) << c.label.toStdString();
        const double halfLine = 0.5 * (0.1 * c.object->getToolSizeFactor() + 1.0);
        const QRectF marker = c.object->getBounds(view.plotFrame()).adjusted(-halfLine, -halfLine, halfLine, halfLine);
        EXPECT_FALSE(overlap(label[0].box, marker)) << c.label.toStdString();
        // Under the marker (y grows upward: a rectangle's top() is its lower edge), close to it.
        EXPECT_LE(label[0].box.bottom(), marker.top()) << c.label.toStdString();
        EXPECT_LT(marker.top() - label[0].box.bottom(), 4.0) << c.label.toStdString();
    }
}
