#include "platform/FileChooser.h"

#include "platform/Document.h"
#include "platform/WindowController.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace quorvel {

namespace {

FileChooser* installed = nullptr;

QString nameFilter(const QStringList& extensions)
{
    if (extensions.isEmpty())
        return QString();
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns.append(QStringLiteral("*.") + extension);
    return QObject::tr("Documents (%1)").arg(patterns.join(u' '));
}

}  // namespace

FileChooser& FileChooser::current()
{
    static DialogFileChooser dialogs;
    return installed ? *installed : dialogs;
}

void FileChooser::setCurrent(FileChooser* chooser)
{
    installed = chooser;
}

QString documentFolderOf(const QWidget* widget)
{
    const auto* controller = dynamic_cast<WindowController*>(windowResponder(widget ? widget->window() : nullptr));
    const Document* document = controller ? controller->document() : nullptr;
    if (!document || document->filePath().isEmpty())
        return QString();
    return QFileInfo(document->filePath()).absolutePath();
}

QString proposedPathIn(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

QString pathWithExtension(const QString& path, const QString& extension)
{
    const QString ending = QLatin1Char('.') + extension;
    return path.endsWith(ending, Qt::CaseInsensitive) ? path : path + ending;
}

QString DialogFileChooser::chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), nameFilter(extensions));
}

QString DialogFileChooser::chooseFileToSave(const QString& title, const QString& proposedName,
                                            const QStringList& extensions, QWidget* parent)
{
    const QFileInfo proposed(proposedName);
    const QString folder = proposed.isAbsolute() ? proposed.absolutePath() : QString();
    QFileDialog dialog(parent, title, folder, nameFilter(extensions));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(proposed.fileName());
    if (!extensions.isEmpty())
        dialog.setDefaultSuffix(extensions.first());
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                   : QString();
}

QString DialogFileChooser::chooseFolder(const QString& title, QWidget* parent)
{
    return QFileDialog::getExistingDirectory(parent, title);
}

PresetFileChooser::PresetFileChooser() : mPrevious(installed)
{
    setCurrent(this);
}

PresetFileChooser::~PresetFileChooser()
{
    if (installed == this)
        setCurrent(mPrevious);
}

QString PresetFileChooser::next()
{
    return mPaths.isEmpty() ? QString() : mPaths.takeFirst();
}

QString PresetFileChooser::chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent)
{
    mRequests.append(Request{false, title, QString(), extensions, parent});
    return next();
}

QString PresetFileChooser::chooseFileToSave(const QString& title, const QString& proposedName,
                                            const QStringList& extensions, QWidget* parent)
{
    mRequests.append(Request{true, title, proposedName, extensions, parent});
    return next();
}

QString PresetFileChooser::chooseFolder(const QString& title, QWidget* parent)
{
    mRequests.append(Request{false, title, QString(), {}, parent, true});
    return next();
}

}  // namespace quorvel
