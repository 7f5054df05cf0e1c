#pragma once
// Files written by the plot exports: the choice of the file through the platform's save
// chooser, and a write that either completes or leaves nothing and reports why.

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvel {

// Asks for a file of the given type ("txt", "pdf", ...), proposing `proposedName`; none
// when the user cancels.
std::optional<QString> chooseExportFile(const QString& proposedName, const QString& fileType);

// Writes `contents` to `path`, replacing the file. A file that cannot be written is
// reported to the user and left as it was; answers whether the file was written.
bool writeExportFile(const QString& path, const QByteArray& contents);

} // namespace quorvel
