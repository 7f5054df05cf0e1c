// The fluid table and component table imports: what each file adds or replaces, what is
// ignored and said in one alert, and the files refused whole; nothing is ever half-added.

#include "support/EditorTestSupport.h"

#include "editor/FluidImports.h"
#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct ImportFixture : ::testing::Test, EditorFixture
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    PresetFileChooser chooser;
    int files = 0;

    // Writes the bytes into a new file of the temporary folder and queues it as the choice.
    QString chooseFile(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("table%1.txt").arg(files++));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        chooser.queuePath(path);
        return path;
    }
    void chooseNamedPipe()
    {
        const QString path = dir.filePath(QStringLiteral("pipe%1.txt").arg(files++));
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        chooser.queuePath(path);
    }
    FluidRecord fluidAt(int row) const { return fluids().at(row).toDictionary(); }
    ComponentRecord componentAt(int fluidRow, int row) const
    {
        return fluidAt(fluidRow).arrayValue(fluidkey::components).at(row).toDictionary();
    }
};

// ---- Fluid table ----

struct FluidTableCase
{
    const char* title;
    QByteArray file;
    QStringList added;      // names of the fluids appended after "Old"
    QString alert;          // a part of the one alert expected; empty: none
    std::function<void(ImportFixture&)> check = {};
};

QByteArray lines(int count, const QByteArray& line)
{
    QByteArray text;
    text.reserve(count * (line.size() + 1));
    for (int i = 0; i < count; ++i)
        text += line + '\n';
    return text;
}

QList<FluidTableCase> fluidTableCases()
{
    const QByteArray example = "Name N2 C1 C7+ Mw SG Texp Pexp hexp\nOilA 0.5 60 39.5 210 0.85 95 180 1\n";
    const QString noFluid = "holds no fluid";
    return {
        {"example", example, {"OilA"}, {}},
        {"without names", "N2 C1\n1 99\n2 98\n", {"Fluid0", "Fluid1"}, {}},
        {"blank lines and every line end", "\n  \t\nN2 C1\r\n\r\n1 99\r2 98\n\n\xe2\x80\xa8" "3 97\n\n",
         {"Fluid0", "Fluid1", "Fluid2"}, {}},
        {"fewer tokens", "N2 C1 C7+ Texp\n1 99\n", {"Fluid0"}, {},
         [](ImportFixture& f) {
             EXPECT_EQ(f.componentNames(1), (QStringList{"N2", "C1"}));
             EXPECT_FALSE(f.fluidAt(1).contains("Texp"));
         }},
        {"extra tokens", "N2 C1\n1 2 3 4\n1 2 5\n", {"Fluid0", "Fluid1"}, "3 values beyond the header's columns",
         [](ImportFixture& f) { EXPECT_EQ(f.componentNames(2), (QStringList{"N2", "C1"})); }},
        {"orphan Mw and SG", "Mw SG N2 C1 Mw\n100 0.8 1 99 16\n", {"Fluid0"},
         "2 Mw or SG values with no component column before them",
         [](ImportFixture& f) {
             EXPECT_NE(f.componentAt(1, 0).doubleValue("mw"), 100);
             EXPECT_NE(f.componentAt(1, 0).doubleValue("SG"), 0.8);
             EXPECT_EQ(f.componentAt(1, 1).doubleValue("mw"), 16);
         }},
        {"a column named components", "N2 components fluidType\n1 x 3\n", {"Fluid0"},
         "2 values of columns named \"components\" or \"fluidType\"",
         [](ImportFixture& f) {
             EXPECT_EQ(f.componentNames(1), QStringList{"N2"});
             EXPECT_EQ(f.fluidAt(1).value("fluidType"), Value(code_number(FluidType::componentList)));
         }},
        {"e acute separates", "Name N2 C1\nOil\xc3\xa9" "A 1 99\n", {}, "Line 2, column 5: \u201cA\u201d"},
        {"hash separates", "#Name #N2\nOilB#2\n", {"OilB"}, {},
         [](ImportFixture& f) { EXPECT_EQ(f.componentAt(1, 0).doubleValue("mole"), 2); }},
        {"underscore separates", "Name N2\nOil_C 5\n", {}, "Line 2, column 5: \u201cC\u201d"},
        {"a line of separators alone is blank", "N2\n###\n5\n", {"Fluid0"}, {}},
        {"empty file", "", {}, noFluid},
        {"header alone", "Name N2 C1\n\n", {}, noFluid},
        {"latin-1 file", "Name N2\nOil\xe9 5\n", {}, "not UTF-8"},
        {"2 MB single line", lines(1, QByteArray(2 * 1024 * 1024, 'x')), {}, noFluid},
        {"not a regular file", {}, {}, "not a regular file"},
    };
}

// Values of numeric columns that are not wholly a number, or lie outside what the quantity can
// be: the file is refused whole, the alert giving the line and the column of the first.
QList<FluidTableCase> refusedFluidTableCases()
{
    const QByteArray header = "Name N2 C1 Mw SG Texp Pexp hexp\n";
    const QByteArray good = "Good 1 99 16 0.3 95 180 1\n";
    const auto line = [&](const QByteArray& n2, const QByteArray& c1 = "99", const QByteArray& mw = "16",
                          const QByteArray& sg = "0.3", const QByteArray& texp = "95", const QByteArray& pexp = "180",
                          const QByteArray& hexp = "1") {
        return header + good + "Bad " + n2 + ' ' + c1 + ' ' + mw + ' ' + sg + ' ' + texp + ' ' + pexp + ' ' + hexp + '\n';
    };
    return {
        {"decimal comma", line("0,5"), {}, "Line 3, column 5: \u201c0,5\u201d in the column \u201cN2\u201d is not a number"},
        {"comma in a larger number", line("1", "12,5"), {}, "Line 3, column 7: \u201c12,5\u201d"},
        {"letter O for a zero", line("O.5"), {}, "Line 3, column 5: \u201cO.5\u201d"},
        {"nan", line("nan"), {}, "Line 3, column 5: \u201cnan\u201d"},
        {"inf", line("1", "inf"), {}, "Line 3, column 7: \u201cinf\u201d"},
        {"trailing letter", line("1", "99x"), {}, "\u201c99x\u201d in the column \u201cC1\u201d is not a number"},
        {"bare sign", line("-"), {}, "\u201c-\u201d"},
        {"exponent without digits", line("1e"), {}, "\u201c1e\u201d"},
        {"negative mole amount", line("-1"), {}, "Line 3, column 5: \u201c-1\u201d in the column \u201cN2\u201d is outside its range [0, 100]"},
        {"mole amount above 100", line("1", "100.5"), {}, "outside its range [0, 100]"},
        {"beyond a double", line("1e400"), {}, "outside its range"},
        {"zero molar weight", line("1", "99", "0"), {}, "\u201c0\u201d in the column \u201cMw\u201d is outside its range (0, 10000]"},
        {"molar weight 1e308", line("1", "99", "1e308"), {}, "\u201c1e308\u201d in the column \u201cMw\u201d is outside"},
        {"negative gravity", line("1", "99", "16", "-0.3"), {}, "\u201c-0.3\u201d in the column \u201cSG\u201d is outside"},
        {"below absolute zero", line("1", "99", "16", "0.3", "-500"), {}, "\u201c-500\u201d in the column \u201cTexp\u201d"},
        {"temperature with a comma", line("1", "99", "16", "0.3", "-82,6"), {}, "\u201c-82,6\u201d in the column \u201cTexp\u201d is not a number"},
        {"zero pressure", line("1", "99", "16", "0.3", "95", "0"), {}, "\u201c0\u201d in the column \u201cPexp\u201d"},
        {"phase neither 0 nor 1", line("1", "99", "16", "0.3", "95", "180", "2"), {}, "\u201c2\u201d in the column \u201chexp\u201d"},
        {"half a phase", line("1", "99", "16", "0.3", "95", "180", "0.5"), {}, "\u201c0.5\u201d in the column \u201chexp\u201d"},
        {"CR LF ends one line", "N2 C1\r\n1 99\r\n\r\n1 x\r\n", {}, "Line 4, column 3: \u201cx\u201d"},
    };
}

TEST_F(ImportFixture, FluidTableCasesAppendWholeFluidsAndSumUpWhatTheyIgnore)
{
    for (const FluidTableCase& c : fluidTableCases() + refusedFluidTableCases()) {
        SCOPED_TRACE(c.title);
        open({fluid("Old", {"C1"})});
        alerts.clear();
        const int changesBefore = changes();
        if (c.alert == "not a regular file")
            chooseNamedPipe();
        else
            chooseFile(c.file);
        editor->tables().onClickImport();
        settle();

        QStringList expected{"Old"};
        expected += c.added;
        EXPECT_EQ(fluidNames(), expected);
        EXPECT_EQ(editor->selectedFluidRow(), 0) << "the selection stays";
        EXPECT_EQ(changes(), changesBefore + (c.added.isEmpty() ? 0 : 1));
        if (c.alert.isEmpty()) {
            EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join('|').toStdString();
        } else {
            ASSERT_EQ(alerts.messages().size(), 1);
            EXPECT_TRUE(alerts.messages().first().contains(c.alert)) << alerts.messages().first().toStdString();
        }
        if (c.check)
            c.check(*this);
        document.reset();
        settle();
    }
}

TEST_F(ImportFixture, ExampleFluidHasItsComponentsTextColumnsAndSaturationPoint)
{
    open({fluid("Old", {"C1"})});
    editor->control<QComboBox>("mEquationOfState")->setCurrentIndex(1);
    chooseFile("Name N2 C1 C7+ Mw SG Texp Pexp hexp comment API\n"
               "OilA 0.5 60 39.5 210 0.85 95 180 1 sampled 35.5\n");
    editor->tables().onClickImport();

    const FluidRecord oil = fluidAt(1);
    EXPECT_EQ(oil.stringValue("name"), "OilA");
    EXPECT_EQ(oil.intValue("fluidType"), code_number(FluidType::componentList));
    EXPECT_EQ(oil.stringValue("EOS"), "SRK");
    EXPECT_EQ(componentNames(1), (QStringList{"N2", "C1", "C7+"}));
    EXPECT_EQ(componentAt(1, 0).doubleValue("mole"), 0.5);
    EXPECT_EQ(componentAt(1, 1).doubleValue("mole"), 60);
    EXPECT_EQ(componentAt(1, 1).intValue("nc"), 1);
    EXPECT_EQ(componentAt(1, 2).doubleValue("mole"), 39.5);
    EXPECT_EQ(componentAt(1, 2).doubleValue("mw"), 210);
    EXPECT_EQ(componentAt(1, 2).doubleValue("SG"), 0.85);
    for (const auto& [key, text] : {std::pair{"Texp", "95"}, {"Pexp", "180"}, {"hexp", "1"}, {"Tsat", "95"},
                                    {"Psat", "180"}, {"satPhase", "1"}, {"comment", "sampled"}, {"API", "35.5"}}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(oil.value(key).isString());
        EXPECT_EQ(oil.stringValue(key), text);
    }
    EXPECT_EQ(posted, 0) << "an import posts nothing";
}

TEST_F(ImportFixture, MeasuredPointIsCopiedOnlyAsFarAsItIsPresent)
{
    open({fluid("Old", {"C1"})});
    chooseFile("Name C1 Texp Pexp hexp Tsat\n"
               "full 100 95 180 0\n"
               "noPexp 100 95\n"
               "noHexp 100 95 180\n"
               "ownTsat 100 95 180 1 70\n");
    editor->tables().onClickImport();
    ASSERT_EQ(fluids().size(), 5);
    EXPECT_EQ(fluidAt(1).stringValue("satPhase"), "0");
    EXPECT_EQ(fluidAt(1).doubleValue("Psat"), 180);
    for (const char* key : {"Tsat", "Psat", "satPhase"})
        EXPECT_FALSE(fluidAt(2).contains(key)) << "Texp without Pexp copies nothing: " << key;
    EXPECT_EQ(fluidAt(3).stringValue("Tsat"), "95");
    EXPECT_EQ(fluidAt(3).stringValue("Psat"), "180");
    EXPECT_FALSE(fluidAt(3).contains("satPhase"));
    EXPECT_EQ(fluidAt(4).stringValue("Tsat"), "70");
    EXPECT_FALSE(fluidAt(4).contains("Psat"));
}

TEST_F(ImportFixture, FiveThousandLinesAddAFluidEachInOneUndoableStep)
{
    open({fluid("Old", {"C1"})});
    settle();
    const int changesBefore = changes();
    chooseFile("C1 C2 Texp\n" + lines(5000, "60 40 95"));
    editor->tables().onClickImport();
    settle();
    ASSERT_EQ(fluids().size(), 5001);
    EXPECT_EQ(fluidAt(5000).stringValue("name"), "Fluid4999");
    EXPECT_EQ(componentNames(5000), (QStringList{"C1", "C2"}));
    EXPECT_TRUE(alerts.messages().isEmpty());
    EXPECT_EQ(changes(), changesBefore + 1);
    const FluidRecord last = fluidAt(5000);

    undo()->undo();
    settle();
    EXPECT_EQ(fluidNames(), QStringList{"Old"}) << "one undo takes the whole import back";
    EXPECT_EQ(changes(), changesBefore);
    EXPECT_FALSE(undo()->canUndo());
    undo()->redo();
    settle();
    ASSERT_EQ(fluids().size(), 5001);
    EXPECT_EQ(fluidAt(5000), last) << "the same records come back";
    EXPECT_EQ(changes(), changesBefore + 1);
}

TEST_F(ImportFixture, ImportedFluidsGoBackInOneUndoAfterOtherEdits)
{
    open({fluid("Old", {"C1"})});
    chooseFile("Name C1\nA 100\nB 100\nC 100\n");
    editor->tables().onClickImport();
    settle();
    editor->tables().onAddFluid();
    settle();
    ASSERT_EQ(fluidNames(), (QStringList{"Old", "New", "A", "B", "C"}));
    undo()->undo();  // the new fluid
    settle();
    undo()->undo();  // the import
    settle();
    EXPECT_EQ(fluidNames(), QStringList{"Old"});
    undo()->redo();
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"Old", "A", "B", "C"}));
}

TEST_F(ImportFixture, FilesLargerThanTheLimitAndCancelledChoicesChangeNothing)
{
    open({fluid("Old", {"C1"})});
    const QString path = chooseFile("C1\n100\n");
    QFile big(path);
    ASSERT_TRUE(big.resize(kMaxImportFileBytes + 1));
    editor->tables().onClickImport();
    ASSERT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.messages().first().contains("larger than 50 MB"));
    EXPECT_EQ(fluidNames(), QStringList{"Old"});

    alerts.clear();
    editor->tables().onClickImport();  // nothing queued: cancelled
    chooser.queuePath(dir.filePath("missing.txt"));
    editor->tables().onClickImport();
    EXPECT_EQ(fluidNames(), QStringList{"Old"});
    EXPECT_EQ(alerts.messages(), QStringList{"The file could not be read."});
}

TEST(FluidTableReading, TokensAreRunsOfTheTokenSetAndNothingElse)
{
    const FluidTableImport result =
        readFluidTable("Name C1 Ratio Code\n\t x(y)=[1],{2}:3.5*%$-+ \x01 \xc2\xa0 60 a/b 7;8\n", "PR", kImportMemoryAllowance);
    ASSERT_EQ(result.fluids.size(), 1);
    const FluidRecord f = result.fluids.first();
    EXPECT_EQ(f.stringValue("name"), "x(y)=[1],{2}:3.5*%$-+");
    EXPECT_EQ(f.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 60);
    EXPECT_EQ(f.stringValue("Ratio"), "a");
    EXPECT_EQ(f.stringValue("Code"), "b");
    EXPECT_EQ(result.extraValues, 2);  // 7 and 8
    EXPECT_EQ(f.stringValue("EOS"), "PR");
}

// ---- Component table ----

const QByteArray kComponentHeader = "name Tc Tb Pc Vc omega Mw SG mole\n";
const QByteArray kMethane = "C1 -82.59 -161.5 45.99 98.6 0.012 16.04 0.3 60\n";

TEST_F(ImportFixture, ComponentTableReplacesTheListUndoably)
{
    open({fluid("Model", {"C1", "C2", "C3"}, FluidType::alphaBeta), fluid("Other", {"C1"})});
    editor->selectFluidRow(0);
    settle();
    const Array before = fluidAt(0).arrayValue(fluidkey::components);
    const int changesBefore = changes();
    chooseFile(kComponentHeader + kMethane + "nC4 152.0 -0.5 37.96 255 0.2 58.12 0.58 40\n");
    editor->tables().onImportData();
    settle();

    ASSERT_EQ(componentNames(0), (QStringList{"C1", "nC4"}));
    const ComponentRecord c1 = componentAt(0, 0);
    const QList<std::pair<const char*, double>> expected{{"Tc", -82.59}, {"Tb", -161.5}, {"Pc", 45.99},
                                                         {"Vc", 98.6},   {"omega", 0.012}, {"mw", 16.04},
                                                         {"SG", 0.3},    {"mole", 60}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(c1.doubleValue(key), value) << key;
    EXPECT_EQ(c1.intValue("nc"), 1);
    EXPECT_FALSE(c1.contains("corr")) << "no correlation applied";
    EXPECT_EQ(fluidAt(0).intValue("fluidType"), code_number(FluidType::componentList));
    EXPECT_EQ(editor->control<QButtonGroup>("mModelRadio")->checkedId(), code_number(FluidType::componentList));
    EXPECT_EQ(editor->componentsView()->model()->rowCount(), 2);
    EXPECT_EQ(changes(), changesBefore + 1);
    EXPECT_TRUE(alerts.messages().isEmpty());
    EXPECT_EQ(posted, 0);

    undo()->undo();
    settle();
    EXPECT_EQ(fluidAt(0).arrayValue(fluidkey::components), before) << "the old list itself comes back";
    EXPECT_EQ(fluidAt(0).intValue("fluidType"), code_number(FluidType::alphaBeta));
    EXPECT_EQ(editor->control<QButtonGroup>("mModelRadio")->checkedId(), code_number(FluidType::alphaBeta));
    EXPECT_EQ(editor->componentsView()->model()->rowCount(), 3);
    EXPECT_EQ(changes(), changesBefore);

    undo()->redo();
    settle();
    EXPECT_EQ(componentNames(0), (QStringList{"C1", "nC4"}));
    EXPECT_EQ(changes(), changesBefore + 1);
}

struct ComponentTableCase
{
    const char* title;
    QByteArray file;
    QStringList names;  // the fluid's components afterwards
    QString alert;      // a part of the one alert expected; empty: none
    std::function<void(const ComponentTableImport&)> check = {};
};

QList<ComponentTableCase> componentTableCases()
{
    const QStringList unchanged{"C1", "C2"};
    const QString noComponent = "holds no component";
    const QString longName(1023, 'x');
    const QString longerName = 'C' + QString(1023, 'y');
    const QByteArray paddedNumber = QByteArray(1020, '0') + "12.5";  // 1024 characters
    return {
        {"example", kComponentHeader + kMethane, {"C1"}, {}},
        {"header and data on one line", "name Tc Tb Pc Vc omega Mw SG mole C1 1 2 3 4 0.5 6 0.7 8", {"C1"}, {}},
        {"columns in another order", "Mole Name SG Mw omega Vc Pc Tb Tc\n60 C1 0.3 16.04 0.012 98.6 45.99 -161.5 -82.59\n",
         {"C1"}, {},
         [](const ComponentTableImport& r) {
             const ComponentRecord c = r.components.at(0).toDictionary();
             EXPECT_EQ(c.doubleValue("mole"), 60);
             EXPECT_EQ(c.doubleValue("Tc"), -82.59);
             EXPECT_EQ(c.doubleValue("SG"), 0.3);
         }},
        {"upper-case TC and MW are no header names", "name TC Tc Tb Pc Vc omega MW Mw SG mole\n" + kMethane, {"C1"},
         {}},
        {"nan in a numeric column", kComponentHeader + "C1 nan -161.5 45.99 98.6 0.012 16.04 0.3 60\n", unchanged,
         "Line 2, column 4: \u201cnan\u201d in the column \u201cTc\u201d is not a number"},
        {"a name in a numeric column", kComponentHeader + "7 C1 -161.5 45.99 98.6 0.012 16.04 0.3 60\n", unchanged,
         "Line 2, column 1: \u201c7\u201d in the column \u201cname\u201d is not a component name"},
        {"a number for a name", kComponentHeader + kMethane + "+.5 1 2 3 4 0.5 6 0.7 8\n", unchanged,
         "Line 3, column 1: \u201c+.5\u201d"},
        {"decimal comma", kComponentHeader + "C1 -82,6 -161.5 45.99 98.6 0.012 16.04 0.3 60\n", unchanged,
         "Line 2, column 4: \u201c-82,6\u201d in the column \u201cTc\u201d is not a number"},
        {"minus nan keeps its column", kComponentHeader + "C1 -nan -161.5 45.99 98.6 0.012 16.04 0.3 60\n", unchanged,
         "\u201c-nan\u201d in the column \u201cTc\u201d"},
        {"below absolute zero", kComponentHeader + "C1 -500 -161.5 45.99 98.6 0.012 16.04 0.3 60\n", unchanged,
         "\u201c-500\u201d in the column \u201cTc\u201d is outside its range (-273.15, 2000]"},
        {"negative mole amount", kComponentHeader + kMethane + "C2 32.2 -88.6 48.7 145.5 0.1 30.07 0.36 -5\n",
         unchanged, "Line 3, column 41: \u201c-5\u201d in the column \u201cmole\u201d is outside"},
        {"zero molar weight", kComponentHeader + "C1 -82.59 -161.5 45.99 98.6 0.012 0 0.3 60\n", unchanged,
         "\u201c0\u201d in the column \u201cMw\u201d is outside"},
        {"hash and star words are skipped", kComponentHeader + "#C2 C1 -82.59 *x -161.5 45.99 98.6 0.012 16.04 0.3 60\n",
         {"C1"}, {}},
        {"a last component of eight words is dropped", kComponentHeader + kMethane + "C2 1 2 3 4 0.5 6 0.7\n", {"C1"}, {}},
        {"words of 1023 and 1024 characters",
         kComponentHeader + longName.toUtf8() + " 1 2 3 4 0.5 6 0.7 8\n" + longerName.toUtf8() + " " + paddedNumber +
             " 2 3 4 0.5 6 0.7 8\n",
         {longName, longerName}, {},
         [](const ComponentTableImport& r) {
             EXPECT_EQ(r.components.at(1).toDictionary().doubleValue("Tc"), 12.5);
         }},
        {"eight header names only", "name Tc Tb Pc Vc omega Mw SG\n" + kMethane, unchanged, noComponent},
        {"empty file", "", unchanged, noComponent},
        {"latin-1 file", kComponentHeader + "C\xe9 1 2 3 4 0.5 6 0.7 8\n", unchanged, "not UTF-8"},
    };
}

TEST_F(ImportFixture, ComponentTableCasesReplaceWithWholeComponentsOrNothing)
{
    for (const ComponentTableCase& c : componentTableCases()) {
        SCOPED_TRACE(c.title);
        open({fluid("F", {"C1", "C2"})});
        alerts.clear();
        const int changesBefore = changes();
        chooseFile(c.file);
        editor->tables().onImportData();
        settle();
        EXPECT_EQ(componentNames(0), c.names);
        EXPECT_EQ(changes(), changesBefore + (c.names == QStringList{"C1", "C2"} ? 0 : 1));
        if (c.alert.isEmpty()) {
            EXPECT_TRUE(alerts.messages().isEmpty()) << alerts.messages().join('|').toStdString();
        } else {
            ASSERT_EQ(alerts.messages().size(), 1);
            EXPECT_TRUE(alerts.messages().first().contains(c.alert)) << alerts.messages().first().toStdString();
        }
        if (c.check)
            c.check(readComponentTable(QString::fromUtf8(c.file), kImportMemoryAllowance));
        document.reset();
        settle();
    }
}

TEST_F(ImportFixture, ComponentImportWithoutSelectedFluidAsksForNoFile)
{
    open({fluid("F", {"C1"})});
    editor->selectFluidRow(-1);
    editor->tables().onImportData();
    EXPECT_TRUE(chooser.requests().isEmpty());

    editor->selectFluidRow(0);
    editor->tables().onImportData();  // cancelled
    EXPECT_EQ(chooser.requests().size(), 1);
    EXPECT_EQ(componentNames(0), QStringList{"C1"});
    EXPECT_TRUE(alerts.messages().isEmpty());
}

TEST_F(ImportFixture, ImportButtonsRunTheirImports)
{
    open({fluid("F", {"C1"})});
    chooseFile("Name C1\nButtonFluid 100\n");
    editor->control<QAbstractButton>("mImportFileButton")->click();
    EXPECT_EQ(fluidNames(), (QStringList{"F", "ButtonFluid"}));
    chooseFile(kComponentHeader + "C3 1 2 3 4 0.5 6 0.7 8\n");
    editor->control<QAbstractButton>("mImportButton")->click();
    EXPECT_EQ(componentNames(0), QStringList{"C3"});
}

// What a file's records would take is reckoned before any is made: beyond the budget (set small
// here) the file is refused whole; the editor's budget refuses a table of 100,000 fluids.
TEST_F(ImportFixture, TablesWhoseRecordsExceedTheMemoryBudgetAreRefusedBeforeAnyRecordIsMade)
{
    const QString fluidsText = QString::fromUtf8("C1 C2 Texp\n" + lines(100, "60 40 95"));
    EXPECT_EQ(readFluidTable(fluidsText, "PR", 10 * 1024 * 1024).fluids.size(), 100);
    const FluidTableImport refused = readFluidTable(fluidsText, "PR", 64 * 1024);
    EXPECT_TRUE(refused.fluids.isEmpty());
    EXPECT_TRUE(refused.refusal.contains("more than can be imported")) << refused.refusal.toStdString();
    EXPECT_TRUE(refused.refusal.contains("more than 64 KiB of memory")) << refused.refusal.toStdString();

    const QString componentsText = QString::fromUtf8(kComponentHeader + lines(100, kMethane.trimmed()));
    EXPECT_EQ(readComponentTable(componentsText, 10 * 1024 * 1024).components.size(), 100);
    const ComponentTableImport refusedComponents = readComponentTable(componentsText, 64 * 1024);
    EXPECT_TRUE(refusedComponents.components.isEmpty());
    EXPECT_TRUE(refusedComponents.refusal.contains("more than can be imported"));

    open({fluid("Old", {"C1"})});
    chooseFile("C1 C2 Texp\n" + lines(100000, "60 40 95"));
    editor->tables().onClickImport();
    EXPECT_EQ(fluidNames(), QStringList{"Old"});
    ASSERT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.messages().first().contains("more than can be imported"));
    EXPECT_FALSE(undo()->canUndo());
}

}  // namespace
