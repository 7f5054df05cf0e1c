// The editor's commands and undoable edits: each command's list, selection, change count
// and notifications after do, undo and redo; copy and paste; the mended change marks.

#include "support/EditorTestSupport.h"

#include "platform/Pasteboard.h"
#include "widgets/ValueStepper.h"

#include <QComboBox>
#include <limits>

#include <QCheckBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct EditorCommands : ::testing::Test, EditorFixture
{
};

struct CommandCase
{
    std::string title;
    QList<FluidRecord> fluids;
    int fluidRow;
    QList<int> componentRows;
    std::function<void(FluidModelController&)> command;
    QStringList after;      // fluid names, or the selected fluid's component names when componentsOf >= 0
    int componentsOf;       // -1: the case compares fluid names
    int selectedAfter;      // fluid row after the command
    int postsAfter;
};

// A command of the editor's tables, run on the editor.
std::function<void(FluidModelController&)> tableCommand(void (FluidTableEditor::*command)())
{
    return [command](FluidModelController& e) { (e.tables().*command)(); };
}

QList<CommandCase> commandCases()
{
    auto a = [] { return fluid("A", {"C1", "C2"}); };
    auto abc = [] { return QList<FluidRecord>{fluid("A", {"C1"}), fluid("B", {"C1"}), fluid("C", {"C1"})}; };
    auto addAfter = [](const QString& name, const QString& next) {
        return CommandCase{name.toStdString(), {fluid("F", {"C1", name})}, 0, {1},
                           tableCommand(&FluidTableEditor::onAddComponent), {"C1", name, next}, 0, 0, 0};
    };
    return {
        {"new into a list", {fluid("A", {"C1"}), fluid("B", {"C1"})}, 0, {}, tableCommand(&FluidTableEditor::onAddFluid),
         {"A", "New", "B"}, -1, 1, 1},
        {"duplicate type 1", {fluid("A", {"C1", "C2"}, FluidType::alphaBeta), fluid("B", {"C1"})}, 0, {},
         tableCommand(&FluidTableEditor::onDuplicateFluid), {"A", "A - duplicated", "B"}, -1, 1, 1},
        {"duplicate type 2", {fluid("A", {"C1", "C2"}), fluid("B", {"C1"})}, 1, {},
         tableCommand(&FluidTableEditor::onDuplicateFluid), {"A", "B", "B - duplicated"}, -1, 2, 1},
        {"delete middle", abc(), 1, {}, tableCommand(&FluidTableEditor::onDeleteFluid), {"A", "C"}, -1, 1, 1},
        {"delete last", abc(), 2, {}, tableCommand(&FluidTableEditor::onDeleteFluid), {"A", "B"}, -1, 1, 1},
        {"delete only", {fluid("A", {"C1"})}, 0, {}, tableCommand(&FluidTableEditor::onDeleteFluid), {}, -1, -1, 1},
        addAfter("C7+", "C8"),
        addAfter("Cn1", "Cn2"),
        addAfter("Cn2", "C10"),
        addAfter("iC4", "nC5"),
        addAfter("iC5", "nC6"),
        addAfter("C12+", "C13+"),
        addAfter("C5", "C6"),
        {"add with none selected", {a()}, 0, {}, tableCommand(&FluidTableEditor::onAddComponent), {"C1", "C2", "C1"}, 0, 0, 0},
        {"delete one component", {fluid("F", {"C1", "C2", "C3"})}, 0, {1},
         tableCommand(&FluidTableEditor::onDeleteComponent), {"C1", "C3"}, 0, 0, 0},
        {"delete three components", {fluid("F", {"C1", "C2", "C3", "C4"})}, 0, {0, 1, 3},
         tableCommand(&FluidTableEditor::onDeleteComponent), {"C3"}, 0, 0, 0},
        {"name c7+", {a()}, 0, {1},
         [](FluidModelController& e) {
             e.tables().setComponent(e.selectedFluid().arrayValue("components").at(1).toDictionary(), "c7+", "name");
         },
         {"C1", "C7+"}, 0, 0, 0},
        {"name cn1", {a()}, 0, {1},
         [](FluidModelController& e) {
             e.tables().setComponent(e.selectedFluid().arrayValue("components").at(1).toDictionary(), "cn1", "name");
         },
         {"C1", "CN1"}, 0, 0, 0},
    };
}

TEST_F(EditorCommands, DoUndoRedoTable)
{
    for (const CommandCase& c : commandCases()) {
        SCOPED_TRACE(c.title);
        open(c.fluids);
        editor->selectFluidRow(c.fluidRow);
        for (int row : c.componentRows)
            editor->componentsView()->selectionModel()->select(
                editor->componentsView()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        settle();
        const QStringList before = c.componentsOf < 0 ? fluidNames() : componentNames(c.componentsOf);
        posted = 0;
        auto names = [&] { return c.componentsOf < 0 ? fluidNames() : componentNames(c.componentsOf); };

        c.command(*editor);
        settle();
        EXPECT_EQ(names(), c.after);
        EXPECT_EQ(editor->selectedFluidRow(), c.selectedAfter);
        EXPECT_EQ(changes(), 1);
        EXPECT_EQ(posted, c.postsAfter);

        undo()->undo();
        settle();
        EXPECT_EQ(names(), before);
        EXPECT_EQ(changes(), 0);
        EXPECT_EQ(posted, c.postsAfter) << "undo posts nothing";

        undo()->redo();
        settle();
        EXPECT_EQ(names(), c.after);
        EXPECT_EQ(changes(), 1);
        EXPECT_EQ(posted, c.postsAfter) << "redo posts nothing";
        document.reset();
        settle();
    }
}

TEST_F(EditorCommands, EmptyDocumentGetsOneNewFluidAtFullStrengthThatUndoRemoves)
{
    open({});
    ASSERT_EQ(fluidNames(), QStringList{"New"});
    const FluidRecord first = fluids().at(0).toDictionary();
    EXPECT_EQ(first.arrayValue("components").at(0).toDictionary().doubleValue("mole"), 100);
    EXPECT_EQ(editor->selectedFluidRow(), 0);
    EXPECT_EQ(changes(), 1);
    EXPECT_EQ(posted, 1);
    editor->tables().onAddFluid();
    settle();
    EXPECT_EQ(fluids().at(1).toDictionary().arrayValue("components").at(0).toDictionary().doubleValue("mole"), 0);
    undo()->undo();
    undo()->undo();
    settle();
    EXPECT_TRUE(fluids().isEmpty());
    EXPECT_EQ(changes(), 0);
    EXPECT_EQ(editor->selectedFluidRow(), -1);
}

TEST_F(EditorCommands, UndoOfDeletedFluidPutsTheSameRecordBackAtItsIndex)
{
    open({fluid("A", {"C1"}), fluid("B", {"C1"}), fluid("C", {"C1"})});
    const FluidRecord b = fluids().at(1).toDictionary();
    editor->selectFluidRow(1);
    editor->tables().onDeleteFluid();
    settle();
    undo()->undo();
    settle();
    EXPECT_EQ(fluids().at(1).toDictionary().identity(), b.identity());
}

TEST_F(EditorCommands, MolarWeightWithItsCorrelationAndUndo)
{
    FluidRecord f = fluid("F", {"C1", "C7+"});
    ComponentRecord heavy = f.arrayValue("components").at(1).toDictionary();
    heavy.setValue("mw", 150.0);
    heavy.setValue("SG", 0.8);
    applyCorrelation(heavy, CorrelationCode::riaziDaubert);
    ASSERT_EQ(heavy.intValue("corr"), code_number(CorrelationCode::riaziDaubert));
    const double tcBefore = heavy.doubleValue("Tc");
    open({f});
    editor->selectComponentRow(1);
    editor->tables().setComponent(heavy, 250.0, "mw");
    settle();
    EXPECT_EQ(heavy.doubleValue("mw"), 250);
    EXPECT_GT(heavy.doubleValue("Tc"), tcBefore + 20) << "a heavier fraction is re-correlated";
    EXPECT_EQ(changes(), 1);
    undo()->undo();
    settle();
    EXPECT_EQ(heavy.doubleValue("mw"), 150);
    EXPECT_NEAR(heavy.doubleValue("Tc"), tcBefore, 1e-9);
    EXPECT_EQ(changes(), 0);
}

TEST_F(EditorCommands, SettingTheSameValueOrFirstValueAndUndoingIt)
{
    open({fluid("A", {"C1"})});
    FluidRecord a = fluids().at(0).toDictionary();
    editor->tables().setFluid(a, "A", "name");
    settle();
    EXPECT_FALSE(undo()->canUndo());
    EXPECT_EQ(changes(), 0);
    editor->tables().setFluid(a, 55.0, "Texp");
    settle();
    undo()->undo();
    settle();
    EXPECT_FALSE(a.contains("Texp")) << "undoing a first setting removes the key";
}

TEST_F(EditorCommands, ComponentUndoActsOnTheFluidItWasMadeOn)
{
    open({fluid("A", {"C1", "C2", "C3"}), fluid("B", {"C1"})});
    editor->selectComponentRow(1);
    editor->tables().onDeleteComponent();
    settle();
    editor->selectFluidRow(1);
    settle();
    undo()->undo();
    settle();
    EXPECT_EQ(componentNames(0), (QStringList{"C1", "C2", "C3"}));
    EXPECT_EQ(componentNames(1), QStringList{"C1"});
}

TEST_F(EditorCommands, CopyAndPasteAppendEqualIndependentRecordsAsOneUndoableChange)
{
    open({fluid("A", {"C1"}), fluid("B", {"C1", "C2"}), fluid("C", {"C3"})});
    editor->fluidsView()->selectionModel()->select(editor->fluidsView()->model()->index(1, 0),
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    editor->fluidsView()->selectionModel()->select(editor->fluidsView()->model()->index(2, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    editor->performAction("copy:", nullptr);
    editor->selectFluidRow(0);
    editor->performAction("paste:", nullptr);
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C", "B", "C"}));
    EXPECT_TRUE(fluids().at(3).toDictionary().isEqualTo(fluids().at(1).toDictionary()));
    EXPECT_NE(fluids().at(3).toDictionary().identity(), fluids().at(1).toDictionary().identity());
    EXPECT_EQ(editor->selectedFluidRow(), 0);
    EXPECT_EQ(changes(), 1);
    EXPECT_EQ(posted, 0);
    undo()->undo();
    settle();
    EXPECT_EQ(fluidNames(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(changes(), 0);
}

TEST_F(EditorCommands, UnundoableEditsMarkTheDocumentChanged)
{
    const QList<std::pair<const char*, std::function<void(FluidModelController&)>>> edits{
        {"combo rename", [](FluidModelController& e) { e.tables().details().comboBoxSelectionDidChange("C3"); }},
        {"typed rename",
         [](FluidModelController& e) {
             e.control<QComboBox>("mComponentCombo")->setEditText("c4");
             e.tables().details().onChangeComponentParameter(e.control<QComboBox>("mComponentCombo"));
         }},
        {"mole stepper", [](FluidModelController& e) { e.tables().details().onSpinComposition(); }},
        {"normalise", [](FluidModelController& e) { e.tables().onNormalizeButton(); }},
        {"row move", [](FluidModelController& e) { e.tables().tableViewShiftDownSelectedRow(e.componentsView()); }},
    };
    for (const auto& [title, edit] : edits) {
        SCOPED_TRACE(title);
        FluidRecord f = fluid("F", {"C1", "C2", "C3"});
        f.arrayValue("components").at(0).toDictionary().setValue("mole", 10.0);
        open({f});
        editor->selectComponentRow(0);
        settle();
        edit(*editor);
        settle();
        EXPECT_EQ(changes(), 1);
        EXPECT_FALSE(undo()->canUndo());
        document.reset();
        settle();
    }
}

TEST_F(EditorCommands, MoleStepperAndNormalise)
{
    FluidRecord f = fluid("F", {"C1", "C2", "C3"});
    open({f});
    auto moles = [&] {
        QList<double> list;
        for (const Value& c : f.arrayValue("components"))
            list << c.toDictionary().doubleValue("mole");
        return list;
    };
    editor->selectComponentRow(0);
    editor->control<QCheckBox>("mNormalizeCheckBox")->setChecked(true);
    editor->control<ValueStepper>("mSpinMole")->setValue(40);
    editor->tables().details().onSpinComposition();
    EXPECT_NEAR(moles()[0], 40, 1e-12);
    EXPECT_NEAR(moles()[1] + moles()[2], 60, 1e-9);
    editor->control<QCheckBox>("mNormalizeCheckBox")->setChecked(false);
    editor->control<ValueStepper>("mSpinMole")->setValue(10);
    editor->tables().details().onSpinComposition();
    EXPECT_NEAR(moles()[1] + moles()[2], 60, 1e-9) << "without the box only the stepped component changes";

    for (const Value& c : f.arrayValue("components"))
        c.toDictionary().setValue("mole", 0.0);
    editor->tables().onNormalizeButton();
    EXPECT_EQ(moles(), (QList<double>{100, 0, 0}));
    editor->tables().onNormalizeButton();
    EXPECT_EQ(moles(), (QList<double>{100, 0, 0})) << "a sum of 100 stays";
    f.arrayValue("components").at(1).toDictionary().setValue("mole", std::numeric_limits<double>::quiet_NaN());
    editor->tables().onNormalizeButton();
    EXPECT_EQ(moles()[0], 100) << "a sum that is no number leaves the fractions alone";
}

}  // namespace
