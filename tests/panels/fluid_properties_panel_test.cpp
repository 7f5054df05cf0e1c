// The fluid-properties panel: its unit conversions, the document and marker it reports
// on, and its reports through the alpha-beta plot document.

#include "support/PanelsTestSupport.h"

#include "panels/CFluidPropertiesPanel.h"
#include "panels/NumberField.h"
#include "panels/RecordTable.h"

#include "app/CFluidModelDataDocument.h"
#include "plot/CGraphObject.h"
#include "platform/MainWindowTracker.h"
#include "plot/CPlotView.h"
#include "widgets/CLogWindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <cmath>

namespace quorvel {
namespace {

using namespace test;

TEST(UnitConversionTest, PressuresBetweenEveryPairOfUnits)
{
    // One pressure in each unit, from the definitions: 1 psi = 6894.757 Pa (here 6894.8).
    const double pascal = 250000;
    const double inUnit[] = {0, pascal / 1e5, pascal / 6894.8, pascal, pascal / 1e6};
    const auto unit = panelPressureUnitFromNumber;
    for (int from = code_number(PanelPressureUnit::bar); from <= code_number(PanelPressureUnit::mpa); ++from)
        for (int to = code_number(PanelPressureUnit::bar); to <= code_number(PanelPressureUnit::mpa); ++to)
            EXPECT_NEAR(convertPressure(inUnit[from], unit(from), unit(to)), inUnit[to], 1e-9 * inUnit[to])
                << from << "->" << to;
    EXPECT_NEAR(convertPressure(1000, PanelPressureUnit::psia, PanelPressureUnit::mpa), 6.8948, 1e-12);
    EXPECT_EQ(convertPressure(1, PanelPressureUnit::bar, PanelPressureUnit::bar), 1);
    EXPECT_EQ(convertPressure(5, PanelPressureUnit::bar, unit(7)), 5);
    EXPECT_EQ(convertPressure(5, unit(0), PanelPressureUnit::pa), 5);
}

TEST(UnitConversionTest, TemperaturesBetweenEveryPairOfUnits)
{
    // Water's boiling point in each unit.
    const double inUnit[] = {0, 373.15, 100, 212, 671.67};
    const auto unit = panelTemperatureUnitFromNumber;
    for (int from = code_number(PanelTemperatureUnit::kelvin); from <= code_number(PanelTemperatureUnit::rankine); ++from)
        for (int to = code_number(PanelTemperatureUnit::kelvin); to <= code_number(PanelTemperatureUnit::rankine); ++to)
            EXPECT_NEAR(convertTemperature(inUnit[from], unit(from), unit(to)), inUnit[to], 1e-9) << from << "->" << to;
    EXPECT_NEAR(convertTemperature(32, PanelTemperatureUnit::fahrenheit, PanelTemperatureUnit::celsius), 0, 1e-12);
    EXPECT_NEAR(convertTemperature(0, PanelTemperatureUnit::celsius, PanelTemperatureUnit::kelvin), 273.15, 1e-12);
    EXPECT_EQ(convertTemperature(5, unit(9), PanelTemperatureUnit::kelvin), 5);
}

struct PropertiesFixture : PanelsFixture
{
    CFluidPropertiesPanel* panel = CFluidPropertiesPanel::sharedFluidPropertiesPanel();
    MainWindowTracker& tracker = MainWindowTracker::instance();

    void makeMain(Document* document)
    {
        tracker.windowActivated(windowOf(document));
        panel->updatePanel();
    }
};

TEST(FluidPropertiesPanelTest, ChoosesTheMainAlphaBetaPlotUnlessAFluidModelWindowIsMain)
{
    PropertiesFixture f;
    f.panel->updatePanel();
    EXPECT_EQ(f.panel->fluids().size(), 1);
    EXPECT_EQ(f.panel->fluids().at(0).toString(), "None");

    auto* fluids = f.newDocument<CFluidModelDataDocument>(DocumentTypes::FluidModel, false);
    CAlphaBetaPlotDocument* plot = f.plotDocument();
    f.makeMain(plot);
    EXPECT_EQ(f.panel->alphaBetaDocument(), plot);
    EXPECT_TRUE(f.panel->fluids().isEmpty());

    // A fluid-model document without a window is never main: the plot stays chosen until one
    // is, and also once no fluid-model document is left.
    EXPECT_EQ(f.panel->fluidModelDocument(), nullptr);
    fluids->close();
    settle();
    EXPECT_EQ(f.panel->alphaBetaDocument(), plot);
    EXPECT_EQ(f.panel->fluids().at(0).toString(), "None");
}

// Each report button with the title its report starts with.
struct ReportButton
{
    QPushButton* CFluidPropertiesPanel::Controls::*button;
    const char* title;
};
const ReportButton kReportButtons[] = {
    {&CFluidPropertiesPanel::Controls::logButton, "STP Fluid Properties (alpha-beta model AB 0.300 0.050)"},
    {&CFluidPropertiesPanel::Controls::logButton1, "Bulk fluid properties (fluid AB 0.300 0.050)"},
    {&CFluidPropertiesPanel::Controls::logButton2, "Flash properties (fluid AB 0.300 0.050)"},
};

TEST(FluidPropertiesPanelTest, WithOnlyAnAlphaBetaPlotOpenEveryReportIsWritten)
{
    PropertiesFixture f;
    CAlphaBetaPlotDocument* plot = f.plotDocument();
    plot->setAlphaBetaMarker(0.3, 0.05, 0, 0, 0, 0, std::nullopt);
    f.makeMain(plot);
    f.panel->showWindow();
    const auto& c = f.panel->controls();
    for (NumberField* field : {c.trapTemperature, c.flashTemperature}) {
        field->setText("100");
        field->takeTypedText();
    }
    for (NumberField* field : {c.trapPressure, c.flashPressure}) {
        field->setText("50");
        field->takeTypedText();
    }
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    log->window();  // loads the log's text view
    for (const ReportButton& report : kReportButtons) {
        const qsizetype before = log->textView()->toPlainText().size();
        (c.*report.button)->click();
        const QString written = log->textView()->toPlainText().mid(before);
        EXPECT_TRUE(written.contains(report.title)) << report.title << "\n" << written.toStdString();
    }
    EXPECT_TRUE(f.alerts.messages().isEmpty()) << f.alerts.messages().join('\n').toStdString();
}

TEST(FluidPropertiesPanelTest, WithoutAnAlphaBetaPlotEveryReportSaysWhy)
{
    PropertiesFixture f;
    f.panel->updatePanel();
    ASSERT_EQ(f.panel->alphaBetaDocument(), nullptr);
    const auto& c = f.panel->controls();
    for (const ReportButton& report : kReportButtons)
        (c.*report.button)->click();
    const QString why = "The reports are about a marker of an alpha-beta plot: bring the plot's window to the front "
                        "and select the marker first.";
    EXPECT_EQ(f.alerts.messages(), QStringList({why, why, why}));
}

TEST(FluidPropertiesPanelTest, ReportsAreAboutTheMarkerSelectedInThePlotAndNeedOne)
{
    PropertiesFixture f;
    f.newDocument<CFluidModelDataDocument>(DocumentTypes::FluidModel, false);
    CAlphaBetaPlotDocument* plot = f.plotDocument();
    plot->setAlphaBetaMarker(0.3, 0.05, 0, 0, 0, 0, std::nullopt);
    plot->setAlphaBetaMarker(0.32, 0.06, 0, 0, 0, 0, std::nullopt);
    f.makeMain(plot);
    f.panel->showWindow();
    // The second marker was added last and is the plot's selection.
    EXPECT_EQ(f.panel->alphaBetaIndex(), 1);

    const auto& c = f.panel->controls();
    c.trapTemperature->setText("100");
    c.trapTemperature->takeTypedText();
    c.trapPressure->setText("250");
    c.trapPressure->takeTypedText();
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    c.logButton1->click();
    const QString report = log->textView()->toPlainText();
    EXPECT_TRUE(report.contains("Bulk fluid properties")) << report.toStdString();
    EXPECT_TRUE(report.contains("AB 0.320 0.060")) << report.toStdString();
    EXPECT_TRUE(f.alerts.messages().isEmpty());

    plot->plotView()->setSelectedObject(nullptr);
    EXPECT_EQ(f.panel->alphaBetaIndex(), -1);
    c.logButton2->click();
    EXPECT_EQ(f.alerts.messages(), QStringList{"Select an alpha-beta point in the plot first."});
}

TEST(FluidPropertiesPanelTest, TheInertControlsAreDisabledAndTheFieldsRefuseText)
{
    PropertiesFixture f;
    const auto& c = f.panel->controls();
    for (QComboBox* unit : {c.unitTemperature, c.unitPressure, c.unitTemperature1, c.unitPressure1})
        EXPECT_FALSE(unit->isEnabled());
    for (QPushButton* fromFlash : {c.flashLiquidButton, c.flashVapourButton})
        EXPECT_FALSE(fromFlash->isEnabled());
    c.flashPressure->setText("12");
    c.flashPressure->takeTypedText();
    c.flashPressure->setText("twelve");
    EXPECT_FALSE(c.flashPressure->takeTypedText());
    EXPECT_EQ(c.flashPressure->doubleValue(), 12);
    EXPECT_EQ(f.alerts.messages(), QStringList{"This is not a valid number."});
}

}  // namespace
}  // namespace quorvel
