// The pieces the inspector panels share: the record lists, the number fields, the
// tab pages, the lookup of a window's controller and the placement beside the main window.

#include "panels/FloatingPanel.h"
#include "panels/NumberField.h"
#include "panels/PanelPages.h"
#include "panels/RecordTable.h"

#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/DocumentController.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace quorvel {
namespace {

Array namedRecords(const QStringList& names)
{
    Array records;
    for (const QString& name : names)
        records.append(Dictionary{{"name", name}, {"Th", 100.5}});
    return records;
}

struct ListFixture
{
    Array records = namedRecords({"a", "b", "c"});
    RecordTable table{{{"name", "Name"}, {"Th", "Th"}},
                      {[this] { return records.size(); },
                       [this](const QString& key, int row) { return recordCell(records, row, key); },
                       nullptr}};
    int reports = 0;
    ListFixture()
    {
        QObject::connect(&table, &RecordTable::selectionDidChange, [this] { ++reports; });
    }
    QString cell(int row, int column) const
    {
        return table.model()->data(table.model()->index(row, column), Qt::DisplayRole).toString();
    }
};

TEST(RecordTableTest, ShowsOneRecordPerRowByColumnKeyAndReadsNothingPastTheList)
{
    ListFixture list;
    ASSERT_EQ(list.table.numberOfRows(), 3);
    EXPECT_EQ(list.cell(1, 0), "b");
    EXPECT_EQ(list.cell(2, 1).toDouble(), 100.5);
    EXPECT_FALSE(list.table.model()->flags(list.table.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(recordCell(list.records, 3, "name").isNull());
    EXPECT_TRUE(recordCell(list.records, -1, "name").isNull());
}

TEST(RecordTableTest, ReportsEverySelectionChangeOnceAndNoneForTheSameRow)
{
    ListFixture list;
    list.table.selectRowAndScroll(1);
    EXPECT_EQ(list.reports, 1);
    list.table.selectRowAndScroll(1);  // already the selected row
    EXPECT_EQ(list.reports, 1);
    list.table.selectRowAndScroll(2);
    EXPECT_EQ(list.reports, 2);
    list.table.deselectAll();
    EXPECT_EQ(list.reports, 3);
    EXPECT_EQ(list.table.selectedRow(), -1);
    list.table.deselectAll();  // nothing was selected
    EXPECT_EQ(list.reports, 3);
}

TEST(RecordTableTest, ReloadKeepsTheSelectedRowSilentlyAndDropsAVanishedOneWithOneReport)
{
    ListFixture list;
    list.table.selectRowAndScroll(2);
    list.reports = 0;

    list.records.append(Dictionary{{"name", "d"}});
    list.table.reloadData();
    EXPECT_EQ(list.table.selectedRow(), 2);
    EXPECT_EQ(list.reports, 0);

    list.records.removeAt(3);
    list.records.removeAt(2);
    list.table.reloadData();
    EXPECT_EQ(list.table.numberOfRows(), 2);
    EXPECT_EQ(list.table.selectedRow(), -1);
    EXPECT_EQ(list.reports, 1);
}

TEST(NumberFieldTest, TakesNumbersAndRefusesAnyOtherTextKeepingThePreviousValue)
{
    struct Case
    {
        QString typed;
        bool accepted;
        double value;
    };
    const Case cases[] = {{"12.5", true, 12.5}, {" -3e2 ", true, -300}, {"0", true, 0},
                          {"abc", false, 7.25}, {"", false, 7.25},      {"1e999", false, 7.25},
                          {"nan", false, 7.25}, {"12,5", false, 7.25},  {"5 %", false, 7.25}};
    for (const Case& c : cases) {
        RecordingAlertService alerts;
        NumberField field;
        int alertsShown = 0, entered = 0;
        field.setInvalidNumberAlert([&] { ++alertsShown; });
        QObject::connect(&field, &NumberField::numberEntered, [&] { ++entered; });
        field.setDoubleValue(7.25, NumberFormat::Decimals2);
        field.setText(c.typed);
        EXPECT_EQ(field.takeTypedText(), c.accepted) << c.typed.toStdString();
        EXPECT_DOUBLE_EQ(field.doubleValue(), c.value) << c.typed.toStdString();
        EXPECT_EQ(entered, c.accepted ? 1 : 0);
        EXPECT_EQ(alertsShown, c.accepted ? 0 : 1);
        EXPECT_EQ(field.text(), c.accepted ? c.typed : QString("7.25"));
    }
}

TEST(NumberFieldTest, RecordValuesShowAsTheyStandAndEmptyReadsAsZero)
{
    NumberField field;
    field.setRecordValue(Value("42.5"));
    EXPECT_EQ(field.text(), "42.5");
    EXPECT_DOUBLE_EQ(field.doubleValue(), 42.5);
    field.setDoubleValue(0.123456, NumberFormat::Decimals4);
    EXPECT_EQ(field.text(), "0.1235");
    EXPECT_DOUBLE_EQ(field.doubleValue(), 0.1235);  // read back as shown
    field.clearValue();
    EXPECT_EQ(field.text(), "");
    EXPECT_DOUBLE_EQ(field.doubleValue(), 0);
}

TEST(PanelPagesTest, AnnouncesThePageAboutToBeShownThenThePageShown)
{
    PanelPages pages;
    QStringList heard;
    QObject::connect(&pages, &PanelPages::willSelectPage, [&](const QString& id) { heard << "will " + id; });
    QObject::connect(&pages, &PanelPages::didSelectPage, [&](const QString& id) { heard << "did " + id; });
    pages.addPage(new QLabel, "curves", "Curves");
    pages.addPage(new QLabel, "fluids", "Fluids");
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_EQ(pages.selectedIdentifier(), "curves");
    pages.setCurrentIndex(1);
    EXPECT_EQ(heard, QStringList({"will fluids", "did fluids"}));
    EXPECT_EQ(pages.indexOfIdentifier("fluids"), 1);
    EXPECT_EQ(pages.indexOfIdentifier("none"), -1);
    EXPECT_EQ(pages.identifierAt(5), "");
}

class PlainDocument : public Document
{
public:
    QByteArray dataRepresentationOfType(const QString&, QString*) override { return {}; }
    bool loadDataRepresentation(const QByteArray&, const QString&, QString*) override { return true; }
};

class PlainWindow : public WindowController
{
protected:
    QWidget* makeWindow() override { return new QWidget; }
};

class DerivedWindow : public PlainWindow
{
};

TEST(FloatingPanelTest, FindsAWindowsControllerOfExactlyTheAskedClass)
{
    DocumentController documents;
    auto owned = std::make_unique<PlainDocument>();
    PlainDocument* document = owned.get();
    documents.addDocument(std::move(owned));
    auto plain = std::make_unique<PlainWindow>();
    auto derived = std::make_unique<DerivedWindow>();
    QWidget* plainWindow = plain->window();
    QWidget* derivedWindow = derived->window();
    document->addWindowController(std::move(plain));
    document->addWindowController(std::move(derived));
    QWidget stranger;

    EXPECT_NE(controllerOfExactClass<PlainWindow>(plainWindow), nullptr);
    EXPECT_EQ(controllerOfExactClass<PlainWindow>(derivedWindow), nullptr);
    EXPECT_NE(controllerOfExactClass<DerivedWindow>(derivedWindow), nullptr);
    EXPECT_EQ(windowControllerOfWindow(&stranger), nullptr);
    EXPECT_EQ(windowControllerOfWindow(nullptr), nullptr);
}

TEST(FloatingPanelTest, PlacesThePanelToTheRightOfTheMainWindowWithTheTopsAligned)
{
    QWidget main;
    main.setGeometry(50, 80, 400, 300);
    QWidget panel(nullptr, Qt::Tool);
    panel.resize(200, 500);
    placeBesideWindow(&panel, &main, 10);
    const QRect frame = main.frameGeometry();
    EXPECT_EQ(panel.frameGeometry().x(), frame.x() + frame.width() + 10);
    EXPECT_EQ(panel.frameGeometry().y(), frame.y());
    placeBesideWindow(&panel, &main, 0);
    EXPECT_EQ(panel.frameGeometry().x(), frame.x() + frame.width());
}

}  // namespace
}  // namespace quorvel
