// The fluids and correlations pages of the alpha-beta panel: the current fluid from the
// fields, a curve or a marker, its stock-tank properties and type, markers added and
// removed, and the correlation lines with their fluids.

#include "support/PanelsTestSupport.h"

#include "panels/CAlphaBetaPanel.h"
#include "panels/NumberField.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"

#include "app/CFluidModelDataDocument.h"
#include "calc/CalculationInterface.h"
#include "editor/FluidModelController.h"
#include "plot/CPlotView.h"
#include "widgets/CLogWindow.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace quorvel {
namespace {

using namespace test;

struct FluidsFixture : PanelsFixture
{
    CAlphaBetaPanel* panel = CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    const CAlphaBetaPanel::Controls& c = panel->controls();
    CAlphaBetaPlotDocument* document = plotDocument();
    FluidsFixture()
    {
        becomeMain(document);
        panel->selectTabViewIndex(AlphaBetaPanelPage::Fluids);
    }
    void type(NumberField* field, const QString& text)
    {
        field->setText(text);
        field->takeTypedText();
    }
    // A curve through (0.2, 0) and (0.6, 0.4), homogenisation pressure 100 to 140 bar, with gases.
    Dictionary addCurve()
    {
        Dictionary inclusion = inclusionRecord("K", 95);
        inclusion.setValue("CO2", 4.0);
        inclusion.setValue("N2", 1.0);
        Dictionary curve = curveRecordOf(inclusion, {{0.2, 0.0, 100}, {0.6, 0.4, 140}});
        document->alphaBetaCurves().append(curve);
        document->plotAlphaBetaCurve(curve);
        panel->updatePanel();
        return curve;
    }
};

TEST(PetroleumTypeTest, BoundariesOfTheFluidTypes)
{
    struct Case
    {
        double GOR, API, C7plus, CH4, gases;
        const char* type;
    };
    const Case cases[] = {
        {100, 15, 30, 30, 0, "Heavy black oil"},   {100, 20, 30, 30, 0, "Black oil"},
        {100, 44.9, 20.1, 30, 0, "Black oil"},     {100, 45, 25, 30, 0, "Volatile oil"},
        {100, 30, 20, 30, 0, "Volatile oil"},      {100, 30, 12.6, 30, 0, "Volatile oil"},
        {100, 30, 12.5, 30, 0, "Gas condensate"},  {10000, 60, 5, 70, 0, "Gas condensate"},
        {10001, 60, 5, 70, 0, "Wet gas"},          {0, 0, 1, 90, 5, "Wet gas"},
        {0, 0, 1, 90, 5.5, "Dry gas"},             {-1, 0, 30, 10, 0, "Wet gas"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(petroleumTypeText(c.GOR, c.API, c.C7plus, c.CH4, c.gases, 0, 0), c.type)
            << c.GOR << " " << c.API << " " << c.C7plus;
}

TEST(AlphaBetaFluidsPageTest, AlphaZeroIsNotComputed)
{
    FluidsFixture f;
    f.type(f.c.alphaField, "0");
    for (QLabel* field : {f.c.gorField, f.c.apiField, f.c.ch4Field, f.c.c7plusField})
        EXPECT_EQ(field->text(), "0.00");
    EXPECT_EQ(f.c.petroleumLabel->text(), "Petroleum type: undetermined");
}

// One alpha-beta fluid whose tank oil lies between the two published branches of the
// translation: the fluids page, the point's stock-tank report and the fluid model editor
// give it one translated API gravity, the bridged one, not the untranslated value.
TEST(AlphaBetaFluidsPageTest, TranslatedApiIsOneValueOnThePageInTheReportAndInTheEditor)
{
    installFluidModelEditor();
    FluidsFixture f;
    for (NumberField* gas : {f.c.co2Field, f.c.n2Field, f.c.h2sField})
        f.type(gas, "0");
    f.type(f.c.alphaField, "0.8663");
    f.type(f.c.betaField, "0.2326");
    bool isNumber = false;
    const double page = f.c.apiField->text().toDouble(&isNumber);
    ASSERT_TRUE(isNumber) << f.c.apiField->text().toStdString();

    f.document->setAlphaBetaMarker(0.8663, 0.2326, 0, 0, 0, 0, std::nullopt);
    CLogWindow* log = CLogWindow::sharedLogWindowCtroller();
    const qsizetype start = log->text().plainText().size();
    f.document->writeToLog(int(f.document->alphaBetaPoints().size()) - 1);
    const QString report = log->text().plainText().mid(start);
    const auto line = [&report](const char* label) {
        const QRegularExpressionMatch match =
            QRegularExpression(QString::fromLatin1(label) + QStringLiteral(R"(\s*:\s*(-?[0-9.]+)°)")).match(report);
        return match.hasMatch() ? match.captured(1).toDouble() : std::nan("");
    };
    const double reported = line("API degree, translated PR EOS");
    const double untranslated = line("API degree, non translated PR EOS");

    f.document->generateFluidModel(0.8663, 0.2326, 0, 0, 0);
    settle();
    CFluidModelDataDocument* fluids = nullptr;
    for (Document* document : f.controller->documents())
        if (auto* candidate = dynamic_cast<CFluidModelDataDocument*>(document))
            fluids = candidate;
    ASSERT_NE(fluids, nullptr);
    ASSERT_EQ(fluids->fluids().size(), 1);
    const double editor = fluids->fluids().at(0).toDictionary().doubleValue("API3");
    auto* controller = dynamic_cast<FluidModelController*>(fluids->windowControllers().front().get());
    ASSERT_NE(controller, nullptr);

    EXPECT_NEAR(reported, page, 0.005 + 1e-9);
    EXPECT_NEAR(editor, page, 0.00005 + 1e-9);
    EXPECT_EQ(controller->control<QLineEdit>("mAPCEditField")->text(), QString::asprintf("%.2f", editor));
    // A correction of a few degrees, not the 40-point leap of the bare branches.
    EXPECT_LT(std::fabs(page - untranslated), 10) << page << " " << untranslated;
}

TEST(AlphaBetaFluidsPageTest, StockTankPropertiesAreThoseOfTheInterfaceForTheGasesAsFractions)
{
    FluidsFixture f;
    // The panel is shared: gases typed by an earlier test stay in its fields.
    f.type(f.c.n2Field, "0");
    f.type(f.c.h2sField, "0");
    f.type(f.c.co2Field, "5");
    f.type(f.c.alphaField, "0.3");
    f.type(f.c.betaField, "0.05");
    // The same fluid through an interface of its own, the gases given as fractions.
    CalculationInterface reference(FluidType::alphaBeta, EquationOfState::pengRobinson);
    reference.setAlpha(0.3);
    reference.setBeta(0.05);
    reference.setCO2(0.05);
    reference.finalize();
    reference.calculateGOR();
    ASSERT_GT(reference.getGOR()[3], 0);
    EXPECT_EQ(f.c.gorField->text(), QString::asprintf("%.4f", reference.getGOR()[3]));
    EXPECT_EQ(f.c.apiField->text(), QString::asprintf("%.4f", reference.getAPI()[3]));
    EXPECT_EQ(f.c.c7plusField->text(), QString::asprintf("%.2f", reference.getC7plus()));
    EXPECT_EQ(f.c.petroleumLabel->text(),
              petroleumTypeText(reference.getGOR()[3], reference.getAPI()[3], reference.getC7plus(),
                                reference.getCH4(), 5, 0, 0));
    EXPECT_TRUE(f.c.logButton->isEnabled());
    EXPECT_EQ(f.document->plotView()->selectedPointX(), 0.3f);
    EXPECT_EQ(f.document->plotView()->selectedPointY(), 0.05f);
}

TEST(AlphaBetaFluidsPageTest, OnACurveTheMarkerCarriesTheCurvesGasesAndPressure)
{
    FluidsFixture f;
    const Dictionary curve = f.addCurve();
    f.type(f.c.co2Field, "9");  // typed before taking the curve
    f.type(f.c.alphaField, "0.4");
    f.c.curvesView->selectRowAndScroll(0);
    f.c.isOnCurveCheckBox->click();
    EXPECT_EQ(f.c.betaField->text(), "0.2000");
    EXPECT_EQ(f.c.phField->text(), "120.00");
    EXPECT_EQ(f.c.co2Field->text(), "4.00");
    EXPECT_TRUE(f.c.co2Field->isReadOnly());

    f.c.newFluidButton->click();
    ASSERT_EQ(f.document->alphaBetaPoints().size(), 1);
    const Dictionary marker = f.document->alphaBetaPoints().at(0).toDictionary();
    EXPECT_DOUBLE_EQ(marker.doubleValue("beta"), 0.2);
    EXPECT_DOUBLE_EQ(marker.doubleValue("CO2"), 4);
    EXPECT_DOUBLE_EQ(marker.doubleValue("N2"), 1);
    EXPECT_DOUBLE_EQ(marker.doubleValue("Ph"), 120);
    EXPECT_EQ(marker.value("curve").identity(), curve.identity());
    // The new marker is shown selected, read-only.
    EXPECT_EQ(f.c.pointsView->selectedRow(), 1);
    EXPECT_TRUE(f.c.alphaField->isReadOnly());
    EXPECT_TRUE(f.c.deleteFluidButton->isEnabled());

    // Beta typed on the curve gives alpha with two decimals.
    f.c.pointsView->selectRowAndScroll(0);
    f.c.isOnCurveCheckBox->setChecked(true);
    f.type(f.c.betaField, "0.1");
    EXPECT_EQ(f.c.alphaField->text(), "0.30");
    EXPECT_EQ(f.c.phField->text(), "110.00");
}

TEST(AlphaBetaFluidsPageTest, AlphaOutsideTheCurveLeavesTheCurveAndKeepsBeta)
{
    FluidsFixture f;
    f.addCurve();
    f.type(f.c.alphaField, "0.5");
    f.c.curvesView->selectRowAndScroll(0);
    f.c.isOnCurveCheckBox->click();
    ASSERT_EQ(f.c.betaField->text(), "0.3000");
    f.type(f.c.alphaField, "0.9");
    EXPECT_FALSE(f.c.isOnCurveCheckBox->isChecked());
    EXPECT_NEAR(f.panel->beta(), 0.3, 1e-12);
    EXPECT_EQ(f.c.phField->text(), "");
}

TEST(AlphaBetaFluidsPageTest, MarkersAddedOffTheCurveRemovedByButtonAndDeleteKeyAndGeneratedAsFractions)
{
    FluidsFixture f;
    f.type(f.c.alphaField, "0.35");
    f.type(f.c.betaField, "0.08");
    f.type(f.c.co2Field, "5");
    f.c.newFluidButton->click();
    ASSERT_EQ(f.document->alphaBetaPoints().size(), 1);
    Dictionary marker = f.document->alphaBetaPoints().at(0).toDictionary();
    EXPECT_DOUBLE_EQ(marker.doubleValue("CO2"), 5);
    EXPECT_DOUBLE_EQ(marker.doubleValue("Ph"), 0);
    EXPECT_FALSE(marker.contains("curve"));

    f.c.pointsView->selectRowAndScroll(0);
    f.type(f.c.co2Field, "5");
    f.c.generateButton->click();
    CFluidModelDataDocument* fluids = nullptr;
    for (Document* document : f.controller->documents())
        if (auto* fluidModel = dynamic_cast<CFluidModelDataDocument*>(document))
            fluids = fluidModel;
    ASSERT_NE(fluids, nullptr);
    const Dictionary generated = fluids->fluids().at(fluids->fluids().size() - 1).toDictionary();
    EXPECT_TRUE(generated.stringValue("comment").contains("CO2=0.0500")) << generated.stringValue("comment").toStdString();

    f.c.pointsView->selectRowAndScroll(1);
    f.c.deleteFluidButton->click();
    EXPECT_TRUE(f.document->alphaBetaPoints().isEmpty());
    f.document->setAlphaBetaMarker(0.2, 0.1, 0, 0, 0, 0, std::nullopt);
    f.c.pointsView->selectRowAndScroll(1);
    f.panel->tableViewDeleteSelectedRow(f.c.pointsView);
    EXPECT_TRUE(f.document->alphaBetaPoints().isEmpty());
    f.document->setAlphaBetaMarker(0.2, 0.1, 0, 0, 0, 0, std::nullopt);
    f.panel->tableViewDeleteSelectedRow(f.c.curvesView);
    EXPECT_EQ(f.document->alphaBetaPoints().size(), 1);
}

TEST(AlphaBetaFluidsPageTest, ClickingEmptyPlotSpaceShowsANewFluidThere)
{
    FluidsFixture f;
    CPlotView* view = f.document->plotView();
    view->setSelectedObject(nullptr);
    view->setSelectedPoint(0.25f, 0.125f);
    NotificationCenter::defaultCenter().postNotification(AlphaBetaPlotSelection, view);
    EXPECT_EQ(f.c.pointsView->selectedRow(), 0);
    EXPECT_EQ(f.c.alphaField->text(), "0.2500");
    EXPECT_EQ(f.c.betaField->text(), "0.1250");
    EXPECT_EQ(f.c.co2Field->text(), "0.00");
    EXPECT_FALSE(f.c.alphaField->isReadOnly());
}

struct CorrelationsFixture : FluidsFixture
{
    CorrelationsFixture() { panel->selectTabViewIndex(AlphaBetaPanelPage::Correlations); }
    Dictionary addCorrelation(const QString& name, int fluids)
    {
        Array data;
        for (int i = 0; i < fluids; ++i)
            data.append(Dictionary{{"name", QStringLiteral("%1-%2").arg(name).arg(i)}, {"alpha", 0.1 * i}});
        Dictionary correlation{{"name", name}, {"data", data}};
        document->alphaBetaCorrelations().append(correlation);
        panel->updatePanel();
        return correlation;
    }
};

TEST(AlphaBetaCorrelationsPageTest, TheFluidsTableShowsTheSelectedCorrelationsFluidsOnly)
{
    CorrelationsFixture f;
    f.addCorrelation("three", 3);
    f.addCorrelation("one", 1);
    EXPECT_EQ(f.c.correlationsView1->numberOfRows(), 0);
    EXPECT_FALSE(f.c.removeCorrelationButton->isEnabled());

    f.c.correlationsView->selectRowAndScroll(0);
    EXPECT_EQ(f.c.correlationsView1->numberOfRows(), 3);
    EXPECT_TRUE(f.c.removeCorrelationButton->isEnabled());
    EXPECT_TRUE(f.c.showCorrelation->isEnabled());

    f.c.correlationsView->selectRowAndScroll(1);
    ASSERT_EQ(f.c.correlationsView1->numberOfRows(), 1);
    const QAbstractItemModel* model = f.c.correlationsView1->model();
    EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString(), "one-0");
    EXPECT_FALSE(model->data(model->index(2, 0), Qt::DisplayRole).isValid());

    f.c.removeCorrelationButton->click();
    EXPECT_EQ(f.document->alphaBetaCorrelations().size(), 1);
    EXPECT_EQ(f.c.correlationsView->numberOfRows(), 1);
    EXPECT_EQ(f.c.correlationsView1->numberOfRows(), f.c.correlationsView->selectedRow() < 0 ? 0 : 3);
}

TEST(AlphaBetaCorrelationsPageTest, ReferenceCurveBoxesShowAndHideTheFamiliesAndFollowTheDocument)
{
    CorrelationsFixture f;
    f.c.showIsoGORCheckBox->click();
    EXPECT_TRUE(f.document->areIsoGORCurvesVisible());
    f.c.showMcCainCheckBox->click();
    EXPECT_TRUE(f.document->areMcCainCurvesVisible());
    f.c.showIsoGORCheckBox->click();
    EXPECT_FALSE(f.document->areIsoGORCurvesVisible());
    f.document->showIsoAPICurves(true);
    f.panel->updatePanel();
    EXPECT_TRUE(f.c.showIsoAPICheckBox->isChecked());
    EXPECT_TRUE(f.c.showMcCainCheckBox->isChecked());
    EXPECT_FALSE(f.c.showIsoGORCheckBox->isChecked());
}

// The stock-tank values of an alpha-beta fluid through an interface of its own, gases as fractions.
double referenceGOR(double alpha, double beta, double CO2Fraction)
{
    CalculationInterface reference(FluidType::alphaBeta, EquationOfState::pengRobinson);
    reference.setAlpha(alpha);
    reference.setBeta(beta);
    reference.setCO2(CO2Fraction);
    reference.finalize();
    reference.calculateGOR();
    return reference.getGOR()[3];
}

TEST(AlphaBetaFluidsPageTest, AGasTypedAfterTheAttachedPlotWasClosedAndAnotherOpenedIsKept)
{
    FluidsFixture f;
    f.type(f.c.n2Field, "1");
    f.type(f.c.alphaField, "0.5");
    f.type(f.c.betaField, "0.1");
    ASSERT_NE(f.c.gorField->text(), "0.00");
    f.windowOf(f.document)->close();
    settle();
    ASSERT_EQ(f.panel->attachedDocument(), nullptr);

    // The closed document's fluid and stock-tank values are gone: a new fluid of zeros.
    CAlphaBetaPlotDocument* second = f.plotDocument();
    f.becomeMain(second);
    ASSERT_EQ(f.panel->attachedDocument(), second);
    f.type(f.c.co2Field, "5");
    EXPECT_EQ(f.c.co2Field->text(), "5.00");
    EXPECT_EQ(f.c.n2Field->text(), "0.00");
    EXPECT_EQ(f.c.alphaField->text(), "0.0000");
    EXPECT_EQ(f.c.gorField->text(), "0.00");

    f.type(f.c.alphaField, "0.3");
    f.type(f.c.betaField, "0.05");
    EXPECT_EQ(f.c.co2Field->text(), "5.00");
    EXPECT_EQ(f.c.gorField->text(), QString::asprintf("%.4f", referenceGOR(0.3, 0.05, 0.05)));
}

}  // namespace
}  // namespace quorvel
