#include "plot/PlotFiles.h"

#include "platform/AlertService.h"
#include "platform/FileChooser.h"

#include <QObject>
#include <QSaveFile>

namespace quorvel {

std::optional<QString> chooseExportFile(const QString& proposedName, const QString& fileType)
{
    const QString path = FileChooser::current().chooseFileToSave(QString(), proposedName, {fileType});
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

bool writeExportFile(const QString& path, const QByteArray& contents)
{
    // Written to a temporary file first: the chosen file changes only once all is written.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return true;
    const QString reason = file.errorString();
    file.cancelWriting();
    showAlert(QObject::tr("The file \"%1\" could not be written (%2).").arg(path, reason));
    return false;
}

} // namespace quorvel
