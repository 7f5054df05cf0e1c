// The characterisation controls of the editor: a correlation applied to the selected
// components with its undo and redo putting back the exact values, the molar-weight rules,
// the heavy-component selection and the equation of state with its undo.

#include "support/EditorTestSupport.h"

#include <QComboBox>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct EditorCorrelations : ::testing::Test, EditorFixture
{
    QComboBox* popup(const char* outlet) { return editor->control<QComboBox>(outlet); }
    void selectComponents(const QList<int>& rows)
    {
        editor->selectComponentRow(-1);
        for (int row : rows)
            editor->componentsView()->selectionModel()->select(
                editor->componentsView()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        settle();
    }
    void chooseCorrelation(CorrelationCode code)
    {
        popup("mCorrelationChoice")->setCurrentIndex(popup("mCorrelationChoice")->findData(code_number(code)));
        editor->tables().details().onChangeCorrelation();
        settle();
    }
    ComponentRecord componentAt(int row) const
    {
        return fluids().at(0).toDictionary().arrayValue("components").at(row).toDictionary();
    }
    QList<ComponentRecord> snapshot() const
    {
        QList<ComponentRecord> copies;
        for (const Value& c : fluids().at(0).toDictionary().arrayValue("components"))
            copies << c.toDictionary().copy();
        return copies;
    }
    void expectValues(const QList<ComponentRecord>& expected) const
    {
        for (int i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(componentAt(i).isEqualTo(expected[i])) << "component " << i;
    }
};

TEST_F(EditorCorrelations, CorrelationSkipsGasesAndUndoRedoRestoreTheExactValues)
{
    FluidRecord f = fluid("F", {"N2", "C1", "C7", "C12"});
    open({f});
    // A typed critical temperature that no correlation input recomputes.
    ComponentRecord c7 = componentAt(2);
    editor->tables().setComponent(c7, 300.0, "Tc");
    undo()->removeAllActions();
    document->updateChangeCount(Document::ChangeCleared);
    const QList<ComponentRecord> before = snapshot();

    selectComponents({0, 2, 3});
    chooseCorrelation(CorrelationCode::riaziDaubert);
    const QList<ComponentRecord> after = snapshot();
    EXPECT_TRUE(after[0].isEqualTo(before[0])) << "N2 keeps its data";
    EXPECT_EQ(after[2].intValue("corr"), code_number(CorrelationCode::riaziDaubert));
    EXPECT_NE(after[2].doubleValue("Tc"), 300);
    EXPECT_EQ(after[3].intValue("corr"), code_number(CorrelationCode::riaziDaubert));
    EXPECT_EQ(changes(), 1);

    undo()->undo();
    settle();
    expectValues(before);
    EXPECT_EQ(componentAt(2).doubleValue("Tc"), 300) << "the typed value comes back";
    EXPECT_EQ(changes(), 0);
    undo()->redo();
    settle();
    expectValues(after);
    EXPECT_EQ(changes(), 1);
    undo()->undo();
    settle();
    expectValues(before);
    EXPECT_FALSE(undo()->canUndo()) << "the components went back in one undo group";
}

TEST_F(EditorCorrelations, SameCodeAgainChangesNothing)
{
    open({fluid("F", {"C1", "C7", "C8"})});
    selectComponents({1, 2});
    const QList<ComponentRecord> before = snapshot();
    chooseCorrelation(CorrelationCode::jianzhong0);
    expectValues(before);
    EXPECT_EQ(changes(), 0);
    EXPECT_FALSE(undo()->canUndo());
}

TEST_F(EditorCorrelations, UndoOfACorrelationSetAppliedTwice)
{
    open({fluid("F", {"C1", "C10"})});
    selectComponents({1});
    const QList<ComponentRecord> original = snapshot();
    chooseCorrelation(CorrelationCode::firstSet);
    const QList<ComponentRecord> once = snapshot();
    chooseCorrelation(CorrelationCode::firstSet);  // "corr" holds the set's last code, so it applies again
    EXPECT_EQ(changes(), 2);
    undo()->undo();
    settle();
    expectValues(once);
    undo()->undo();
    settle();
    expectValues(original);
    EXPECT_EQ(changes(), 0);
}

TEST_F(EditorCorrelations, MolarWeightRules)
{
    struct Case
    {
        const char* name;
        int item;
        double mw;  // 0: unchanged
    };
    const QList<Case> cases{{"C7", 0, 100}, {"C7", 1, 94},  {"C10", 0, 142}, {"C10", 1, 136},
                            {"C7+", 0, 0},  {"iC4", 0, 0}, {"C6", 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " item " + std::to_string(c.item));
        open({fluid("F", {"C1", c.name})});
        selectComponents({1});
        const ComponentRecord before = componentAt(1).copy();
        popup("mMwChoice")->setCurrentIndex(c.item);
        editor->tables().details().onChangeMwCorrelation();
        settle();
        if (c.mw == 0) {
            EXPECT_TRUE(componentAt(1).isEqualTo(before));
            EXPECT_EQ(changes(), 0);
        } else {
            EXPECT_EQ(componentAt(1).doubleValue("mw"), c.mw);
            EXPECT_EQ(componentAt(1).doubleValue("Tc"), before.doubleValue("Tc")) << "nothing else is re-estimated";
            EXPECT_EQ(changes(), 1);
        }
        EXPECT_FALSE(undo()->canUndo());
        document.reset();
        settle();
    }
}

TEST_F(EditorCorrelations, C7PlusButtonSelectsTheHeavyComponents)
{
    open({fluid("F", {"N2", "CO2", "C1", "iC4", "nC4", "iC5", "nC5", "C6", "C7", "C8", "C7+"})});
    selectComponents({0});
    editor->control<QPushButton>("mSelectC7plus")->click();
    settle();
    EXPECT_EQ(editor->tables().selectedComponentRows(), (QList<int>{8, 9, 10}));
    EXPECT_FALSE(editor->control<QComboBox>("mComponentCombo")->isEnabled()) << "the detail view followed";

    open({fluid("G", {"C1", "iC4", "iC5", "C6"})});
    selectComponents({1});
    editor->tables().onSelectC7plus();
    EXPECT_TRUE(editor->tables().selectedComponentRows().isEmpty());
}

TEST_F(EditorCorrelations, EquationOfStateWithUndo)
{
    FluidRecord bare = fluid("Bare", {"C1", "C7"});
    bare.remove("EOS");
    open({bare, fluid("Other", {"C1"})});
    editor->tables().onChangeEquationOfState();
    EXPECT_EQ(bare.stringValue("EOS"), "PR") << "written even when nothing changes";
    EXPECT_EQ(changes(), 0);
    EXPECT_FALSE(undo()->canUndo());

    popup("mEquationOfState")->setCurrentIndex(1);
    editor->tables().onChangeEquationOfState();
    settle();
    EXPECT_EQ(bare.stringValue("EOS"), "SRK");
    EXPECT_EQ(tank.lastEosCode, 1);
    EXPECT_EQ(changes(), 1);

    editor->selectFluidRow(1);
    undo()->undo();
    settle();
    EXPECT_EQ(bare.stringValue("EOS"), "PR") << "the undo acts on its own fluid";
    editor->selectFluidRow(0);
    EXPECT_EQ(popup("mEquationOfState")->currentIndex(), 0);
    EXPECT_EQ(tank.lastEosCode, 0);
    EXPECT_EQ(changes(), 0);
    undo()->redo();
    settle();
    EXPECT_EQ(bare.stringValue("EOS"), "SRK");
    EXPECT_EQ(popup("mEquationOfState")->currentIndex(), 1);
    EXPECT_EQ(changes(), 1);
}

}  // namespace
