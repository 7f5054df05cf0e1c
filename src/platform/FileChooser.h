#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace quorvel {

// The open and save panels of the application: file dialogs in the
// application, preset answers in tests. An empty path means cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // A file to open, restricted to the extensions (without dots; empty: any file).
    virtual QString chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent = nullptr) = 0;
    // A path to save to, proposing a file name (e.g. "plot.pdf"), or a path whose folder the
    // chooser starts in.
    virtual QString chooseFileToSave(const QString& title, const QString& proposedName,
                                     const QStringList& extensions = {}, QWidget* parent = nullptr) = 0;
    // An existing folder to write into.
    virtual QString chooseFolder(const QString& title, QWidget* parent = nullptr) = 0;

    static FileChooser& current();
    // Installs a chooser (not owned); nullptr goes back to the file dialogs.
    static void setCurrent(FileChooser* chooser);
};

// The folder of the file of the document whose window holds `widget`; empty for an
// untitled document, a window of no document, or none.
QString documentFolderOf(const QWidget* widget);
// What a save chooser proposes: the name in the folder (the name alone when the folder is
// empty); the chooser then starts in that folder.
QString proposedPathIn(const QString& folder, const QString& name);
// The path with "." and the extension added, unless it already ends so (letter case aside).
QString pathWithExtension(const QString& path, const QString& extension);

class DialogFileChooser : public FileChooser
{
public:
    QString chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent) override;
    QString chooseFileToSave(const QString& title, const QString& proposedName, const QStringList& extensions,
                             QWidget* parent) override;
    QString chooseFolder(const QString& title, QWidget* parent) override;
};

// Answers with preset paths in order (cancel when none is left) and records
// what was asked. Installs itself while it lives.
class PresetFileChooser : public FileChooser
{
public:
    struct Request
    {
        bool save;
        QString title;
        QString proposedName;
        QStringList extensions;
        QWidget* parent = nullptr;
        bool folder = false;
    };

    PresetFileChooser();
    ~PresetFileChooser() override;

    void queuePath(const QString& path) { mPaths.append(path); }
    const QList<Request>& requests() const { return mRequests; }

    QString chooseFileToOpen(const QString& title, const QStringList& extensions, QWidget* parent) override;
    QString chooseFileToSave(const QString& title, const QString& proposedName, const QStringList& extensions,
                             QWidget* parent) override;
    QString chooseFolder(const QString& title, QWidget* parent) override;

private:
    QString next();
    QStringList mPaths;
    QList<Request> mRequests;
    FileChooser* mPrevious;
};

}  // namespace quorvel
