#pragma once
// Files written by the plot exports: the choice of the file through the platform's save
// chooser, the PDF rendering of a view, and a write that either completes or leaves
// nothing and reports why.

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <functional>
#include <optional>

class QPainter;
class QWidget;

namespace quorvel {

// Asks for a file of the given type ("txt", "pdf", ...), proposing `proposedName` in the
// folder of the document whose window holds `parent`, in a dialog over `parent`; none when
// the user cancels. The path ends with the type's extension.
std::optional<QString> chooseExportFile(const QString& proposedName, const QString& fileType,
                                        QWidget* parent = nullptr);

// A one-page PDF document of exactly `pointSize` points, without margins, drawn by `paint`
// with one painter unit per point. Empty when the document cannot be painted.
QByteArray pdfOfSize(const QSizeF& pointSize, const std::function<void(QPainter&)>& paint);

// Writes `contents` to `path`, replacing the file. A file that cannot be written is
// reported to the user and left as it was; answers whether the file was written.
bool writeExportFile(const QString& path, const QByteArray& contents);

} // namespace quorvel
