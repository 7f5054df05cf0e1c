#pragma once

#include "characterisation/CharacterisationLog.h"

#include <QStringList>

// Records the characterisation log's lines while it lives, then puts the previous writer back.
class RecordingLog
{
public:
    RecordingLog()
        : mPrevious(quorvel::setCharacterisationLogWriter([this](const QString& line) { mLines.append(line); }))
    {
    }
    ~RecordingLog() { quorvel::setCharacterisationLogWriter(mPrevious); }
    RecordingLog(const RecordingLog&) = delete;
    RecordingLog& operator=(const RecordingLog&) = delete;

    const QStringList& lines() const { return mLines; }

private:
    QStringList mLines;
    quorvel::LogLineWriter mPrevious;
};
