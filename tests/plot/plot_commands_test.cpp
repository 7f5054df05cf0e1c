// Plot view commands: undo and redo of every undoable command, zoom arithmetic, menu
// validation, line thickness and marker size, colours, PDF export and the copy in a
// new window.
#include "support/InteractivePlot.h"
#include "support/ProbeView.h"

#include "plot/CDrawPlotView.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"

#include "widgets/ColorPanel.h"

#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace quorvel;
using quorvel::test::InteractivePlot;
using quorvel::test::bounds;
using quorvel::test::ProbeView;

namespace {

// A drawn view holding a curve (size and factor 2) and a point (factor 3).
struct CommandFixture {
    CommandFixture()
    {
        view.setDefaultXYRange(0, 10, 0, 100);
        view.setMaxXYRange(-100, 100, -1000, 1000);
        view.setLabels(QStringLiteral("T"), QStringLiteral("P"));
        curve->addPoint(1, 50, false);
        curve->addPoint(9, 50, false);
        curve->setSize(2);
        curve->setToolSizeFactor(2);
        curve->setColor(Color::blue());
        point->setToolSizeFactor(3);
        view.addGraphObject(curve);
        view.addGraphObject(point);
        view.setLegendPosition(1, 90);
        view.renderImage();
    }
    // The zoom rectangle over data x0..x1, y0..y1.
    void setRectangle(float x0, float x1, float y0, float y1)
    {
        const float px0 = view.getXValue(x0), px1 = view.getXValue(x1);
        const float py0 = view.getYValue(y0), py1 = view.getYValue(y1);
        view.state().selection().trackingRect = QRectF(px0, py0, px1 - px0, py1 - py0);
    }
    std::array<float, 4> current() const
    {
        return bounds(view.state().ranges().current);
    }

    ProbeView view{QRect(0, 0, 500, 400)};
    std::shared_ptr<CGraphCurve> curve = std::make_shared<CGraphCurve>();
    std::shared_ptr<CGraphPoint> point = CGraphPoint::newGraphPoint(5, 20);
};

// Everything an undoable command may change.
struct PlotSnapshot {
    std::array<float, 4> ranges;
    QFont labels, ticks, legends, xLabel, yLabel;
    float legendX, legendY;
    float curveFactor, curveSize, pointFactor;
    bool operator==(const PlotSnapshot&) const = default;

    static PlotSnapshot of(CommandFixture& f)
    {
        PlotSnapshot s;
        s.ranges = f.current();
        s.labels = f.view.state().fonts().labels.font;
        s.ticks = f.view.state().fonts().ticks.font;
        s.legends = f.view.state().fonts().legends.font;
        s.xLabel = f.view.mXLabel().effectiveAttributes().font;
        s.yLabel = f.view.mYLabel().effectiveAttributes().font;
        f.view.mLegend()->getPosition(s.legendX, s.legendY);
        s.curveFactor = f.curve->getToolSizeFactor();
        s.curveSize = f.curve->size();
        s.pointFactor = f.point->getToolSizeFactor();
        return s;
    }
};

struct UndoableCommand {
    const char* name;
    std::function<void(CommandFixture&)> run;
    const char* actionName;
};

const TextAttributes kSerif = TextAttributes::make(QStringLiteral("DejaVu Serif"), 17, true, false);

const UndoableCommand kCommands[] = {
    {"zoom in", [](CommandFixture& f) { f.setRectangle(2, 4, 20, 40); f.view.perform(PlotCommand::ZoomIn); },
     "Changes Of Axis Ranges"},
    {"zoom out", [](CommandFixture& f) { f.setRectangle(2, 4, 20, 40); f.view.perform(PlotCommand::ZoomOut); },
     "Changes Of Axis Ranges"},
    {"maximum ranges", [](CommandFixture& f) { f.view.onMaximumAxisRanges(); }, "Changes Of Axis Ranges"},
    {"labels font", [](CommandFixture& f) { f.view.changes().doChangeFont(kSerif, FontKind::Labels); },
     "Changes Of Labels Font"},
    {"ticks font", [](CommandFixture& f) { f.view.changes().doChangeFont(kSerif, FontKind::Ticks); },
     "Changes of Ticks Font"},
    {"legends font", [](CommandFixture& f) { f.view.changes().doChangeFont(kSerif, FontKind::Legends); },
     "Changes of Legends Font"},
    {"font panel answer",
     [](CommandFixture& f) {
         f.view.perform(PlotCommand::GraduationFontSettings);
         f.view.commands().changeFont(QFont(QStringLiteral("DejaVu Sans Mono"), 15));
     },
     "Changes of Ticks Font"},
    {"normal thickness",
     [](CommandFixture& f) { f.view.setSelectedObject(f.curve.get()); f.view.perform(PlotCommand::NormalThickness); },
     "Change Of Line Thickness"},
    {"triple thickness",
     [](CommandFixture& f) { f.view.setSelectedObject(f.curve.get()); f.view.perform(PlotCommand::TripleThickness); },
     "Change Of Line Thickness"},
    {"increase marker size",
     [](CommandFixture& f) { f.view.setSelectedObject(f.point.get()); f.view.perform(PlotCommand::IncreasePointSize); },
     "Increase Of Marker Size"},
    {"decrease marker size",
     [](CommandFixture& f) { f.view.setSelectedObject(f.point.get()); f.view.perform(PlotCommand::DecreasePointSize); },
     "Decrease Of Marker Size"},
    {"move legend", [](CommandFixture& f) { f.view.changes().doChangeLegendPosition(6, 30, 0, 0); }, "Move Of Legend"},
};

} // namespace

TEST(PlotCommands, UndoAndRedoOfEveryCommandRestoreTheExactState)
{
    for (const UndoableCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        CommandFixture f;
        UndoManager* undo = f.view.undoManager();
        const PlotSnapshot before = PlotSnapshot::of(f);
        command.run(f);
        const PlotSnapshot after = PlotSnapshot::of(f);
        EXPECT_NE(after, before);
        EXPECT_EQ(undo->undoActionName(), QString::fromLatin1(command.actionName));
        undo->undo();
        EXPECT_EQ(PlotSnapshot::of(f), before);
        EXPECT_FALSE(undo->canUndo());
        EXPECT_EQ(undo->redoActionName(), QString::fromLatin1(command.actionName));
        undo->redo();
        EXPECT_EQ(PlotSnapshot::of(f), after);
        undo->undo();
        EXPECT_EQ(PlotSnapshot::of(f), before);
    }
}

TEST(PlotCommands, EveryCommandHasOneRowWithTitleAndAction)
{
    const auto rows = PlotCommands::commandTable();
    const int count = static_cast<int>(PlotCommand::PointsSettingsPanel) + 1;
    ASSERT_EQ(static_cast<int>(rows.size()), count);
    for (int i = 0; i < count; ++i) {
        const auto command = static_cast<PlotCommand>(i);
        EXPECT_EQ(&CPlotView::commandRow(command), &rows[static_cast<std::size_t>(i)]) << i; // one row, in order
        EXPECT_NE(rows[static_cast<std::size_t>(i)].action, nullptr) << i;
        EXPECT_STRNE(rows[static_cast<std::size_t>(i)].title, "") << i;
        EXPECT_STREQ(rows[static_cast<std::size_t>(i)].shortcut, "") << i; // no key equivalents
    }
    // A menu item runs its row's action: the grid item toggles the grid.
    CommandFixture f;
    QMenu menu;
    QAction* grid = f.view.addMenuItem(&menu, QStringLiteral("grid"), PlotCommand::ShowGrid);
    const bool shown = f.view.state().axes().drawGrid;
    grid->trigger();
    EXPECT_EQ(f.view.state().axes().drawGrid, !shown);
}

TEST(PlotCommands, DefaultRangesUndoToTheRangesBefore)
{
    CommandFixture f;
    f.view.setXYRange(3, 4, 5, 6);
    f.view.onAxisRangesByDefault();
    EXPECT_EQ(f.current(), (std::array{0.f, 10.f, 0.f, 100.f}));
    f.view.undoManager()->undo();
    EXPECT_EQ(f.current(), (std::array{3.f, 4.f, 5.f, 6.f}));
}

TEST(PlotCommands, ARangeChangeRemovesTheRectangleAndDisablesTheZoomButtons)
{
    InteractivePlot plot;
    plot.drag(plot.widgetAt(2, 20), {}, plot.widgetAt(6, 70));
    ASSERT_TRUE(plot.frame->zoomOutButton()->isEnabled());
    plot.frame->zoomInButton()->click();
    EXPECT_FALSE(plot.view->state().hasTrackingRect());
    const QString disabled =
        QStringLiteral("Disabled. To enable it, press and drag the mouse on the plot to delimit the area to zoom.");
    for (QToolButton* button : {plot.frame->zoomInButton(), plot.frame->zoomOutButton()}) {
        EXPECT_FALSE(button->isEnabled());
        EXPECT_EQ(button->toolTip(), disabled);
    }
    float x0, x1, y0, y1;
    plot.view->getXYRange(x0, x1, y0, y1);
    EXPECT_NEAR(x0, 2, 0.05);
    EXPECT_NEAR(x1, 6, 0.05);
    EXPECT_NEAR(y0, 20, 0.5);
    EXPECT_NEAR(y1, 70, 0.5);
}

// --- Zoom arithmetic

TEST(PlotZoom, ZoomingInIsClampedToTheMaximumRanges)
{
    CommandFixture f;
    f.view.setMaxXYRange(1, 8, -1000, 1000);
    f.setRectangle(0.5f, 9.0f, 20, 60);
    f.view.perform(PlotCommand::ZoomIn);
    EXPECT_EQ(f.current()[0], 1.f);
    EXPECT_EQ(f.current()[1], 8.f);
    EXPECT_NEAR(f.current()[2], 20, 1e-3);
    EXPECT_NEAR(f.current()[3], 60, 1e-3);
    f.view.undoManager()->undo();
    EXPECT_EQ(f.current(), (std::array{0.f, 10.f, 0.f, 100.f}));
}

TEST(PlotZoom, ZoomingInOnALogarithmicAxisGivesPowersOfTen)
{
    CommandFixture f;
    f.view.state().axes().showLogX = true;
    f.view.setDefaultXYRange(1, 1000, 0, 100);
    f.view.setMaxXYRange(1e-3f, 1e6f, -1000, 1000);
    f.view.renderImage();
    const float left = f.view.drawing().geometry().ax * 1 + f.view.drawing().geometry().bx; // axis coordinates 1 and 2
    const float right = f.view.drawing().geometry().ax * 2 + f.view.drawing().geometry().bx;
    f.view.state().selection().trackingRect = QRectF(left, f.view.getYValue(10), right - left, 50);
    f.view.perform(PlotCommand::ZoomIn);
    EXPECT_NEAR(f.current()[0], 10, 1e-3);
    EXPECT_NEAR(f.current()[1], 100, 1e-2);
}

TEST(PlotZoom, ZoomingOutSqueezesTheViewIntoTheRectangle)
{
    CommandFixture f;
    const QRectF plot = f.view.drawing().getPlotRect();
    // The middle half in x, the whole height in y.
    f.view.state().selection().trackingRect =
        QRectF(plot.x() + plot.width() / 4, plot.y(), plot.width() / 2, plot.height());
    f.view.perform(PlotCommand::ZoomOut);
    EXPECT_NEAR(f.current()[0], -5, 1e-4);
    EXPECT_NEAR(f.current()[1], 15, 1e-4);
    EXPECT_NEAR(f.current()[2], 0, 1e-4);
    EXPECT_NEAR(f.current()[3], 100, 1e-3);
}

TEST(PlotZoom, ZoomingOutOnALogarithmicAxisWorksInDecades)
{
    CommandFixture f;
    f.view.state().axes().showLogX = true;
    f.view.setDefaultXYRange(1, 1000, 0, 100);
    f.view.setMaxXYRange(1e-6f, 1e9f, -1000, 1000);
    f.view.renderImage();
    const QRectF plot = f.view.drawing().getPlotRect();
    f.view.state().selection().trackingRect =
        QRectF(plot.x() + plot.width() / 4, plot.y(), plot.width() / 2, plot.height());
    f.view.perform(PlotCommand::ZoomOut);
    // Three decades squeezed into half the width: six decades, centred on the old ones.
    EXPECT_NEAR(std::log10(f.current()[0]), -1.5, 1e-4);
    EXPECT_NEAR(std::log10(f.current()[1]), 4.5, 1e-4);
    EXPECT_GT(f.current()[0], 0.f);
}

TEST(PlotZoom, ARectangleOutsideTheMaximumRangesChangesNothing)
{
    CommandFixture f;
    f.view.setMaxXYRange(0, 10, 0, 100);
    // Right of x = 10.
    f.view.state().selection().trackingRect = QRectF(f.view.getXValue(12), f.view.getYValue(20), 40, 40);
    f.view.perform(PlotCommand::ZoomIn);
    EXPECT_EQ(f.current(), (std::array{0.f, 10.f, 0.f, 100.f}));
    EXPECT_FALSE(f.view.undoManager()->canUndo());
}

// --- Validation

TEST(PlotMenuValidation, ItemsFollowTheRectangleTheRangesAndTheThickness)
{
    CommandFixture f;
    QMenu menu;
    auto enabled = [&](PlotCommand command) {
        QAction* item = f.view.addMenuItem(&menu, QStringLiteral("item"), command);
        return f.view.validateMenuItem(item);
    };
    EXPECT_FALSE(enabled(PlotCommand::ZoomIn));
    EXPECT_FALSE(enabled(PlotCommand::ZoomOut));
    EXPECT_FALSE(enabled(PlotCommand::AxisRangesByDefault));
    f.setRectangle(2, 4, 20, 40);
    EXPECT_TRUE(enabled(PlotCommand::ZoomIn));
    EXPECT_TRUE(enabled(PlotCommand::ZoomOut));
    f.view.setXYRange(0, 10, 0, std::nanf(""));
    EXPECT_TRUE(enabled(PlotCommand::AxisRangesByDefault));

    f.view.setSelectedObject(f.curve.get()); // factor 2
    EXPECT_TRUE(enabled(PlotCommand::NormalThickness));
    EXPECT_FALSE(enabled(PlotCommand::DoubleThickness));
    EXPECT_TRUE(enabled(PlotCommand::TripleThickness));

    QAction* grid = f.view.addMenuItem(&menu, QString(), PlotCommand::ShowGrid);
    f.view.validateMenuItem(grid);
    EXPECT_EQ(grid->text(), QStringLiteral("Show Grid"));
    f.view.perform(PlotCommand::ShowGrid);
    f.view.validateMenuItem(grid);
    EXPECT_EQ(grid->text(), QStringLiteral("Hide Grid"));
}

// --- Thickness and marker size

namespace {
// Rows of the curve's colour crossing the image column at data x = 5.
int drawnLineWidth(CommandFixture& f)
{
    const QImage image = f.view.renderImage();
    const int column = qRound(f.view.getXValue(5));
    int rows = 0;
    for (int row = 0; row < image.height(); ++row) {
        const QColor c = image.pixelColor(column, row);
        if (c.blue() > 150 && c.red() < 120 && c.green() < 120)
            ++rows;
    }
    return rows;
}
} // namespace

TEST(PlotCommands, ThicknessChangesAndTheirUndoShowInTheDrawing)
{
    CommandFixture f;
    f.curve->setSize(1);
    f.curve->setToolSizeFactor(1);
    const int normal = drawnLineWidth(f);
    f.view.setSelectedObject(f.curve.get());
    f.view.perform(PlotCommand::TripleThickness);
    const int triple = drawnLineWidth(f);
    EXPECT_GE(triple, normal + 2);
    EXPECT_EQ(f.curve->getToolSizeFactor(), 3.f); // the draw keeps it
    f.view.undoManager()->undo();
    EXPECT_EQ(drawnLineWidth(f), normal);
    EXPECT_EQ(f.curve->getToolSizeFactor(), 1.f);
}

TEST(PlotCommands, AMarkerSizeFactorStaysAtLeastOne)
{
    CommandFixture f;
    f.point->setToolSizeFactor(2);
    f.view.setSelectedObject(f.point.get());
    f.view.perform(PlotCommand::DecreasePointSize);
    EXPECT_EQ(f.point->getToolSizeFactor(), 1.f);
    f.view.undoManager()->undo();
    f.view.undoManager()->redo();
    f.view.perform(PlotCommand::DecreasePointSize);
    f.view.perform(PlotCommand::DecreasePointSize);
    EXPECT_EQ(f.point->getToolSizeFactor(), 1.f);
    f.view.undoManager()->undo(); // the one decrease that happened
    EXPECT_EQ(f.point->getToolSizeFactor(), 2.f);
    EXPECT_FALSE(f.view.undoManager()->canUndo());
}

TEST(PlotCommands, AnAxisLabelFontRestylesBothLabelsAtOnce)
{
    CommandFixture f;
    f.view.changes().doChangeFont(kSerif, FontKind::Labels);
    EXPECT_EQ(f.view.mXLabel().attributes, kSerif);
    EXPECT_EQ(f.view.mYLabel().attributes, kSerif);
    f.view.changes().doChangeFont(TextAttributes::make(QStringLiteral("DejaVu Sans"), 8), FontKind::Legends);
    EXPECT_EQ(f.view.mXLabel().attributes, kSerif); // other kinds leave the labels alone
}

// --- Colours

TEST(PlotCommands, TheColourPanelRecoloursTheSelectedObjectWithoutUndo)
{
    CommandFixture f;
    ColorPanel& panel = ColorPanel::shared();
    f.view.setSelectedObject(f.curve.get());
    f.view.perform(PlotCommand::GraphObjectColor);
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.color().toQColor(), Color::blue().toQColor());

    panel.dialog()->setCurrentColor(QColor(200, 100, 0));
    ASSERT_TRUE(f.curve->color());
    EXPECT_EQ(f.curve->color()->toQColor(), QColor(200, 100, 0));
    EXPECT_FALSE(f.view.undoManager()->canUndo());

    // Selecting another object shows its colour in the visible panel.
    f.point->setColor(Color::green());
    f.view.setSelectedObject(f.point.get());
    f.view.updateColorPanel();
    EXPECT_EQ(panel.color().toQColor(), Color::green().toQColor());
    panel.close();
}

// --- Grid

TEST(PlotCommands, TheGridButtonIsOnExactlyWhileTheGridShows)
{
    InteractivePlot plot;
    plot.frame->gridButton()->click();
    EXPECT_TRUE(plot.view->state().axes().drawGrid);
    EXPECT_TRUE(plot.frame->gridButton()->isChecked());
    plot.view->perform(PlotCommand::ShowGrid); // from a menu
    EXPECT_FALSE(plot.view->state().axes().drawGrid);
    EXPECT_FALSE(plot.frame->gridButton()->isChecked());
    plot.view->perform(PlotCommand::ShowGrid);
    EXPECT_TRUE(plot.frame->gridButton()->isChecked());
}

// --- PDF export

namespace {
// What a PDF reader checks first: the header, the end marker, the cross-reference table
// where startxref says, and one page of the view's size.
void expectReadablePdf(const QByteArray& pdf, int width, int height)
{
    EXPECT_TRUE(pdf.startsWith("%PDF-1."));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    const QRegularExpression startxref(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const auto match = startxref.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(match.hasMatch());
    const int xref = match.captured(1).toInt();
    EXPECT_EQ(pdf.mid(xref, 4), QByteArray("xref"));
    // Every object in use starts where the cross-reference table says.
    const QRegularExpression section(QStringLiteral("^xref\\s+(\\d+)\\s+(\\d+)\\s+"));
    const auto header = section.match(QString::fromLatin1(pdf.mid(xref, 40)));
    ASSERT_TRUE(header.hasMatch());
    const int first = header.captured(1).toInt();
    const int count = header.captured(2).toInt();
    EXPECT_GT(count, 3);
    const QList<QByteArray> entries = pdf.mid(xref + header.capturedLength(), count * 20).split('\n');
    int inUse = 0;
    for (int i = 0; i < count && i < entries.size(); ++i) {
        const QList<QByteArray> fields = entries[i].trimmed().split(' ');
        if (fields.size() != 3 || fields[2] != "n")
            continue;
        ++inUse;
        const QByteArray object = QByteArray::number(first + i) + " " + QByteArray::number(fields[1].toInt()) + " obj";
        EXPECT_EQ(pdf.mid(fields[0].toInt(), object.size()), object);
    }
    EXPECT_EQ(inUse, count - 1); // all but the head of the free list
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox \\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"));
    const auto box = mediaBox.match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), width, 0.01);
    EXPECT_NEAR(box.captured(2).toDouble(), height, 0.01);
}
} // namespace

TEST(PlotPdf, SavedAsAOnePagePdfOfTheViewsSize)
{
    CommandFixture f;
    f.view.showSelectionPoint(true);
    QTemporaryDir dir;
    PresetFileChooser chooser;
    const QString path = dir.filePath(QStringLiteral("figure.pdf"));
    chooser.queuePath(path);
    ASSERT_TRUE(f.view.commands().onPrintPlot());
    ASSERT_EQ(chooser.requests().size(), 1);
    EXPECT_EQ(chooser.requests()[0].proposedName, QStringLiteral("plot.pdf"));
    EXPECT_EQ(chooser.requests()[0].extensions, QStringList{"pdf"});
    EXPECT_EQ(chooser.requests()[0].parent, &f.view);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    expectReadablePdf(file.readAll(), 500, 400);
    EXPECT_FALSE(f.view.drawing().isPrinting());
}

TEST(PlotPdf, ACancelWritesNothingAndAFailureIsReported)
{
    CommandFixture f;
    PresetFileChooser chooser; // nothing queued: the panel is cancelled
    RecordingAlertService alerts;
    EXPECT_FALSE(f.view.commands().onPrintPlot());
    EXPECT_TRUE(alerts.alerts().isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/plot.pdf"));
    chooser.queuePath(path);
    EXPECT_FALSE(f.view.commands().onPrintPlot());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.messages()[0].contains(path));
    EXPECT_FALSE(QFile::exists(path));
}

// --- New window

TEST(PlotCommands, OpenInANewWindowShowsAnIndependentCopy)
{
    CommandFixture f;
    f.view.setXYRange(2, 8, 10, 90);
    QWidget* window = f.view.commands().onOpenNewPlotWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    auto* frame = window->findChild<CDrawPlotView*>();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->hasButtons());
    CPlotView* copy = frame->plotView();
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, &f.view);
    EXPECT_EQ(copy->drawPlotView(), frame);
    ASSERT_EQ(copy->graphObjects().size(), 2u);
    EXPECT_NE(copy->graphObjects()[0].get(), f.curve.get());

    // Its defaults are the source's current ranges; zooming it leaves the source alone.
    float x0, x1, y0, y1;
    copy->getDefaultXYRange(x0, x1, y0, y1);
    EXPECT_EQ((std::array{x0, x1, y0, y1}), (std::array{2.f, 8.f, 10.f, 90.f}));
    copy->changes().doChangeAxisRanges({3, 4, 30, 40});
    EXPECT_EQ(f.current(), (std::array{2.f, 8.f, 10.f, 90.f}));
    EXPECT_FALSE(f.view.undoManager()->canUndo());
    delete window;
}

// --- Objects and views that go away

TEST(PlotCommands, UndoOfAChangeToARemovedObjectDoesNothing)
{
    CommandFixture f;
    f.view.setSelectedObject(f.point.get());
    f.view.perform(PlotCommand::IncreasePointSize);
    std::weak_ptr<CGraphPoint> gone = f.point;
    f.view.removeGraphObject(f.point.get());
    f.point.reset();
    ASSERT_TRUE(gone.expired());
    f.view.undoManager()->undo(); // must not reach the deleted point
    EXPECT_FALSE(f.view.undoManager()->canUndo());
}

TEST(PlotCommands, AViewGoingAwayLeavesNothingInItsDocumentsUndoManager)
{
    UndoManager documentUndo;
    {
        CommandFixture f;
        f.view.setUndoManager(&documentUndo);
        f.view.onMaximumAxisRanges();
        EXPECT_TRUE(documentUndo.canUndo());
    }
    EXPECT_FALSE(documentUndo.canUndo());
    documentUndo.undo();
}

TEST(PlotCommands, CurveDataExportAsksOverTheView)
{
    CommandFixture f;
    PresetFileChooser chooser; // nothing queued: the panel is cancelled
    f.view.setSelectedObject(f.curve.get());
    f.view.perform(PlotCommand::ExportCurveData);
    ASSERT_EQ(chooser.requests().size(), 1);
    EXPECT_EQ(chooser.requests()[0].proposedName, QStringLiteral("data.txt"));
    EXPECT_EQ(chooser.requests()[0].parent, &f.view);
}

TEST(PlotCommands, ObjectCommandsWithoutAFittingSelectionDoNothing)
{
    CommandFixture f;
    PresetFileChooser chooser;
    f.view.setSelectedObject(f.point.get());
    f.view.perform(PlotCommand::CurvesSettingsPanel); // a point is no curve: no panel, no modal session
    f.view.perform(PlotCommand::ExportCurveData);
    EXPECT_TRUE(chooser.requests().isEmpty());
    f.view.setSelectedObject(nullptr);
    f.view.perform(PlotCommand::PointsSettingsPanel);
    f.view.perform(PlotCommand::TripleThickness);
    f.view.perform(PlotCommand::IncreasePointSize);
    EXPECT_FALSE(f.view.undoManager()->canUndo());
}
