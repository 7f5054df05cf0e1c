// The editor's window: the model fields at their defaults before the first fluid shows,
// the refresh rules of both tables, unit round trips of the detail fields, and a render
// of a three-fluid file with its 43-component fluid selected.

#include "support/EditorTestSupport.h"

#include "plot/CBarPlotView.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct EditorWindow : ::testing::Test, EditorFixture
{
    QLineEdit* field(const char* outlet) { return editor->control<QLineEdit>(outlet); }
    void type(const char* outlet, const QString& text)
    {
        field(outlet)->setText(text);
        editor->tables().details().onChangeComponentParameter(field(outlet));
        settle();
    }
};

QStringList carbonNumbers(int count)
{
    QStringList names{"N2", "CO2", "C1", "C2", "C3", "iC4", "nC4", "iC5", "nC5", "C6"};
    int n = 7;
    while (names.size() < count - 1)
        names << QStringLiteral("C%1").arg(n++);
    names << QStringLiteral("C%1+").arg(n);
    return names.mid(0, count);
}

// Mole percents scaled to a sum of 100.
void normalise(FluidRecord fluid)
{
    double sum = 0;
    for (const Value& c : fluid.arrayValue("components"))
        sum += c.toDictionary().doubleValue("mole");
    for (const Value& c : fluid.arrayValue("components"))
        c.toDictionary().setValue("mole", c.toDictionary().doubleValue("mole") * 100 / sum);
}

TEST(EditorUnits, DisplayedUnitsTypedBackGiveTheStoredValue)
{
    for (double t : {-160.0, 0.0, 36.85, 374.1, 900.0}) {
        EXPECT_NEAR(units::celsiusOfKelvin(units::kelvinOfCelsius(t)), t, 1e-9);
        EXPECT_NEAR(units::celsiusOfRankine(units::rankineOfCelsius(t)), t, 1e-9);
        EXPECT_NEAR(units::celsiusOfFahrenheit(units::fahrenheitOfCelsius(t)), t, 1e-9);
    }
    for (double p : {1.0, 45.99, 220.64})
        EXPECT_NEAR(units::barOfPsia(units::psiaOfBar(p)), p, 1e-9);
    for (const auto& [vc, mw] : {std::pair{99.0, 16.04}, std::pair{1100.0, 250.0}})
        EXPECT_NEAR(units::vcOfFt3PerLb(units::ft3PerLbOfVc(vc, mw), mw), vc, 1e-9);
    // Published equivalents: water's critical point 647.1 K, 3200.1 psia.
    EXPECT_NEAR(units::rankineOfCelsius(373.95), 1164.78, 0.01);
    EXPECT_NEAR(units::psiaOfBar(220.64), 3200.1, 0.1);
    EXPECT_NEAR(units::fahrenheitOfCelsius(100), 212, 1e-12);
}

TEST_F(EditorWindow, TypedUnitsStoreTheirConversion)
{
    open({fluid("F", {"C1", "C10"})});
    editor->selectComponentRow(1);
    const ComponentRecord c10 = editor->selectedFluid().arrayValue("components").at(1).toDictionary();
    type("mTkEditField", "373.15");
    EXPECT_NEAR(c10.doubleValue("Tc"), 100, 1e-9);
    type("mTcREditField", QString::number(373.15 * 1.8, 'f', 6));
    EXPECT_NEAR(c10.doubleValue("Tc"), 100, 1e-9);
    type("mTbKEditField", "400");
    EXPECT_NEAR(c10.doubleValue("Tb"), 400 - 273.15, 1e-9);
    type("mPcPsiaEditField", "1000");
    EXPECT_NEAR(c10.doubleValue("Pc"), 68.948, 1e-9);
    const double mw = c10.doubleValue("mw");
    type("mVcFtEditField", "0.05");
    EXPECT_NEAR(c10.doubleValue("Vc"), 0.05 * 0.062428 * mw * 1000, 1e-9);
    // Each field shows the stored value in its unit.
    EXPECT_EQ(field("mPcPsiaEditField")->text(), "1000.00");
    EXPECT_EQ(field("mTkEditField")->text(), "373.15");
    // Text that is no number stores nothing and shows the value again.
    type("mPcEditField", "abc");
    EXPECT_NEAR(c10.doubleValue("Pc"), 68.948, 1e-9);
    EXPECT_EQ(field("mPcEditField")->text(), "68.95");
}

TEST_F(EditorWindow, ModelFieldsTakeDefaultsBeforeTheFirstFluidShows)
{
    FluidRecord model = fluid("AB", {"C1", "C10"}, FluidType::alphaBeta);
    model.setValue("alpha", 0.5);
    model.setValue("beta", 0.25);
    model.setValue("CO2", 0.02);
    open({model});
    EXPECT_EQ(field("mAlphaEditField")->text(), "0.5000");
    EXPECT_EQ(field("mBetaEditField")->text(), "0.2500");
    EXPECT_EQ(field("mCO2EditField")->text(), "2.000");
    EXPECT_EQ(field("mDeltaEditField")->text(), "1.0000");
}

TEST_F(EditorWindow, RefreshRulesOfBothTables)
{
    open({fluid("A", {"C1", "C2", "C3"}), fluid("B", {"C1"})});
    EXPECT_TRUE(field("mFluidNameEdit")->isEnabled());
    EXPECT_EQ(field("mFluidNameEdit")->text(), "A");
    // Two fluids: the fluid commands go off, the fields keep the previous fluid.
    editor->fluidsView()->selectionModel()->select(editor->fluidsView()->model()->index(1, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_FALSE(editor->control<QPushButton>("mDuplicateButton")->isEnabled());
    EXPECT_EQ(field("mFluidNameEdit")->text(), "A");
    editor->selectFluidRow(0);
    // Two components: fields off and empty, the correlation pop-ups and delete stay on.
    editor->selectComponentRow(0);
    EXPECT_TRUE(field("mMWEditField")->isEnabled());
    editor->componentsView()->selectionModel()->select(editor->componentsView()->model()->index(2, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_FALSE(field("mMWEditField")->isEnabled());
    EXPECT_TRUE(field("mMWEditField")->text().isEmpty());
    EXPECT_TRUE(editor->control<QComboBox>("mCorrelationChoice")->isEnabled());
    EXPECT_TRUE(editor->control<QPushButton>("mDeleteButton")->isEnabled());
    // Reloading after an edit keeps the component selection.
    const int made = tank.made;
    editor->selectComponentRow(1);
    const int refreshes = tank.made;
    editor->tables().setComponent(editor->selectedFluid().arrayValue("components").at(1).toDictionary(), 7.0, "mole");
    EXPECT_EQ(editor->tables().selectedComponentRow(), 1);
    EXPECT_EQ(tank.made, refreshes + 1) << "one calculation per edit";
    EXPECT_GT(refreshes, made - 1);
}

TEST_F(EditorWindow, FluidsTableNameCellAndReferenceColumn)
{
    open({fluid("A", {"C1"}), fluid("B", {"C1"})});
    auto* model = editor->fluidsView()->model();
    model->setData(model->index(0, 1), "Renamed", Qt::EditRole);
    settle();
    EXPECT_EQ(fluidNames().first(), "Renamed");
    EXPECT_EQ(field("mFluidNameEdit")->text(), "Renamed");
    EXPECT_EQ(changes(), 1);
    EXPECT_FALSE(undo()->canUndo());
    model->setData(model->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(editor->tables().referenceFluid().identity(), fluids().at(1).toDictionary().identity());
    model->setData(model->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(model->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    editor->selectFluidRow(0);
    editor->tables().onDeleteFluid();
    EXPECT_TRUE(editor->tables().referenceFluid().isEmpty()) << "deleting the reference fluid clears the mark";
}

TEST_F(EditorWindow, RenderOfAThreeFluidFileWithTheLargeFluidSelected)
{
    const QList<int> sizes{9, 17, 43};
    QList<FluidRecord> list;
    for (int count : sizes) {
        const QStringList names = carbonNumbers(count);
        FluidRecord f = fluid(QStringLiteral("Fluid of %1").arg(count), names);
        double weight = 40;
        for (const Value& c : f.arrayValue("components")) {
            c.toDictionary().setValue("mole", weight);
            weight = std::max(weight * 0.8, 0.05);
        }
        normalise(f);
        f.setValue("Tsat", 90.0);
        list << f;
    }
    open(list, true);
    editor->selectFluidRow(2);
    editor->selectComponentRow(12);
    settle();
    ASSERT_EQ(editor->selectedFluid().arrayValue("components").size(), 43);
    QWidget* window = editor->window();
    window->show();
    settle();
    const QString folder = QDir::current().filePath("renders");
    QDir().mkpath(folder);
    const QImage image = window->grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(folder + "/fluid_model_editor.png"));
    // Every field wide enough for what it shows.
    for (QLineEdit* f : window->findChildren<QLineEdit*>()) {
        if (!f->isVisible() || f->text().isEmpty())
            continue;
        EXPECT_LE(f->fontMetrics().horizontalAdvance(f->text()), f->width() - 6) << f->objectName().toStdString();
    }
}

}  // namespace
