#include "app/InclusionExports.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionRecord.h"
#include "app/Version.h"
#include "app/VolumeDiagram.h"
#include "platform/AlertService.h"
#include "platform/FileAccess.h"
#include "platform/FileChooser.h"
#include "plot/CPlotView.h"

#include <QDateTime>
#include <QBuffer>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <array>

namespace quorvel {

namespace {

constexpr int kFigureWidth = 400, kFigureHeight = 300;
constexpr int kNameWidth = 24, kNumberWidth = 12, kHomogWidth = 8;
const QStringList kTableKeys{inclusionkey::name,  inclusionkey::Th,  inclusionkey::Fv, inclusionkey::Tv,
                             inclusionkey::homog, inclusionkey::CO2, inclusionkey::N2, inclusionkey::H2S};

InclusionExports::ReportOpener gOpener;

// Unicode of the bytes 0x80 to 0xFF of Mac OS Roman (0xDB the euro sign, 0xF0 the Apple logo).
constexpr std::array<char16_t, 128> kMacRomanHigh{
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
    0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
    0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
    0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
    0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
    0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
    0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
    0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
    0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7};

const QHash<char16_t, char>& macRomanBytes()
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> table;
        for (int i = 0; i < int(kMacRomanHigh.size()); ++i)
            table.insert(kMacRomanHigh[i], char(0x80 + i));
        return table;
    }();
    return bytes;
}

QString nowText()
{
    return QLocale::c().toString(QDateTime::currentDateTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString withoutExtension(const QString& path)
{
    const QFileInfo info(path);
    return info.suffix().isEmpty() ? path : info.path() + QLatin1Char('/') + info.completeBaseName();
}

void reportWriteProblem(const QString& path, const QString& reason)
{
    showCriticalAlert(QObject::tr("Alert"), QObject::tr("The export could not write \u201c%1\u201d.\n%2").arg(path, reason));
}

bool writeAtomically(const QString& path, const QByteArray& contents)
{
    const std::optional<QString> failure = writeFileAtomically(path, contents);
    if (failure)
        reportWriteProblem(path, *failure);
    return !failure;
}

// The folder of the figures: made when nothing is there (its parent must exist); reported when unusable.
bool prepareFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        reportWriteProblem(folder, QObject::tr("A file of that name is in the way of the folder."));
        return false;
    }
    if (!info.exists() && !QDir().mkdir(folder)) {
        reportWriteProblem(folder, QObject::tr("The folder could not be made."));
        return false;
    }
    return true;
}

qsizetype longestLine(const QByteArray& text)
{
    qsizetype longest = 0;
    for (qsizetype start = 0; start <= text.size();) {
        const qsizetype lineEnd = text.indexOf('\n', start);
        const qsizetype end = lineEnd < 0 ? text.size() : lineEnd;
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

void openReport(const QString& path)
{
    if (gOpener)
        gOpener(path);
    else
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

QString cutTo(const QString& text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '), true);
}

QString escapeLaTeX(const QString& text)
{
    // LaTeX's specials; characters that T1 would join into ligatures (--, <<, ,, ...) or print
    // as typographic quotes; and the Mac OS Roman characters that applemac's input encoding
    // leaves to math mode or to no glyph at all.
    static const QHash<char16_t, QString> escapes{
        {u'\\', "\\textbackslash{}"},     {u'{', "\\{"},
        {u'}', "\\}"},                      {u'$', "\\$"},
        {u'&', "\\&"},                      {u'#', "\\#"},
        {u'^', "\\textasciicircum{}"},      {u'_', "\\_"},
        {u'~', "\\textasciitilde{}"},       {u'%', "\\%"},
        {u'\'', "\\textquotesingle{}"},     {u'`', "\\textasciigrave{}"},
        {u'"', "\\textquotedbl{}"},         {u'\u2260', "\\ensuremath{\\neq}"},
        {u'\u221E', "\\ensuremath{\\infty}"}, {u'\u00B1', "\\textpm{}"},
        {u'\u2264', "\\ensuremath{\\leq}"},   {u'\u2265', "\\ensuremath{\\geq}"},
        {u'\u00B5', "\\textmu{}"},             {u'\u2202', "\\ensuremath{\\partial}"},
        {u'\u2211', "\\ensuremath{\\Sigma}"}, {u'\u220F', "\\ensuremath{\\Pi}"},
        {u'\u03C0', "\\ensuremath{\\pi}"},    {u'\u222B', "\\ensuremath{\\smallint}"},
        {u'\u03A9', "\\ensuremath{\\Omega}"}, {u'\u00AC', "\\textlnot{}"},
        {u'\u221A', "\\textsurd{}"},           {u'\u2248', "\\ensuremath{\\approx}"},
        {u'\u2206', "\\ensuremath{\\Delta}"}, {u'\u00F7', "\\textdiv{}"},
        {u'\u25CA', "\\ensuremath{\\diamond}"}, {u'\u00AB', "\\guillemetleft{}"},
        {u'\u00BB', "\\guillemetright{}"},     {u'\u2039', "\\guilsinglleft{}"},
        {u'\u203A', "\\guilsinglright{}"},     {u'\u201A', "\\quotesinglbase{}"},
        {u'\u201E', "\\quotedblbase{}"},       {u'\u02DB', "\\textogonekcentered{}"},
        {u'\u20AC', "\\texteuro{}"},           {u'\u2044', "\\textfractionsolidus{}"},
        {u'\u2026', "\\textellipsis{}"},       {u'\uF8FF', "(Apple)"}};
    static const QString kLigatureHalves = QStringLiteral("-<>,");
    QString escaped;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.category() == QChar::Other_Control)
            escaped += QLatin1Char(' ');  // a line break would end a heading or a table row
        else
            escaped += escapes.value(c.unicode(), QString(c));
        if (kLigatureHalves.contains(c) && i + 1 < text.size() && text[i + 1] == c)
            escaped += QStringLiteral("{}");
    }
    return escaped;
}

QString escapeHTML(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\n' && c != u'\r')
            c = QLatin1Char(' ');
    return shown.toHtmlEscaped();
}

QByteArray toMacRoman(const QString& text, int* unmapped)
{
    QByteArray bytes;
    int missing = 0;
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            bytes += char(c.unicode());
        } else if (auto found = macRomanBytes().find(c.unicode()); found != macRomanBytes().end()) {
            bytes += *found;
        } else if (!c.isLowSurrogate()) {  // a character beyond the basic plane counts once
            bytes += '?';
            ++missing;
        }
    }
    if (unmapped)
        *unmapped = missing;
    return bytes;
}

void InclusionExports::setReportOpener(ReportOpener opener)
{
    gOpener = std::move(opener);
}

InclusionExports::InclusionExports(const CInclusionDataDocument& document)
    : mInclusions(document.getInclusions()),
      mDocumentName(document.filePath().isEmpty() ? document.displayName() : QFileInfo(document.filePath()).fileName()),
      mDocumentFolder(document.filePath().isEmpty() ? QString() : QFileInfo(document.filePath()).absolutePath())
{
}

QString InclusionExports::documentName() const
{
    return mDocumentName;
}

QString InclusionExports::proposedName(const QString& extension) const
{
    const QString name = QFileInfo(documentName()).completeBaseName();
    return proposedPathIn(mDocumentFolder, extension.isEmpty() ? name : pathWithExtension(name, extension));
}

QString InclusionExports::asciiReport(const QString& name, const QString& date) const
{
    QString out;
    out += QStringLiteral("Inclusions of document %1\n").arg(name);
    out += QString(47, '=') + QStringLiteral("\n\n");
    out += QStringLiteral("Produced at: %1\n\n").arg(date);
    out += QStringLiteral("%1 inclusions\n\n").arg(mInclusions.size());
    out += QStringLiteral("Name                    Th (\u00b0C)     Fv (%)       Tv (\u00b0C)     Homog.  CO2 (%)     "
                          "N2 (%)      H2S (%)     \n");
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        QStringList cells;
        for (const QString& key : kTableKeys) {
            const int width = key == inclusionkey::name    ? kNameWidth
                              : key == inclusionkey::homog ? kHomogWidth
                                                           : kNumberWidth;
            cells << cutTo(inclusion.value(key).toString(), width);
        }
        out += cells.join(QLatin1Char(' ')) + QLatin1Char('\n');
    }
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        out += QStringLiteral("\n\nVolume data for %1\n").arg(inclusion.stringValue(inclusionkey::name));
        out += QString(35, '-') + QLatin1Char('\n');
        out += QStringLiteral("T (\u00b0C)       Bubble (% volume)\n");
        for (const Value& point : inclusion.arrayValue(inclusionkey::volumes))
            out += cutTo(point.toDictionary().value(volumekey::Tvol).toString(), kNumberWidth) + QLatin1Char(' ') +
                   cutTo(point.toDictionary().value(volumekey::Fvol).toString(), kNumberWidth) + QStringLiteral(" \n");
    }
    return out;
}

QString InclusionExports::latexProblem(const QByteArray& report) const
{
    auto tooWide = [](const QString& key, const Value& value, int n) {
        const QString text = value.toString();
        const qsizetype printed = text.size() + 2 * text.count(QChar(0xF8FF));
        return printed <= kLaTeXCellLimit ? QString()
                                          : QObject::tr("the \u201c%1\u201d of inclusion %2 prints %3 characters, more "
                                                        "than a table cell holds (%4).")
                                                .arg(key)
                                                .arg(n)
                                                .arg(printed)
                                                .arg(kLaTeXCellLimit);
    };
    int n = 0;
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        ++n;
        for (const QString& key : kTableKeys)
            if (const QString problem = tooWide(key, inclusion.value(key), n); !problem.isEmpty())
                return problem;
        for (const Value& point : inclusion.arrayValue(inclusionkey::volumes))
            for (const QString& key : {volumekey::Tvol, volumekey::Fvol})
                if (const QString problem = tooWide(key, point.toDictionary().value(key), n); !problem.isEmpty())
                    return problem;
    }
    if (const qsizetype longest = longestLine(report); longest > kLaTeXLineLimit)
        return QObject::tr("a line of %1 characters is longer than pdflatex reads (%2 characters).")
            .arg(longest)
            .arg(kLaTeXLineLimit);
    return {};
}

QString InclusionExports::latexReport() const
{
    auto tex = [](const Value& value) { return escapeLaTeX(value.toString()); };
    QString out;
    out += "\\documentclass[oneside,12pt,article,a4paper]{article}\n";
    out += "\\usepackage{graphicx}\n";
    out += "\\usepackage[applemac]{inputenc}\n";
    out += "\\usepackage[T1]{fontenc}\n";
    out += "\\usepackage{textcomp}\n";
    out += "\\usepackage{longtable}\n";  // tables that go on over the page
    out += "\\IfFileExists{lmodern.sty}{\\usepackage{lmodern}}{}\n";  // scalable T1 fonts where installed
    out += "\\begin{document}\t\n";
    out += "\\section{Microthermometric data}\n";
    out += "\\begin{longtable}{ccccccccc}\n\\hline \n";
    out += "\\# & Name & Th (deg. C) & Fv (\\%) & Tv (deg. C) & Homog. & CO2 & N2 & H2S \\\\ \n\\hline \n";
    int n = 0;
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        out += QString::number(++n);
        for (const QString& key : kTableKeys)
            out += " & " + tex(inclusion.value(key));
        out += " \\\\ \n";
    }
    out += "\\hline\n\\end{longtable}\n";
    out += "\\section{Volumetric data}\n";
    int k = 0;
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        out += "\\subsection{Volume data for " + tex(inclusion.value(inclusionkey::name)) + "}\n";
        out += "\\begin{tabular}{ccc}\n\\hline\n\\# & T (deg. C) & Fv \\\\\n\\hline\n";
        int m = 0;
        for (const Value& point : inclusion.arrayValue(inclusionkey::volumes))
            out += QStringLiteral("%1 & %2 & %3\\\\ \n")
                       .arg(++m)
                       .arg(tex(point.toDictionary().value(volumekey::Tvol)),
                            tex(point.toDictionary().value(volumekey::Fvol)));
        out += "\\hline\n\\end{tabular}\n";
        out += QStringLiteral("\\begin{figure}[!ht]\\centerline{\\includegraphics[width=7cm]{figure%1.pdf}}"
                              "\\caption{}\\end{figure}")
                   .arg(++k);
    }
    out += "\\end{document}";
    return out;
}

QString InclusionExports::htmlReport(const QString& name, const QString& date, const QString& figuresFolderName) const
{
    auto html = [](const Value& value) { return escapeHTML(value.toString()); };
    QString out;
    out += "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Inclusions of document " + escapeHTML(name) +
           "</title></head><body>\n";
    out += "<h1>Inclusions of document " + escapeHTML(name) + "</h1>\n";
    out += "<table border=1 cellspacing=0 cellpadding=4>";
    out += "<tr><td>Document</td><td>Quorvel (" + ApplicationVersion + ") report for petroleum inclusions</td></tr>";
    out += "<tr><td>Produced at:</td><td> " + escapeHTML(date) + "</td></tr>\n\n";
    out += QStringLiteral("<tr><td>Number of inclusions</td><td>%1</td></tr></table>\n\n").arg(mInclusions.size());
    out += "<br><br><table border=1 cellspacing=0 cellpadding=2 ><tr><th></th>";
    out += "<th align=center width=150>Name</th><th width=70 align=center>Th (&deg;C)</th><th width=70 "
           "align=center> Fv (%)</th><th width=70 align=center> Tv (&deg;C) </th><th width=70 align=center>  "
           "Homog. </th><th width=70 align=center> CO2 (%) </th><th width=70 align=center>  N2 (%) </th><th "
           "width=70 align=center>  H2S (%)  </th></tr>   \n";
    int n = 0;
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        out += QStringLiteral("<tr><td width=30 align=center>%1</td> <td align=center>%2</td><td align=center>%3</td>")
                   .arg(++n)
                   .arg(html(inclusion.value(inclusionkey::name)), html(inclusion.value(inclusionkey::Th)));
        for (const QString& key : kTableKeys.mid(2))
            out += "<td align=center> " + html(inclusion.value(key)) + " </td>";
        out += "</tr>\n";
    }
    out += "</table>";
    const QString folderLink = QString::fromLatin1(QUrl::toPercentEncoding(figuresFolderName));
    int k = 0;
    for (const Value& element : mInclusions) {
        const Dictionary inclusion = element.toDictionary();
        out += QStringLiteral("<br><br><h2>%1) Volume data for %2</h2><br>")
                   .arg(++k)
                   .arg(html(inclusion.value(inclusionkey::name)));
        out += "<table border=1 cellpadding=2 cellspacing=0><tr><th></th><th width=100 align=center>T (&deg;C)</th><th "
               "width=140 align=center>Bubble (% volume)</th></tr>\n";
        int m = 0;
        for (const Value& point : inclusion.arrayValue(inclusionkey::volumes))
            out += QStringLiteral("<tr><td align=center width=30 >%1</td><td align=center>%2</td><td "
                                  "align=center>%3</td></tr> \n")
                       .arg(++m)
                       .arg(escapeHTML(cutTo(point.toDictionary().value(volumekey::Tvol).toString(), kNumberWidth)),
                            escapeHTML(cutTo(point.toDictionary().value(volumekey::Fvol).toString(), kNumberWidth)));
        out += "</table><br>";
        out += QStringLiteral("<center><img src=\"%1/figure%2.png\" /></center><br>")
                   .arg(folderLink, QString::number(k));
    }
    out += "</body></html>";
    return out;
}

bool InclusionExports::writeFigures(const QString& folder, const QString& extension) const
{
    CPlotView view(QRect(0, 0, kFigureWidth, kFigureHeight));
    VolumeDiagram::prepare(view);
    int k = 0;
    for (const Value& element : mInclusions) {
        makeVolumeDiagram(view, element.toDictionary().arrayValue(inclusionkey::volumes));
        QByteArray figure;
        if (extension == QLatin1String("pdf")) {
            figure = view.pdfData();
        } else {
            QImage image(kFigureWidth, kFigureHeight, QImage::Format_ARGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            view.drawForOutput(painter);
            painter.end();
            QBuffer buffer(&figure);
            image.save(&buffer, "PNG");
        }
        const QString path = QStringLiteral("%1/figure%2.%3").arg(folder).arg(++k).arg(extension);
        if (!writeAtomically(path, figure))
            return false;
    }
    return true;
}

void InclusionExports::exportToASCII()
{
    const QString extension = QStringLiteral("txt");
    const QString chosen = FileChooser::current().chooseFileToSave(
        QObject::tr("Export as Text"), proposedName(extension), {extension});
    if (chosen.isEmpty())
        return;
    writeAtomically(pathWithExtension(chosen, extension), asciiReport(documentName(), nowText()).toUtf8());
}

void InclusionExports::exportToLaTeX()
{
    const QString folder = FileChooser::current().chooseFileToSave(QObject::tr("Export as LaTeX"), proposedName());
    if (folder.isEmpty())
        return;
    int unmapped = 0;
    const QByteArray report = toMacRoman(latexReport(), &unmapped);
    if (const QString problem = latexProblem(report); !problem.isEmpty()) {
        showCriticalAlert(QObject::tr("Alert"), QObject::tr("The LaTeX report was not written: %1").arg(problem));
        return;
    }
    if (!prepareFolder(folder) || !writeFigures(folder, QStringLiteral("pdf")))
        return;
    const QString reportPath = folder + QLatin1Char('/') + QFileInfo(folder).completeBaseName() + QStringLiteral(".tex");
    if (!writeAtomically(reportPath, report))
        return;
    if (unmapped > 0)
        showAlert(QObject::tr("%n character(s) of the report have no Mac OS Roman form and were written as \u201c?\u201d.",
                              nullptr, unmapped));
    openReport(reportPath);
}

void InclusionExports::exportToHTML()
{
    const QString extension = QStringLiteral("html");
    QString page =
        FileChooser::current().chooseFileToSave(QObject::tr("Export as HTML"), proposedName(extension), {extension});
    if (page.isEmpty())
        return;
    page = pathWithExtension(page, extension);
    const QString figures = withoutExtension(page);
    if (!prepareFolder(figures) || !writeFigures(figures, QStringLiteral("png")))
        return;
    if (!writeAtomically(page, htmlReport(documentName(), nowText(), QFileInfo(figures).fileName()).toUtf8()))
        return;
    openReport(page);
}

}  // namespace quorvel
