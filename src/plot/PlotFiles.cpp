#include "plot/PlotFiles.h"

#include "platform/AlertService.h"
#include "platform/FileAccess.h"
#include "platform/FileChooser.h"

#include <QBuffer>
#include <QObject>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace quorvel {

std::optional<QString> chooseExportFile(const QString& proposedName, const QString& fileType, QWidget* parent)
{
    const QString path = FileChooser::current().chooseFileToSave(
        QString(), proposedPathIn(documentFolderOf(parent), proposedName), {fileType}, parent);
    if (path.isEmpty())
        return std::nullopt;
    return pathWithExtension(path, fileType);
}

QByteArray pdfOfSize(const QSizeF& pointSize, const std::function<void(QPainter&)>& paint)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Quorvel"));
        writer.setResolution(72); // one painter unit per point, as the views measure
        // An exact size: a view close to a paper size is not widened to it.
        const QPageSize page(pointSize, QPageSize::Point, QString(), QPageSize::ExactMatch);
        writer.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        paint(painter);
        painter.end();
    }
    return data;
}

bool writeExportFile(const QString& path, const QByteArray& contents)
{
    // The chosen file changes only once all is written.
    const std::optional<QString> failure = writeFileAtomically(path, contents);
    if (failure)
        showAlert(QObject::tr("The file \"%1\" could not be written (%2).").arg(path, *failure));
    return !failure;
}

} // namespace quorvel
