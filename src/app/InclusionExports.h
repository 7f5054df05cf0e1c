#pragma once
// The reports of an inclusion-data document: a plain-text table, a LaTeX folder with
// one PDF volume diagram per inclusion, and an HTML page with one PNG diagram each.
// Values are escaped for the report's language, every file is written atomically, a
// path that cannot be written is reported once and then nothing is opened.

#include "platform/Value.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace quorvel {

class CInclusionDataDocument;

// A value cut to w characters: filled with spaces on the right, or cut on the right.
QString cutTo(const QString& text, int width);
QString escapeLaTeX(const QString& text);
QString escapeHTML(const QString& text);
// The text in Mac OS Roman; characters outside it become '?' and are counted.
QByteArray toMacRoman(const QString& text, int* unmapped = nullptr);

class InclusionExports
{
public:
    explicit InclusionExports(const CInclusionDataDocument& document);

    void exportToASCII();
    void exportToLaTeX();
    void exportToHTML();

    // The contents, for a given report name (the document name) and date text.
    QString asciiReport(const QString& documentName, const QString& date) const;
    QString latexReport() const;
    QString htmlReport(const QString& documentName, const QString& date, const QString& figuresFolderName) const;

    // How a written report is opened: the desktop's handler unless tests install another.
    using ReportOpener = std::function<void(const QString& path)>;
    static void setReportOpener(ReportOpener opener);  // none: the desktop's handler

private:
    QString documentName() const;
    // The document's name with the extension (none: without), in the document's folder when it has one.
    QString proposedName(const QString& extension = QString()) const;
    // Writes the figures of every inclusion into the folder; false (reported) when one fails.
    bool writeFigures(const QString& folder, const QString& extension) const;

    Array mInclusions;
    QString mDocumentName;
    QString mDocumentFolder;  // empty for an untitled document
};

}  // namespace quorvel
