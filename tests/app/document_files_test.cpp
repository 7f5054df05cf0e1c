// Documents through the controller: round trips of each document kind, damaged files,
// failed saves, revert, and closing or quitting with unsaved changes.

#include "support/AppTestSupport.h"
#include "support/file_bytes.h"

#include "app/CFluidModelDataDocument.h"
#include "app/CInclusionDataDocument.h"
#include "app/DocumentTypes.h"
#include "app/InclusionDataController.h"
#include "app/InclusionRecord.h"
#include "platform/NotificationCenter.h"
#include "platform/UndoManager.h"
#include "plot/CPlotFormat.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// The root keys of an archive as python's plistlib reads them.
QString rootKeysByPlistlib(const QString& path)
{
    QProcess python;
    python.start("python3", {"-c",
                             "import plistlib,sys\n"
                             "d=plistlib.load(open(sys.argv[1],'rb'))\n"
                             "assert d['$archiver']=='NSKeyedArchiver'\n"
                             "print(','.join(sorted(d['$top'].keys())))",
                             path});
    python.waitForFinished();
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed();
}

Dictionary twoPointInclusion(const QString& name, double th)
{
    Dictionary inclusion = newInclusionRecord();
    inclusion.setValue("name", name);
    inclusion.setValue("Th", th);
    inclusion.setValue("CO2", 2.5);
    inclusion.setValue("comment", QString::fromUtf8("Quartz, zone é"));
    inclusion.arrayValue("volumes").insert(0, newVolumePoint(-5.5, 12.25, VolumeCode::User));
    return inclusion;
}

struct DocumentFiles : ::testing::Test, AppFixture
{
    CInclusionDataDocument* newInclusionDocument()
    {
        controller->performAction("onNewInclusionDataDocument:", nullptr);
        settle();
        return dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
    }
    CInclusionDataDocument* savedInclusionDocument(const QString& name)
    {
        CInclusionDataDocument* document = newInclusionDocument();
        document->getInclusions().append(twoPointInclusion("B-2", 131.5));
        chooser.queuePath(path(name));
        EXPECT_TRUE(document->saveDocumentAs());
        return document;
    }
};

TEST_F(DocumentFiles, InclusionDataRoundTripKeepsEveryValueAndKind)
{
    CInclusionDataDocument* document = savedInclusionDocument("data.inc");
    const Array saved = document->getInclusions().deepCopy();
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_EQ(document->displayName(), "data.inc");
    EXPECT_EQ(rootKeysByPlistlib(path("data.inc")), "InclusionsArray");

    document->close();
    settle();
    EXPECT_TRUE(controller->documents().isEmpty());

    auto* reopened = dynamic_cast<CInclusionDataDocument*>(controller->openDocumentWithContentsOfFile(path("data.inc"), true));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->getInclusions().isEqualTo(saved));
    const Dictionary point = reopened->getInclusions().at(1).toDictionary().arrayValue("volumes").at(0).toDictionary();
    EXPECT_TRUE(point.value("code").isInt());
    EXPECT_EQ(point.doubleValue("Tvol"), -5.5);
    EXPECT_TRUE(alerts.alerts().isEmpty());
    // The reopened editor shows the saved list without adding a first inclusion.
    EXPECT_EQ(reopened->getInclusions().size(), 2);
    EXPECT_FALSE(reopened->isDocumentEdited());
    // An open file gives back its open document.
    EXPECT_EQ(controller->openDocumentWithContentsOfFile(path("data.inc"), true), reopened);
    EXPECT_EQ(controller->documents().size(), 1);
}

TEST_F(DocumentFiles, FluidModelRoundTripKeepsComputedKeysAndOrder)
{
    RecordingEditorFactory editors;
    controller->performAction("onNewFluidModelDocument:", nullptr);
    auto* document = dynamic_cast<CFluidModelDataDocument*>(controller->documents().last());
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(editors.made.size(), 1);
    EXPECT_EQ(editors.made[0]->given.value(0), document->fluids());  // the editor shares the list

    Array components{Dictionary{{"name", "C1"}, {"nc", 1}, {"mole", 80.5}},
                     Dictionary{{"name", "C7+"}, {"nc", 7}, {"mole", 19.5}, {"mw", 180.0}}};
    document->fluids().append(Dictionary{{"name", "Oil A"}, {"fluidType", 2}, {"GOR", 120.25}, {"components", components}});
    document->fluids().append(Dictionary{{"name", "Gas"}, {"fluidType", 1}, {"alpha", 0.9}});
    const Array saved = document->fluids().deepCopy();
    chooser.queuePath(path("model.flu"));
    ASSERT_TRUE(document->saveDocumentAs());
    EXPECT_EQ(rootKeysByPlistlib(path("model.flu")), "fluids");
    document->close();
    settle();

    auto* reopened = dynamic_cast<CFluidModelDataDocument*>(controller->openDocumentWithContentsOfFile(path("model.flu"), true));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->fluids().isEqualTo(saved));
    EXPECT_EQ(editors.made.last()->given.last(), reopened->fluids());

    // Revert gives the editor the file's list in place of the one it edited.
    reopened->fluids().append(Dictionary{{"name", "unsaved"}});
    reopened->updateChangeCount(Document::ChangeDone);
    int posted = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(FluidModelDataDocModified, &observer,
                                                    [&](const Notification&) { ++posted; });
    ASSERT_TRUE(reopened->revertDocumentToSaved());
    EXPECT_EQ(posted, 1);
    EXPECT_TRUE(reopened->fluids().isEqualTo(saved));
    EXPECT_EQ(editors.made.last()->given.last(), reopened->fluids());
    EXPECT_FALSE(reopened->isDocumentEdited());
}

TEST_F(DocumentFiles, NewFluidModelSavesAnEmptyList)
{
    controller->performAction("onNewFluidModelDocument:", nullptr);
    Document* document = controller->documents().last();
    EXPECT_EQ(controller->defaultType(), DocumentTypes::FluidModel);
    ASSERT_TRUE(document->writeToFile(path("empty.flu"), nullptr));
    auto* reopened = dynamic_cast<CFluidModelDataDocument*>(controller->openDocumentWithContentsOfFile(path("empty.flu"), false));
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->fluids().isEmpty());
}

// Each damaged file: one alert naming it, no document made, the open document untouched.
TEST_F(DocumentFiles, DamagedFilesAreRefusedWithOneAlert)
{
    CInclusionDataDocument* open = savedInclusionDocument("good.inc");
    const Array before = open->getInclusions().deepCopy();
    const QByteArray good = readBytes(path("good.inc"));

    QString deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<array>";
    const QString plistHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">";
    const QString archiveOf =
        plistHead + "<dict><key>$archiver</key><string>NSKeyedArchiver</string><key>$version</key><integer>100000</integer>"
                    "<key>$top</key><dict><key>InclusionsArray</key><dict><key>CF$UID</key><integer>1</integer></dict></dict>"
                    "<key>$objects</key><array><string>$null</string>%1</array></dict></plist>";
    const QList<std::pair<QString, QByteArray>> cases{
        {"truncated.inc", good.left(good.size() / 2)},
        {"text.inc", "These are not inclusions."},
        {"empty.inc", ""},
        {"plain-list.inc", (plistHead + "<dict><key>InclusionsArray</key><array/></dict></plist>").toUtf8()},
        {"deep.inc", (plistHead + deep).toUtf8()},
        {"string-list.inc", archiveOf.arg("<string>not a list</string>").toUtf8()},
        {"wrong-root.inc", readBytes(QStringLiteral(QUORVEL_FUZZ_SEEDS "/pasteboard.bin"))},
        {"colour.inc", readBytes(QStringLiteral(QUORVEL_FUZZ_SEEDS "/colour.bin"))},
        {"objects.inc", readBytes(QStringLiteral(QUORVEL_FUZZ_SEEDS "/objects.bin"))},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name.toStdString());
        writeBytes(path(name), bytes);
        alerts.clear();
        EXPECT_EQ(controller->openDocumentWithContentsOfFile(path(name), true), nullptr);
        ASSERT_EQ(alerts.alerts().size(), 1);
        EXPECT_TRUE(alerts.alerts()[0].message.contains(path(name)));
        EXPECT_EQ(controller->documents().size(), 1);
    }
    // A named pipe is refused before it is opened: reading it would wait for ever.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.inc")).constData(), 0600), 0);
    alerts.clear();
    EXPECT_EQ(controller->openDocumentWithContentsOfFile(path("pipe.inc"), true), nullptr);
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].message.contains("not a regular file"));
    EXPECT_TRUE(open->getInclusions().isEqualTo(before));
}

// Plot files with a root entry missing or of the wrong kind, or another document's file renamed,
// are refused with the entry's name: opening them half empty and saving would lose what they held.
TEST_F(DocumentFiles, DamagedOrForeignPlotFilesAreRefusedNamingTheEntry)
{
    const Value format(std::make_shared<CPlotFormat>());
    const KeyedArchiver::RootList plot{{"curves", Array()}, {"points", Array()}, {"correlations", Array()},
                                       {"plotFormat", format}};
    const KeyedArchiver::RootList diagram{{"phaseDiagrams", Array()}, {"plotFormat", format}};
    const auto without = [](KeyedArchiver::RootList roots, const QString& key) {
        roots.erase(std::remove_if(roots.begin(), roots.end(), [&](const auto& root) { return root.first == key; }),
                    roots.end());
        return roots;
    };
    const auto with = [](KeyedArchiver::RootList roots, const QString& key, const Value& value) {
        for (auto& root : roots)
            if (root.first == key)
                root.second = value;
        return roots;
    };
    const struct
    {
        const char* file;
        KeyedArchiver::RootList roots;
        QString key;  // named in the alert; empty: the file opens
    } cases[] = {
        {"good.abp", plot, {}},
        {"good.ptd", diagram, {}},
        {"inclusions.abp", {{"InclusionsArray", Array()}}, "curves"},
        {"fluids.ptd", {{"fluids", Array()}}, "phaseDiagrams"},
        {"inclusions.ptd", {{"InclusionsArray", Array()}}, "phaseDiagrams"},
        {"no-correlations.abp", without(plot, "correlations"), "correlations"},
        {"no-points.abp", without(plot, "points"), "points"},
        {"no-format.abp", without(plot, "plotFormat"), "plotFormat"},
        {"no-format.ptd", without(diagram, "plotFormat"), "plotFormat"},
        {"curves-a-text.abp", with(plot, "curves", "x"), "curves"},
        {"points-of-numbers.abp", with(plot, "points", Array{1, 2}), "points"},
        {"format-a-list.abp", with(plot, "plotFormat", Array()), "plotFormat"},
        {"diagrams-a-number.ptd", with(diagram, "phaseDiagrams", 3), "phaseDiagrams"},
        {"diagrams-of-records.ptd", with(diagram, "phaseDiagrams", Array{Dictionary()}), "phaseDiagrams"},
        {"format-a-text.ptd", with(diagram, "plotFormat", "x"), "plotFormat"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(KeyedArchiver::writeFile(path(c.file), c.roots));
        alerts.clear();
        Document* opened = controller->openDocumentWithContentsOfFile(path(c.file), false);
        if (c.key.isEmpty()) {
            EXPECT_NE(opened, nullptr);
            EXPECT_TRUE(alerts.alerts().isEmpty());
            continue;
        }
        EXPECT_EQ(opened, nullptr);
        ASSERT_EQ(alerts.alerts().size(), 1);
        EXPECT_TRUE(alerts.alerts()[0].message.contains(path(c.file)));
        EXPECT_TRUE(alerts.alerts()[0].message.contains("\"" + c.key + "\"")) << alerts.alerts()[0].message.toStdString();
    }
    EXPECT_EQ(controller->documents().size(), 2);
}

TEST_F(DocumentFiles, WrongContainerKindsInsideRecordsAreRefused)
{
    Array volumesNotAList{Dictionary{{"name", "A"}, {"volumes", 3}}};
    Array numbersNotRecords{1, 2};
    Array pointsNotRecords{Dictionary{{"name", "A"}, {"volumes", Array{"x"}}}};
    for (const Array& list : {volumesNotAList, numbersNotRecords, pointsNotRecords}) {
        ASSERT_TRUE(KeyedArchiver::writeFile(path("bad.inc"), {{"InclusionsArray", list}}));
        alerts.clear();
        EXPECT_EQ(controller->openDocumentWithContentsOfFile(path("bad.inc"), false), nullptr);
        EXPECT_EQ(alerts.alerts().size(), 1);
    }
    Array fluidsBadComponents{Dictionary{{"name", "F"}, {"components", "none"}}};
    ASSERT_TRUE(KeyedArchiver::writeFile(path("bad.flu"), {{"fluids", fluidsBadComponents}}));
    EXPECT_EQ(controller->openDocumentWithContentsOfFile(path("bad.flu"), false), nullptr);
    EXPECT_TRUE(controller->documents().isEmpty());
}

// The seed archive holds a record with only "Th": it is taken, its missing keys read as 0.
TEST_F(DocumentFiles, RecordsWithMissingKeysAreAcceptedWithAnEmptyVolumesList)
{
    QFile::copy(QStringLiteral(QUORVEL_FUZZ_SEEDS "/inclusions.xml"), path("seed.inc"));
    auto* document = dynamic_cast<CInclusionDataDocument*>(controller->openDocumentWithContentsOfFile(path("seed.inc"), true));
    ASSERT_NE(document, nullptr);
    const Dictionary inclusion = document->getInclusions().at(0).toDictionary();
    EXPECT_EQ(inclusion.doubleValue("Th"), 98.5);
    EXPECT_EQ(inclusion.doubleValue("Fv"), 0);
    EXPECT_TRUE(inclusion.value("volumes").isArray());
    EXPECT_TRUE(inclusion.arrayValue("volumes").isEmpty());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(DocumentFiles, FailedSaveKeepsTheOldFileThePathAndTheModifiedState)
{
    CInclusionDataDocument* document = savedInclusionDocument("kept.inc");
    const QByteArray oldBytes = readBytes(path("kept.inc"));
    document->controller()->onAddInclusion();
    settle();
    ASSERT_TRUE(document->isDocumentEdited());

    // Save As into a folder that does not exist (a file stands where its parent should be).
    writeBytes(path("plain"), "x");
    alerts.clear();
    chooser.queuePath(path("plain/other.inc"));
    EXPECT_FALSE(document->saveDocumentAs());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].message.contains(path("plain/other.inc")));
    EXPECT_TRUE(alerts.alerts()[0].message.contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))))
        << "the system's reason: " << alerts.alerts()[0].message.toStdString();
    EXPECT_EQ(QFileInfo(document->filePath()).fileName(), "kept.inc");
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(readBytes(path("kept.inc")), oldBytes);
}

TEST_F(DocumentFiles, SaveAsAddsTheTypesExtensionUnlessTheNameEndsWithIt)
{
    const QList<std::pair<QString, QString>> names{
        {"QZ-12.5", "QZ-12.5.inc"}, {"plain", "plain.inc"},        {"B-2.inc", "B-2.inc"},
        {"upper.INC", "upper.INC"}, {"notes.txt", "notes.txt.inc"}, {"v1.0.inc", "v1.0.inc"},
    };
    for (const auto& [typed, saved] : names) {
        SCOPED_TRACE(typed.toStdString());
        CInclusionDataDocument* document = newInclusionDocument();
        chooser.queuePath(path(typed));
        ASSERT_TRUE(document->saveDocumentAs());
        EXPECT_EQ(document->filePath(), path(saved));
        EXPECT_TRUE(QFile::exists(path(saved)));
        document->close();
        settle();
        EXPECT_NE(controller->openDocumentWithContentsOfFile(path(saved), false), nullptr) << "it opens again";
    }
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

// The chooser confirmed "QZ-12.5"; replacing an existing "QZ-12.5.inc" is asked about.
TEST_F(DocumentFiles, SaveAsAsksBeforeReplacingTheFileItsExtensionNames)
{
    writeBytes(path("QZ-12.5.inc"), "another document");
    CInclusionDataDocument* document = newInclusionDocument();
    alerts.queueResponse(AlertResponse::Alternate);  // Cancel
    chooser.queuePath(path("QZ-12.5"));
    EXPECT_FALSE(document->saveDocumentAs());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].message.contains("\u201cQZ-12.5.inc\u201d already exists"));
    EXPECT_EQ(readBytes(path("QZ-12.5.inc")), "another document");
    EXPECT_TRUE(document->filePath().isEmpty());

    alerts.clear();
    alerts.queueResponse(AlertResponse::Default);  // Replace
    chooser.queuePath(path("QZ-12.5"));
    EXPECT_TRUE(document->saveDocumentAs());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(document->filePath(), path("QZ-12.5.inc"));
    EXPECT_NE(readBytes(path("QZ-12.5.inc")), "another document");

    alerts.clear();
    chooser.queuePath(path("QZ-12.5"));
    EXPECT_TRUE(document->saveDocumentAs()) << "its own file is saved again without a question";
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(DocumentFiles, SaveIntoAReadOnlyFolderLeavesTheOldBytes)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    QDir().mkdir(path("locked"));
    CInclusionDataDocument* document = savedInclusionDocument("locked/data.inc");
    const QByteArray oldBytes = readBytes(path("locked/data.inc"));
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    document->controller()->onAddInclusion();
    settle();
    alerts.clear();
    EXPECT_FALSE(document->saveDocument());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(document->isDocumentEdited());
    EXPECT_EQ(readBytes(path("locked/data.inc")), oldBytes);
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(DocumentFiles, RevertRestoresTheFileClearsUndoAndPostsTheNotification)
{
    CInclusionDataDocument* document = savedInclusionDocument("revert.inc");
    const Array saved = document->getInclusions().deepCopy();
    document->controller()->onAddInclusion();
    settle();
    ASSERT_TRUE(document->undoManager()->canUndo());

    int posted = 0;
    QObject observer;
    NotificationCenter::defaultCenter().addObserver(InclusionsDataDocModified, &observer,
                                                    [&](const Notification&) { ++posted; });
    ASSERT_TRUE(document->revertDocumentToSaved());
    EXPECT_TRUE(document->getInclusions().isEqualTo(saved));
    EXPECT_EQ(document->controller()->inclusionsArray(), document->getInclusions());
    EXPECT_FALSE(document->undoManager()->canUndo());
    EXPECT_FALSE(document->isDocumentEdited());
    EXPECT_GE(posted, 1);

    // A file damaged since: the revert is refused and the contents stay.
    document->controller()->onAddInclusion();
    settle();
    const Array current = document->getInclusions();
    writeBytes(path("revert.inc"), "damaged");
    alerts.clear();
    EXPECT_FALSE(document->revertDocumentToSaved());
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(document->getInclusions(), current);
    EXPECT_EQ(document->getInclusions().size(), 3);
    EXPECT_TRUE(document->isDocumentEdited());
}

TEST_F(DocumentFiles, ClosingAnEditedDocumentAsksSaveDontSaveCancel)
{
    CInclusionDataDocument* document = newInclusionDocument();
    ASSERT_TRUE(document->isDocumentEdited());  // the editor added the first inclusion
    QWidget* window = document->controller()->window();

    alerts.queueResponse(AlertResponse::Other);  // Cancel
    EXPECT_FALSE(window->close());
    settle();
    EXPECT_EQ(controller->documents().size(), 1);
    EXPECT_EQ(alerts.alerts().size(), 1);

    alerts.queueResponse(AlertResponse::Default);  // Save, then the chooser is cancelled
    EXPECT_FALSE(window->close());
    EXPECT_EQ(controller->documents().size(), 1);

    alerts.queueResponse(AlertResponse::Default);  // Save into a file
    chooser.queuePath(path("closed.inc"));
    EXPECT_TRUE(window->close());
    settle();
    EXPECT_TRUE(controller->documents().isEmpty());
    EXPECT_TRUE(QFile::exists(path("closed.inc")));

    CInclusionDataDocument* second = newInclusionDocument();
    alerts.queueResponse(AlertResponse::Alternate);  // Don't Save
    EXPECT_TRUE(second->controller()->window()->close());
    settle();
    EXPECT_TRUE(controller->documents().isEmpty());
}

TEST_F(DocumentFiles, QuitReviewsEveryUnsavedDocument)
{
    newInclusionDocument();
    newInclusionDocument();
    EXPECT_EQ(controller->documents()[1]->displayName(), "Untitled 2");

    alerts.queueResponse(AlertResponse::Alternate);  // first: Don't Save
    alerts.queueResponse(AlertResponse::Other);      // second: Cancel
    EXPECT_FALSE(controller->reviewUnsavedDocumentsForQuit());
    EXPECT_EQ(controller->documents().size(), 2);

    alerts.clear();
    alerts.queueResponse(AlertResponse::Alternate);
    alerts.queueResponse(AlertResponse::Default);
    chooser.queuePath(path("quit.inc"));
    EXPECT_TRUE(controller->reviewUnsavedDocumentsForQuit());
    EXPECT_EQ(alerts.alerts().size(), 2);
    EXPECT_TRUE(QFile::exists(path("quit.inc")));
}

TEST_F(DocumentFiles, ViewOnlyUndoGroupsDoNotMarkTheDocument)
{
    CInclusionDataDocument* document = savedInclusionDocument("view.inc");
    UndoManager* undo = document->undoManager();
    int viewTarget = 0;
    undo->addViewOnlyTarget(&viewTarget);
    undo->registerUndo(&viewTarget, [] {});
    settle();
    EXPECT_FALSE(document->isDocumentEdited());
    undo->undo();
    EXPECT_FALSE(document->isDocumentEdited());

    std::function<void()> edit = [&] { undo->registerUndo(document, edit); };  // undo registers the redo
    undo->registerUndo(document, edit);
    settle();
    EXPECT_TRUE(document->isDocumentEdited());
    undo->undo();
    EXPECT_FALSE(document->isDocumentEdited());
    undo->redo();
    EXPECT_TRUE(document->isDocumentEdited());
}

}  // namespace
