#include "platform/FileChooser.h"

#include <QFileDialog>

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

QString DialogFileChooser::chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, title, QString(), nameFilter(extensions));
}

QString DialogFileChooser::chooseFileToSave(const QString& title, const QString& proposedName,
                                            const QStringList& extensions, QWidget* parent)
{
    QFileDialog dialog(parent, title, QString(), nameFilter(extensions));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(proposedName);
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
