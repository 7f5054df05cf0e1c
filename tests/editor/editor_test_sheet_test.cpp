// The test sheet: the tested fluids after their sources, one Undo for a batch, and the
// log's Igor text read back by a small reader of the Igor text format written here.

#include "support/EditorTestSupport.h"

#include "characterisation/FluidTestChain.h"
#include "characterisation/MeasuredPoint.h"
#include "editor/SheetUnits.h"
#include "editor/TestSheet.h"
#include "widgets/CLogWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QStringList kWaveNames{"N2",   "CO2",  "H2S",  "C1",   "C2",     "C3",    "C4",   "C5",   "C6",  "C7p",
                             "Mw7p", "SG7p", "Texp", "Pexp", "alpha0", "beta0", "Pcal", "ardp", "aadp"};
// The result key and scale of each wave, as the log is documented to write them.
const QList<std::pair<QString, double>> kWaveKeys{
    {"N2", 100},   {"CO2", 100},  {"H2S", 100},  {"C1", 100},    {"C2", 100},   {"C3", 100},  {"C4", 100},
    {"C5", 100},   {"C6", 100},   {"C7+", 100},  {"mwC7+", 1},   {"SGC7+", 1},  {"Texp", 1},  {"Pexp", 1},
    {"alpha", 1},  {"beta", 1},   {"Pcal", 1},   {"ardp", 1},    {"aadp", 1}};

// An Igor text block: IGOR, WAVES <names>, BEGIN, rows of numbers, END, then X commands.
struct IgorText
{
    QStringList waves;
    std::vector<std::vector<double>> rows;
    QStringList commands;
    QString error;
};

IgorText readIgorText(const QStringList& lines)
{
    IgorText igor;
    int i = 0;
    while (i < lines.size() && lines[i].trimmed().isEmpty())
        ++i;
    if (i >= lines.size() || lines[i] != "IGOR")
        return {{}, {}, {}, "no IGOR line"};
    ++i;
    const QStringList words = lines.value(i++).split(' ', Qt::SkipEmptyParts);
    if (words.value(0) != "WAVES")
        return {{}, {}, {}, "no WAVES line"};
    igor.waves = words.mid(1);
    if (lines.value(i++) != "BEGIN")
        return {{}, {}, {}, "no BEGIN"};
    for (; i < lines.size() && lines[i] != "END"; ++i) {
        std::vector<double> row;
        for (const QString& word : lines[i].split(' ', Qt::SkipEmptyParts)) {
            char* end = nullptr;
            const QByteArray text = word.toLatin1();
            row.push_back(std::strtod(text.constData(), &end));
            if (*end != '\0')
                return {{}, {}, {}, "not a number: " + word};
        }
        if (row.size() != size_t(igor.waves.size()))
            return {{}, {}, {}, "row of " + QString::number(row.size()) + " values"};
        igor.rows.push_back(row);
    }
    if (i >= lines.size())
        return {{}, {}, {}, "no END"};
    for (++i; i < lines.size(); ++i)
        if (lines[i].startsWith("x ", Qt::CaseInsensitive))
            igor.commands << lines[i].mid(2);
        else if (!lines[i].isEmpty())
            return {{}, {}, {}, "stray line: " + lines[i]};
    return igor;
}

// A black oil with a measured bubble point.
FluidRecord measuredOil(const QString& name, double c1, bool measured = true)
{
    const QList<std::pair<QString, double>> parts{{"N2", 0.5}, {"CO2", 1.5}, {"C1", c1}, {"C2", 8}, {"C3", 6},
                                                  {"nC4", 4},  {"nC5", 3},   {"C6", 3},  {"C7", 6}, {"C8", 6},
                                                  {"C9", 5},   {"C10", 5},   {"C11", 52 - c1}};
    Array components;
    for (const auto& [component, mole] : parts)
        components.append(test::component(component, mole));
    FluidRecord fluid{{fluidkey::name, name},
                      {fluidkey::comment, QString()},
                      {fluidkey::fluidType, code_number(FluidType::componentList)},
                      {fluidkey::eos, "PR"},
                      {fluidkey::components, components}};
    if (measured) {
        fluid.setValue(fluidkey::texp, 100.0);
        fluid.setValue(fluidkey::pexp, 200.0);
        fluid.setValue(fluidkey::hexp, code_number(SaturationKind::bubblePoint));
    }
    return fluid;
}

// Where the next line of the log begins. An empty log is given a first line, because its
// first text is followed by the space that keeps its font.
qsizetype logEnd()
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    if (log->text().plainText().isEmpty())
        log->appendString1("Log");
    return log->text().plainText().size();
}

QStringList logLinesSince(qsizetype start)
{
    QString text = CLogWindow::sharedLogWindowCtroller()->text().plainText().mid(start);
    EXPECT_TRUE(text.endsWith("\r\n"));
    text.chop(2);
    return text.split("\r\n");
}

double expectedWave(const FluidRecord& result, int column)
{
    const auto& [key, scale] = kWaveKeys[column];
    return result.doubleValue(key) * scale;
}

// The editor restates C7+, mwC7+ and SGC7+ of the fluid it shows: a selected result's
// columns 10 to 12 are not compared.
void expectRowOf(const std::vector<double>& row, const FluidRecord& result, bool shown = false)
{
    for (int column = 0; column < 19; ++column) {
        if (shown && column >= 9 && column <= 11)
            continue;
        const double expected = expectedWave(result, column);
        SCOPED_TRACE(kWaveNames[column].toStdString());
        if (column >= 16 && (!result.contains("Pcal") || std::isnan(result.doubleValue("Pcal"))))
            EXPECT_TRUE(std::isnan(row[column])) << "a missing saturation point is no deviation";
        else
            EXPECT_NEAR(row[column], expected, 1e-6 + 1e-6 * std::abs(expected));
    }
}

struct TestSheetActions : ::testing::Test, EditorFixture
{
};

TEST(TestSheetLog, LinesKeepTheirColumnsAndWidths)
{
    QString expected = "WAVES ";
    for (const QString& name : kWaveNames)
        expected += name.rightJustified(12) + " ";
    EXPECT_EQ(testWavesLine(), expected);

    const FluidRecord result{{"N2", 0.005}, {"Texp", 100.0}, {"Pcal", 210.5}, {"ardp", 0.0525}, {"aadp", 0.0525}};
    const QString values = testValuesLine(result);
    EXPECT_EQ(values.left(12), "    0.500000");
    EXPECT_EQ(values.size(), 19 * 13 - 1);
    const QStringList fields = values.split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(fields.size(), 19);
    EXPECT_EQ(fields[12], "100.000000");
    EXPECT_EQ(fields[16], "210.500000");
    EXPECT_EQ(fields[1], "0.000000") << "a missing composition key reads as 0";

    const FluidRecord untested{{"C1", 0.4}};  // no measured point: nothing computed
    const QStringList untestedFields = testValuesLine(untested).split(' ', Qt::SkipEmptyParts);
    for (int column : {16, 17, 18})
        EXPECT_EQ(untestedFields[column], "nan");
    EXPECT_EQ(untestedFields[3], "40.000000");
}

TEST_F(TestSheetActions, OpeningShowsTheMeasuredPointWithTheFieldsInert)
{
    FluidRecord fitted = measuredOil("B", 40);
    fitted.setValue(fluidkey::texp, 373.15);  // written by the fit, in kelvin
    fitted.setValue("fvcal", 0.1);
    fitted.setValue(fluidkey::hexp, code_number(SaturationKind::dewPoint));
    FluidRecord plain = measuredOil("A", 40, false);
    plain.setValue(fluidkey::tsat, 85.0);
    tank.saturation = 123;
    open({plain, fitted});
    TestSheet* sheet = editor->sheets().testSheet();
    QWidget* panel = sheet->panel();

    editor->selectFluidRow(0);
    settle();
    sheet->onClickTest();
    EXPECT_EQ(panel->findChild<QLineEdit*>("mTestT")->text(), "85.00");
    EXPECT_EQ(panel->findChild<QLineEdit*>("mTestP")->text(), "123.00");
    EXPECT_EQ(panel->findChild<QButtonGroup*>("mTestPhase")->checkedId(), code_number(SaturationKind::bubblePoint));
    sheet->onCloseTestPanel();

    editor->selectFluidRow(1);
    settle();
    sheet->onClickTest();
    EXPECT_EQ(panel->findChild<QLineEdit*>("mTestT")->text(), "100.00");
    EXPECT_EQ(panel->findChild<QLineEdit*>("mTestP")->text(), "200.00");
    EXPECT_EQ(panel->findChild<QButtonGroup*>("mTestPhase")->checkedId(), code_number(SaturationKind::dewPoint));
    EXPECT_EQ(panel->findChild<QComboBox*>("mTestTUnit")->currentIndex(), 1);
    for (const char* outlet : {"mTestT", "mTestP", "mTestTUnit", "mTestPUnit"})
        EXPECT_FALSE(panel->findChild<QWidget*>(outlet)->isEnabled()) << outlet;
    EXPECT_EQ(panel->findChild<QComboBox*>("mTestChoice")->count(), 17);

    editor->window()->show();
    settle();
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    EXPECT_TRUE(panel->grab().toImage().save(folder + "/test_sheet.png"));
    sheet->onCloseTestPanel();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(TestSheetActions, SingleTestFollowsItsSourceAndWritesTwoLines)
{
    open({measuredOil("A", 35), measuredOil("B", 40), measuredOil("C", 45)});
    editor->selectFluidRow(1);
    settle();
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const qsizetype start = logEnd();
    TestSheet* sheet = editor->sheets().testSheet();
    sheet->onClickTest();
    sheet->onDoTest();
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "B - test1", "C"}));
    EXPECT_EQ(editor->selectedFluidRow(), 2);
    EXPECT_FALSE(sheet->panel()->isVisible());
    // The chain's own notes may come first.
    QStringList lines = logLinesSince(start);
    lines = lines.mid(lines.indexOf(testWavesLine()));
    const FluidRecord result = fluids().at(2).toDictionary();
    const bool failed = std::isnan(result.doubleValue("Pcal"));
    ASSERT_EQ(lines.size(), failed ? 3 : 2);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0].toStdString(), testWavesLine().toStdString());
    const IgorText igor = readIgorText(QStringList{"IGOR", lines[0], "BEGIN", lines[1], "END"});
    ASSERT_TRUE(igor.error.isEmpty()) << igor.error.toStdString();
    EXPECT_EQ(igor.waves, kWaveNames);
    expectRowOf(igor.rows.at(0), result, true);
    EXPECT_EQ(result.doubleValue("Texp"), 100);
    undo()->undo();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    log->window()->hide();
}

TEST_F(TestSheetActions, BatchTestIsOneUndoAndAnIgorBlockInTheLog)
{
    open({measuredOil("A", 35), measuredOil("B", 40, false), measuredOil("C", 45)});
    editor->selectFluidRow(0);
    settle();
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const qsizetype start = logEnd();
    TestSheet* sheet = editor->sheets().testSheet();
    sheet->onClickTest();
    sheet->panel()->findChild<QCheckBox*>("mTestBatch")->setChecked(true);
    posted = 0;
    sheet->onDoTest();
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "A - test1", "B", "B - test1", "C", "C - test1"}));
    EXPECT_EQ(editor->selectedFluidRow(), 5);
    EXPECT_EQ(posted, 1);

    QStringList lines = logLinesSince(start);
    lines = lines.mid(lines.lastIndexOf("IGOR") - 1);  // after the chain's own notes
    const IgorText igor = readIgorText(lines);
    ASSERT_TRUE(igor.error.isEmpty()) << igor.error.toStdString();
    EXPECT_EQ(igor.waves, kWaveNames);
    ASSERT_EQ(igor.rows.size(), 3u);
    int failures = 0;
    for (int i = 0; i < 3; ++i) {
        const FluidRecord result = fluids().at(2 * i + 1).toDictionary();
        expectRowOf(igor.rows[i], result, i == 2);
        failures += result.contains("Texp") && std::isnan(result.doubleValue("Pcal"));
    }
    EXPECT_EQ(igor.rows[1][12], 0) << "B has no measured point";
    EXPECT_EQ(lines.size(), 22 + failures);
    ASSERT_GE(igor.commands.size(), 13);
    EXPECT_EQ(igor.commands.first(), "make /N=2 pdum");
    EXPECT_EQ(igor.commands.at(12), "wavestats ardp");
    EXPECT_EQ(lines.at(lines.indexOf("END") + 1), "");

    // The log as the user sees it: the block's table from its head, then its end.
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    QTextEdit* view = log->textView();
    view->moveCursor(QTextCursor::End);
    ASSERT_TRUE(view->find("IGOR", QTextDocument::FindBackward));
    view->verticalScrollBar()->setValue(view->cursorRect().top() + view->verticalScrollBar()->value());
    view->moveCursor(QTextCursor::StartOfLine);  // no selection in the picture
    settle();
    EXPECT_TRUE(log->window()->grab().toImage().save(folder + "/log_after_batch_test_table.png"));
    log->scrollToEnd();
    settle();
    EXPECT_TRUE(log->window()->grab().toImage().save(folder + "/log_after_batch_test.png"));

    undo()->undo();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    log->window()->hide();
}

// The correlation-set pop-up: item i runs the chain with set 101 + i.
struct CorrelationItem
{
    int index;
    int code;
    int neighbour;  // another set, whose result must differ for the case to tell them apart
};

class TestSheetCorrelationItems : public ::testing::TestWithParam<CorrelationItem>, public EditorFixture
{
};

bool sameNumber(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

TEST_P(TestSheetCorrelationItems, ItemRunsTheChainWithItsCorrelationSet)
{
    const CorrelationItem& c = GetParam();
    open({measuredOil("A", 40)});
    editor->selectFluidRow(0);
    settle();
    const FluidRecord source = fluids().at(0).toDictionary().deepCopy();
    TestSheet* sheet = editor->sheets().testSheet();
    sheet->onClickTest();
    sheet->panel()->findChild<QComboBox*>("mTestChoice")->setCurrentIndex(c.index);
    sheet->onDoTest();
    settle();
    ASSERT_EQ(fluidNames(), (QStringList{"A", "A - test1"}));
    const FluidRecord tested = fluids().at(1).toDictionary();

    const FluidRecord expected = doTestFluid(source, correlationCodeFromNumber(c.code), TestStart::quickFit);
    const FluidRecord other = doTestFluid(source, correlationCodeFromNumber(c.neighbour), TestStart::quickFit);
    ASSERT_FALSE(expected.arrayValue(fluidkey::components).isEqualTo(other.arrayValue(fluidkey::components)))
        << "sets " << c.code << " and " << c.neighbour << " characterise this oil alike";
    EXPECT_TRUE(tested.arrayValue(fluidkey::components).isEqualTo(expected.arrayValue(fluidkey::components)));
    EXPECT_TRUE(sameNumber(tested.doubleValue("Pcal"), expected.doubleValue("Pcal")))
        << tested.doubleValue("Pcal") << " " << expected.doubleValue("Pcal");
    CLogWindow::sharedLogWindowCtroller()->window()->hide();
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, TestSheetCorrelationItems,
                         ::testing::Values(CorrelationItem{0, 101, 102}, CorrelationItem{8, 109, 108},
                                           CorrelationItem{16, 117, 116}));

TEST(TestSheetLog, ANameWithLineBreaksStaysInItsIgorComment)
{
    FluidRecord failed = measuredOil("A\rX ExecuteScriptText \"rm\"\nX Beep\r\nB", 40);
    failed.setValue("Pcal", Value::notANumber());
    const QString log = testBatchLog({failed}).join("\r\n");
    const QStringList lines = log.split(QRegularExpression("\r\n|\r|\n"));
    const QStringList comments = lines.filter("rm");
    ASSERT_EQ(comments.size(), 1) << log.toStdString();
    EXPECT_TRUE(comments[0].startsWith("x // A")) << comments[0].toStdString();
    EXPECT_TRUE(comments[0].contains("X Beep")) << comments[0].toStdString();
    EXPECT_TRUE(lines.filter("Beep").size() == 1);
}

TEST(TestChain, FittedTemperatureInKelvinIsReadOnce)
{
    const FluidRecord celsius = measuredOil("A", 40);
    FluidRecord kelvin = measuredOil("A", 40);
    kelvin.setValue(fluidkey::texp, 373.15);
    kelvin.setValue("fvcal", 0.12);
    EXPECT_DOUBLE_EQ(measuredTemperatureCelsius(kelvin), 100);
    EXPECT_DOUBLE_EQ(measuredTemperatureCelsius(celsius), 100);
    const FluidRecord a = doTestFluid(celsius, CorrelationCode::firstSet, TestStart::quickFit);
    const FluidRecord b = doTestFluid(kelvin, CorrelationCode::firstSet, TestStart::quickFit);
    EXPECT_DOUBLE_EQ(b.doubleValue("Texp"), 100);
    const double pa = a.doubleValue("Pcal");
    const double pb = b.doubleValue("Pcal");
    EXPECT_TRUE((std::isnan(pa) && std::isnan(pb)) || pa == pb) << pa << " " << pb;
}

}  // namespace
