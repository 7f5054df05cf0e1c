// Whole-file reading and atomic writing of documents: what is not a regular file of an
// allowed size is refused before a byte is read (a named pipe would block for ever), and a
// save that fails half-way leaves the old file byte for byte and says the system's reason.

#include "platform/AlertService.h"
#include "platform/Document.h"
#include "platform/FileAccess.h"
#include "platform/PropertyListCheck.h"
#include "support/ends_within.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

// A document whose contents are its bytes as they stand.
class BytesDocument : public Document
{
public:
    QByteArray contents;
    int loads = 0;

    QByteArray dataRepresentationOfType(const QString&, QString*) override { return contents; }
    bool loadDataRepresentation(const QByteArray& data, const QString&, QString*) override
    {
        ++loads;
        contents = data;
        return true;
    }
};

struct FileAccess : ::testing::Test
{
    QTemporaryDir dir;
    RecordingAlertService alerts;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(FileAccess, WhatIsNotARegularFileOfAllowedSizeIsRefusedBeforeReading)
{
    QDir().mkdir(path("folder.inc"));
    QFile sparse(path("huge.inc"));
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(PropertyListCheck::maxSize + 1));  // no block written
    sparse.close();

    const struct
    {
        const char* name;
        FileReadStatus status;
        QString reason;
    } cases[] = {
        {"folder.inc", FileReadStatus::NotARegularFile, "not a regular file"},
        {"huge.inc", FileReadStatus::TooLarge, "larger than 256 MB"},
        {"absent.inc", FileReadStatus::Unreadable, QString::fromLocal8Bit(std::strerror(ENOENT))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileContents read = readWholeFile(path(c.name), PropertyListCheck::maxSize);
        EXPECT_EQ(read.status, c.status);
        EXPECT_TRUE(read.bytes.isEmpty());

        BytesDocument document;
        QString error;
        EXPECT_FALSE(document.readFromFile(path(c.name), &error));
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
        EXPECT_EQ(document.loads, 0);
    }
}

TEST_F(FileAccess, ANamedPipeWithoutWriterIsRefusedAtOnce)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(path("pipe.inc")).constData(), 0600), 0);
    EXPECT_TRUE(ends_within(10, [&] {
        BytesDocument document;
        QString error;
        return !document.readFromFile(path("pipe.inc"), &error) && error.contains("not a regular file");
    }));
}

TEST_F(FileAccess, ReadingStopsAtTheLimitItIsGiven)
{
    writeBytes(path("ten"), "0123456789");
    const FileContents whole = readWholeFile(path("ten"), 10);
    EXPECT_EQ(whole.status, FileReadStatus::Read);
    EXPECT_EQ(whole.bytes, "0123456789");
    EXPECT_EQ(readWholeFile(path("ten"), 9).status, FileReadStatus::TooLarge);
    writeBytes(path("empty"), "");
    EXPECT_EQ(readWholeFile(path("empty"), 0).status, FileReadStatus::Read);
}

TEST_F(FileAccess, RevertFromANamedPipeIsRefusedWithOneAlert)
{
    BytesDocument document;
    document.contents = "edited";
    ASSERT_TRUE(document.writeToFile(path("saved.inc"), nullptr));
    document.setFilePath(path("saved.inc"));
    ASSERT_TRUE(QFile::remove(path("saved.inc")));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("saved.inc")).constData(), 0600), 0);
    document.updateChangeCount(Document::ChangeDone);

    EXPECT_FALSE(document.revertDocumentToSaved());
    ASSERT_EQ(alerts.alerts().size(), 1);
    EXPECT_TRUE(alerts.alerts()[0].message.contains("not a regular file"));
    EXPECT_EQ(document.contents, "edited");
    EXPECT_TRUE(document.isDocumentEdited());
}

// The limit binds the superuser too, so this runs whoever runs the tests.
TEST_F(FileAccess, SaveCutShortByTheFileSizeLimitLeavesTheOldBytesAndSaysWhy)
{
    BytesDocument document;
    document.contents = QByteArray(1000, 'o');
    ASSERT_TRUE(document.writeToFile(path("kept.inc"), nullptr));
    document.contents = QByteArray(64 * 1024, 'n');

    QString error;
    bool saved = true;
    {
        const FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.isSet());
        saved = document.writeToFile(path("kept.inc"), &error);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(readBytes(path("kept.inc")), QByteArray(1000, 'o'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.inc"}) << "nothing left behind";

    ASSERT_TRUE(document.writeToFile(path("kept.inc"), &error));
    EXPECT_EQ(readBytes(path("kept.inc")), document.contents);
}

TEST_F(FileAccess, SaveIntoAReadOnlyFolderSaysPermissionDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    QDir().mkdir(path("locked"));
    BytesDocument document;
    document.contents = "old";
    ASSERT_TRUE(document.writeToFile(path("locked/data.inc"), nullptr));
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    document.contents = "new";
    QString error;
    EXPECT_FALSE(document.writeToFile(path("locked/data.inc"), &error));
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EACCES)));
    EXPECT_EQ(readBytes(path("locked/data.inc")), "old");
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(FileAccess, ASaveKeepsTheFilesPermissionsAndItsSymbolicLink)
{
    writeBytes(path("data.inc"), "old");
    ASSERT_EQ(chmod(QFile::encodeName(path("data.inc")).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(path("data.inc"), path("link.inc")));

    EXPECT_EQ(writeFileAtomically(path("link.inc"), "new"), std::nullopt);
    EXPECT_TRUE(QFileInfo(path("link.inc")).isSymLink());
    EXPECT_EQ(readBytes(path("data.inc")), "new");
    struct stat status{};
    ASSERT_EQ(stat(QFile::encodeName(path("data.inc")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

}  // namespace
