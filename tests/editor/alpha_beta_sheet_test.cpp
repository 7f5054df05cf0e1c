// The alpha-beta sheet over the fluid model editor: opening on the selected fluid, the
// units of its point, Close writing the point, and the fit and Tovik actions on three
// fluids, single and batch: list order, selection, undo steps, change count,
// notifications and log lines. Renders the sheet over the editor.

#include "support/EditorTestSupport.h"

#include "editor/AlphaBetaSheet.h"
#include "editor/SheetUnits.h"
#include "platform/AlertService.h"
#include "widgets/CLogWindow.h"
#include "widgets/ValueStepper.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cmath>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

using namespace quorvel;
using namespace quorvel::test;

namespace {

// The 17 components of the alpha-beta model fluid of (alpha, beta), as a component list.
FluidRecord modelFluid(const QString& name, double alpha, double beta)
{
    CFluidModelDataDocument document;
    document.generateFluidFromAlphaBetaModel(alpha, beta, 0.01, 0.005, 0);
    FluidRecord fluid = document.fluids().at(0).toDictionary();
    fluid.setValue(fluidkey::name, name);
    fluid.setValue(fluidkey::eos, "PR");
    return fluid;
}

FluidRecord withMeasuredPoint(FluidRecord fluid, double celsius, double bar, SaturationKind kind)
{
    fluid.setValue(fluidkey::texp, celsius);
    fluid.setValue(fluidkey::pexp, bar);
    fluid.setValue(fluidkey::hexp, code_number(kind));
    return fluid;
}

QStringList logLines()
{
    QStringList lines = CLogWindow::sharedLogWindowCtroller()->text().plainText().split(QStringLiteral("\r\n"));
    lines.removeFirst();  // the marker that takes the log's first space
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct AlphaBetaSheetTest : ::testing::Test, EditorFixture
{
    RecordingAlertService alerts;

    AlphaBetaSheetTest()
    {
        CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
        log->clearText();
        log->appendString1(QStringLiteral("-"));
        log->window()->hide();
    }

    AlphaBetaSheet& sheet() { return editor->sheets().alphaBetaSheet(); }
    QLineEdit* field(const char* name) { return sheet().control<QLineEdit>(name); }
    QCheckBox* check(const char* name) { return sheet().control<QCheckBox>(name); }
    QButtonGroup* phase() { return sheet().control<QButtonGroup>("mAlphaBetaPhase"); }
    FluidRecord fluidAt(int row) const { return fluids().at(row).toDictionary(); }

    void openSheetOn(int row)
    {
        editor->selectFluidRow(row);
        settle();
        editor->control<QPushButton>("mAlphaBetaize")->click();
        settle();
    }
    // Types into a field as the user would, ending the edit.
    void type(const char* name, const QString& text)
    {
        field(name)->setText(text);
        emit field(name)->editingFinished();
    }
    void chooseUnit(const char* popup, int code)
    {
        QComboBox* box = sheet().control<QComboBox>(popup);
        box->setCurrentIndex(code);
        emit box->activated(code);
    }
    void press(const char* button) { sheet().control<QPushButton>(button)->click(); settle(); }
    void undoOnce() { settle(); undo()->undo(); settle(); }
};

// ---- Opening ----

TEST_F(AlphaBetaSheetTest, OpeningShowsTheFluidsMeasuredPointInDegreesCelsiusAndBar)
{
    FluidRecord fitted =
        withMeasuredPoint(modelFluid("F adjusted", 0.8, 0.3), 373.15, 250, SaturationKind::bubblePoint);
    fitted.setValue("fvcal", 0.1);  // a fit result: its "Texp" is kelvin
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 90, 200, SaturationKind::dewPoint), fitted});

    openSheetOn(0);
    ASSERT_TRUE(sheet().isOpen());
    EXPECT_EQ(sheet().panel()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet().panel()->parentWidget(), editor->window());
    EXPECT_EQ(field("mAlphaBetaT")->text(), "90.00");
    EXPECT_EQ(field("mAlphaBetaP")->text(), "200.00");
    EXPECT_EQ(phase()->checkedId(), code_number(SaturationKind::dewPoint));
    EXPECT_EQ(sheet().control<QComboBox>("mAlphaBetaTUnit")->currentIndex(), code_number(TemperatureUnit::celsius));
    EXPECT_EQ(sheet().control<QComboBox>("mAlphaBetaPUnit")->currentIndex(), code_number(PressureUnit::bar));
    EXPECT_EQ(sheet().control<ValueStepper>("mSpinAlphaBetaT")->value(), 90);
    EXPECT_EQ(sheet().control<ValueStepper>("mSpinAlphaBetaP")->value(), 200);
    // Tovik's estimate from the fluid's own methane fraction.
    double zC1 = 0;
    for (const Value& c : fluidAt(0).arrayValue(fluidkey::components))
        if (c.toDictionary().stringValue("name") == "C1")
            zC1 = c.toDictionary().doubleValue("mole") / 100;
    EXPECT_EQ(field("mTovikAlpha")->text(), "0.9200");
    EXPECT_EQ(field("mTovikBeta")->text(),
              QString::asprintf("%.4f", 0.77474 - 0.97186 * std::exp(-3.8104 * zC1)));
    press("mAlphaBetaCloseButton");
    EXPECT_FALSE(sheet().isOpen());

    openSheetOn(1);
    EXPECT_EQ(field("mAlphaBetaT")->text(), "100.00") << "a fit result's kelvin shown in degrees Celsius";
    EXPECT_EQ(sheet().temperatureKelvin(), 373.15);
}

TEST_F(AlphaBetaSheetTest, WithoutMeasuredPointTheEditorsSaturationPointIsShown)
{
    FluidRecord f = modelFluid("A", 0.8, 0.3);
    f.setValue(fluidkey::tsat, 75.0);
    f.setValue(fluidkey::satPhase, code_number(SaturationKind::dewPoint));
    tank.saturation = 123.5;
    open({f});
    openSheetOn(0);
    EXPECT_EQ(field("mAlphaBetaT")->text(), "75.00");
    EXPECT_EQ(field("mAlphaBetaP")->text(), "123.50");
    EXPECT_EQ(phase()->checkedId(), code_number(SaturationKind::dewPoint));
}

TEST_F(AlphaBetaSheetTest, NothingOpensWithoutASelectedFluid)
{
    open({modelFluid("A", 0.8, 0.3)});
    editor->selectFluidRow(-1);
    sheet().onClickAlphaBetaize();
    EXPECT_FALSE(sheet().isOpen());
}

// ---- Units and Close ----

TEST_F(AlphaBetaSheetTest, CloseWritesThePointInDegreesCelsiusAndBarWhateverTheUnits)
{
    open({modelFluid("A", 0.8, 0.3), modelFluid("B", 0.8, 0.3)});
    openSheetOn(1);
    const int changesBefore = changes();
    chooseUnit("mAlphaBetaTUnit", code_number(TemperatureUnit::fahrenheit));
    type("mAlphaBetaT", "212");
    chooseUnit("mAlphaBetaPUnit", code_number(PressureUnit::psia));
    type("mAlphaBetaP", "1000");
    phase()->button(code_number(SaturationKind::dewPoint))->click();
    press("mAlphaBetaCloseButton");

    EXPECT_FALSE(sheet().isOpen());
    const FluidRecord b = fluidAt(1);
    EXPECT_NEAR(b.doubleValue(fluidkey::texp), 100, 1e-9);
    EXPECT_NEAR(b.doubleValue(fluidkey::pexp), 68.948, 1e-9);
    EXPECT_EQ(b.intValue(fluidkey::hexp), code_number(SaturationKind::dewPoint));
    EXPECT_FALSE(fluidAt(0).contains(fluidkey::texp));
    EXPECT_EQ(changes(), changesBefore) << "the measured point is written without undo";
    EXPECT_FALSE(undo()->canUndo() && changesBefore == 0);
}

TEST_F(AlphaBetaSheetTest, UnitChangesConvertTheValueAndLeaveTheSteppers)
{
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 100, 1, SaturationKind::bubblePoint)});
    openSheetOn(0);
    chooseUnit("mAlphaBetaTUnit", code_number(TemperatureUnit::kelvin));
    EXPECT_EQ(field("mAlphaBetaT")->text(), "373.15");
    chooseUnit("mAlphaBetaPUnit", code_number(PressureUnit::psia));
    EXPECT_EQ(field("mAlphaBetaP")->text(), "14.50");
    EXPECT_EQ(sheet().control<ValueStepper>("mSpinAlphaBetaT")->value(), 100);
    sheet().control<ValueStepper>("mSpinAlphaBetaT")->stepUp();
    EXPECT_EQ(field("mAlphaBetaT")->text(), "101.00") << "the next click starts from the stepper's number";
    EXPECT_EQ(sheet().temperatureKelvin(), 101);

    type("mAlphaBetaT", "warm");  // not a number: refused, the value kept
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(field("mAlphaBetaT")->text(), "101.00");
    EXPECT_EQ(sheet().temperatureKelvin(), 101);

    check("mAlphaConstrain")->click();
    EXPECT_TRUE(field("mAlphaConstrainValue")->isEnabled());
    check("mAlphaConstrain")->click();
    EXPECT_FALSE(field("mAlphaConstrainValue")->isEnabled());
}

// ---- The fit ----

TEST_F(AlphaBetaSheetTest, SingleFitWritesThePointInsertsTheResultAfterItsSourceAndLogsItsRow)
{
    open({modelFluid("F", 0.8, 0.3), modelFluid("G", 0.7, 0.4)});
    openSheetOn(0);
    type("mAlphaBetaT", "100");
    type("mAlphaBetaP", "250");
    phase()->button(code_number(SaturationKind::bubblePoint))->click();
    posted = 0;
    const int changesBefore = changes();
    press("mAlphaBetaFitButton");

    EXPECT_FALSE(sheet().isOpen());
    EXPECT_EQ(fluidNames(), (QStringList{"F", "F adjusted", "G"}));
    EXPECT_EQ(editor->selectedFluidRow(), 1);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(changes(), changesBefore + 1);
    EXPECT_DOUBLE_EQ(fluidAt(0).doubleValue(fluidkey::texp), 100);
    EXPECT_DOUBLE_EQ(fluidAt(0).doubleValue(fluidkey::pexp), 250);
    EXPECT_EQ(fluidAt(0).intValue(fluidkey::hexp), code_number(SaturationKind::bubblePoint));
    const FluidRecord result = fluidAt(1);
    EXPECT_DOUBLE_EQ(result.doubleValue(fluidkey::texp), 373.15);
    EXPECT_EQ(result.intValue(fluidkey::fluidType), code_number(FluidType::alphaBeta));
    EXPECT_EQ(result.arrayValue(fluidkey::components).size(), 17);
    EXPECT_TRUE(alerts.alerts().isEmpty());

    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 9);  // the summary, an empty line, header, one row, an empty line
    EXPECT_EQ(lines[0], "Adjustement to the alpha-beta model of F");
    EXPECT_EQ(lines[5], "");
    EXPECT_TRUE(lines[6].startsWith(QString::asprintf(" %12s %12s", "N2", "CO2")));
    EXPECT_EQ(lines[7].split(' ', Qt::SkipEmptyParts).at(12), "100.000000");
    EXPECT_EQ(lines[8], "");

    undoOnce();
    EXPECT_EQ(fluidNames(), (QStringList{"F", "G"}));
    EXPECT_EQ(changes(), changesBefore);
}

// A fit result saved before "Texp" carried its unit, closed over, re-fitted, duplicated and
// fitted again: each step shows, fits at and logs the 100 degrees Celsius typed once.
TEST_F(AlphaBetaSheetTest, TheTypedMeasuredTemperatureSurvivesCloseFitAndDuplicate)
{
    FluidRecord saved = withMeasuredPoint(modelFluid("F adjusted", 0.8, 0.3), 373.15, 250, SaturationKind::bubblePoint);
    saved.setValue("fvcal", 0.1);
    open({saved});
    auto expectShownAt100 = [this](int row) {
        openSheetOn(row);
        EXPECT_EQ(field("mAlphaBetaT")->text(), "100.00") << fluidNames().at(row).toStdString();
    };
    auto fitAt100 = [this, &expectShownAt100](int row) {
        expectShownAt100(row);
        const qsizetype logged = logLines().size();
        press("mAlphaBetaFitButton");
        const QStringList lines = logLines().mid(logged);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[lines.size() - 2].split(' ', Qt::SkipEmptyParts).at(12), "100.000000");
        const FluidRecord result = fluidAt(row + 1);
        EXPECT_GT(result.doubleValue("Pcal"), 0) << "a saturation pressure at 100 degrees Celsius, not at 100 K";
        EXPECT_LT(result.doubleValue("Pcal"), 1000);
    };

    expectShownAt100(0);
    press("mAlphaBetaCloseButton");
    expectShownAt100(0);
    press("mAlphaBetaCloseButton");

    fitAt100(0);
    ASSERT_EQ(fluidNames(), (QStringList{"F adjusted", "F adjusted adjusted"}));
    expectShownAt100(1);
    press("mAlphaBetaCloseButton");

    editor->selectFluidRow(1);
    settle();
    editor->control<QPushButton>("mDuplicateButton")->click();
    settle();
    ASSERT_EQ(fluidNames().at(2), "F adjusted adjusted - duplicated");
    fitAt100(2);
    ASSERT_EQ(fluidNames().size(), 4);
    expectShownAt100(3);
    press("mAlphaBetaCloseButton");
}

TEST_F(AlphaBetaSheetTest, BatchFitInsertsEachResultAfterItsSourceAndOneUndoRemovesThemAll)
{
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 100, 150, SaturationKind::bubblePoint),
          withMeasuredPoint(modelFluid("B", 0.7, 0.4), 90, 180, SaturationKind::bubblePoint),
          withMeasuredPoint(modelFluid("C", 0.85, 0.25), 110, 140, SaturationKind::bubblePoint)});
    openSheetOn(1);
    type("mAlphaBetaT", "20");  // the sheet's point is not used by a batch
    check("mAlphaBetaBatch")->setChecked(true);
    const FluidRecord sourceB = fluidAt(1).deepCopy();
    const int changesBefore = changes();
    posted = 0;
    press("mAlphaBetaFitButton");
    settle();

    EXPECT_EQ(fluidNames(), (QStringList{"A", "A adjusted", "B", "B adjusted", "C", "C adjusted"}));
    EXPECT_EQ(editor->selectedFluidRow(), 5);
    EXPECT_EQ(posted, 1);
    EXPECT_TRUE(fluidAt(2).isEqualTo(sourceB)) << "sources stay as they were";
    EXPECT_DOUBLE_EQ(fluidAt(3).doubleValue(fluidkey::texp), 363.15);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 3 * 5 + 1 + 1 + 3 + 1);
    EXPECT_EQ(lines[5], "Adjustement to the alpha-beta model of B");

    EXPECT_EQ(changes(), changesBefore + 1);
    undoOnce();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"})) << "one undo removes every result";
    EXPECT_EQ(changes(), changesBefore);
    settle();
    undo()->redo();
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "A adjusted", "B", "B adjusted", "C", "C adjusted"}));
}

TEST_F(AlphaBetaSheetTest, BatchStoppedByAFluidWithoutMeasuredPointStillFinishesWhatItInserted)
{
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 100, 150, SaturationKind::bubblePoint),
          modelFluid("B", 0.7, 0.4),
          withMeasuredPoint(modelFluid("C", 0.85, 0.25), 110, 140, SaturationKind::bubblePoint)});
    openSheetOn(0);
    check("mAlphaBetaBatch")->setChecked(true);
    posted = 0;
    const int changesBefore = changes();
    press("mAlphaBetaFitButton");

    EXPECT_EQ(fluidNames(), (QStringList{"A", "A adjusted", "B", "C"}));
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(alerts.alerts().front().style, Alert::Style::Critical);
    EXPECT_EQ(editor->selectedFluidRow(), 1);
    EXPECT_EQ(posted, 1);
    EXPECT_EQ(changes(), changesBefore + 1);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 5 + 1 + 1 + 1 + 1) << "one summary and a table of one row";
    undoOnce();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(changes(), changesBefore) << "undone, the document is as it was";
}

TEST_F(AlphaBetaSheetTest, FixedAlphaOutsideTheModelIsRefusedAndTheSheetStays)
{
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 100, 150, SaturationKind::bubblePoint)});
    openSheetOn(0);
    check("mAlphaConstrain")->click();
    for (const char* text : {"1.5", "-0.1", "half"}) {
        field("mAlphaConstrainValue")->setText(text);
        press("mAlphaBetaFitButton");
    }
    EXPECT_EQ(alerts.alerts().size(), 3);
    EXPECT_EQ(fluidNames(), QStringList{"A"});
    EXPECT_TRUE(sheet().isOpen());
}

TEST_F(AlphaBetaSheetTest, FitWithFixedAlphaKeepsIt)
{
    open({withMeasuredPoint(modelFluid("A", 0.8, 0.3), 100, 150, SaturationKind::bubblePoint)});
    openSheetOn(0);
    check("mAlphaConstrain")->click();
    field("mAlphaConstrainValue")->setText("0.5");
    press("mAlphaBetaFitButton");
    ASSERT_EQ(fluidNames(), (QStringList{"A", "A adjusted"}));
    EXPECT_EQ(fluidAt(1).doubleValue("alpha"), 0.5);
}

// ---- Tovik ----

TEST_F(AlphaBetaSheetTest, SingleTovikEstimateOfTheSelectedFluid)
{
    open({modelFluid("A", 0.8, 0.3), modelFluid("B", 0.7, 0.4), modelFluid("C", 0.85, 0.25)});
    openSheetOn(1);
    type("mAlphaBetaT", "20");  // the estimate takes its points from the records
    const int changesBefore = changes();
    posted = 0;
    press("mAlphaBetaTovikButton");

    EXPECT_FALSE(sheet().isOpen());
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "B adjusted", "C"}));
    EXPECT_EQ(editor->selectedFluidRow(), 2);
    EXPECT_EQ(posted, 1);
    EXPECT_FALSE(fluidAt(1).contains(fluidkey::texp)) << "the sheet's point is not written";
    EXPECT_EQ(fluidAt(2).doubleValue("alpha"), 0.92);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 5 + 1 + 1 + 1);
    EXPECT_EQ(lines[0], "Adjustement to the alpha-beta model of B");
    EXPECT_EQ(lines[5], "");
    EXPECT_TRUE(lines[6].startsWith(QString::asprintf("%12s %12s", "Name", "N2")));
    EXPECT_TRUE(lines[7].startsWith("B adjusted "));
    undoOnce();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(changes(), changesBefore) << "undone, the document is as it was";
}

TEST_F(AlphaBetaSheetTest, BatchTovikPlacesEachResultAfterItsOwnSourceEvenAmongEqualRecords)
{
    const FluidRecord twin = modelFluid("T", 0.8, 0.3);
    FluidRecord a = modelFluid("A", 0.7, 0.4);
    a.setValue(fluidkey::tsat, 80.0);
    a.setValue(fluidkey::satPhase, code_number(SaturationKind::bubblePoint));
    tank.saturation = 200;
    open({a, twin, twin.deepCopy()});
    openSheetOn(0);
    check("mAlphaBetaBatch")->setChecked(true);
    const FluidRecord secondTwin = fluidAt(2);
    press("mAlphaBetaTovikButton");

    EXPECT_EQ(fluidNames(), (QStringList{"A", "A adjusted", "T", "T adjusted", "T", "T adjusted"}));
    EXPECT_EQ(fluids().indexOf(secondTwin), 4) << "the second twin's result follows the second twin";
    EXPECT_EQ(editor->selectedFluidRow(), 5);
    EXPECT_EQ(fluidAt(1).doubleValue(fluidkey::psat), 200);
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 3 * 5 + 1 + 1 + 3 + 1 + 4);
    EXPECT_EQ(lines[lines.size() - 1], QString::asprintf("aadp %12f", std::nan(""))) << "no result has a Texp";
    undoOnce();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "T", "T"}));
}

// ---- Looked at ----

TEST_F(AlphaBetaSheetTest, SheetOverTheEditorRenders)
{
    open({withMeasuredPoint(modelFluid("Oil 1", 0.8, 0.3), 100, 250, SaturationKind::bubblePoint),
          modelFluid("Oil 2", 0.7, 0.4)});
    QWidget* window = editor->window();
    window->show();
    openSheetOn(0);
    QWidget* panel = sheet().panel();
    settle();
    QImage image = window->grab().toImage();
    const QImage sheetImage = panel->grab().toImage();
    {
        QPainter painter(&image);
        painter.drawImage(QPoint((image.width() - sheetImage.width()) / 2, 0), sheetImage);
    }
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    EXPECT_TRUE(image.save(folder + "/alpha_beta_sheet_over_editor.png"));
    EXPECT_TRUE(sheetImage.save(folder + "/alpha_beta_sheet.png"));
    for (QLineEdit* f : panel->findChildren<QLineEdit*>())
        EXPECT_LE(f->fontMetrics().horizontalAdvance(f->text()), f->width() - 6) << f->objectName().toStdString();
    press("mAlphaBetaCloseButton");
}

}  // namespace
