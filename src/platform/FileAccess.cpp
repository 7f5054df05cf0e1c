#include "platform/FileAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvel {

namespace {

constexpr int kTemporaryNameAttempts = 16;
constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor when it goes out of scope, unless it was closed already.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    // The close's own error counts: some file systems report a failed write only then.
    int close()
    {
        const int result = ::close(fd);
        fd = -1;
        return result;
    }
};

// Reads up to `limit` bytes; false with errno set on a read error.
bool readUpTo(int fd, qint64 limit, QByteArray& bytes)
{
    constexpr qint64 kChunk = 1 << 16;
    while (bytes.size() < limit) {
        const qsizetype start = bytes.size();
        bytes.resize(start + qsizetype(std::min(kChunk, limit - start)));
        const ssize_t got = ::read(fd, bytes.data() + start, size_t(bytes.size() - start));
        if (got < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        if (got < 0)
            return false;
        bytes.resize(start + got);
        if (got == 0)
            break;
    }
    return true;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* next = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// A new file of its own beside the target, created exclusively.
int createTemporaryBeside(const QString& target, QString& temporaryPath, mode_t mode)
{
    const QFileInfo info(target);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporaryPath = info.absoluteDir().filePath(QStringLiteral(".%1.%2.saving")
                                                        .arg(info.fileName())
                                                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        const int fd = ::open(QFile::encodeName(temporaryPath).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

}  // namespace

FileContents readWholeFile(const QString& path, qint64 maxSize)
{
    // Not blocking: opening a named pipe for reading would wait for a writer.
    Descriptor file{::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        return {{}, FileReadStatus::Unreadable, systemReason(errno)};
    struct stat status{};
    if (::fstat(file.fd, &status) != 0)
        return {{}, FileReadStatus::Unreadable, systemReason(errno)};
    if (!S_ISREG(status.st_mode))
        return {{}, FileReadStatus::NotARegularFile, {}};
    if (status.st_size > maxSize)
        return {{}, FileReadStatus::TooLarge, {}};
    // One byte more than allowed: a file that grew since its size was taken still stops.
    QByteArray bytes;
    if (!readUpTo(file.fd, maxSize + 1, bytes))
        return {{}, FileReadStatus::Unreadable, systemReason(errno)};
    if (bytes.size() > maxSize)
        return {{}, FileReadStatus::TooLarge, {}};
    return {bytes, FileReadStatus::Read, {}};
}

QString fileReadProblem(const FileContents& contents, qint64 maxSize)
{
    switch (contents.status) {
    case FileReadStatus::Read: return {};
    case FileReadStatus::Unreadable: return contents.reason;
    case FileReadStatus::NotARegularFile: return QObject::tr("It is not a regular file.");
    case FileReadStatus::TooLarge:
        return QObject::tr("It is larger than %1 MB.").arg(maxSize / (1024 * 1024));
    }
    return {};
}

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    // Through a symbolic link the file it names is replaced, and the link stays.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    struct stat old{};
    const bool replacing = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    QString temporaryPath;
    Descriptor file{createTemporaryBeside(target, temporaryPath, kNewFileMode)};
    if (file.fd < 0)
        return systemReason(errno);
    const auto fail = [&temporaryPath] {
        const int error = errno;
        ::unlink(QFile::encodeName(temporaryPath).constData());
        return systemReason(error);
    };
    if (replacing && ::fchmod(file.fd, old.st_mode & 07777) != 0)
        return fail();
    if (!writeAll(file.fd, bytes) || ::fsync(file.fd) != 0 || file.close() != 0)
        return fail();
    if (::rename(QFile::encodeName(temporaryPath).constData(), QFile::encodeName(target).constData()) != 0)
        return fail();
    return std::nullopt;
}

}  // namespace quorvel
