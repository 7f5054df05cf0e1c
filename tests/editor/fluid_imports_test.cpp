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
             EXPECT_EQ(f.fluidAt(1).value("fluidType"), Value(kFluidTypeComponentList));
         }},
        {"e acute separates", "Name N2 C1\nOil\xc3\xa9" "A 1 99\n", {"Oil"}, "1 values beyond",
         [](ImportFixture& f) { EXPECT_EQ(f.componentAt(1, 0).doubleValue("mole"), 0) << "the token A"; }},
        {"hash separates", "#Name #N2\nOilB#2\n", {"OilB"}, {},
         [](ImportFixture& f) { EXPECT_EQ(f.componentAt(1, 0).doubleValue("mole"), 2); }},
        {"underscore separates", "Name N2\nOil_C 5\n", {"Oil"}, "1 values beyond", {}},
        {"a line of separators alone is blank", "N2\n###\n5\n", {"Fluid0"}, {}},
        {"empty file", "", {}, noFluid},
        {"header alone", "Name N2 C1\n\n", {}, noFluid},
        {"latin-1 file", "Name N2\nOil\xe9 5\n", {}, "not UTF-8"},
        {"2 MB single line", lines(1, QByteArray(2 * 1024 * 1024, 'x')), {}, noFluid},
    };
}

TEST_F(ImportFixture, FluidTableCasesAppendWholeFluidsAndSumUpWhatTheyIgnore)
{
    for (const FluidTableCase& c : fluidTableCases()) {
        SCOPED_TRACE(c.title);
        open({fluid("Old", {"C1"})});
        alerts.clear();
        const int changesBefore = changes();
        chooseFile(c.file);
        editor->onClickImport();
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
    editor->onClickImport();

    const FluidRecord oil = fluidAt(1);
    EXPECT_EQ(oil.stringValue("name"), "OilA");
    EXPECT_EQ(oil.intValue("fluidType"), kFluidTypeComponentList);
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
    editor->onClickImport();
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

TEST_F(ImportFixture, HundredThousandLinesAddAFluidEach)
{
    open({fluid("Old", {"C1"})});
    chooseFile("C1 C2 Texp\n" + lines(100000, "60 40 95"));
    editor->onClickImport();
    ASSERT_EQ(fluids().size(), 100001);
    EXPECT_EQ(fluidAt(100000).stringValue("name"), "Fluid99999");
    EXPECT_EQ(componentNames(100000), (QStringList{"C1", "C2"}));
    EXPECT_TRUE(alerts.messages().isEmpty());
}

TEST_F(ImportFixture, FilesLargerThanTheLimitAndCancelledChoicesChangeNothing)
{
    open({fluid("Old", {"C1"})});
    const QString path = chooseFile("C1\n100\n");
    QFile big(path);
    ASSERT_TRUE(big.resize(kMaxImportFileBytes + 1));
    editor->onClickImport();
    ASSERT_EQ(alerts.messages().size(), 1);
    EXPECT_TRUE(alerts.messages().first().contains("larger than 50 MB"));
    EXPECT_EQ(fluidNames(), QStringList{"Old"});

    alerts.clear();
    editor->onClickImport();  // nothing queued: cancelled
    chooser.queuePath(dir.filePath("missing.txt"));
    editor->onClickImport();
    EXPECT_EQ(fluidNames(), QStringList{"Old"});
    EXPECT_EQ(alerts.messages(), QStringList{"The file could not be read."});
}

TEST(FluidTableReading, TokensAreRunsOfTheTokenSetAndNothingElse)
{
    const FluidTableImport result =
        readFluidTable("Name C1 Ratio Code\n\t x(y)=[1],{2}:3.5*%$-+ \x01 \xc2\xa0 60 a/b 7;8\n", "PR");
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
    open({fluid("Model", {"C1", "C2", "C3"}, kFluidTypeAlphaBeta), fluid("Other", {"C1"})});
    editor->selectFluidRow(0);
    settle();
    const Array before = fluidAt(0).arrayValue(fluidkey::components);
    const int changesBefore = changes();
    chooseFile(kComponentHeader + kMethane + "nC4 152.0 -0.5 37.96 255 0.2 58.12 0.58 40\n");
    editor->onImportData();
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
    EXPECT_EQ(fluidAt(0).intValue("fluidType"), kFluidTypeComponentList);
    EXPECT_EQ(editor->control<QButtonGroup>("mModelRadio")->checkedId(), kFluidTypeComponentList);
    EXPECT_EQ(editor->componentsView()->model()->rowCount(), 2);
    EXPECT_EQ(changes(), changesBefore + 1);
    EXPECT_TRUE(alerts.messages().isEmpty());
    EXPECT_EQ(posted, 0);

    undo()->undo();
    settle();
    EXPECT_EQ(fluidAt(0).arrayValue(fluidkey::components), before) << "the old list itself comes back";
    EXPECT_EQ(fluidAt(0).intValue("fluidType"), kFluidTypeAlphaBeta);
    EXPECT_EQ(editor->control<QButtonGroup>("mModelRadio")->checkedId(), kFluidTypeAlphaBeta);
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
        {"header and data on one line", "name Tc Tb Pc Vc omega Mw SG mole C1 1 2 3 4 5 6 7 8", {"C1"}, {}},
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
        {"a name in a numeric column is the name", kComponentHeader + "7 C1 -161.5 45.99 98.6 0.012 16.04 0.3 60\n",
         {"C1"}, {},
         [](const ComponentTableImport& r) {
             const ComponentRecord c = r.components.at(0).toDictionary();
             EXPECT_FALSE(c.contains("Tc"));
             EXPECT_EQ(c.doubleValue("Tb"), -161.5);
         }},
        {"a number for a name is dropped and said",
         kComponentHeader + kMethane + "7 1 2 3 4 5 6 7 8\n+.5 1 2 3 4 5 6 7 8\n", {"C1"},
         "without a name were dropped: 2"},
        {"hash and star words are skipped", kComponentHeader + "#C2 C1 -82.59 *x -161.5 45.99 98.6 0.012 16.04 0.3 60\n",
         {"C1"}, {}},
        {"a last component of eight words is dropped", kComponentHeader + kMethane + "C2 1 2 3 4 5 6 7\n", {"C1"}, {}},
        {"words of 1023 and 1024 characters",
         kComponentHeader + longName.toUtf8() + " 1 2 3 4 5 6 7 8\n" + longerName.toUtf8() + " " + paddedNumber +
             " 2 3 4 5 6 7 8\n",
         {longName, longerName}, {},
         [](const ComponentTableImport& r) {
             EXPECT_EQ(r.components.at(1).toDictionary().doubleValue("Tc"), 12.5);
         }},
        {"eight header names only", "name Tc Tb Pc Vc omega Mw SG\n" + kMethane, unchanged, noComponent},
        {"empty file", "", unchanged, noComponent},
        {"latin-1 file", kComponentHeader + "C\xe9 1 2 3 4 5 6 7 8\n", unchanged, "not UTF-8"},
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
        editor->onImportData();
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
            c.check(readComponentTable(QString::fromUtf8(c.file)));
        document.reset();
        settle();
    }
}

TEST_F(ImportFixture, ComponentImportWithoutSelectedFluidAsksForNoFile)
{
    open({fluid("F", {"C1"})});
    editor->selectFluidRow(-1);
    editor->onImportData();
    EXPECT_TRUE(chooser.requests().isEmpty());

    editor->selectFluidRow(0);
    editor->onImportData();  // cancelled
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
    chooseFile(kComponentHeader + "C3 1 2 3 4 5 6 7 8\n");
    editor->control<QAbstractButton>("mImportButton")->click();
    EXPECT_EQ(componentNames(0), QStringList{"C3"});
}

}  // namespace
