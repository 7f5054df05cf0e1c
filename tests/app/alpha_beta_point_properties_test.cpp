// An alpha-beta point as a fluid: the fluid generated from it, its reports in the log
// window, its gas-oil ratio and API gravity, the grids written into a chosen folder, and
// the fluid-properties panel command.

#include "support/AppTestSupport.h"

#include "app/CAlphaBetaPlotDocument.h"
#include "app/CFluidModelDataDocument.h"
#include "calc/CalculationInterface.h"
#include "characterisation/Correlations.h"
#include "widgets/CLogWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QStringList kModelComponents = {"N2",  "CO2", "H2S", "C1", "C2", "C3", "iC4", "nC4", "iC5",
                                      "nC5", "C6",  "C7",  "C8", "C9", "C10", "Cn1", "Cn2"};

// ---- Generation ----

Dictionary generatedFluid(double alpha, double beta, double CO2, double N2, double H2S)
{
    CFluidModelDataDocument document;
    document.generateFluidFromAlphaBetaModel(alpha, beta, CO2, N2, H2S);
    EXPECT_EQ(document.fluids().size(), 1);
    return document.fluids().at(0).toDictionary();
}

TEST(AlphaBetaFluidGeneration, SeventeenNamedComponentsWithTheModelsValues)
{
    const Dictionary fluid = generatedFluid(0.9, 0.1, 0, 0, 0);
    EXPECT_EQ(fluid.stringValue("name"), "New");
    EXPECT_EQ(fluid.intValue("fluidType"), 2);
    EXPECT_EQ(fluid.stringValue("comment"),
              "Generated from alpha-beta model with alpha=0.9000, beta=0.1000, CO2=0.0000, N2=0.0000, H2S=0.0000");
    for (const char* absent : {"EOS", "alpha", "beta", "CO2", "N2", "H2S"})
        EXPECT_FALSE(fluid.contains(absent)) << absent;

    const Array components = fluid.arrayValue("components");
    QStringList names;
    double total = 0;
    for (const Value& value : components) {
        const Dictionary component = value.toDictionary();
        names << component.stringValue("name");
        total += component.doubleValue("mole");
        EXPECT_TRUE(component.contains("nc")) << component.stringValue("name").toStdString();
    }
    EXPECT_EQ(names, kModelComponents);
    EXPECT_NEAR(total, 100, 1e-6);

    // Published critical constants of the light species (Reid, Prausnitz and Poling).
    const auto byName = [&](const QString& name) { return components.at(kModelComponents.indexOf(name)).toDictionary(); };
    EXPECT_NEAR(byName("N2").doubleValue("Tc"), 126.2 - 273.15, 0.5);
    EXPECT_NEAR(byName("C1").doubleValue("Tc"), 190.6 - 273.15, 0.5);
    EXPECT_NEAR(byName("C1").doubleValue("Pc"), 46.0, 1.5) << "the model keeps 45 bar";
    EXPECT_NEAR(byName("C3").doubleValue("Vc"), 200, 5);
    EXPECT_NEAR(byName("C2").doubleValue("omega"), 0.099, 0.01);
}

TEST(AlphaBetaFluidGeneration, OnlyTheHeavyCutsTakeTheGravityOfTheirMolarWeight)
{
    const Array components = generatedFluid(0.9, 0.1, 0, 0, 0).arrayValue("components");
    for (int i = 0; i < components.size(); ++i) {
        const Dictionary component = components.at(i).toDictionary();
        const QString name = component.stringValue("name");
        if (name == "Cn1" || name == "Cn2") {
            EXPECT_DOUBLE_EQ(component.doubleValue("SG"), getJianzhongSG(component.doubleValue("mw"))) << name.toStdString();
            continue;
        }
        // Every other component keeps the gravity its name gives it, whatever the model's molar weight.
        Dictionary named;
        setComponentName(name, named, CorrelationCode::jianzhong0);
        EXPECT_DOUBLE_EQ(component.doubleValue("SG"), named.doubleValue("SG")) << name.toStdString();
        EXPECT_EQ(component.intValue("nc"), named.intValue("nc")) << name.toStdString();
    }
    const auto sg = [&](int i) { return components.at(i).toDictionary().doubleValue("SG"); };
    EXPECT_GT(sg(16), sg(15)) << "the heavier cut is the denser";
    EXPECT_GT(sg(15), sg(14)) << "Cn1 is denser than C10";
}

TEST(AlphaBetaFluidGeneration, GasFractionsGoToTheComponentsAndTheComment)
{
    const Dictionary fluid = generatedFluid(0.5, 0.2, 0.02, 0.01, 0.005);
    EXPECT_TRUE(fluid.stringValue("comment").endsWith("CO2=0.0200, N2=0.0100, H2S=0.0050"));
    const Array components = fluid.arrayValue("components");
    EXPECT_NEAR(components.at(0).toDictionary().doubleValue("mole"), 1.0, 1e-9);  // N2
    EXPECT_NEAR(components.at(1).toDictionary().doubleValue("mole"), 2.0, 1e-9);  // CO2
    EXPECT_NEAR(components.at(2).toDictionary().doubleValue("mole"), 0.5, 1e-9);  // H2S
}

TEST(AlphaBetaFluidGeneration, TwiceGivesTwoFluidsNamedNew)
{
    CFluidModelDataDocument document;
    document.generateFluidFromAlphaBetaModel(0.9, 0.1, 0, 0, 0);
    document.generateFluidFromAlphaBetaModel(0.8, 0.2, 0, 0, 0);
    ASSERT_EQ(document.fluids().size(), 2);
    EXPECT_EQ(document.fluids().at(1).toDictionary().stringValue("name"), "New");
    EXPECT_FALSE(document.isDocumentEdited()) << "the editor marks the change, with its undo";
}

// ---- Reports ----

struct AlphaBetaPointFixture : ::testing::Test, AppFixture
{
    RecordingPanels panels;
    CAlphaBetaPlotDocument document;
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    qsizetype logStart = 0;

    AlphaBetaPointFixture()
    {
        Dictionary marker = newAlphaBetaPoint(0.9, 0.1, 2, 0, 0);
        marker.setValue("name", "M-1");
        document.alphaBetaPoints().append(marker);
        logStart = log->text().length();
    }
    QString logged() const { return log->text().plainText().mid(logStart); }
};

// The rows of the component table: name and the seven numbers.
struct TableRow
{
    QString name;
    QList<double> values;
};

QList<TableRow> componentTable(const QString& report)
{
    QList<TableRow> rows;
    const QStringList lines = report.split('\n');
    const int header = lines.indexOf(QRegularExpression("^\\t +Component +Mole %.*Omega$"));
    if (header < 0)
        return rows;
    for (int i = header + 1; i < lines.size() && !lines[i].isEmpty(); ++i) {
        const QStringList fields = lines[i].split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        TableRow row{fields.value(0), {}};
        for (int f = 1; f < fields.size(); ++f)
            row.values << fields[f].toDouble();
        rows << row;
    }
    return rows;
}

TEST_F(AlphaBetaPointFixture, StockTankReportShowsTheGasesAndTheSeventeenRowTable)
{
    document.prepareCalculation(373.15, 293.15, 0.1, 0, 0, 0, Homogenisation::toLiquid, "a curve", std::nullopt);
    ASSERT_TRUE(document.hasEngine());
    document.writeToLog(0);
    EXPECT_FALSE(document.hasEngine());
    const QString report = logged();
    EXPECT_TRUE(report.contains("\nSTP Fluid Properties (alpha-beta model M-1):\n"));
    EXPECT_TRUE(report.contains("\talpha       : 0.9000\n\tbeta        : 0.1000\n"
                                "\tCO2 mole %  : 2.0000 %\n\tN2  mole %  : 0.0000 %\n\tH2S mole %  : 0.0000 %\n"));
    EXPECT_TRUE(report.contains("Number of components : 17\n"));
    EXPECT_TRUE(report.contains(
        "\t   Component       Mole %   Mw (g/mol)           SG        Tc (C)     Pc (bar) Vc (cm3/mol)        Omega\n"));

    const QList<TableRow> rows = componentTable(report);
    ASSERT_EQ(rows.size(), 17);
    double total = 0;
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, kModelComponents[i]);
        ASSERT_EQ(rows[i].values.size(), 7) << i;
        total += rows[i].values[0];
    }
    EXPECT_NEAR(total, 100, 17 * 0.00005);
    // 2 % CO2 in the marker reaches the engine as the fraction 0.02.
    EXPECT_DOUBLE_EQ(rows[1].values[0], 2.0);
    EXPECT_NEAR(rows[3].values[3], 190.6 - 273.15, 0.5) << "C1's critical temperature in degrees Celsius";
    EXPECT_NEAR(rows[3].values[4], 46.0, 1.5) << "C1's critical pressure in bar";
    // The stock-tank properties of the same fluid follow the table.
    const qsizetype lastRow = report.indexOf(" Cn2 ");
    ASSERT_GT(lastRow, 0);
    EXPECT_GT(report.indexOf("GOR, non translated PR EOS"), lastRow);
}

TEST_F(AlphaBetaPointFixture, FlashAndBulkReportsAreTitledWithThePointsName)
{
    document.writeToLog2(0, 293.15, 100);
    document.writeToLog1(0, 293.15, 100);
    const QString report = logged();
    const qsizetype flash = report.indexOf("\nFlash properties (fluid M-1):\n");
    const qsizetype bulk = report.indexOf("\nBulk fluid properties (fluid M-1):\n");
    ASSERT_GE(flash, 0);
    ASSERT_GT(bulk, flash);
    EXPECT_GT(report.indexOf("Flash temperature        : 293.15 K"), flash);
    EXPECT_GT(report.indexOf("Temperature               : 293.15 K", bulk), bulk);
}

TEST_F(AlphaBetaPointFixture, GasOilRatioAndApiOfAPointWriteNothing)
{
    double GOR = -1, API = -1;
    document.calculateGORAPI(0, &GOR, &API);
    EXPECT_EQ(log->text().length(), logStart);

    // The same fluid given to the calculation with its CO2 as a fraction.
    CalculationInterface direct(FluidType::alphaBeta, EquationOfState::pengRobinson);
    direct.setAlpha(0.9);
    direct.setBeta(0.1);
    direct.setCO2(0.02);
    direct.finalize();
    ASSERT_TRUE(direct.calculateGOR());
    EXPECT_DOUBLE_EQ(GOR, direct.getGOR()[0]);
    EXPECT_DOUBLE_EQ(API, direct.getAPI()[0]);
    EXPECT_GT(GOR, 0);
    EXPECT_GT(API, 0);

    double untouched = -7;
    document.calculateGORAPI(1, &untouched, &untouched);
    document.writeToLog(-1);
    EXPECT_EQ(untouched, -7) << "no point at that index";
    EXPECT_EQ(log->text().length(), logStart);
}

TEST_F(AlphaBetaPointFixture, LogWindowAfterAStockTankReportRendersToPng)
{
    log->clearText();
    document.writeToLog(0);
    QWidget* window = log->window();
    window->resize(1300, 1500);  // the whole report, table and stock-tank properties
    window->show();
    QCoreApplication::processEvents();
    const QImage image = window->grab().toImage();
    const QString png = QDir(QCoreApplication::applicationDirPath()).filePath("log_after_stock_tank_report.png");
    ASSERT_TRUE(image.save(png));
    EXPECT_GT(image.width(), 0);
}

// ---- Grids and the panel ----

TEST_F(AlphaBetaPointFixture, GridGoesIntoTheChosenFolderAndNeverIntoTheCurrentOne)
{
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString chosen = path("grids");
    ASSERT_TRUE(QDir().mkpath(chosen));

    document.performAction("calculateCompoGrid:", nullptr);  // cancelled: nothing computed, nothing written
    EXPECT_FALSE(QFile::exists(path("grid1.txt")));

    chooser.queuePath(chosen);
    EXPECT_TRUE(document.respondsToAction("calculateCompoGrid:"));
    document.performAction("calculateCompoGrid:", nullptr);
    QDir::setCurrent(current);

    ASSERT_EQ(chooser.requests().size(), 2);
    EXPECT_TRUE(chooser.requests()[1].folder);
    EXPECT_TRUE(chooser.requests()[1].title.contains("grid1.txt"));
    EXPECT_FALSE(QFile::exists(path("grid1.txt")));
    QFile grid(QDir(chosen).filePath("grid1.txt"));
    ASSERT_TRUE(grid.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = grid.readAll().split('\n');
    EXPECT_EQ(lines.first(), "IGOR");
    EXPECT_EQ(lines.size(), 3 + 40000 + 2) << "header, rows, END and the last line end";
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_EQ(QDir(chosen).entryList(QDir::Files), QStringList{"grid1.txt"}) << "no temporary file is left";
}

TEST_F(AlphaBetaPointFixture, GridThatCannotBeWrittenIsAlertedAndLeavesNoFile)
{
    const QString missing = path("no such folder");
    for (const char* action : {"calculateCompoGrid:", "calculateGORAPIGrid:", "calculateMacCainGrid:",
                                  "calculateFvGrid:"}) {
        chooser.queuePath(missing);
        document.performAction(action, nullptr);
    }
    ASSERT_EQ(alerts.alerts().size(), 4);
    for (const char* name : {"grid1.txt", "grid.txt", "grid2.txt", "grid3.txt"})
        EXPECT_TRUE(alerts.messages().join('\n').contains(QLatin1String(name))) << name;
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(AlphaBetaPointFixture, FluidPropertiesPanelIsShownThroughItsPort)
{
    ASSERT_TRUE(document.respondsToAction("showFluidPropertiesPanel:"));
    document.performAction("showFluidPropertiesPanel:", nullptr);
    EXPECT_EQ(panels.calls, QStringList{"showFluidPropertiesPanel"});
}

}  // namespace
