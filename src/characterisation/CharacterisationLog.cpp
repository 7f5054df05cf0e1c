#include "characterisation/CharacterisationLog.h"

#include <utility>

namespace quorvel {

namespace {

LogLineWriter& installedWriter()
{
    static LogLineWriter writer;
    return writer;
}

}  // namespace

LogLineWriter setCharacterisationLogWriter(LogLineWriter writer)
{
    return std::exchange(installedWriter(), std::move(writer));
}

void writeCharacterisationLog(const QString& line)
{
    if (const LogLineWriter& writer = installedWriter())
        writer(line);
}

}  // namespace quorvel
