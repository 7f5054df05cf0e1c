#pragma once

// A file's bytes, read and written whole by the tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace quorvel::test {

// The file's bytes; none when it cannot be read.
inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

}  // namespace quorvel::test
