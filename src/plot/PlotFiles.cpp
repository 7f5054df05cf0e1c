#include "plot/PlotFiles.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QSaveFile>

namespace quorvel {

std::optional<QString> chooseExportFile(const QString& proposedName, const QString& fileType)
{
    const QString path = QFileDialog::getSaveFileName(nullptr, QString(), proposedName,
                                                      QStringLiteral("*.%1").arg(fileType));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

bool writeExportFile(const QString& path, const QByteArray& contents)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() && file.commit())
        return true;
    file.cancelWriting();
    QMessageBox::warning(nullptr, QString(),
                         QObject::tr("The file \"%1\" could not be written: %2").arg(path, file.errorString()));
    return false;
}

} // namespace quorvel
