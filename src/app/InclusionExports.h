#pragma once
// The reports of an inclusion-data document: a plain-text table, a LaTeX folder with
// one PDF volume diagram per inclusion, and an HTML page with one PNG diagram each.
// Values are escaped for the report's language, every file is written atomically, a
// path that cannot be written is reported once and then nothing is opened. A LaTeX
// report that pdflatex could not compile (a value too long for it) is refused with an
// alert before anything is written.

#include "platform/Value.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace quorvel {

class CInclusionDataDocument;

// A value cut to w characters: filled with spaces on the right, or cut on the right.
QString cutTo(const QString& text, int width);
// A value as LaTeX text of the report's T1 and textcomp fonts: every printable character
// prints as itself, except that control characters (line breaks) become spaces, the Apple
// logo reads "(Apple)", and a few have no glyph of their own in these fonts: the
// n-ary sum and product print as the Greek capitals, the lozenge as a diamond, the
// ellipsis as three periods, the fi and fl ligatures as their two letters.
QString escapeLaTeX(const QString& text);
// A value as HTML text: markup characters as entities, control characters other than
// tab and line ends (which HTML does not allow) as spaces.
QString escapeHTML(const QString& text);
// The text in Mac OS Roman; characters outside it become '?' and are counted.
QByteArray toMacRoman(const QString& text, int* unmapped = nullptr);
// The longest line that pdflatex reads whole (TeX Live reads at most 200000 bytes; the
// auxiliary file repeats a heading's line with some more text).
inline constexpr qsizetype kLaTeXLineLimit = 100000;
// The most characters a value may print in a cell of the report's tables: LaTeX measures
// no cell wider than 16383 pt, and the widest character (the ellipsis) takes 15.7 pt.
// The Apple logo, printed as a word, counts three.
inline constexpr qsizetype kLaTeXCellLimit = 1000;

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
    // Why pdflatex would not compile the report (its bytes given); empty when it would.
    QString latexProblem(const QByteArray& report) const;
    // The document's name with the extension (none: without), in the document's folder when it has one.
    QString proposedName(const QString& extension = QString()) const;
    // Writes the figures of every inclusion into the folder; false (reported) when one fails.
    bool writeFigures(const QString& folder, const QString& extension) const;

    Array mInclusions;
    QString mDocumentName;
    QString mDocumentFolder;  // empty for an untitled document
};

}  // namespace quorvel
