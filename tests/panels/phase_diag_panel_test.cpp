// The phase-diagram panel: following the main window, page refresh, the alpha-beta field
// checks, the summary tree, the fluid lists, the isochores, trapping and volumes pages, the
// plot selection on every page, and no dangling choice once a record or document goes.

#include "panels/support/PhaseDiagPanelSupport.h"

#include "panels/PhaseDiagOutlineModel.h"
#include "plot/CGraphCurve.h"
#include "plot/CGraphPoint.h"
#include "plot/CGraphPointCurve.h"
#include "widgets/ValueStepper.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <typeinfo>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct PhaseDiagPanel : ::testing::Test, PanelFixture
{
    ScriptedCalculatorInstalled calculator;
};

QStringList listTexts(const QTableView* view, int column = 0)
{
    QStringList texts;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        texts << cell(view, row, column);
    return texts;
}

// ---- Following the main window ----

TEST_F(PhaseDiagPanel, AttachesToAPhaseDiagramWindowBesideItAndKeepsItForOtherWindows)
{
    CPhaseDiagDocument* first = phaseDiagDocument();
    CPhaseDiagDocument* second = phaseDiagDocument();
    auto* inclusions = shownDocumentOfType<CInclusionDataDocument>(DocumentTypes::InclusionData);
    windowOf(*second)->setGeometry(0, 40, 270, 400);  // room on its right for the panel on the offscreen screen
    PostedNotifications posted({PTPlotSelection});

    makeMain(*first);
    EXPECT_EQ(panel.document(), first);
    EXPECT_EQ(panel.plotView(), first->plotView());
    EXPECT_EQ(posted.count(PTPlotSelection), 1);

    // The attached window again: a refresh only.
    const QPoint placed = panel.window()->pos();
    makeMain(*first);
    EXPECT_EQ(posted.count(PTPlotSelection), 1);
    EXPECT_EQ(panel.window()->pos(), placed);

    // Another kind of window keeps the attachment.
    makeMain(*inclusions);
    EXPECT_EQ(panel.document(), first);

    // A second diagram window: attached, the panel's left edge on its right edge, tops level.
    makeMain(*second);
    EXPECT_EQ(panel.document(), second);
    EXPECT_EQ(posted.count(PTPlotSelection), 2);
    const QRect main = windowOf(*second)->frameGeometry();
    EXPECT_EQ(panel.window()->frameGeometry().left(), main.right() + 1);
    EXPECT_EQ(panel.window()->frameGeometry().top(), main.top());

    // Closing a window that is not the attached one changes nothing; the attached one detaches.
    NotificationCenter::defaultCenter().postNotification(WindowWillCloseNotification, windowOf(*first));
    EXPECT_EQ(panel.document(), second);
    showPage(CPhaseDiagPanel::kIsochorsPage);
    NotificationCenter::defaultCenter().postNotification(WindowWillCloseNotification, windowOf(*second));
    EXPECT_EQ(panel.document(), nullptr);
    EXPECT_EQ(panel.plotView(), nullptr);
    EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled());
    EXPECT_FALSE(isochorsUi.mThEdit->isEnabled());
    EXPECT_EQ(listTexts(isochorsUi.mInclusionsView), QStringList{PhaseDiagIsochorsPage::kNoPhaseDiagram});
}

TEST_F(PhaseDiagPanel, PagesAreDisabledWithoutADocumentAndPageChangesThenPostNothing)
{
    PostedNotifications posted({PTPlotSelection});
    // Loading the window refreshes nothing: each page is refreshed as it comes to the front.
    for (const QString& page : {CPhaseDiagPanel::kIsochorsPage, CPhaseDiagPanel::kVolumesPage,
                                CPhaseDiagPanel::kTrappingPage, CPhaseDiagPanel::kAqueousPage,
                                CPhaseDiagPanel::kSummaryPage, CPhaseDiagPanel::kIsoplethsPage})
        showPage(page);
    EXPECT_EQ(posted.count(PTPlotSelection), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{
             isoplethsUi.mIsoplethsView, isoplethsUi.mAlphaEdit, isoplethsUi.mIsoplethCalcButton,
             volumesUi.mIsochorsView2, trappingUi.mTrappingsView, trappingUi.mSetTrappingButton,
             aqueousUi.mAqueousCalcButton, summaryUi.mPhaseDiagView, summaryUi.mDeleteButton})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();

    // With a document each page change posts once, so the page takes up the plot's selection.
    attachedDocumentWithIsochores();
    const int before = posted.count(PTPlotSelection);
    panel.selectTabViewIndex(PhaseDiagPanelPage::Isochors);
    EXPECT_EQ(posted.count(PTPlotSelection), before + 1);
    EXPECT_TRUE(isochorsUi.mIsochorsView->isEnabled());
    EXPECT_EQ(panel.getSelectedPage(), PhaseDiagPanelPage::Isochors);
    EXPECT_EQ(panel.selectedPageIdentifier(), CPhaseDiagPanel::kIsochorsPage);
}


// ---- The alpha-beta fields ----

TEST_F(PhaseDiagPanel, AlphaBetaFieldsRefuseOutOfRangeAndNonNumbersKeepingThePreviousValue)
{
    attachedDocumentWithIsochores();
    showPage(CPhaseDiagPanel::kIsoplethsPage);
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 0);  // a typed fluid: editable fields at 0
    struct Case
    {
        QLineEdit* field;
        QString typed;
        bool accepted;
        QString alert;
    };
    const QString alphaAlert = "This is not a valid number for the alpha parameter (which must be between 0 and 1).";
    const QString betaAlert = "This is not a valid number for the beta parameter (which must be between 0 and 1).";
    const QString co2Alert = "This is not a valid number for a CO2 mole percent.";
    const Case cases[] = {
        {isoplethsUi.mAlphaEdit, "0.35", true, ""},      {isoplethsUi.mAlphaEdit, "1.5", false, alphaAlert},
        {isoplethsUi.mAlphaEdit, "abc", false, alphaAlert}, {isoplethsUi.mAlphaEdit, "1", true, ""},
        {isoplethsUi.mBetaEdit, "-0.1", false, betaAlert},  {isoplethsUi.mBetaEdit, "0", true, ""},
        {isoplethsUi.mCO2Edit, "100", true, ""},          {isoplethsUi.mCO2Edit, "101", false, co2Alert},
        {isoplethsUi.mN2Edit, "-1", false, "This is not a valid number for a N2 mole percent."},
        {isoplethsUi.mH2SEdit, "100.5", false, "This is not a valid number for a H2S mole percent."},
    };
    for (const Case& c : cases) {
        const QString before = c.field->text();
        alerts.clear();
        c.field->setText(c.typed);
        EXPECT_EQ(isopleths.textShouldEndEditing(c.field), c.accepted) << c.typed.toStdString();
        if (c.accepted) {
            EXPECT_TRUE(alerts.alerts().isEmpty());
            EXPECT_EQ(c.field->text(), c.typed);
        } else {
            EXPECT_EQ(alerts.messages(), QStringList{c.alert});
            EXPECT_EQ(c.field->text(), before) << c.typed.toStdString();
        }
    }
    // Any other control is not checked.
    isochorsUi.mThEdit->setText("5000");
    EXPECT_TRUE(isopleths.textShouldEndEditing(isochorsUi.mThEdit));
}

// ---- The summary tree and highlighting ----

TEST_F(PhaseDiagPanel, SummaryTreeShowsDocumentDiagramsIsochoresAndTrappingLines)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    const PhaseDiagramPtr first = envelopeOf(alphaBetaFluid("Fluid A"));
    const PhaseDiagramPtr second = envelopeOf(alphaBetaFluid("Fluid B", 0.6));
    addIsochorPair(first, 80, 140, kToLiquid, "Q-80");
    const auto [twoPhase, onePhase] = addIsochorPair(first, 120, 190, kToLiquid, "Q-120");
    document->phaseDiagrams() = {first, second};
    document->plotData();
    document->addTrappingLineTo(onePhase, 170);
    makeMain(*document);
    showPage(CPhaseDiagPanel::kSummaryPage);
    QTreeView* tree = summaryUi.mPhaseDiagView;
    QAbstractItemModel* model = tree->model();
    tree->expandAll();

    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(root.data().toString(), QString());  // untitled
    EXPECT_EQ(model->index(0, 1).data().toString(), "Phase Diagram");
    ASSERT_EQ(model->rowCount(root), 2);
    const QModelIndex firstNode = model->index(0, 0, root);
    EXPECT_EQ(firstNode.data().toString(), "Fluid A");
    EXPECT_EQ(model->index(0, 1, root).data().toString(), "Isopleth");
    EXPECT_TRUE(model->hasChildren(firstNode));
    EXPECT_FALSE(model->hasChildren(model->index(1, 0, root)));
    ASSERT_EQ(model->rowCount(firstNode), 2);
    const QModelIndex isochorNode = model->index(1, 0, firstNode);
    EXPECT_EQ(model->index(1, 1, firstNode).data().toString(), "Isochor");
    ASSERT_EQ(model->rowCount(isochorNode), 1);
    EXPECT_EQ(model->index(0, 0, isochorNode).data().toString(), "Q-120");
    EXPECT_EQ(model->index(0, 1, isochorNode).data().toString(), "Trap line");
    EXPECT_FALSE(model->hasChildren(model->index(0, 0, isochorNode)));

    // Choosing the isochore highlights its two parts and nothing else.
    tree->selectionModel()->setCurrentIndex(isochorNode, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    CPlotView* view = document->plotView();
    int hilited = 0;
    for (const GraphObjectPtr& object : view->graphObjects())
        hilited += object->isHilited();
    EXPECT_EQ(hilited, 2);
    EXPECT_TRUE(onePhase->graphCurve()->isHilited());
    EXPECT_TRUE(twoPhase->graphCurve()->isHilited());
    EXPECT_EQ(view->selectedObject(), onePhase->graphCurve().get());
    EXPECT_TRUE(summaryUi.mDeleteButton->isEnabled());

    // Removing it takes its twin and trapping line along; nothing chosen is left behind.
    summary.tableViewDeleteSelectedRow(summaryUi.mPhaseDiagView);
    EXPECT_EQ(first->monophasicIsochors().size(), 1u);
    EXPECT_EQ(first->biphasicIsochors().size(), 1u);
    EXPECT_EQ(view->selectedObject(), nullptr);
    EXPECT_TRUE(tree->selectionModel()->selectedRows().isEmpty());
    summary.onRemovePhaseDiagramElement();
    EXPECT_FALSE(summaryUi.mDeleteButton->isEnabled());
    EXPECT_EQ(first->monophasicIsochors().size(), 1u);

    // The document's node removes nothing.
    tree->selectionModel()->setCurrentIndex(model->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_FALSE(summaryUi.mDeleteButton->isEnabled());
    summary.onRemovePhaseDiagramElement();
    EXPECT_EQ(document->phaseDiagrams().size(), 2u);
    EXPECT_EQ(first->monophasicIsochors().size(), 1u);
}


// ---- The isopleths page ----

TEST_F(PhaseDiagPanel, FluidListsOfferOpenFluidsExceptThoseWithAnEnvelope)
{
    auto* plot = listedDocument<CAlphaBetaPlotDocument>(DocumentTypes::AlphaBetaPlot);
    auto* fluids = listedDocument<CFluidModelDataDocument>(DocumentTypes::FluidModel);
    // A marker keeps its gases in percent: 2 % CO2 is the fluid typed with 0.02.
    Dictionary marker = newAlphaBetaPoint(0.4, 0.3, 2, 0, 0);
    plot->alphaBetaPoints().append(marker);
    Dictionary typeOne = alphaBetaFluid("AB one", 0.7, 0.1);
    Dictionary near = alphaBetaFluid("AB near", 0.7009, 0.1);
    Dictionary apart = alphaBetaFluid("AB apart", 0.701, 0.1);
    Dictionary withGas = alphaBetaFluid("AB gas", 0.3, 0.6, 0.1);  // fractions, as fluid-model files hold them
    Dictionary typeTwo{{"name", "Oil 2"}, {"fluidType", 2}};
    Dictionary typeThree{{"name", "Gamma"}, {"fluidType", 3}};
    Dictionary typeFour{{"name", "Expanded"}, {"fluidType", 4}};
    for (const Dictionary& fluid : {typeOne, near, apart, withGas, typeTwo, typeThree, typeFour})
        fluids->fluids().append(fluid);

    // Without a document: everything, disabled.
    showPage(CPhaseDiagPanel::kSummaryPage);
    showPage(CPhaseDiagPanel::kIsoplethsPage);
    EXPECT_EQ(listTexts(isoplethsUi.mAlphaBetaModelsView),
              (QStringList{"New alpha-beta fluid", marker.stringValue("name"), "AB one", "AB near", "AB apart", "AB gas"}));
    EXPECT_FALSE(isoplethsUi.mAlphaBetaModelsView->isEnabled());
    isoplethsUi.mModelTabView->setCurrentIndex(PhaseDiagIsoplethsPage::kComponentFluidsTab);
    EXPECT_EQ(listTexts(isoplethsUi.mFluidModelsView), (QStringList{"Oil 2", "Expanded"}));
    EXPECT_FALSE(isoplethsUi.mFluidModelsView->isEnabled());
    isoplethsUi.mModelTabView->setCurrentIndex(PhaseDiagIsoplethsPage::kAlphaBetaFluidsTab);

    CPhaseDiagDocument* document = phaseDiagDocument();
    makeMain(*document);
    EXPECT_TRUE(isoplethsUi.mAlphaBetaModelsView->isEnabled());

    // A fluid-model alpha-beta fluid holds fractions: 0.1 CO2 shows as 10 percent.
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 5);
    EXPECT_EQ(isoplethsUi.mCO2Edit->text(), "10.00");
    EXPECT_EQ(isoplethsUi.mN2Edit->text(), "0.00");

    // The marker's envelope is computed from fractions.
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 1);
    EXPECT_EQ(isoplethsUi.mCO2Edit->text(), "2.00");  // percent, as the marker holds it
    isopleths.onCalculateIsopleth();
    ASSERT_EQ(calculator.script.envelopes.size(), 1);
    EXPECT_DOUBLE_EQ(calculator.script.envelopes[0].fluid.doubleValue("CO2"), 0.02);
    EXPECT_EQ(marker.doubleValue("CO2"), 2);  // the marker itself is unchanged

    // A typed fluid of the same composition is the same fluid; the marker is left out.
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 1);
    EXPECT_EQ(listTexts(isoplethsUi.mAlphaBetaModelsView), (QStringList{"New alpha-beta fluid", "AB one", "AB near", "AB apart", "AB gas"}));

    // Fluids within 0.001 of a computed one go; exactly 0.001 apart stays.
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 1);
    isopleths.onCalculateIsopleth();
    EXPECT_EQ(listTexts(isoplethsUi.mAlphaBetaModelsView), (QStringList{"New alpha-beta fluid", "AB apart", "AB gas"}));

    // Component-list fluids: type 2 goes once computed, type 4 stays.
    isoplethsUi.mModelTabView->setCurrentIndex(PhaseDiagIsoplethsPage::kComponentFluidsTab);
    EXPECT_TRUE(isoplethsUi.mFluidModelsView->isEnabled());
    for (int computed = 0; computed < 2; ++computed) {
        isoplethsUi.mFluidModelsView->clearSelection();
        selectListRow(isoplethsUi.mFluidModelsView, 0);
        isopleths.onCalculateIsopleth();
    }
    EXPECT_EQ(listTexts(isoplethsUi.mFluidModelsView), (QStringList{"Expanded"}));
    EXPECT_EQ(document->phaseDiagrams().size(), 4u);
    EXPECT_EQ(listTexts(isoplethsUi.mIsoplethsView).size(), 4);
}

TEST_F(PhaseDiagPanel, TypedFluidAndTheStatesOfTheIsoplethsPage)
{
    CPhaseDiagDocument* document = phaseDiagDocument();
    makeMain(*document);
    showPage(CPhaseDiagPanel::kIsoplethsPage);
    isoplethsUi.mAlphaBetaModelsView->clearSelection();
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 0);
    EXPECT_FALSE(isoplethsUi.mAlphaEdit->isReadOnly());
    EXPECT_EQ(isoplethsUi.mAlphaEdit->text(), "0.00");
    EXPECT_TRUE(isoplethsUi.mIsoplethCalcButton->isEnabled());
    EXPECT_FALSE(isoplethsUi.mIsoplethDeleteButton->isEnabled());
    isoplethsUi.mAlphaEdit->setText("0.45");
    isoplethsUi.mBetaEdit->setText("0.25");
    isoplethsUi.mCO2Edit->setText("5");
    isoplethsUi.mN2Edit->setText("2");
    isoplethsUi.mH2SEdit->setText("1");
    isopleths.onCalculateIsopleth();
    ASSERT_EQ(calculator.script.envelopes.size(), 1);
    const Dictionary typed = calculator.script.envelopes[0].fluid;
    EXPECT_DOUBLE_EQ(typed.doubleValue("alpha"), 0.45);
    EXPECT_DOUBLE_EQ(typed.doubleValue("CO2"), 0.05);
    EXPECT_DOUBLE_EQ(typed.doubleValue("N2"), 0.02);
    EXPECT_DOUBLE_EQ(typed.doubleValue("H2S"), 0.01);
    EXPECT_EQ(typed.intValue("fluidType"), 1);
    EXPECT_EQ(typed.stringValue("name"), "AB 0.450 0.250 5.0 2.0 1.0");  // named from percents, as markers are

    // Choosing the envelope shows its fluid read-only and allows its deletion only.
    selectListRow(isoplethsUi.mIsoplethsView, 0);
    EXPECT_TRUE(isoplethsUi.mAlphaEdit->isReadOnly());
    EXPECT_EQ(isoplethsUi.mAlphaEdit->text(), "0.45");
    const QStringList gasTexts{isoplethsUi.mCO2Edit->text(), isoplethsUi.mN2Edit->text(), isoplethsUi.mH2SEdit->text()};
    EXPECT_EQ(gasTexts, (QStringList{"5.00", "2.00", "1.00"}));  // percent, though the envelope holds fractions
    EXPECT_FALSE(isoplethsUi.mIsoplethCalcButton->isEnabled());
    EXPECT_TRUE(isoplethsUi.mIsoplethDeleteButton->isEnabled());
    EXPECT_TRUE(document->phaseDiagrams().front()->liquidIsopleth()->graphCurve()->isHilited());
    EXPECT_EQ(selectedRow(isoplethsUi.mAlphaBetaModelsView), -1);

    // The Delete key removes the chosen envelope.
    selectListRow(isoplethsUi.mIsoplethsView, 0);
    isopleths.tableViewDeleteSelectedRow(isoplethsUi.mIsoplethsView);
    EXPECT_TRUE(document->phaseDiagrams().empty());
}


// ---- The isochores page ----

TEST_F(PhaseDiagPanel, InclusionListAndTheTwoInputModes)
{
    auto* data = listedDocument<CInclusionDataDocument>(DocumentTypes::InclusionData);
    for (const auto& [name, type, homog] : {std::tuple{"FI-1", "Oil", "liquid"}, std::tuple{"FI-2", "Gas", "liquid"},
                                            std::tuple{"FI-3", "Aq.", "liquid"}, std::tuple{"FI-4", "Oil", "gas"}})
        data->getInclusions().append(Dictionary{{"name", name}, {"type0", type}, {"homog", homog}, {"Th", 95.5}});
    showPage(CPhaseDiagPanel::kIsochorsPage);
    EXPECT_EQ(listTexts(isochorsUi.mInclusionsView), QStringList{PhaseDiagIsochorsPage::kNoPhaseDiagram});
    EXPECT_FALSE(isochorsUi.mInclusionsView->isEnabled());

    CPhaseDiagDocument* document = attachedDocumentWithIsochores();
    EXPECT_EQ(listTexts(isochorsUi.mInclusionsView), (QStringList{"New inclusion", "FI-1", "FI-4"}));

    // A diagram whose fluid came from an inclusion's curve lists that inclusion second.
    document->phaseDiagrams().front()->setThermoModel(
        [] { Dictionary f = alphaBetaFluid("Fluid A"); f.setValue("inclusion", Dictionary{{"name", "FI-0"}}); return f; }());
    selectListRow(isochorsUi.mIsoplethsView1, 0);
    EXPECT_EQ(listTexts(isochorsUi.mInclusionsView), (QStringList{"New inclusion", "FI-0", "FI-1", "FI-4"}));
    EXPECT_EQ(isochorsUi.mAPIEdit->text(), "35.50");
    EXPECT_EQ(isochorsUi.mGOREdit->text(), "120.25");
    // With isochores, the first one is chosen and shown.
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), 0);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "120.00");
    EXPECT_EQ(isochorsUi.mPhEdit->text(), "190.00");
    EXPECT_EQ(isochorsUi.mDensityEdit->text(), "0.62");

    selectListRow(isochorsUi.mInclusionsView, 0);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "100.00");
    EXPECT_FALSE(isochorsUi.mThEdit->isReadOnly());
    EXPECT_TRUE(isochorsUi.mLiquidRadio->isChecked());
    EXPECT_FALSE(isochorsUi.mGasRadio->isChecked());
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());

    selectListRow(isochorsUi.mInclusionsView, 3);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "95.5");
    EXPECT_TRUE(isochorsUi.mThEdit->isReadOnly());
    EXPECT_FALSE(isochorsUi.mLiquidRadio->isChecked());
    EXPECT_TRUE(isochorsUi.mGasRadio->isChecked());
    EXPECT_FALSE(isochorsUi.mLiquidRadio->isEnabled());

    // Calculate passes the inclusion, the Th shown and the selection point's pressure.
    document->plotView()->setSelectedPointY(175);
    isochors.onCalculateIsochor();
    ASSERT_EQ(calculator.script.isochores.size(), 1);
    EXPECT_EQ(calculator.script.isochores[0].inclusion, "FI-4");
    EXPECT_NEAR(calculator.script.isochores[0].Th, 95.5, 1e-5);
    EXPECT_EQ(calculator.script.isochores[0].homog, kToVapour);
    EXPECT_EQ(calculator.script.isochores[0].Ph, 175);
    EXPECT_EQ(listTexts(isochorsUi.mIsochorsView).size(), 3);
}

TEST_F(PhaseDiagPanel, TypedThFindsTheHomogenisationPointAndExistingIsochores)
{
    CPhaseDiagDocument* document = attachedDocumentWithIsochores();
    showPage(CPhaseDiagPanel::kIsochorsPage);
    selectListRow(isochorsUi.mIsoplethsView1, 0);
    selectListRow(isochorsUi.mInclusionsView, 0);
    CPlotView* view = document->plotView();
    const PhaseDiagramPtr diagram = document->phaseDiagrams().front();

    // A new Th on the liquid branch: the selection point goes to the bubble point, Calculate on.
    isochorsUi.mThEdit->setText("125");
    isochors.onThChanged();
    EXPECT_FLOAT_EQ(view->selectedPointX(), 125);
    EXPECT_FLOAT_EQ(view->selectedPointY(), 170);  // halfway between (100, 150) and (150, 190)
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());
    EXPECT_FALSE(isochorsUi.mWriteLogButton->isEnabled());

    // Within 0.001 of an isochore of the same type: that isochore, Calculate off.
    for (const char* typed : {"120.0009", "119.9991"}) {
        isochorsUi.mIsochorsView->clearSelection();
        isochorsUi.mThEdit->setText(typed);
        isochorsUi.mLiquidRadio->setChecked(true);
        isochorsUi.mGasRadio->setChecked(false);
        isochors.onThChanged();
        EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled()) << typed;
        EXPECT_TRUE(isochorsUi.mWriteLogButton->isEnabled());
        EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), 0);
        EXPECT_TRUE(diagram->monophasicIsochors()[0]->graphCurve()->isHilited());
    }
    // The same Th of the other type, or 0.002 away, is new.
    isochorsUi.mThEdit->setText("120");
    isochorsUi.mGasRadio->click();
    EXPECT_FALSE(isochorsUi.mLiquidRadio->isChecked());
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());
    isochorsUi.mThEdit->setText("120.002");
    isochorsUi.mLiquidRadio->click();
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());
    EXPECT_TRUE(isochorsUi.mLiquidRadio->isChecked());
    EXPECT_FALSE(isochorsUi.mGasRadio->isChecked());

    // A two-phase isochore without its one-phase twin has no row: the list keeps its choice.
    const auto [lonely, gone] = addIsochorPair(diagram, 150, 190, kToLiquid, "Q-150");
    diagram->monophasicIsochors().pop_back();
    selectListRow(isochorsUi.mIsochorsView, 1);
    isochorsUi.mThEdit->setText("150");
    isochorsUi.mLiquidRadio->setChecked(true);
    isochors.onThChanged();
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), 1);
    EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled());
}


// ---- Plot selection ----

// What a click may hit in the plot of a document holding an envelope (with its critical
// marker), the isochores Q-120 (to liquid, with a trapping line at 170) and Q-60 (to vapour),
// and the two-phase part of Q-150 whose one-phase part was never made.
struct ClickTargets
{
    PhaseDiagramPtr diagram;
    IsochorPtr onePhase120, twoPhase120, onePhase60, twoPhase60, lonely;
    TrappingLinePtr line;
    CGraphObject* target(const QString& kind) const
    {
        if (kind == "isopleth") return diagram->liquidIsopleth()->graphCurve().get();
        if (kind == "one-phase") return onePhase60->graphCurve().get();
        if (kind == "two-phase") return twoPhase60->graphCurve().get();
        if (kind == "lonely two-phase") return lonely->graphCurve().get();
        if (kind == "trapping line") return line->graphCurve().get();
        if (kind == "critical marker") return diagram->criticalPoint().get();
        return nullptr;
    }
};

const QStringList kClickKinds{"isopleth",      "one-phase",       "two-phase", "lonely two-phase",
                              "trapping line", "critical marker", "nothing"};

struct PhaseDiagPlotSelection : PhaseDiagPanel
{
    ClickTargets targets;
    CPhaseDiagDocument* document = nullptr;

    void SetUp() override
    {
        document = phaseDiagDocument();
        targets.diagram = envelopeOf(alphaBetaFluid("Fluid A"));
        std::tie(targets.twoPhase120, targets.onePhase120) = addIsochorPair(targets.diagram, 120, 190, kToLiquid, "Q-120");
        std::tie(targets.twoPhase60, targets.onePhase60) = addIsochorPair(targets.diagram, 60, 110, kToVapour, "Q-60");
        targets.lonely = addIsochorPair(targets.diagram, 150, 190, kToLiquid, "Q-150").first;
        targets.diagram->monophasicIsochors().pop_back();
        document->phaseDiagrams().push_back(targets.diagram);
        document->plotData();
        targets.line = document->addTrappingLineTo(targets.onePhase120, 170);
        makeMain(*document);
        ASSERT_TRUE(targets.line);
        ASSERT_FALSE(targets.lonely->sister());
        ASSERT_TRUE(targets.diagram->criticalPoint());
    }
    // The page in front, with nothing chosen yet, then a click at T on what the kind names.
    void click(const QString& page, const QString& kind, float T = 118)
    {
        showPage(page);
        for (QTableView* list : panel.window()->findChildren<QTableView*>())
            list->clearSelection();
        summaryUi.mPhaseDiagView->clearSelection();
        clickPlot(targets.target(kind), T, 150);
    }
};

TEST_F(PhaseDiagPlotSelection, IsoplethsPageSelectsTheDiagramOfWhatWasClicked)
{
    const std::map<QString, int> expectedRow{{"isopleth", 0},      {"one-phase", 0},        {"two-phase", 0},
                                             {"lonely two-phase", 0}, {"trapping line", 0}, {"critical marker", -1},
                                             {"nothing", -1}};
    for (const QString& kind : kClickKinds) {
        click(CPhaseDiagPanel::kIsoplethsPage, kind);
        EXPECT_EQ(selectedRow(isoplethsUi.mIsoplethsView), expectedRow.at(kind)) << kind.toStdString();
    }
    // Nothing clicked: back to a new typed fluid.
    EXPECT_EQ(selectedRow(isoplethsUi.mAlphaBetaModelsView), 0);
    EXPECT_EQ(isoplethsUi.mAlphaEdit->text(), "0.00");
    EXPECT_FALSE(isoplethsUi.mAlphaEdit->isReadOnly());
    EXPECT_TRUE(isoplethsUi.mIsoplethCalcButton->isEnabled());
    EXPECT_FALSE(isoplethsUi.mIsoplethDeleteButton->isEnabled());
}

TEST_F(PhaseDiagPlotSelection, IsochorsPageShowsTheClickedIsochoreOrATypedTh)
{
    struct Expected
    {
        int isochorRow;
        QString Th;
        bool liquid;
        bool calculate;
    };
    const std::map<QString, Expected> expected{
        {"isopleth", {0, "120.00", true, false}},         // Q-120 lies within 4 °C of 118
        {"one-phase", {1, "60.00", false, false}},
        {"two-phase", {1, "60.00", false, false}},        // its one-phase twin's row
        {"trapping line", {0, "120.00", true, false}},    // the isochore it stands on
    };
    for (const auto& [kind, want] : expected) {
        click(CPhaseDiagPanel::kIsochorsPage, kind);
        EXPECT_EQ(selectedRow(isochorsUi.mIsoplethsView1), 0) << kind.toStdString();
        EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), want.isochorRow) << kind.toStdString();
        EXPECT_EQ(isochorsUi.mThEdit->text(), want.Th) << kind.toStdString();
        EXPECT_EQ(isochorsUi.mLiquidRadio->isChecked(), want.liquid) << kind.toStdString();
        EXPECT_EQ(isochorsUi.mIsochorCalcButton->isEnabled(), want.calculate) << kind.toStdString();
        EXPECT_EQ(isochorsUi.mAPIEdit->text(), "35.50");
    }
    // An isopleth where no isochore lies within 4 °C: a new inclusion at the clicked Th.
    click(CPhaseDiagPanel::kIsochorsPage, "isopleth", 85);
    EXPECT_EQ(selectedRow(isochorsUi.mInclusionsView), 0);
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), -1);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "85.00");
    EXPECT_FALSE(isochorsUi.mThEdit->isReadOnly());
    EXPECT_TRUE(isochorsUi.mLiquidRadio->isChecked());
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());

    // A two-phase isochore without its twin has no row: the diagram's choice of its first
    // isochore stands. A marker of no diagram changes nothing.
    click(CPhaseDiagPanel::kIsochorsPage, "lonely two-phase");
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), 0);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "150.00");
    click(CPhaseDiagPanel::kIsochorsPage, "critical marker");
    EXPECT_EQ(selectedRow(isochorsUi.mIsoplethsView1), -1);
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), -1);
    click(CPhaseDiagPanel::kIsochorsPage, "nothing");
    EXPECT_EQ(isochorsUi.mThEdit->text(), QString());
    EXPECT_FALSE(isochorsUi.mThEdit->isEnabled());
    EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled());
    EXPECT_TRUE(isochorsUi.mLiquidRadio->isChecked());
}

TEST_F(PhaseDiagPlotSelection, VolumesTrappingAndSummaryPagesSelectOnlyRowsTheyHave)
{
    // Volumes: an isochore's row; an isopleth selects every isochore of its diagram.
    const std::map<QString, QList<int>> volumeRows{
        {"isopleth", {0, 1}}, {"one-phase", {1}},     {"two-phase", {}},      {"lonely two-phase", {}},
        {"trapping line", {}}, {"critical marker", {}}, {"nothing", {}}};
    for (const QString& kind : kClickKinds) {
        click(CPhaseDiagPanel::kVolumesPage, kind);
        EXPECT_EQ(selectedRows(volumesUi.mIsochorsView2), volumeRows.at(kind)) << kind.toStdString();
    }

    // Trapping: isochore rows, trapping-line rows; no row for a two-phase isochore.
    const std::map<QString, std::pair<int, int>> trappingRows{
        {"isopleth", {-1, -1}},      {"one-phase", {1, -1}},        {"two-phase", {-1, -1}},
        {"lonely two-phase", {-1, -1}}, {"trapping line", {-1, 0}}, {"critical marker", {-1, -1}},
        {"nothing", {-1, -1}}};
    for (const QString& kind : kClickKinds) {
        click(CPhaseDiagPanel::kTrappingPage, kind);
        EXPECT_EQ(selectedRow(trappingUi.mIsochorsView1), trappingRows.at(kind).first) << kind.toStdString();
        EXPECT_EQ(selectedRow(trappingUi.mTrappingsView), trappingRows.at(kind).second) << kind.toStdString();
    }
    click(CPhaseDiagPanel::kTrappingPage, "trapping line");
    EXPECT_EQ(trappingUi.mThAqEdit->text(), "170.00");
    EXPECT_EQ(trappingUi.mPtrapEdit->text(), QString::asprintf("%.2f", targets.line->Ptrap()));
    EXPECT_FALSE(trappingUi.mSetTrappingButton->isEnabled());
    click(CPhaseDiagPanel::kTrappingPage, "critical marker");
    EXPECT_EQ(trappingUi.mThAqEdit->text(), "0.00");
    EXPECT_EQ(trappingUi.mPtrapEdit->text(), "0.0");
    click(CPhaseDiagPanel::kTrappingPage, "nothing");
    EXPECT_FALSE(trappingUi.mThAqEdit->isEnabled());
    EXPECT_FALSE(trappingUi.mSetTrappingButton->isEnabled());

    // Summary: the clicked record's node once its parents are expanded; a collapsed diagram
    // selects nothing but still highlights the pair.
    showPage(CPhaseDiagPanel::kSummaryPage);
    QTreeView* tree = summaryUi.mPhaseDiagView;
    tree->collapseAll();
    tree->expand(tree->model()->index(0, 0));
    click(CPhaseDiagPanel::kSummaryPage, "one-phase");
    EXPECT_TRUE(tree->selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(targets.onePhase60->graphCurve()->isHilited());
    EXPECT_TRUE(targets.twoPhase60->graphCurve()->isHilited());
    tree->expandAll();
    const std::map<QString, QString> node{{"isopleth", "Fluid A"}, {"one-phase", "Q-60"},  {"two-phase", "Q-60"},
                                          {"trapping line", "Q-120"}, {"lonely two-phase", ""},
                                          {"critical marker", ""}, {"nothing", ""}};
    for (const QString& kind : kClickKinds) {
        click(CPhaseDiagPanel::kSummaryPage, kind);
        const QModelIndexList rows = tree->selectionModel()->selectedRows();
        EXPECT_EQ(rows.isEmpty() ? QString() : rows.first().data().toString(), node.at(kind)) << kind.toStdString();
    }
}


// ---- Nothing dangling once a record or the document goes ----

TEST_F(PhaseDiagPlotSelection, DeletedDiagramsAndAClosedDocumentLeaveNothingChosen)
{
    struct Removal
    {
        const char* how;
        std::function<void(PhaseDiagPlotSelection&)> remove;
    };
    const Removal removals[] = {
        {"from the summary", [](PhaseDiagPlotSelection& t) {
             t.showPage(CPhaseDiagPanel::kSummaryPage);
             t.summaryUi.mPhaseDiagView->expandAll();
             QAbstractItemModel* model = t.summaryUi.mPhaseDiagView->model();
             t.summaryUi.mPhaseDiagView->selectionModel()->setCurrentIndex(
                 model->index(0, 0, model->index(0, 0)), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
             t.summary.onRemovePhaseDiagramElement();
         }},
        {"from the isopleths page", [](PhaseDiagPlotSelection& t) {
             t.showPage(CPhaseDiagPanel::kIsoplethsPage);
             selectListRow(t.isoplethsUi.mIsoplethsView, 0);
             t.isopleths.onDeleteIsopleth();
         }},
        {"by closing the document", [](PhaseDiagPlotSelection& t) {
             t.document->updateChangeCount(Document::ChangeCleared);
             t.document->close();
             settle();
         }},
    };
    for (const Removal& removal : removals) {
        if (!document || document->phaseDiagrams().empty())
            SetUp();
        showPage(CPhaseDiagPanel::kIsochorsPage);
        selectListRow(isochorsUi.mIsoplethsView1, 0);
        ASSERT_TRUE(isochors.selectedPhaseDiagram()) << removal.how;
        const std::weak_ptr<CPhaseDiagram> removed = targets.diagram;
        removal.remove(*this);
        targets = ClickTargets();
        EXPECT_FALSE(isochors.selectedPhaseDiagram()) << removal.how;
        EXPECT_TRUE(removed.expired()) << removal.how;

        // Then a click, a typed Th and Calculate: nothing happens and the controls stay off.
        showPage(CPhaseDiagPanel::kIsochorsPage);
        if (panel.document())
            clickPlot(nullptr);
        isochorsUi.mThEdit->setText("110");
        isochors.onThChanged();
        isochors.onCalculateIsochor();
        EXPECT_TRUE(calculator.script.isochores.isEmpty()) << removal.how;
        EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled()) << removal.how;
        EXPECT_FALSE(isochorsUi.mThEdit->isEnabled()) << removal.how;
        if (panel.document()) {
            EXPECT_EQ(panel.document()->plotView()->selectedObject(), nullptr) << removal.how;
        }
        if (std::string(removal.how) == "by closing the document")
            EXPECT_EQ(panel.document(), nullptr);
        else
            document->phaseDiagrams().clear();
    }
}

TEST_F(PhaseDiagPlotSelection, ContextMenuOfAnotherDiagramWindowAttachesToItsOwnDocumentFirst)
{
    CPhaseDiagDocument* other = phaseDiagDocument();
    const PhaseDiagramPtr otherDiagram = envelopeOf(alphaBetaFluid("Fluid B", 0.6));
    const IsochorPtr otherIsochor = addIsochorPair(otherDiagram, 100, 160, kToLiquid, "Q-B").second;
    other->phaseDiagrams().push_back(otherDiagram);
    other->plotData();
    makeMain(*document);
    ASSERT_EQ(panel.document(), document);

    panel.showAqueousHomogLine(otherIsochor, 130);
    EXPECT_EQ(panel.document(), other);
    EXPECT_FALSE(document->aqueousHomogLine());
    ASSERT_TRUE(other->aqueousHomogLine());
    EXPECT_DOUBLE_EQ(other->aqueousHomogLine()->points().front()->T(), 130);

    // An isochore of no open document draws nothing anywhere.
    const IsochorPtr stray = addIsochorPair(envelopeOf(alphaBetaFluid("Stray")), 90, 120, kToLiquid, "S").second;
    panel.showAqueousHomogLine(stray, 130);
    EXPECT_EQ(panel.document(), other);
    EXPECT_EQ(trappingUi.mPtrapEdit->text(), "0.0");
    EXPECT_TRUE(other->aqueousHomogLine()->graphCurve()->isHidden());
}

// ---- The Delete key ----

TEST_F(PhaseDiagPlotSelection, DeleteKeyRemovesTheChosenRecordOnlyFromTheDeletableLists)
{
    struct Case
    {
        const char* list;
        QString page;
        std::function<QAbstractItemView*(PhaseDiagPlotSelection&)> choose;
        std::function<size_t(PhaseDiagPlotSelection&)> count;  // of what the list deletes
        bool deletes;
    };
    const auto diagrams = [](PhaseDiagPlotSelection& t) { return t.document->phaseDiagrams().size(); };
    const auto onePhase = [](PhaseDiagPlotSelection& t) { return t.targets.diagram->monophasicIsochors().size(); };
    const auto lines = [](PhaseDiagPlotSelection& t) { return t.targets.onePhase120->trappingLines().size(); };
    const auto chooseRow = [](RecordTable* view) {
        selectListRow(view, 0);
        return view;
    };
    const Case cases[] = {
        {"envelopes", CPhaseDiagPanel::kIsoplethsPage,
         [&](PhaseDiagPlotSelection& t) { return chooseRow(t.isoplethsUi.mIsoplethsView); }, diagrams, true},
        {"envelopes of the isochores page", CPhaseDiagPanel::kIsochorsPage,
         [&](PhaseDiagPlotSelection& t) { return chooseRow(t.isochorsUi.mIsoplethsView1); }, diagrams, false},
        {"isochores", CPhaseDiagPanel::kIsochorsPage,
         [&](PhaseDiagPlotSelection& t) {
             chooseRow(t.isochorsUi.mIsoplethsView1);
             return chooseRow(t.isochorsUi.mIsochorsView);
         },
         onePhase, true},
        {"trapping lines", CPhaseDiagPanel::kTrappingPage,
         [&](PhaseDiagPlotSelection& t) { return chooseRow(t.trappingUi.mTrappingsView); }, lines, true},
        {"summary tree", CPhaseDiagPanel::kSummaryPage,
         [](PhaseDiagPlotSelection& t) {
             QTreeView* tree = t.summaryUi.mPhaseDiagView;
             tree->expandAll();
             const QModelIndex diagramNode = tree->model()->index(0, 0, tree->model()->index(0, 0));
             tree->selectionModel()->setCurrentIndex(diagramNode,
                                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
             return tree;
         },
         diagrams, true},
    };
    for (const Case& c : cases) {
        if (document->phaseDiagrams().empty())
            SetUp();
        showPage(c.page);
        QAbstractItemView* list = c.choose(*this);
        const size_t before = c.count(*this);
        ASSERT_GT(before, 0u) << c.list;
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(c.count(*this), c.deletes ? before - 1 : before) << c.list;
        document->phaseDiagrams().clear();
    }
}

// ---- The volumes page ----

TEST_F(PhaseDiagPlotSelection, VolumesPlotRangesAndColours)
{
    auto* data = listedDocument<CInclusionDataDocument>(DocumentTypes::InclusionData);
    for (int i = 0; i < 7; ++i) {
        Dictionary inclusion{{"name", QString("FI-%1").arg(i)}, {"type0", "Oil"}};
        if (i != 2)  // FI-2 has no measured volumes
            inclusion.setValue("volumes", Array{Dictionary{{"Tvol", 30.0 + i}, {"Fvol", 5.0}},
                                                Dictionary{{"Tvol", 80.0}, {"Fvol", 2.0 + i}}});
        data->getInclusions().append(inclusion);
    }
    showPage(CPhaseDiagPanel::kVolumesPage);
    CPlotView* plot = volumesUi.mVolumePlotView;

    // its two-phase points run from 80 to 120 °C, the bubble from 10 % to 0.
    selectListRow(volumesUi.mIsochorsView2, 0);
    float minX, maxX, minY, maxY;
    plot->getDefaultXYRange(minX, maxX, minY, maxY);
    EXPECT_FLOAT_EQ(minX, 1);     // Tmin 80 is not below 1
    EXPECT_FLOAT_EQ(maxX, 130);   // (120 / 10 + 1) x 10
    EXPECT_FLOAT_EQ(minY, 0);
    EXPECT_FLOAT_EQ(maxY, 10);
    // An isochore with a point below 1 °C (-15) gives an x minimum of -20.
    const auto [cold, coldOne] = addIsochorPair(targets.diagram, 25, 50, kToLiquid, "Q-25");
    document->plotIsochorsOfPhaseDiagram(targets.diagram);
    showPage(CPhaseDiagPanel::kSummaryPage);
    showPage(CPhaseDiagPanel::kVolumesPage);
    selectListRow(volumesUi.mIsochorsView2, 2);
    plot->getDefaultXYRange(minX, maxX, minY, maxY);
    EXPECT_FLOAT_EQ(minX, -20);

    // Six inclusions with volumes: blue, green, orange, cyan, no colour, blue; FI-2 skipped.
    QItemSelection all;
    all.select(volumesUi.mInclusionsView2->model()->index(0, 0), volumesUi.mInclusionsView2->model()->index(6, 0));
    volumesUi.mInclusionsView2->selectionModel()->select(all, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    std::vector<std::optional<Color>> colours;
    int redCurves = 0;
    for (const GraphObjectPtr& object : plot->graphObjects()) {
        if (typeid(*object) == typeid(CGraphPointCurve) && !object->hasReferenceObject())
            colours.push_back(object->color());
        redCurves += typeid(*object) == typeid(CGraphCurve);
    }
    const std::vector<std::optional<Color>> wanted{Color::fromRgb(0, 0, 1), Color::fromRgb(0, 1, 0),
                                                   Color::fromRgb(1, 0.5, 0), Color::fromRgb(0, 1, 1), std::nullopt,
                                                   Color::fromRgb(0, 0, 1)};
    EXPECT_EQ(colours, wanted);
    EXPECT_EQ(redCurves, 1);
    // Each list replaces only its own curves.
    volumesUi.mIsochorsView2->clearSelection();
    EXPECT_EQ(plot->graphObjects().size(), 6u);
    volumesUi.mInclusionsView2->clearSelection();
    EXPECT_TRUE(plot->graphObjects().empty());
}


// ---- The real flow, on the engine ----

// The panel's window beside the document's, drawn into one image.
QImage sideBySide(QWidget* documentWindow, QWidget* panelWindow)
{
    const QImage left = documentWindow->grab().toImage();
    const QImage right = panelWindow->grab().toImage();
    QImage both(left.width() + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
    both.fill(Qt::white);
    QPainter painter(&both);
    painter.drawImage(0, 0, left);
    painter.drawImage(left.width(), 0, right);
    return both;
}

TEST_F(PhaseDiagPanel, EnvelopeIsochoreAndTrappingLineFromThePanelOnTheEngine)
{
    PhaseDiagramCalculator::setFactory(nullptr);
    auto* data = listedDocument<CInclusionDataDocument>(DocumentTypes::InclusionData);
    data->getInclusions().append(Dictionary{
        {"name", "FI-1"}, {"type0", "Oil"}, {"homog", "liquid"}, {"Th", 100.0},
        {"volumes", Array{Dictionary{{"Tvol", 20.0}, {"Fvol", 9.0}}, Dictionary{{"Tvol", 60.0}, {"Fvol", 5.5}}}}});
    CPhaseDiagDocument* document = phaseDiagDocument();
    makeMain(*document);
    // Beside the window as far as the (small, offscreen) screen leaves room for the whole panel.
    const QRect main = windowOf(*document)->frameGeometry();
    const QRect frame = panel.window()->frameGeometry();
    const QRect screen = panel.window()->screen()->availableGeometry();
    EXPECT_EQ(frame.left(), std::min(main.right() + 1, screen.right() + 1 - frame.width()));
    EXPECT_EQ(frame.top(), std::max(screen.top(), std::min(main.top(), screen.bottom() + 1 - frame.height())));

    // The envelope of a typed fluid.
    showPage(CPhaseDiagPanel::kIsoplethsPage);
    selectListRow(isoplethsUi.mAlphaBetaModelsView, 0);
    isoplethsUi.mAlphaEdit->setText("0.5");
    isoplethsUi.mBetaEdit->setText("0.2");
    isopleths.onCalculateIsopleth();
    ASSERT_EQ(document->phaseDiagrams().size(), 1u) << alerts.messages().join("|").toStdString();
    EXPECT_EQ(listTexts(isoplethsUi.mIsoplethsView), QStringList{"AB 0.500 0.200"});
    const PhaseDiagramPtr diagram = document->phaseDiagrams().front();

    // An isochore of a typed Th to liquid, from the homogenisation point on the liquid branch
    // (a third of the way along it, where the one-phase isochore rises with temperature).
    showPage(CPhaseDiagPanel::kIsochorsPage);
    selectListRow(isochorsUi.mIsoplethsView1, 0);
    EXPECT_EQ(selectedRow(isochorsUi.mInclusionsView), 0);
    EXPECT_EQ(isochorsUi.mThEdit->text(), "100.00");
    const auto& branchPoints = diagram->liquidIsopleth()->points();
    const double Th = std::round(branchPoints[branchPoints.size() / 3]->T());
    isochorsUi.mThEdit->setText(QString::number(Th));
    isochors.onThChanged();
    const double Ph = diagram->getPh(Th, kToLiquid, 0, nullptr, nullptr);
    ASSERT_GT(Ph, 0);
    EXPECT_NEAR(document->plotView()->selectedPointY(), Ph, 1e-3 * Ph);
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());
    isochors.onCalculateIsochor();
    ASSERT_EQ(diagram->monophasicIsochors().size(), 1u) << alerts.messages().join("|").toStdString();
    const IsochorPtr isochor = diagram->monophasicIsochors().front();
    EXPECT_NEAR(isochor->Th(), Th, 1e-4);
    EXPECT_NEAR(isochor->Ph(), Ph, 0.01 * Ph);

    // Calculate is off for a Th within 0.001 of it, on for one 0.002 away.
    selectListRow(isochorsUi.mInclusionsView, 0);
    isochorsUi.mThEdit->setText(QString::number(Th + 0.0005, 'f', 4));
    isochors.onThChanged();
    EXPECT_FALSE(isochorsUi.mIsochorCalcButton->isEnabled());
    EXPECT_EQ(selectedRow(isochorsUi.mIsochorsView), 0);
    selectListRow(isochorsUi.mInclusionsView, 0);
    isochorsUi.mThEdit->setText(QString::number(Th + 0.002, 'f', 4));
    isochors.onThChanged();
    EXPECT_TRUE(isochorsUi.mIsochorCalcButton->isEnabled());

    // The trapping page starts at Th, where the homogeneous fluid is at its homogenisation
    // pressure; a temperature below Th is raised to it; above it the pressure rises.
    showPage(CPhaseDiagPanel::kTrappingPage);
    selectListRow(trappingUi.mIsochorsView1, 0);
    const QString atTh = QString::asprintf("%.2f", Th);
    EXPECT_EQ(trappingUi.mThAqEdit->text(), atTh);
    EXPECT_NEAR(trappingUi.mPtrapEdit->text().toDouble(), Ph, 0.02 * Ph);
    trappingUi.mThAqEdit->setText(QString::number(Th - 10));
    trapping.onChangeTrapTemp();
    EXPECT_EQ(trappingUi.mThAqEdit->text(), atTh);
    EXPECT_DOUBLE_EQ(trappingUi.mThAqStepper->value(), Th);
    const double Taq = Th + 30;
    trappingUi.mThAqEdit->setText(QString::number(Taq));
    trapping.onChangeTrapTemp();
    const double onIsochore = isochor->getPressure(Taq, nullptr);
    ASSERT_GT(onIsochore, Ph);
    EXPECT_NEAR(trappingUi.mPtrapEdit->text().toDouble(), onIsochore, 0.01 * onIsochore);
    ASSERT_TRUE(document->aqueousHomogLine());
    EXPECT_FALSE(document->aqueousHomogLine()->graphCurve()->isHidden());

    // A trapping line stored, listed with the isochore's name, the isochore still chosen.
    trapping.onSetTrappingLine();
    ASSERT_EQ(isochor->trappingLines().size(), 1u) << alerts.messages().join("|").toStdString();
    EXPECT_EQ(listTexts(trappingUi.mTrappingsView), QStringList{isochor->name()});
    EXPECT_EQ(selectedRow(trappingUi.mIsochorsView1), 0);
    EXPECT_TRUE(document->aqueousHomogLine()->graphCurve()->isHidden());

    // Every page drawn beside the document's window.
    const QDir out(QCoreApplication::applicationDirPath());
    for (int page = 0; page < panel.tabView().count(); ++page) {
        const QString name = panel.tabView().widget(page)->objectName();
        showPage(name);
        if (name == CPhaseDiagPanel::kVolumesPage) {
            for (QTableView* list : {(QTableView*)volumesUi.mIsochorsView2, (QTableView*)volumesUi.mInclusionsView2}) {
                list->clearSelection();
                selectListRow(list, 0);
            }
        }
        if (name == CPhaseDiagPanel::kSummaryPage)
            summaryUi.mPhaseDiagView->expandAll();
        settle();
        const QImage image = sideBySide(windowOf(*document), panel.window());
        EXPECT_TRUE(image.save(out.filePath("phase_diag_panel_" + name + ".png")));
        // On a real display the screen shows the panel touching the document's window.
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QGuiApplication::primaryScreen()->grabWindow(0).save(out.filePath("phase_diag_screen_" + name + ".png"));
        if (name == CPhaseDiagPanel::kVolumesPage) {
            // The measured points (blue) and the computed bubble curve (red) are drawn.
            int red = 0, blue = 0;
            const QImage plot = volumesUi.mVolumePlotView->grab().toImage();
            for (int y = 0; y < plot.height(); ++y)
                for (int x = 0; x < plot.width(); ++x) {
                    const QColor c = plot.pixelColor(x, y);
                    red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                    blue += c.blue() > 200 && c.red() < 80 && c.green() < 80;
                }
            EXPECT_GT(red, 20);
            EXPECT_GT(blue, 5);
        }
    }

    // The stored trapping line deleted from its list.
    showPage(CPhaseDiagPanel::kTrappingPage);
    selectListRow(trappingUi.mTrappingsView, 0);
    EXPECT_FALSE(trappingUi.mSetTrappingButton->isEnabled());
    trapping.tableViewDeleteSelectedRow(trappingUi.mTrappingsView);
    EXPECT_TRUE(isochor->trappingLines().empty());
    EXPECT_EQ(trappingUi.mTrappingsView->model()->rowCount(), 0);
}

}  // namespace
