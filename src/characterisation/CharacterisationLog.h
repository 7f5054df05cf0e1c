#pragma once
// Where the characterisation functions report: the application installs a writer that
// appends to the log window, tests install a recorder; without one, lines are dropped.

#include <QString>

#include <functional>

namespace quorvel {

using LogLineWriter = std::function<void(const QString& line)>;

// Installs the writer and answers the one it replaces (an empty writer drops lines).
LogLineWriter setCharacterisationLogWriter(LogLineWriter writer);

// Hands one line (ending in "\n") to the installed writer.
void writeCharacterisationLog(const QString& line);

}  // namespace quorvel
