// The alpha-beta panel's frame and curves page on real documents: attaching to the main
// alpha-beta plot window, the tables, the field checks, the inclusions list and its
// filter, the calculation of one and of all curves through the calculation panel.

#include "support/PanelsTestSupport.h"

#include "panels/CAlphaBetaCalcPanel.h"
#include "panels/CAlphaBetaPanel.h"
#include "panels/InstalledPanels.h"
#include "panels/NumberField.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"

#include "app/CPhaseDiagDocument.h"
#include "app/Ports.h"
#include "plot/CPlotView.h"

#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

using namespace test;

QString cell(RecordTable* table, int row, int column = 0)
{
    return table->model()->data(table->model()->index(row, column), Qt::DisplayRole).toString();
}

QStringList column(RecordTable* table, int column = 0)
{
    QStringList cells;
    for (int row = 0; row < table->numberOfRows(); ++row)
        cells << cell(table, row, column);
    return cells;
}

struct PanelFixture : PanelsFixture
{
    CAlphaBetaPanel* panel = CAlphaBetaPanel::sharedAlphaBetaPanelCtroller();
    const CAlphaBetaPanel::Controls& c = panel->controls();
    PanelFixture()
    {
        InspectorPanels::install(nullptr);  // no prompt, unless the case installs the panels
        panel->showWindow();
        panel->selectTabViewIndex(AlphaBetaPanelPage::Curves);
    }
};

TEST(AlphaBetaPanelTest, AttachesBesideEachAlphaBetaPlotWindowAndIgnoresOtherMainWindows)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* first = f.plotDocument();
    CAlphaBetaPlotDocument* second = f.plotDocument();
    auto* diagram = f.newDocument<CPhaseDiagDocument>(DocumentTypes::PhaseDiagram, true);
    // Room on their right for the panel on the offscreen screen.
    f.windowOf(first)->setGeometry(10, 60, 250, 250);
    f.windowOf(second)->setGeometry(30, 90, 230, 200);
    second->alphaBetaCurves().append(curveRecordOf(inclusionRecord("S", 90), {{0.2, 0, 100}, {0.3, 0.1, 120}}));

    const auto expectBeside = [&](Document* document) {
        const QRect main = PanelsFixture::windowOf(document)->frameGeometry();
        EXPECT_EQ(f.panel->window()->frameGeometry().x(), main.x() + main.width() + 10);
        EXPECT_EQ(f.panel->window()->frameGeometry().y(), main.y());
    };
    f.becomeMain(first);
    f.becomeMain(second);
    EXPECT_EQ(f.panel->attachedDocument(), second);
    EXPECT_EQ(f.panel->plotView(), second->plotView());
    EXPECT_EQ(column(f.c.curvesView1), QStringList{"S"});
    expectBeside(second);

    f.becomeMain(first);
    EXPECT_EQ(f.panel->attachedDocument(), first);
    EXPECT_EQ(f.c.curvesView1->numberOfRows(), 0);
    expectBeside(first);

    const QPoint before = f.panel->window()->pos();
    f.becomeMain(diagram);
    EXPECT_EQ(f.panel->attachedDocument(), first);
    EXPECT_EQ(f.panel->window()->pos(), before);
}

TEST(AlphaBetaPanelTest, ClosingTheAttachedWindowDetachesAndEmptiesThePage)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* attached = f.plotDocument();
    CAlphaBetaPlotDocument* other = f.plotDocument();
    f.inclusionDocument({inclusionRecord("I1", 100)});
    f.becomeMain(attached);
    ASSERT_EQ(f.c.inclusionsView->numberOfRows(), 2);

    f.windowOf(other)->close();
    settle();
    EXPECT_EQ(f.panel->attachedDocument(), attached);

    f.windowOf(attached)->close();
    settle();
    EXPECT_EQ(f.panel->attachedDocument(), nullptr);
    EXPECT_EQ(f.c.inclusionsView->numberOfRows(), 0);
    EXPECT_EQ(f.c.curvesView1->numberOfRows(), 0);
    for (QWidget* control : std::initializer_list<QWidget*>{f.c.th, f.c.calcButton, f.c.calculateAllButton,
                                                             f.c.inclusionsView, f.c.liquidRadio})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
}

TEST(AlphaBetaPanelTest, WithoutADocumentTheTablesShowTheirMessageRowsOnly)
{
    PanelFixture f;
    f.panel->selectTabViewIndex(AlphaBetaPanelPage::Correlations);
    EXPECT_EQ(column(f.c.correlationsView), QStringList{"No alpha-beta plot document"});
    EXPECT_FALSE(f.c.addCorrelationButton->isEnabled());
    f.panel->selectTabViewIndex(AlphaBetaPanelPage::Fluids);
    EXPECT_EQ(f.c.pointsView->numberOfRows(), 0);

    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.becomeMain(document);
    document->setAlphaBetaMarker(0.3, 0.1, 0, 0, 0, 0, std::nullopt);
    EXPECT_EQ(column(f.c.pointsView), (QStringList{"New alpha-beta point", "AB 0.300 0.100"}));
    EXPECT_EQ(cell(f.c.pointsView, 0, 1), "New alpha-beta point");
}

TEST(AlphaBetaPanelTest, NumberFieldsRefuseTextThatIsNotANumberWithTheirMessageAndKeepTheirValue)
{
    PanelFixture f;
    f.becomeMain(f.plotDocument());
    ASSERT_EQ(f.c.inclusionsView->selectedRow(), 0);
    const std::pair<NumberField*, QString> fields[] = {
        {f.c.th, "This is not a valid number for the homogenisation temperature Th."},
        {f.c.fv, "This is not a valid number for the bubble % volume Fv."},
        {f.c.tv, "This is not a valid number for the temperature Tfv, at which is measured a bubble size."},
        {f.c.co2, "This is not a valid number for a CO2 mole percent."},
        {f.c.n2, "This is not a valid number for a N2 mole percent."},
        {f.c.h2s, "This is not a valid number for a H2S mole percent."}};
    for (const auto& [field, message] : fields) {
        f.alerts.clear();
        const QString before = field->text();
        const double value = field->doubleValue();
        field->setText("12o");
        field->takeTypedText();
        EXPECT_EQ(f.alerts.messages(), QStringList{message});
        EXPECT_EQ(field->text(), before);
        EXPECT_EQ(field->doubleValue(), value);
    }
}

TEST(AlphaBetaPanelTest, TypedTextNotANumberStopsTheCalculationBeforeItStarts)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.becomeMain(document);
    f.c.fv->setText("ten");
    f.c.fv->setModified(true);
    f.c.calcButton->click();
    EXPECT_EQ(f.alerts.messages(), QStringList{"This is not a valid number for the bubble % volume Fv."});
    EXPECT_FALSE(document->hasEngine());
    EXPECT_EQ(f.script.steps, 0);
}

// The inclusions list as a table of cases: one inclusion and one curve, is the inclusion listed?
TEST(AlphaBetaPanelTest, InclusionsListKeepsOilInclusionsWithoutAMatchingCurve)
{
    struct Case
    {
        const char* label;
        std::function<void(Dictionary&)> changeInclusion;
        bool listed;
    };
    const auto set = [](const char* key, Value value) {
        return [key, value](Dictionary& inclusion) { inclusion.setValue(key, value); };
    };
    const auto shift = [](const char* key, double by) {
        return [key, by](Dictionary& inclusion) { inclusion.setValue(key, inclusion.doubleValue(key) + by); };
    };
    const std::vector<Case> cases{
        {"same inclusion", [](Dictionary&) {}, false},
        {"gas inclusion", set("type0", "Gas"), false},
        {"aqueous inclusion", set("type0", "Aq."), false},
        {"Th within 1e-6", shift("Th", 0.5e-6), false},
        {"Th off by 1e-6", shift("Th", 1.0001e-6), true},
        {"Tv lower by 2e-6", shift("Tv", -2e-6), true},
        {"Fv off", shift("Fv", 1.0001e-6), true},
        {"CO2 off", shift("CO2", 1.0001e-6), true},
        {"N2 off", shift("N2", -1.0001e-6), true},
        {"H2S within", shift("H2S", -0.9e-6), false},
        {"other name", set("name", "I1b"), true},
        {"other homogenisation", set("homog", "gas"), true},
        {"number as text", set("Th", "100.0000001"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PanelFixture f;
        CAlphaBetaPlotDocument* document = f.plotDocument();
        Dictionary inclusion = inclusionRecord("I1", 100);
        inclusion.setValue("CO2", 2.5);
        document->alphaBetaCurves().append(curveRecordOf(inclusion, {{0.2, 0, 100}, {0.3, 0.1, 110}}));
        Dictionary changed = inclusion.copy();
        c.changeInclusion(changed);
        f.inclusionDocument({changed});
        f.becomeMain(document);
        EXPECT_EQ(f.panel->inclusions().size(), c.listed ? 2 : 1);
        EXPECT_EQ(cell(f.c.inclusionsView, 0), "New Inclusion");
    }
}

TEST(AlphaBetaPanelTest, InclusionsOfTwoDocumentsAreListedInDocumentThenRecordOrder)
{
    PanelFixture f;
    f.inclusionDocument({inclusionRecord("A2", 100), inclusionRecord("A1", 110), inclusionRecord("Gx", 90, "Gas")});
    f.inclusionDocument({inclusionRecord("B1", 120)});
    f.becomeMain(f.plotDocument());
    EXPECT_EQ(column(f.c.inclusionsView), (QStringList{"New Inclusion", "A2", "A1", "B1"}));
    // The rows are the inclusion-data documents' records themselves.
    EXPECT_EQ(f.panel->inclusions().at(1).identity(),
              dynamic_cast<CInclusionDataDocument*>(f.controller->documents().at(0))->getInclusions().at(0).identity());
}

TEST(AlphaBetaPanelTest, SelectingThePlaceholderOrAnInclusionFillsTheFields)
{
    PanelFixture f;
    Dictionary gas = inclusionRecord("V1", 130, "Oil", "gas");
    gas.setValue("CO2", 3.0);
    f.inclusionDocument({gas});
    f.becomeMain(f.plotDocument());
    f.c.inclusionsView->selectRowAndScroll(1);
    EXPECT_EQ(f.c.th->doubleValue(), 130);
    EXPECT_EQ(f.c.co2->doubleValue(), 3);
    EXPECT_TRUE(f.c.th->isReadOnly());
    EXPECT_TRUE(f.c.gasRadio->isChecked());
    EXPECT_FALSE(f.c.gasRadio->isEnabled());

    f.c.inclusionsView->selectRowAndScroll(0);
    const std::pair<NumberField*, double> defaults[] = {{f.c.th, 100}, {f.c.fv, 10}, {f.c.tv, 20},
                                                        {f.c.co2, 0},  {f.c.n2, 0},  {f.c.h2s, 0}};
    for (const auto& [field, value] : defaults) {
        EXPECT_EQ(field->doubleValue(), value);
        EXPECT_FALSE(field->isReadOnly());
    }
    EXPECT_TRUE(f.c.liquidRadio->isChecked());
    EXPECT_TRUE(f.c.liquidRadio->isEnabled());
    EXPECT_TRUE(f.c.calcButton->isEnabled());
}

TEST(AlphaBetaPanelTest, TypedInclusionIsCalculatedNamedAtThePromptAndSelectedAtTheEnd)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.becomeMain(document);
    f.script.stepsByTh[100 + kCelsiusZero] = {{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {-1}};
    int prepared = 0;
    f.c.calcButton->click();
    ++prepared;
    ASSERT_EQ(document->alphaBetaCurves().size(), 1);
    const Dictionary curve = document->alphaBetaCurves().at(0).toDictionary();
    EXPECT_EQ(curve.stringValue("name"), "New inclusion");  // no prompt installed: the name stays
    EXPECT_NEAR(curve.doubleValue("Th"), 100, 1e-9);
    EXPECT_NEAR(curve.doubleValue("Tv"), 20, 1e-9);
    EXPECT_NEAR(curve.doubleValue("Fv"), 10, 1e-9);
    EXPECT_EQ(curve.stringValue("homog"), "liquid");
    EXPECT_FALSE(curve.contains("inclusion"));
    EXPECT_EQ(f.c.curvesView1->selectedRow(), 0);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_FALSE(CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller()->isRunning());
    EXPECT_EQ(prepared, 1);
}

TEST(AlphaBetaPanelTest, CalculateAllRunsEveryListedInclusionAndEndsAtThePlaceholder)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.inclusionDocument({inclusionRecord("A", 100), inclusionRecord("B", 110), inclusionRecord("C", 120)});
    f.script.stepsByTh[100 + kCelsiusZero] = {{0, 0.2, 0.0, 150}, {0, 0.3, 0.1, 160}, {-1}};
    f.script.stepsByTh[110 + kCelsiusZero] = {{7}};  // the middle inclusion fails at its first point
    f.script.stepsByTh[120 + kCelsiusZero] = {{0, 0.4, 0.0, 90}, {1}, {0, 0.5, 0.05, 95}, {-1}};
    f.becomeMain(document);
    ASSERT_EQ(f.panel->inclusions().size(), 4);
    int ends = 0;
    const QObject counting;  // the count stops with the test
    QObject::connect(CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller(), &CAlphaBetaCalcPanel::calculationEnded,
                     &counting, [&ends] { ++ends; });

    f.c.calculateAllButton->click();

    EXPECT_EQ(ends, 1);
    ASSERT_EQ(document->alphaBetaCurves().size(), 2);
    EXPECT_EQ(document->alphaBetaCurves().at(0).toDictionary().stringValue("name"), "A");
    EXPECT_EQ(document->alphaBetaCurves().at(1).toDictionary().stringValue("name"), "C");
    EXPECT_LE(f.script.steps, 12) << "a bounded number of engine steps";
    // The failed inclusion has no curve: it stays listed after the placeholder.
    EXPECT_EQ(column(f.c.inclusionsView), (QStringList{"New Inclusion", "B"}));
    EXPECT_EQ(f.c.curvesView1->selectedRow(), 1);
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST(AlphaBetaPanelTest, CalculateAllOnTheEngineSkipsAnInclusionWithoutACurve)
{
    PanelFixture f;
    AlphaBetaCurveEngine::setFactory(nullptr);  // the alpha-beta model itself
    CAlphaBetaPlotDocument* document = f.plotDocument();
    // A liquid-homogenising inclusion cannot hold 95 % vapour at 20 °C: no fluid of the model gives it.
    Dictionary impossible = inclusionRecord("B", 110);
    impossible.setValue("Fv", 95.0);
    f.inclusionDocument({inclusionRecord("A", 100), impossible, inclusionRecord("C", 120)});
    f.becomeMain(document);
    ASSERT_EQ(f.panel->inclusions().size(), 4);
    int ends = 0;
    const QObject counting;  // the count stops with the test
    QObject::connect(CAlphaBetaCalcPanel::sharedAlphaBetaCalcCtroller(), &CAlphaBetaCalcPanel::calculationEnded,
                     &counting, [&ends] { ++ends; });

    f.c.calculateAllButton->click();

    EXPECT_EQ(ends, 1);
    ASSERT_EQ(document->alphaBetaCurves().size(), 2);
    for (int i = 0; i < 2; ++i) {
        const Dictionary curve = document->alphaBetaCurves().at(i).toDictionary();
        EXPECT_EQ(curve.stringValue("name"), i == 0 ? "A" : "C");
        EXPECT_GT(curve.arrayValue("data").size(), 2);
    }
    EXPECT_EQ(column(f.c.inclusionsView), (QStringList{"New Inclusion", "B"}));
}

TEST(AlphaBetaPanelTest, RemoveAndSortActOnTheSelectedCurveAndRetitleTheSortButton)
{
    PanelFixture f;
    CAlphaBetaPlotDocument* document = f.plotDocument();
    Dictionary late = curveRecordOf(inclusionRecord("late", 90), {{0.6, 0, 100}, {0.7, 0.1, 120}});
    Dictionary early = curveRecordOf(inclusionRecord("early", 95), {{0.1, 0, 100}, {0.2, 0.1, 120}});
    early.setValue("index", 1);
    document->alphaBetaCurves().append(late);
    document->alphaBetaCurves().append(early);
    f.becomeMain(document);
    f.panel->updatePanel();
    EXPECT_EQ(f.c.sortButton->text(), "Sorted");
    f.c.curvesView1->selectRowAndScroll(0);
    EXPECT_EQ(f.c.th->doubleValue(), 90);
    EXPECT_EQ(f.c.inclusionsView->selectedRow(), -1);
    EXPECT_TRUE(f.c.sortButton->isEnabled());

    f.c.sortButton->click();
    EXPECT_EQ(column(f.c.curvesView1), (QStringList{"early", "late"}));
    EXPECT_EQ(f.c.sortButton->text(), "Non sorted");
    EXPECT_EQ(f.c.th->doubleValue(), 95);  // the selected row now shows the curve sorted there
    f.c.sortButton->click();
    EXPECT_EQ(column(f.c.curvesView1), (QStringList{"late", "early"}));
    EXPECT_EQ(f.c.sortButton->text(), "Sorted");

    f.c.removeCurveButton->click();
    EXPECT_EQ(column(f.c.curvesView1), QStringList{"early"});
    f.panel->updatePanel();
    EXPECT_TRUE(f.c.removeCurveButton->isEnabled());
    EXPECT_FALSE(f.c.sortButton->isEnabled());
}

TEST(AlphaBetaPanelTest, PageChangesAndThePagesMenuItems)
{
    PanelFixture f;
    installInspectorPanels();
    CAlphaBetaPlotDocument* document = f.plotDocument();
    f.becomeMain(document);
    int selections = 0;
    const auto id = NotificationCenter::defaultCenter().addObserver(
        AlphaBetaPlotSelection, nullptr, [&selections](const Notification&) { ++selections; });
    document->onShowAlphaBetaPanelPage3(nullptr);
    NotificationCenter::defaultCenter().removeObserver(id);
    EXPECT_EQ(f.panel->getSelectedPage(), AlphaBetaPanelPage::Correlations);
    EXPECT_EQ(f.c.tabView->selectedIdentifier(), "correlations");
    EXPECT_EQ(selections, 1);
    EXPECT_TRUE(f.c.addCorrelationButton->isEnabled());
}

}  // namespace
}  // namespace quorvel
