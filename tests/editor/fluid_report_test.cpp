// The fluid report in the log window: the underlined title, the model lines of each fluid
// type, the 105-column component table and the stock-tank lines of each stock-tank state.

#include "support/EditorTestSupport.h"

#include "widgets/CLogWindow.h"

#include <QAbstractButton>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

constexpr int kTableWidth = 105;

struct FluidReport : ::testing::Test, EditorFixture
{
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    qsizetype start = 0;

    // The report of the fluid at the row, as lines without their line ends.
    QStringList report(int row)
    {
        editor->selectFluidRow(row);
        settle();
        start = log->text().length();
        editor->tables().onWriteLog();
        return written().split(QRegularExpression("\r\n|\r|\n"));
    }
    QString written() const { return log->text().plainText().mid(start); }
};

ComponentRecord carbonDioxide()
{
    return ComponentRecord{{"name", "CO2"}, {"nc", -2},     {"Tc", 31.05},  {"Tb", -78.45}, {"Pc", 73.8},
                           {"Vc", 94.0},    {"omega", 0.225}, {"mw", 44.01}, {"SG", 0.818},  {"mole", 50.0}};
}

FluidRecord modelFluid(const QString& name, FluidType type, const QList<std::pair<QString, Value>>& parameters)
{
    FluidRecord record = fluid(name, {"C1"}, type);
    for (const auto& [key, value] : parameters)
        record.setValue(key, value);
    return record;
}

// The lines between the title and the component table.
QStringList modelLines(const QStringList& lines)
{
    QStringList model;
    for (const QString& line : lines) {
        if (line.startsWith('-'))
            break;
        if (!line.contains("Petroleum") && !line.trimmed().isEmpty())
            model << line;
    }
    return model;
}

// The lines after the table's closing rule, without empty ones.
QStringList stockTankLines(const QStringList& lines)
{
    const int rules = lines.lastIndexOf(QString(kTableWidth, '-'));
    QStringList tail;
    for (int i = rules + 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            tail << lines[i];
    return tail;
}

TEST_F(FluidReport, TitleIsTheUnderlinedNameInLargerType)
{
    open({fluid("OilA", {"C1"})});
    log->window()->hide();
    report(0);
    const QString text = written();
    const qsizetype title = text.indexOf("Petroleum : OilA");
    ASSERT_GE(title, 0) << text.toStdString();
    const auto petroleum = log->text().styleAt(start + title);
    const auto name = log->text().styleAt(start + text.indexOf("OilA"));
    ASSERT_TRUE(petroleum && name);
    EXPECT_TRUE(petroleum->underline);
    EXPECT_EQ(petroleum->pointSize, 15);
    EXPECT_FALSE(name->underline);
    EXPECT_TRUE(log->window()->isVisible());
    EXPECT_EQ(log->window()->size(), QSize(800, 400));

    log->window()->resize(500, 300);
    report(0);
    EXPECT_EQ(log->window()->size(), QSize(500, 300)) << "a window on screen keeps its size";
}

TEST_F(FluidReport, ModelLinesFollowTheFluidType)
{
    const QList<std::pair<QString, Value>> parameters{
        {"alpha", 0.8}, {"beta", 0.3}, {"CO2", 0.02}, {"N2", 0.015}, {"H2S", 0.001}, {"delta", 5}};
    open({modelFluid("ab", FluidType::alphaBeta, parameters), modelFluid("user", FluidType::componentList, {}),
          modelFluid("gamma", FluidType::gamma, parameters), modelFluid("expanded", FluidType::carbonNumbers, parameters)});
    EXPECT_EQ(modelLines(report(0)), (QStringList{"Compositional model : alpha-beta model (Montel, 1993)",
                                                  "              Alpha : 0.8000", "               Beta : 0.3000",
                                                  "                CO2 : 0.0200", "                 N2 : 0.0150",
                                                  "                H2S : 0.0010"}));
    EXPECT_EQ(modelLines(report(1)), QStringList{"Compositional model : user-defined model"});
    EXPECT_EQ(modelLines(report(2)),
              (QStringList{"Compositional model : gamma model (Behrenbruch and Dedigama, 2007)",
                           "              Alpha : 0.8000", "               Beta : 0.3000", "              Delta : 5",
                           "                 N2 : 0.0150", "                H2S : 0.0010"}));
    EXPECT_EQ(modelLines(report(3)), QStringList{});
}

TEST_F(FluidReport, ComponentTableHasFixedColumnsInKelvin)
{
    FluidRecord oil = fluid("Oil", {"C1"});
    Array components = oil.arrayValue(fluidkey::components);
    components.append(carbonDioxide());
    ComponentRecord plus = carbonDioxide().copy();
    plus.setValue("name", "C7+");
    components.append(plus);
    ComponentRecord longName = carbonDioxide().copy();
    longName.setValue("name", "Heavy-end-1");
    components.append(longName);
    open({oil});
    const QStringList lines = report(0);

    const int header = lines.indexOf(QRegularExpression("    Name +Tc \\(K\\).*"));
    ASSERT_GE(header, 1);
    const QString rule(kTableWidth, '-');
    EXPECT_EQ(lines[header - 1], rule);
    EXPECT_EQ(lines[header + 1], rule);
    EXPECT_EQ(lines[header + 6], rule);
    EXPECT_EQ(lines[header].size(), kTableWidth);
    // Each column ends where its header ends.
    const QList<int> columnEnds{8, 20, 32, 44, 57, 69, 81, 93, 105};
    const QStringList labels{"Name", "Tc (K)", "Tb (K)", "Pc (bar)", "Vc (cm3/mol)", "Omega", "Mw (g/mol)",
                             "SG (g/cm3)", "Mole %"};
    for (int i = 0; i < labels.size(); ++i)
        EXPECT_EQ(lines[header].mid(columnEnds[i] - labels[i].size(), labels[i].size()), labels[i]);
    const QString co2 = lines[header + 3];
    EXPECT_EQ(co2.size(), kTableWidth);
    for (int end : columnEnds) {
        EXPECT_NE(co2[end - 1], ' ') << end;
        EXPECT_TRUE(end == kTableWidth || co2[end] == ' ') << end;
    }
    // CO2's critical point is 304.2 K, its sublimation point 194.7 K.
    EXPECT_EQ(co2.split(' ', Qt::SkipEmptyParts),
              (QStringList{"CO2", "304.200", "194.700", "73.800", "94.000", "0.2250", "44.01", "0.8180", "50.0000"}));
    EXPECT_TRUE(lines[header + 4].startsWith("     C7+     304.200")) << lines[header + 4].toStdString();
    EXPECT_EQ(lines[header + 5], "Heavy-end-1" + co2.mid(8)) << "a longer name pushes its row to the right";
}

struct StockTankCase
{
    const char* title;
    StockTankState state;
    QStringList lines;
};

TEST_F(FluidReport, StockTankLinesFollowTheStockTankState)
{
    const QList<StockTankCase> cases{
        {"two phases", StockTankState::TwoPhases,
         {"    GOR  (Non translated Peng-Robinson EOS) : 100.00 ",
          "    API\u00b0 (Non translated Peng-Robinson EOS) : 30.00 ",
          "    API\u00b0 (Montel volume translation)        : 34.00 ",
          "    API\u00b0 (Tovik-Dorvane volume translation)   : 33.00 ",
          "    API\u00b0 (Tovik-Dorvane Mw correlation)       : 35.00 ",
          "    API\u00b0 (Standing-Katz method)             : 31.00 ",
          "    API\u00b0 (Alani-Kennedy method)             : 32.00 "}},
        {"all gas", StockTankState::Gas, {"    GOR                                     : gas"}},
        {"all liquid", StockTankState::Liquid,
         {"    GOR                                     : liquid",
          "    API\u00b0 (Non translated Peng-Robinson EOS) : Liquid ",
          "    API\u00b0 (Montel volume translation)        : Liquid ",
          "    API\u00b0 (Tovik-Dorvane volume translation)   : Liquid ",
          "    API\u00b0 (Tovik-Dorvane Mw correlation)       : Liquid ",
          "    API\u00b0 (Standing-Katz method)             : Liquid ",
          "    API\u00b0 (Alani-Kennedy method)             : Liquid "}},
        {"failed: the stale gas-oil ratio is not shown", StockTankState::None,
         {"    GOR  (Non translated Peng-Robinson EOS) : err ",
          "    API\u00b0 (Non translated Peng-Robinson EOS) : err ",
          "    API\u00b0 (Montel volume translation)        : err ",
          "    API\u00b0 (Tovik-Dorvane volume translation)   : err ",
          "    API\u00b0 (Tovik-Dorvane Mw correlation)       : err ",
          "    API\u00b0 (Standing-Katz method)             : err ",
          "    API\u00b0 (Alani-Kennedy method)             : err "}},
    };
    for (const StockTankCase& c : cases) {
        SCOPED_TRACE(c.title);
        tank.result.state = c.state;
        FluidRecord oil = fluid("Oil", {"C1", "C10"});
        oil.setValue(fluidkey::gor, 123.0);  // left by an earlier calculation
        open({oil});
        const QStringList lines = report(0);
        EXPECT_EQ(stockTankLines(lines), c.lines);
        EXPECT_TRUE(written().endsWith(" \r\n\r\n") || written().endsWith("gas\r\n\r\n"));
        document.reset();
        settle();
    }
}

TEST_F(FluidReport, KeysNeverComputedPrintAsZero)
{
    open({fluid("Oil", {"C1"})});
    FluidRecord oil = fluids().at(0).toDictionary();
    editor->selectFluidRow(0);
    settle();
    for (ApiMethod method : kApiMethods)
        oil.remove(fluidkey::apiMethod(method));
    oil.remove(fluidkey::gor);
    oil.setValue(fluidkey::apiMethod(ApiMethod::montelTranslation), "42.5");  // a number kept as text
    start = log->text().length();
    editor->tables().onWriteLog();
    const QStringList tail = stockTankLines(written().split("\r\n"));
    ASSERT_EQ(tail.size(), 7);
    EXPECT_EQ(tail[0], "    GOR  (Non translated Peng-Robinson EOS) : 0.00 ");
    EXPECT_EQ(tail[1], "    API\u00b0 (Non translated Peng-Robinson EOS) : 0.00 ");
    EXPECT_EQ(tail[2], "    API\u00b0 (Montel volume translation)        : 42.50 ");
}

TEST_F(FluidReport, NoSelectedFluidWritesNothingAndTheButtonWrites)
{
    open({fluid("Oil", {"C1"})});
    editor->selectFluidRow(-1);
    start = log->text().length();
    editor->tables().onWriteLog();
    EXPECT_EQ(written(), QString());
    editor->selectFluidRow(0);
    settle();
    editor->control<QAbstractButton>("mLogButton")->click();
    EXPECT_TRUE(written().contains("Petroleum : Oil"));
    EXPECT_EQ(fluids().at(0).toDictionary().stringValue("name"), "Oil");
}

}  // namespace
