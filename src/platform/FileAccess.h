#pragma once
// Whole files read and written safely: a read checks, before taking any byte, that the
// path names a regular file no larger than the caller allows (so a named pipe or a device
// cannot block or exhaust the application); a write replaces the file atomically, and a
// failure gives the system's reason.

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvel {

enum class FileReadStatus { Read, Unreadable, NotARegularFile, TooLarge };

struct FileContents
{
    QByteArray bytes;
    FileReadStatus status = FileReadStatus::Read;
    QString reason;  // the system's reason when unreadable
};

// The file's bytes when it is a regular file of at most maxSize bytes.
[[nodiscard]] FileContents readWholeFile(const QString& path, qint64 maxSize);

// Why a read was refused, in a sentence (empty after a successful read).
QString fileReadProblem(const FileContents& contents, qint64 maxSize);

// Writes the bytes into a new file beside the path and renames it over the path: the old
// file stays byte for byte unless the whole write succeeded. The system's reason on failure.
[[nodiscard]] std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace quorvel
