#include "plot/CBarPlotView.h"

#include "widgets/ValueStepper.h"

#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

// Default margins: 20 points on every side.
constexpr float L = 20, B = 20;

float plotHeight(QSizeF size) { return float(size.height()) - 40; }

std::vector<QString> valueLabelTexts(const BarPlotLayout& layout)
{
    std::vector<QString> texts;
    for (const auto& label : layout.valueLabels)
        texts.push_back(label.text);
    return texts;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ---- menu and stepper

QAction* itemWithAction(const CBarPlotView& view, int position)
{
    return view.menuForEvent(nullptr)->actions().at(position);
}

TEST(BarPlotView, MenuItemsNameTheChangeTheyMake)
{
    CBarPlotView view;
    QMenu* menu = view.menuForEvent(nullptr);
    EXPECT_EQ(menu->title(), "Barplot");
    ASSERT_EQ(menu->actions().size(), 9);

    view.validateMenuItems();
    QAction* scale = itemWithAction(view, 0);
    QAction* grid = itemWithAction(view, 1);
    QAction* bars = itemWithAction(view, 3);
    QAction* lines = itemWithAction(view, 4);
    QAction* linesMarkers = itemWithAction(view, 5);
    EXPECT_EQ(scale->text(), "Set logarithmic scale");
    EXPECT_EQ(grid->text(), "Show grid");
    EXPECT_FALSE(bars->isChecked());
    EXPECT_FALSE(lines->isChecked());
    EXPECT_TRUE(linesMarkers->isChecked());
    EXPECT_TRUE(menu->actions().at(2)->isSeparator());
    EXPECT_EQ(itemWithAction(view, 7)->text(), "Save as PDF...");
    EXPECT_EQ(itemWithAction(view, 8)->text(), "Export to Igor...");

    scale->trigger();
    grid->trigger();
    bars->trigger();
    view.validateMenuItems();
    EXPECT_TRUE(view.isLogarithmic());
    EXPECT_TRUE(view.showsGrid());
    EXPECT_EQ(scale->text(), "Set linear scale");
    EXPECT_EQ(grid->text(), "Hide grid");
    EXPECT_TRUE(bars->isChecked());
    EXPECT_FALSE(linesMarkers->isChecked());

    lines->trigger();
    scale->trigger();
    view.validateMenuItems();
    EXPECT_EQ(view.mode(), CBarPlotView::Mode::Lines);
    EXPECT_TRUE(lines->isChecked());
    EXPECT_FALSE(view.isLogarithmic());
}

TEST(BarPlotView, StepperSetsTheTopOfTheValueAxis)
{
    CBarPlotView view;
    ValueStepper* stepper = view.stepper();
    EXPECT_EQ(stepper->geometry(), QRect(1, 0, 20, 30));  // the top-left corner
    EXPECT_EQ(stepper->value(), 100);
    EXPECT_EQ(stepper->increment(), 1);

    view.setMinimum(0, 100);
    stepper->stepDown();
    EXPECT_EQ(view.maximum(), 99.0f);
    stepper->stepUp();
    stepper->stepUp();  // no further than the limit
    EXPECT_EQ(view.maximum(), 100.0f);

    view.setMinimum(0, 50);  // the stepper keeps its value until it steps
    EXPECT_EQ(stepper->value(), 100);
    EXPECT_EQ(stepper->maximum(), 50);
    stepper->stepDown();
    EXPECT_EQ(view.maximum(), 50.0f);
    EXPECT_EQ(view.minimum(), 0.0f);
}

// ---- geometry

struct Chart {
    std::vector<double> values;
    QStringList labels;
    float minimum = 0;
    float maximum = 100;
    bool logarithmic = false;
};

BarPlotLayout layoutOf(const Chart& chart, QSizeF size, CBarPlotView* view = nullptr)
{
    CBarPlotView local;
    CBarPlotView& v = view ? *view : local;
    v.setValues(chart.values);
    v.setLabels(chart.labels);
    v.setMinimum(chart.minimum, chart.maximum);
    v.setIsLogarithmic(chart.logarithmic);
    return v.chartLayout(size);
}

TEST(BarPlotView, NoValuesDrawsNothingButWhite)
{
    CBarPlotView view;
    view.setLabels({"C1", "C2"});
    EXPECT_TRUE(view.chartLayout(QSizeF(400, 300)).empty);

    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    view.drawChart(painter, image.size());
    painter.end();
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            ASSERT_EQ(image.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(BarPlotView, OneBarIsAtMostFiftyPointsWide)
{
    const QSizeF size(400, 300);
    const BarPlotLayout layout = layoutOf({{40}, {"C1"}}, size);
    EXPECT_FLOAT_EQ(layout.barRegionWidth, 320);
    EXPECT_FLOAT_EQ(layout.barWidth, 50);
    EXPECT_FLOAT_EQ(layout.pitch, 60);
    ASSERT_EQ(layout.items.size(), 1u);
    const QRectF bar = layout.items[0].bar;
    EXPECT_FLOAT_EQ(bar.left(), L + 45);
    EXPECT_FLOAT_EQ(bar.bottom(), B + 0.4 * plotHeight(size));  // y grows upward: bottom() is the top
    EXPECT_FLOAT_EQ(bar.top(), B);
    EXPECT_FLOAT_EQ(layout.categoryLabels.at(0).centreX, L + 40 + 30);
    EXPECT_FLOAT_EQ(layout.categoryLabels.at(0).y, B - 18);
}

TEST(BarPlotView, NarrowSlotsSkipCategoryLabels)
{
    Chart chart;
    for (int i = 0; i < 10; ++i) {
        chart.values.push_back(i + 1);
        chart.labels << QStringLiteral("C%1").arg(i + 1);
    }
    const BarPlotLayout layout = layoutOf(chart, QSizeF(120 + 80, 300));
    const float w = 120 / 11.8f;
    EXPECT_NEAR(layout.barWidth, w, 1e-4);
    EXPECT_NEAR(layout.pitch, 1.2f * w, 1e-4);
    std::vector<int> drawn;
    for (const auto& label : layout.categoryLabels)
        drawn.push_back(label.index);
    EXPECT_EQ(drawn, (std::vector<int>{0, 3, 6, 9}));
    // Each bar's centre is its slot's centre.
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR(layout.items[i].bar.center().x(), L + 40 + (i + 0.5) * 1.2 * w, 1e-3);
}

TEST(BarPlotView, LinearLabelsStopAtTheMaximum)
{
    const QSizeF size(400, 300);
    const float H = plotHeight(size);
    BarPlotLayout layout = layoutOf({{50, 0}, {"a", "b"}, 0, 50}, size);
    EXPECT_EQ(valueLabelTexts(layout), (std::vector<QString>{"0.0", "15.0", "30.0", "45.0"}));
    EXPECT_FLOAT_EQ(layout.valueLabels[3].y, B + 0.9f * H);
    EXPECT_FLOAT_EQ(layout.valueLabels[3].x, L);
    EXPECT_FLOAT_EQ(layout.items[0].bar.height(), H);  // a value at the maximum reaches the top
    EXPECT_FLOAT_EQ(layout.items[1].bar.height(), 1);  // a value of 0 still shows a sliver

    layout = layoutOf({{50}, {"a"}, 0, 100}, size);
    EXPECT_EQ(valueLabelTexts(layout),
              (std::vector<QString>{"0.0", "20.0", "40.0", "60.0", "80.0", "100.0"}));
    EXPECT_FLOAT_EQ(layout.valueLabels.back().y, B + H);

    layout = layoutOf({{5}, {"a"}, 0, 7}, size);
    EXPECT_EQ(valueLabelTexts(layout), (std::vector<QString>{"0.0", "2.0", "4.0", "6.0"}));
}

struct LogCase {
    const char* name;
    std::vector<double> values;
    float minimum;
    float maximum;
    std::vector<QString> labels;
};

TEST(BarPlotView, LogarithmicAxisSpansWholeDecades)
{
    const LogCase cases[] = {
        {"values 0.5 to 60", {0.5, 3, 60}, 0, 100, {"   0.1", "     1", "    10", "   100"}},
        {"a zero value", {0, 1, 10}, 0, 100, {"  0.01", "   0.1", "     1", "    10", "   100"}},
        {"equal bounds", {1, 1}, 0, 1, {"  0.01", "   0.1", "     1"}},
        {"tiny value", {0.00005, 1}, 0, 1, {"1e-5", "1e-4", " 0.001", "  0.01", "   0.1", "     1"}},
        {"positive minimum", {5}, 0.02f, 20000,
         {"  0.01", "   0.1", "     1", "    10", "   100", "  1000", "10 000", "1e5"}},
    };
    const QSizeF size(400, 300);
    const float H = plotHeight(size);
    for (const LogCase& c : cases) {
        const BarPlotLayout layout = layoutOf({c.values, {}, c.minimum, c.maximum, true}, size);
        EXPECT_EQ(valueLabelTexts(layout), c.labels) << c.name;
        // The decades stand evenly from the bottom to the top of the plot area.
        const size_t n = layout.valueLabels.size();
        for (size_t k = 0; k < n; ++k)
            EXPECT_NEAR(layout.valueLabels[k].y, B + H * k / (n - 1), 1e-3) << c.name;
        // A bar's height is its value's position on the axis, whose top decade is the
        // maximum's.
        const double top = std::ceil(std::log10(double(c.maximum)));
        const double bottom = top - (double(n) - 1);
        for (size_t i = 0; i < c.values.size(); ++i) {
            const auto& item = layout.items[i];
            if (c.values[i] <= 0) {
                EXPECT_FALSE(item.drawn) << c.name;
                continue;
            }
            const double expected = H * (std::log10(c.values[i]) - bottom) / (n - 1);
            EXPECT_NEAR(item.bar.height(), std::max(expected, 1.0), 1e-3) << c.name;
        }
    }
}

TEST(BarPlotView, SeriesPointsAreTheBarTops)
{
    CBarPlotView view;
    const BarPlotLayout layout = layoutOf({{10, 0, 50}, {"a", "b", "c"}, 0, 100, true}, QSizeF(400, 300), &view);
    ASSERT_EQ(layout.items.size(), 3u);
    EXPECT_TRUE(layout.items[0].drawn);
    EXPECT_FALSE(layout.items[1].drawn);  // 0 has no place on a logarithmic axis
    for (const auto& item : layout.items)
        if (item.drawn) {
            EXPECT_FLOAT_EQ(item.top.x(), item.bar.center().x());
            EXPECT_FLOAT_EQ(item.top.y(), item.bar.bottom());
        }
}

TEST(BarPlotView, GridLinesStandAtSlotBoundariesAndValueLabels)
{
    CBarPlotView view;
    view.onToggleGrid();
    const QSizeF size(400, 300);
    const BarPlotLayout layout = layoutOf({{10, 20, 30}, {"a", "b", "c"}, 0, 40}, size, &view);
    ASSERT_EQ(layout.verticalGrid.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(layout.verticalGrid[i].x1(), L + 40 + i * layout.pitch);
        EXPECT_FLOAT_EQ(layout.verticalGrid[i].y1(), B);
        EXPECT_FLOAT_EQ(layout.verticalGrid[i].y2(), 300 - 20);
    }
    ASSERT_EQ(layout.horizontalGrid.size(), layout.valueLabels.size());
    for (size_t k = 0; k < layout.valueLabels.size(); ++k) {
        EXPECT_FLOAT_EQ(layout.horizontalGrid[k].y1(), layout.valueLabels[k].y);
        EXPECT_FLOAT_EQ(layout.horizontalGrid[k].x2(), 400 - 20 + 5);
    }
    // Axes, one tick under each slot boundary and one beside each value label.
    EXPECT_EQ(layout.axes.size(), 2 + 4 + layout.valueLabels.size());
    EXPECT_EQ(layout.axes[0], QLineF(L + 35, B, L + 35, 300 - 20 + 10));
    EXPECT_EQ(layout.axes[1], QLineF(L + 35, B, 400 - 20 + 5, B));
}

TEST(BarPlotView, ReferenceDotsOnlyOverMatchingBars)
{
    CBarPlotView view;
    view.setReferenceLabels({"C3", "X", "C1"}, {5, 7, 50});
    const QSizeF size(400, 300);
    const float H = plotHeight(size);
    for (auto mode : {&CBarPlotView::onSetBars, &CBarPlotView::onSetLines}) {
        (view.*mode)();
        const BarPlotLayout layout = layoutOf({{10, 20, 30}, {"C1", "C2", "C3"}, 0, 100}, size, &view);
        EXPECT_TRUE(layout.items[0].hasReference);
        EXPECT_FLOAT_EQ(layout.items[0].reference.y(), B + 0.5f * H);
        EXPECT_FALSE(layout.items[1].hasReference);
        EXPECT_TRUE(layout.items[2].hasReference);
        EXPECT_FLOAT_EQ(layout.items[2].reference.y(), B + 0.05f * H);
        EXPECT_FLOAT_EQ(layout.items[2].reference.x(), layout.items[2].bar.center().x());
    }
}

TEST(BarPlotView, FewerLabelsThanValuesNeverReadOutOfRange)
{
    CBarPlotView view;
    view.setReferenceLabels({"C1", "C2", "C3"}, {5});  // fewer values than labels too
    const BarPlotLayout layout = layoutOf({{10, 20, 30}, {"C1", "C2"}, 0, 100}, QSizeF(400, 300), &view);
    ASSERT_EQ(layout.items.size(), 3u);
    EXPECT_TRUE(layout.items[0].hasReference);
    EXPECT_FALSE(layout.items[1].hasReference);  // C2 has no reference value
    EXPECT_FALSE(layout.items[2].hasReference);  // the third bar has no label
    EXPECT_TRUE(layout.items[2].drawn);
    EXPECT_EQ(layout.categoryLabels.size(), 2u);

    view.setLabels({});
    view.resize(400, 300);
    QImage image(view.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    view.drawChart(painter, image.size());  // must not fail
}

TEST(BarPlotView, UndefinedScalesDrawEmptyAxes)
{
    struct Case {
        const char* name;
        float minimum, maximum;
        bool logarithmic;
    };
    const Case cases[] = {
        {"linear maximum 0", 0, 0, false},
        {"linear negative maximum", 0, -5, false},
        {"linear infinite maximum", 0, INFINITY, false},
        {"logarithmic maximum's decade below the minimum's", 1000, 10, true},
    };
    for (const Case& c : cases) {
        CBarPlotView view;
        view.setReferenceLabels({"C1"}, {5});
        const BarPlotLayout layout =
            layoutOf({{10, 20}, {"C1", "C2"}, c.minimum, c.maximum, c.logarithmic}, QSizeF(400, 300), &view);
        EXPECT_FALSE(layout.empty) << c.name;
        EXPECT_EQ(layout.axes.size(), 2u + 3u) << c.name;  // axes and slot ticks only
        EXPECT_TRUE(layout.valueLabels.empty()) << c.name;
        for (const auto& item : layout.items) {
            EXPECT_FALSE(item.drawn) << c.name;
            EXPECT_FALSE(item.hasReference) << c.name;
        }
        QImage image(400, 300, QImage::Format_RGB32);
        QPainter painter(&image);
        view.drawChart(painter, image.size());
    }
}

// ---- drawing

TEST(BarPlotView, RendersBarsRedAndAPolylineBlue)
{
    CBarPlotView view;
    view.resize(480, 320);
    view.setValues({45.2, 8.1, 6.3, 3.9, 1.2, 2.0, 0.9, 1.1, 0.6, 30.7});
    view.setLabels({"C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6", "C7", "C8+"});
    view.setReferenceLabels({"C1", "C2", "C3", "nC4", "C8+"}, {50, 10, 5, 2, 25});

    view.setMinimum(0, 60);
    view.onSetBars();
    view.onToggleGrid();
    QImage bars = view.grab().toImage();
    bars.save(QDir::current().filePath("bar_plot_view_bars.png"));
    // Inside the first bar: 45.2 of 60 over a plot area 280 high.
    const BarPlotLayout layout = view.chartLayout(view.size());
    const QPointF inside(layout.items[0].bar.center().x(), 320 - (B + 0.25 * 45.2 / 60 * 280));
    EXPECT_EQ(bars.pixelColor(inside.toPoint()), QColor(Qt::red));
    EXPECT_EQ(bars.pixelColor(400, 10), QColor(Qt::white));  // the top margin

    view.setMinimum(0, 100);
    view.setIsLogarithmic(true);
    view.onSetLinesMarkers();
    QImage lines = view.grab().toImage();
    lines.save(QDir::current().filePath("bar_plot_view_lines.png"));
    bool hasBlue = false, hasRed = false;
    for (int y = 0; y < lines.height(); ++y)
        for (int x = 30; x < lines.width(); ++x) {  // right of the stepper
            const QColor c = lines.pixelColor(x, y);
            hasBlue |= c.blue() > 200 && c.red() < 80 && c.green() < 80;
            hasRed |= c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_TRUE(hasBlue);
    EXPECT_FALSE(hasRed);
}

// ---- exports

TEST(BarPlotView, IgorTextIsWrittenByteForByte)
{
    QTemporaryDir dir;
    CBarPlotView view;
    view.setValues({1, 2});
    view.setLabels({"C1", "nC4"});
    const QString path = dir.filePath("data0.itx");
    ASSERT_TRUE(view.writeIgorText(path));
    const QByteArray expected =
        "IGOR\nWAVES v0\nBEGIN\r\n"
        "\t      1.000000e+00\r\n"
        "\t      2.000000e+00\r\n"
        "END\r\nWAVES/T s0\r\nBEGIN\r\n"
        "\t\"C1\"\r\n"
        "\t\"nC4\"\r\n"
        "END\r\n";
    EXPECT_EQ(readFile(path), expected);
    EXPECT_EQ(view.igorIndex(), 1);
}

TEST(BarPlotView, IgorExportsNumberTheirWaves)
{
    QTemporaryDir dir;
    CBarPlotView view;
    view.setValues({12.5, -0.00123, 1e-300});
    view.setLabels({"C1", "C2", "C3", "C4"});  // more labels than values: all are written
    for (int k = 0; k < 3; ++k)
        ASSERT_TRUE(view.writeIgorText(dir.filePath(QStringLiteral("data%1.itx").arg(k))));
    const QByteArray third = readFile(dir.filePath("data2.itx"));
    EXPECT_EQ(third,
              "IGOR\nWAVES v2\nBEGIN\r\n"
              "\t      1.250000e+01\r\n"
              "\t     -1.230000e-03\r\n"
              "\t     1.000000e-300\r\n"
              "END\r\nWAVES/T s2\r\nBEGIN\r\n"
              "\t\"C1\"\r\n\t\"C2\"\r\n\t\"C3\"\r\n\t\"C4\"\r\n"
              "END\r\n");
    EXPECT_EQ(view.igorIndex(), 3);
}

TEST(BarPlotView, IgorLabelsAreEscaped)
{
    QTemporaryDir dir;
    CBarPlotView view;
    view.setValues({1});
    view.setLabels({"say \"C7+\"", "a\\b", "two\nlines\r\tend", QString::fromUtf8("n-C\u2081\u2080")});
    ASSERT_TRUE(view.writeIgorText(dir.filePath("data0.itx")));
    const QByteArray text = readFile(dir.filePath("data0.itx"));
    EXPECT_TRUE(text.contains("\t\"say \\\"C7+\\\"\"\r\n"));
    EXPECT_TRUE(text.contains("\t\"a\\\\b\"\r\n"));
    EXPECT_TRUE(text.contains("\t\"two\\nlines\\r\\tend\"\r\n"));
    EXPECT_TRUE(text.contains("\t\"n-C\xe2\x82\x81\xe2\x82\x80\"\r\n"));  // UTF-8 as it is
    EXPECT_TRUE(text.endsWith("\"\r\nEND\r\n"));
}

TEST(BarPlotView, PdfIsOnePageOfTheViewSize)
{
    QTemporaryDir dir;
    CBarPlotView view;
    view.resize(300, 200);
    view.setValues({10, 20});
    view.setLabels({"a", "b"});
    view.setMinimum(0, 100);
    const QString path = dir.filePath("plot.pdf");
    ASSERT_TRUE(view.writePdf(path));
    const QByteArray pdf = readFile(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 300.000000 200.000000]"));
    EXPECT_FALSE(view.stepper()->isHidden());

    // A size close to a paper size stays the view's own.
    view.resize(611, 791);
    ASSERT_TRUE(view.writePdf(path));
    EXPECT_TRUE(readFile(path).contains("/MediaBox [0 0 611.000000 791.000000]"));
}

TEST(BarPlotView, ExportsAskForAFileOfTheirType)
{
    QTemporaryDir dir;
    PresetFileChooser chooser;
    RecordingAlertService alerts;
    CBarPlotView view;
    view.resize(200, 100);
    view.setValues({1});
    view.setLabels({"C1"});

    chooser.queuePath(dir.filePath("chart.pdf"));
    chooser.queuePath(QString());  // cancelled
    view.onPrintPlot();
    view.onPrintPlot();
    ASSERT_EQ(chooser.requests().size(), 2);
    EXPECT_TRUE(chooser.requests()[0].save);
    EXPECT_EQ(chooser.requests()[0].proposedName, "plot.pdf");
    EXPECT_EQ(chooser.requests()[0].extensions, QStringList{"pdf"});
    EXPECT_EQ(chooser.requests()[0].parent, &view);
    EXPECT_TRUE(readFile(dir.filePath("chart.pdf")).startsWith("%PDF-"));

    // A cancelled Igor export does not advance the wave number.
    for (const char* name : {"a.itx", "", "b.itx", "c.itx"})
        chooser.queuePath(*name ? dir.filePath(name) : QString());
    for (int k = 0; k < 4; ++k)
        view.onExportToIgor();
    QStringList proposed;
    for (qsizetype k = 2; k < chooser.requests().size(); ++k) {
        proposed << chooser.requests()[k].proposedName;
        EXPECT_EQ(chooser.requests()[k].extensions, QStringList{"itx"});
        EXPECT_EQ(chooser.requests()[k].parent, &view);
    }
    EXPECT_EQ(proposed, (QStringList{"data0.itx", "data1.itx", "data1.itx", "data2.itx"}));
    EXPECT_TRUE(readFile(dir.filePath("a.itx")).startsWith("IGOR\nWAVES v0\n"));
    EXPECT_TRUE(readFile(dir.filePath("b.itx")).startsWith("IGOR\nWAVES v1\n"));
    EXPECT_TRUE(readFile(dir.filePath("c.itx")).contains("WAVES/T s2\r\n"));
    EXPECT_EQ(view.igorIndex(), 3);
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST(BarPlotView, ExportFailuresAreReportedAndWriteNothing)
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    CBarPlotView view;
    view.resize(200, 100);
    view.setValues({1});
    view.setLabels({"C1"});

    const QString missing = dir.filePath("no such folder/data0.itx");
    EXPECT_FALSE(view.writeIgorText(missing));
    EXPECT_EQ(view.igorIndex(), 0);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(view.writePdf(dir.filePath("no such folder/plot.pdf")));
    ASSERT_EQ(alerts.alerts().size(), 2);
    EXPECT_TRUE(alerts.alerts()[0].message.contains(missing));
    EXPECT_TRUE(alerts.alerts()[0].title.isEmpty());
}

} // namespace
} // namespace quorvel

namespace quorvel {

TEST(BarPlotView, CrowdedLongCategoryLabelsNeverRunTogether)
{
    // A lumped fluid's composition in the editor's chart as a laptop screen leaves room for it.
    Chart chart;
    chart.labels = {"N2", "CO2", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6",
                    "C7-C10", "C11-C17", "C18-C27", "C28-C35", "C36-C44", "C45+"};
    for (int i = 0; i < chart.labels.size(); ++i)
        chart.values.push_back(1 + i % 5);
    CBarPlotView view;
    const BarPlotLayout layout = layoutOf(chart, QSizeF(360, 220), &view);
    ASSERT_GE(layout.categoryLabels.size(), 3u);
    EXPECT_EQ(layout.categoryLabels.front().index, 0);
    const QFontMetricsF metrics(view.ticksFont());
    for (std::size_t k = 1; k < layout.categoryLabels.size(); ++k) {
        const auto& before = layout.categoryLabels[k - 1];
        const auto& label = layout.categoryLabels[k];
        const double rightOfBefore = before.centreX + 0.5 * metrics.horizontalAdvance(chart.labels[before.index]);
        const double leftOfLabel = label.centreX - 0.5 * metrics.horizontalAdvance(chart.labels[label.index]);
        EXPECT_GT(leftOfLabel, rightOfBefore) << chart.labels[before.index].toStdString() << " runs into "
                                              << chart.labels[label.index].toStdString();
    }
}

} // namespace quorvel
