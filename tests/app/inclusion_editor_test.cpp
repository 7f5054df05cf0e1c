// The inclusion editor: defaults, every undoable edit with its coupled point and action
// name, the order of the volume points, add and delete, and the diagram's ranges.

#include "support/AppTestSupport.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionDataController.h"
#include "app/InclusionRecord.h"
#include "app/VolumeDiagram.h"
#include "platform/NotificationCenter.h"
#include "platform/UndoManager.h"
#include "plot/CPlotView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

struct InclusionEditor : ::testing::Test, AppFixture
{
    CInclusionDataDocument* document = nullptr;
    InclusionDataController* editor = nullptr;
    UndoManager* undo = nullptr;
    QObject observer;
    int posted = 0;

    void SetUp() override
    {
        controller->performAction("onNewInclusionDataDocument:", nullptr);
        settle();
        document = dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
        editor = document->controller();
        undo = document->undoManager();
        NotificationCenter::defaultCenter().addObserver(InclusionsDataDocModified, &observer,
                                                        [this](const Notification&) { ++posted; });
    }
    // A saved document without undo history: the edits of a test start from a clean state.
    void startClean()
    {
        chooser.queuePath(path("clean.inc"));
        ASSERT_TRUE(document->saveDocumentAs());
        undo->removeAllActions();
        posted = 0;
    }
    Dictionary inclusion(int row = 0) const { return document->getInclusions().at(row).toDictionary(); }
    Dictionary pointWithCode(int code, int row = 0) const
    {
        for (const Value& point : inclusion(row).arrayValue("volumes"))
            if (point.toDictionary().intValue("code") == code)
                return point.toDictionary();
        return {};
    }
    void typeInto(const QString& key, const QString& text)
    {
        editor->field(key)->setText(text);
        if (key == "Tvol")
            editor->onChangeTvol(editor->field(key));
        else if (key == "Fvol")
            editor->onChangeFvol(editor->field(key));
        else
            editor->onChangeParameters(editor->field(key));
        settle();
    }
    QList<double> temperatures(int row = 0) const
    {
        QList<double> list;
        for (const Value& point : inclusion(row).arrayValue("volumes"))
            list << point.toDictionary().doubleValue("Tvol");
        return list;
    }
};

TEST_F(InclusionEditor, NewDocumentShowsOneDefaultInclusionAndItsDiagram)
{
    ASSERT_EQ(document->getInclusions().size(), 1);
    const Dictionary record = inclusion();
    EXPECT_EQ(record.stringValue("name"), "New inclusion");
    EXPECT_EQ(record.doubleValue("Th"), 100);
    EXPECT_EQ(record.doubleValue("Fv"), 10);
    EXPECT_EQ(record.doubleValue("Tv"), 20);
    EXPECT_EQ(record.stringValue("homog"), "liquid");
    EXPECT_EQ(record.stringValue("type0"), "Oil");
    EXPECT_EQ(record.doubleValue("CO2") + record.doubleValue("N2") + record.doubleValue("H2S"), 0);
    EXPECT_EQ(temperatures(), (QList<double>{20, 100}));
    EXPECT_EQ(pointWithCode(code_number(VolumeCode::Reading)).doubleValue("Fvol"), 10);
    EXPECT_EQ(editor->selectedInclusionRow(), 0);
    EXPECT_EQ(editor->field("Th")->text(), "100");
    EXPECT_TRUE(editor->homogCell(0)->isChecked());
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(undo->undoActionName(), QString());  // the first addition is undoable, unnamed

    float minX, maxX, minY, maxY;
    editor->plotView()->getXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(maxX, 110);
    EXPECT_EQ(minX, -10);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(maxY, 20);
}

// key, typed value, expected stored value, the point the value couples to, undo name.
struct EditCase
{
    QString key;
    QString typed;
    Value stored;
    int coupledCode;  // -1: none
    QString pointKey;
    QString actionName;
};

TEST_F(InclusionEditor, EveryInclusionEditIsUndoableUnderItsName)
{
    startClean();
    const QList<EditCase> cases{
        {"Th", "120", 120.0, code_number(VolumeCode::Homogenisation), "Tvol", "Th Change"},
        {"Tv", "25.5", 25.5, code_number(VolumeCode::Reading), "Tvol", "Tv Change"},
        {"Fv", "12", 12.0, code_number(VolumeCode::Reading), "Fvol", "Fv Change"},
        {"name", "Q-1 <b>", "Q-1 <b>", -1, "", "Inclusion Name Change"},
        {"CO2", "3", 3.0, -1, "", "CO2 Change"},
        {"comment", "zoned", "zoned", -1, "", "Comment Change"},
        {"type1", "fluorescent", "fluorescent", -1, "", "Type Change"},
    };
    for (const EditCase& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        const Value before = inclusion().value(c.key);
        const Value pointBefore = c.coupledCode >= 0 ? pointWithCode(c.coupledCode).value(c.pointKey) : Value();
        posted = 0;
        typeInto(c.key, c.typed);
        EXPECT_EQ(inclusion().value(c.key), c.stored);
        if (c.coupledCode >= 0) {
            EXPECT_EQ(pointWithCode(c.coupledCode).value(c.pointKey), c.stored);
        }
        EXPECT_EQ(undo->undoMenuItemTitle(), "Undo " + c.actionName);
        EXPECT_TRUE(document->isDocumentEdited());
        EXPECT_GE(posted, 1);

        undo->undo();
        EXPECT_EQ(inclusion().value(c.key), before);
        if (c.coupledCode >= 0) {
            EXPECT_EQ(pointWithCode(c.coupledCode).value(c.pointKey), pointBefore);
        }
        EXPECT_EQ(editor->field(c.key)->text(), before.toString());
        EXPECT_FALSE(document->isDocumentEdited());
        EXPECT_EQ(undo->redoMenuItemTitle(), "Redo " + c.actionName);

        undo->redo();
        EXPECT_EQ(inclusion().value(c.key), c.stored);
        EXPECT_TRUE(document->isDocumentEdited());
        undo->undo();
    }
}

TEST_F(InclusionEditor, HomogenisationAndTypeControlsStoreTheirWords)
{
    startClean();
    editor->homogCell(1)->click();
    settle();
    EXPECT_EQ(inclusion().stringValue("homog"), "gas");
    EXPECT_EQ(undo->undoActionName(), "Homogenisation Change");

    editor->type0Popup()->setCurrentIndex(2);
    editor->onChangeParameters(editor->type0Popup());
    settle();
    EXPECT_EQ(inclusion().stringValue("type0"), "Aq.");
    EXPECT_EQ(undo->undoActionName(), "Type Change");

    undo->undo();
    undo->undo();
    EXPECT_EQ(inclusion().stringValue("homog"), "liquid");
    EXPECT_EQ(inclusion().stringValue("type0"), "Oil");
    EXPECT_TRUE(editor->homogCell(0)->isChecked());
    EXPECT_EQ(editor->type0Popup()->currentIndex(), 0);
    EXPECT_FALSE(document->isDocumentEdited());

    // Any word other than "liquid" shows the gas cell.
    editor->setInclusion(inclusion(), "vapour", "homog");
    EXPECT_TRUE(editor->homogCell(1)->isChecked());
}

TEST_F(InclusionEditor, AnEqualValueAddsNoUndoEntryAndMarksNothing)
{
    startClean();
    typeInto("Th", "100");
    typeInto("name", "New inclusion");
    editor->selectVolumeRow(0);
    typeInto("Tvol", "20");
    EXPECT_FALSE(undo->canUndo());
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(posted, 0);
}

TEST_F(InclusionEditor, PointTemperatureEditsCoupleSortAndKeepTheSelection)
{
    startClean();
    editor->onAddVolume();  // (0, 0) lands at the head of (20, 100)
    settle();
    EXPECT_EQ(temperatures(), (QList<double>{0, 20, 100}));
    EXPECT_EQ(editor->selectedVolumeRow(), 0);
    EXPECT_TRUE(editor->deleteVolumeButton()->isEnabled());

    // A user point: moved after the reading, still selected.
    typeInto("Tvol", "50");
    EXPECT_EQ(temperatures(), (QList<double>{20, 50, 100}));
    EXPECT_EQ(editor->selectedVolumeRow(), 1);
    EXPECT_EQ(undo->undoActionName(), "Temperature Change");

    // The reading: Tv follows, the list is sorted again, the point stays selected.
    editor->selectVolumeRow(0);
    EXPECT_FALSE(editor->deleteVolumeButton()->isEnabled());
    typeInto("Tvol", "70");
    EXPECT_EQ(inclusion().doubleValue("Tv"), 70);
    EXPECT_EQ(temperatures(), (QList<double>{50, 70, 100}));
    EXPECT_EQ(editor->selectedVolumeRow(), 1);
    EXPECT_EQ(editor->field("Tv")->text(), "70");

    // The homogenisation point: Th follows.
    editor->selectVolumeRow(2);
    EXPECT_FALSE(editor->deleteVolumeButton()->isEnabled());
    typeInto("Tvol", "140");
    EXPECT_EQ(inclusion().doubleValue("Th"), 140);

    undo->undo();
    EXPECT_EQ(inclusion().doubleValue("Th"), 100);
    EXPECT_EQ(pointWithCode(code_number(VolumeCode::Homogenisation)).doubleValue("Tvol"), 100);
    undo->undo();
    EXPECT_EQ(inclusion().doubleValue("Tv"), 20);
    EXPECT_EQ(temperatures(), (QList<double>{20, 50, 100}));
}

TEST_F(InclusionEditor, BubbleVolumeEditsCoupleTheReadingAndKeepTheHomogenisationPointAtZero)
{
    startClean();
    editor->selectVolumeRow(1);  // the homogenisation point
    typeInto("Fvol", "5");
    EXPECT_EQ(pointWithCode(code_number(VolumeCode::Homogenisation)).doubleValue("Fvol"), 0);
    EXPECT_EQ(inclusion().doubleValue("Fv"), 10);
    EXPECT_EQ(editor->field("Fv")->text(), "10");
    EXPECT_EQ(undo->undoActionName(), "Bubble Volume Change");

    editor->selectVolumeRow(0);  // the reading
    typeInto("Fvol", "14");
    EXPECT_EQ(inclusion().doubleValue("Fv"), 14);
    undo->undo();
    EXPECT_EQ(inclusion().doubleValue("Fv"), 10);
    EXPECT_EQ(pointWithCode(code_number(VolumeCode::Reading)).doubleValue("Fvol"), 10);
}

TEST_F(InclusionEditor, TextThatIsNotANumberIsRefusedAndChangesNothing)
{
    startClean();
    typeInto("Th", "hot");
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(inclusion().doubleValue("Th"), 100);
    EXPECT_EQ(editor->field("Th")->text(), "100");
    EXPECT_FALSE(undo->canUndo());
}

TEST_F(InclusionEditor, PercentagesOutsideZeroToHundredAreRefusedWithTheirAlert)
{
    startClean();
    const QString fvAlert = "This is not a valid number for the bubble % volume Fv.";
    struct Typed
    {
        QString key;
        QString text;
        QString alert;  // empty: accepted
    };
    const QList<Typed> cases{
        {"Fv", "150", fvAlert},
        {"Fv", "-1", fvAlert},
        {"Fv", "100.01", fvAlert},
        {"Fv", "nan", fvAlert},
        {"CO2", "101", "This is not a valid number for a CO2 mole percent."},
        {"N2", "-0.5", "This is not a valid number for a N2 mole percent."},
        {"H2S", "inf", "This is not a valid number for a H2S mole percent."},
        {"Fvol", "150", fvAlert},
        {"Fvol", "-30", fvAlert},
        {"Fv", "100", ""},
        {"Fv", "0", ""},
        {"Fvol", "55", ""},
    };
    editor->selectVolumeRow(0);  // the reading
    settle();
    for (const Typed& c : cases) {
        SCOPED_TRACE((c.key + " " + c.text).toStdString());
        alerts.clear();
        const Dictionary before = inclusion().deepCopy();
        typeInto(c.key, c.text);
        if (c.alert.isEmpty()) {
            EXPECT_TRUE(alerts.alerts().isEmpty());
            EXPECT_EQ(inclusion().doubleValue("Fv"), c.text.toDouble()) << "the reading's Fvol is the inclusion's Fv";
            continue;
        }
        ASSERT_EQ(alerts.alerts().size(), 1);
        EXPECT_EQ(alerts.alerts()[0].message, c.alert);
        EXPECT_TRUE(inclusion().isEqualTo(before)) << "a refused value changes nothing";
        EXPECT_EQ(editor->field(c.key)->text(), before.value(c.key == "Fvol" ? "Fv" : c.key).toString());
    }

    // A cell of the inclusions table is held to the same rules.
    alerts.clear();
    auto* model = editor->inclusionsView()->model();
    const Dictionary before = inclusion().deepCopy();
    for (const auto& [column, text] : {std::pair{2, "150"}, std::pair{1, "hot"}})
        model->setData(model->index(0, column), QString::fromLatin1(text), Qt::EditRole);
    EXPECT_EQ(alerts.alerts().size(), 2);
    EXPECT_TRUE(inclusion().isEqualTo(before));
    EXPECT_EQ(model->data(model->index(0, 2), Qt::DisplayRole).toString(), before.value("Fv").toString());
}

TEST_F(InclusionEditor, ThBelowAUserPointLeavesTheOrderUntilTheNextSort)
{
    startClean();
    editor->onAddVolume();
    typeInto("Tvol", "60");
    typeInto("Th", "40");
    EXPECT_EQ(temperatures(), (QList<double>{20, 60, 40}));
    editor->onAddVolume();
    EXPECT_EQ(temperatures(), (QList<double>{0, 20, 40, 60}));
}

TEST_F(InclusionEditor, AddedInclusionsGoAfterTheSelectionOrAtTheEnd)
{
    editor->onAddInclusion();  // after row 0
    EXPECT_EQ(editor->selectedInclusionRow(), 1);
    editor->setInclusion(inclusion(1), "second", "name");
    editor->selectInclusionRow(0);
    editor->onAddInclusion();
    EXPECT_EQ(editor->selectedInclusionRow(), 1);
    EXPECT_EQ(inclusion(2).stringValue("name"), "second");

    editor->selectInclusionRow(-1);
    editor->onAddInclusion();
    EXPECT_EQ(editor->selectedInclusionRow(), 3);
    EXPECT_EQ(document->getInclusions().size(), 4);

    // Deleting and undoing puts the record back where it was.
    settle();
    editor->selectInclusionRow(2);
    const Dictionary second = inclusion(2);
    editor->onDeleteInclusion();
    settle();
    EXPECT_EQ(document->getInclusions().indexOf(second), -1);
    undo->undo();
    EXPECT_EQ(document->getInclusions().indexOf(second), 2);
}

// Undo of a point's addition or deletion acts on the inclusion it was made on.
TEST_F(InclusionEditor, UndoOfAPointActsOnItsOwnInclusionWhicheverIsSelected)
{
    editor->onAddInclusion();
    settle();
    editor->selectInclusionRow(0);
    editor->onAddVolume();
    settle();
    const Dictionary first = inclusion(0);
    ASSERT_EQ(first.arrayValue("volumes").size(), 3);

    editor->selectInclusionRow(1);
    undo->undo();
    EXPECT_EQ(first.arrayValue("volumes").size(), 2);
    EXPECT_EQ(inclusion(1).arrayValue("volumes").size(), 2);
    undo->redo();
    EXPECT_EQ(first.arrayValue("volumes").size(), 3);
    EXPECT_EQ(inclusion(1).arrayValue("volumes").size(), 2);

    // The same for a point edit made on the first inclusion.
    editor->selectInclusionRow(0);
    editor->selectVolumeRow(0);
    typeInto("Fvol", "33");
    editor->selectInclusionRow(1);
    undo->undo();
    EXPECT_EQ(first.arrayValue("volumes").at(0).toDictionary().doubleValue("Fvol"), 0);
    EXPECT_EQ(inclusion(1).arrayValue("volumes").at(0).toDictionary().doubleValue("Fvol"), 10);
}

TEST_F(InclusionEditor, AnInclusionWithoutPointsDrawsOverTheDefaultRanges)
{
    CPlotView view;
    makeVolumeDiagram(view, Array());
    float minX, maxX, minY, maxY;
    view.getXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(minX, VolumeDiagram::kDefaultMinT);
    EXPECT_EQ(maxX, VolumeDiagram::kDefaultMaxT);
    EXPECT_EQ(minY, VolumeDiagram::kDefaultMinF);
    EXPECT_EQ(maxY, VolumeDiagram::kDefaultMaxF);

    // Points clamp the volume axis to 0..100 and widen the temperature axis by 10.
    Array volumes{newVolumePoint(-30, 95, VolumeCode::User), newVolumePoint(150, 3, VolumeCode::Homogenisation)};
    makeVolumeDiagram(view, volumes);
    view.getXYRange(minX, maxX, minY, maxY);
    EXPECT_EQ(minX, -40);
    EXPECT_EQ(maxX, 160);
    EXPECT_EQ(minY, 0);
    EXPECT_EQ(maxY, 100);

    // Points outside 0..100 (from files written before the fields refused them) stay on
    // an axis that runs upwards.
    struct Outside
    {
        float low, high, minY, maxY;
    };
    for (const Outside& c : {Outside{140, 150, 130, 150}, Outside{-30, 5, -30, 15}, Outside{-30, 150, -30, 150},
                             Outside{150, 150, 140, 150}}) {
        SCOPED_TRACE(testing::Message() << c.low << " " << c.high);
        makeVolumeDiagram(view, Array{newVolumePoint(20, c.low, VolumeCode::User), newVolumePoint(100, c.high, VolumeCode::User)});
        view.getXYRange(minX, maxX, minY, maxY);
        EXPECT_EQ(minY, c.minY);
        EXPECT_EQ(maxY, c.maxY);
    }
}

TEST(InclusionRecords, PointsDifferingBeyondSinglePrecisionCompareEqual)
{
    const Value a = newVolumePoint(20.0, 0, VolumeCode::User), b = newVolumePoint(20.0 + 1e-9, 0, VolumeCode::User);
    EXPECT_FALSE(volumePointLess(a, b));
    EXPECT_FALSE(volumePointLess(b, a));
    EXPECT_TRUE(volumePointLess(newVolumePoint(19.9, 0, VolumeCode::User), a));
}

}  // namespace
