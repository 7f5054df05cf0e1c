// The inclusion reports: the text table against a text written here, the LaTeX report
// compiled by pdflatex and read back by pdftotext, the HTML page parsed by xmllint
// without a complaint, and failures that alert once.

#include "support/AppTestSupport.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionExports.h"
#include "app/InclusionRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kSpecialName = QStringLiteral("_%&#${}~^\\ x");
const QString kMarkupName = QString::fromUtf8("é <b>&");

QString withoutBlanks(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[\\s\u00A0]")));
    return text;
}

// The bytes 0x80 to 0xFF of Mac OS Roman.
const QString kMacRomanHigh = QStringLiteral(
    "\u00C4\u00C5\u00C7\u00C9\u00D1\u00D6\u00DC\u00E1\u00E0\u00E2\u00E4\u00E3\u00E5\u00E7\u00E9\u00E8"
    "\u00EA\u00EB\u00ED\u00EC\u00EE\u00EF\u00F1\u00F3\u00F2\u00F4\u00F6\u00F5\u00FA\u00F9\u00FB\u00FC"
    "\u2020\u00B0\u00A2\u00A3\u00A7\u2022\u00B6\u00DF\u00AE\u00A9\u2122\u00B4\u00A8\u2260\u00C6\u00D8"
    "\u221E\u00B1\u2264\u2265\u00A5\u00B5\u2202\u2211\u220F\u03C0\u222B\u00AA\u00BA\u03A9\u00E6\u00F8"
    "\u00BF\u00A1\u00AC\u221A\u0192\u2248\u2206\u00AB\u00BB\u2026\u00A0\u00C0\u00C3\u00D5\u0152\u0153"
    "\u2013\u2014\u201C\u201D\u2018\u2019\u00F7\u25CA\u00FF\u0178\u2044\u20AC\u2039\u203A\uFB01\uFB02"
    "\u2021\u00B7\u201A\u201E\u2030\u00C2\u00CA\u00C1\u00CB\u00C8\u00CD\u00CE\u00CF\u00CC\u00D3\u00D4"
    "\uF8FF\u00D2\u00DA\u00DB\u00D9\u0131\u02C6\u02DC\u00AF\u02D8\u02D9\u02DA\u00B8\u02DD\u02DB\u02C7");

// Every printable ASCII character and every high Mac OS Roman one, a blank between any
// two (so that no word is hyphenated), and a line break.
QString everyCharacterName()
{
    QString name;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        name += QChar(c) + QStringLiteral(" ");
    for (QChar c : kMacRomanHigh)
        name += c + QStringLiteral(" ");
    return name + QStringLiteral("\r\nend");
}

// Pairs that T1 fonts would join into one glyph when written as they stand.
const QString kLigatureName = QStringLiteral("a--b<<c>>d,,e''f``g!`h?`i---j");

// What pdftotext reads where the fonts have no glyph of the character's own, blanks removed.
QString asReadBack(const QString& typed)
{
    static const QList<std::pair<QString, QString>> substitutions{
        {QStringLiteral("\u2260"), QStringLiteral("\u0338=")},  // not equal: a slash over "="
        {QStringLiteral("\u2211"), QStringLiteral("\u03A3")},   // n-ary sum: capital sigma
        {QStringLiteral("\u220F"), QStringLiteral("\u03A0")},   // n-ary product: capital pi
        {QStringLiteral("\u03A9"), QStringLiteral("\u2126")},   // omega: the ohm sign
        {QStringLiteral("\u2026"), QStringLiteral("...")},
        {QStringLiteral("\u25CA"), QStringLiteral("\u22C4")},   // lozenge: diamond
        {QStringLiteral("\uFB01"), QStringLiteral("fi")},
        {QStringLiteral("\uFB02"), QStringLiteral("fl")},
        {QStringLiteral("\uF8FF"), QStringLiteral("(Apple)")}};
    QString text = typed;
    for (const auto& [from, to] : substitutions)
        text.replace(from, to);
    return withoutBlanks(text);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ProcessResult
{
    int exitCode;
    QString output;  // standard output, then standard error
};

ProcessResult run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

struct InclusionExportsTest : ::testing::Test, AppFixture
{
    CInclusionDataDocument* document = nullptr;
    QStringList opened;

    void SetUp() override
    {
        InclusionExports::setReportOpener([this](const QString& path) { opened << path; });
        controller->performAction("onNewInclusionDataDocument:", nullptr);
        settle();
        document = dynamic_cast<CInclusionDataDocument*>(controller->documents().last());
        Array inclusions = document->getInclusions();
        inclusions.at(0).toDictionary().setValue("name", kSpecialName);
        Dictionary second = newInclusionRecord();
        second.setValue("name", kMarkupName);
        second.setValue("Th", 131.5);
        second.arrayValue("volumes").insert(1, newVolumePoint(60, 6.5, VolumeCode::User));
        inclusions.append(second);
    }
    void TearDown() override { InclusionExports::setReportOpener(nullptr); }
};

// A cell of the text table: the value filled or cut to the width.
QString cell(const QString& text, int width)
{
    QString padded = text.left(width);
    while (padded.size() < width)
        padded += ' ';
    return padded;
}

TEST_F(InclusionExportsTest, TextTableMatchesTheLayout)
{
    chooser.queuePath(path("data.txt"));
    document->exportToASCII();
    const QString written = QString::fromUtf8(readBytes(path("data.txt")));
    ASSERT_FALSE(written.isEmpty());
    const QString dateLine = written.section('\n', 3, 3);
    ASSERT_TRUE(dateLine.startsWith("Produced at: "));

    QString expected = "Inclusions of document Untitled\n" + QString(47, '=') + "\n\n" + dateLine + "\n\n" +
                       "2 inclusions\n\n" +
                       QString::fromUtf8("Name                    Th (°C)     Fv (%)       Tv (°C)     Homog.  "
                                         "CO2 (%)     N2 (%)      H2S (%)     \n");
    expected += cell(kSpecialName, 24) + " " + cell("100", 12) + " " + cell("10", 12) + " " + cell("20", 12) + " " +
                cell("liquid", 8) + " " + cell("0", 12) + " " + cell("0", 12) + " " + cell("0", 12) + "\n";
    expected += cell(kMarkupName, 24) + " " + cell("131.5", 12) + " " + cell("10", 12) + " " + cell("20", 12) + " " +
                cell("liquid", 8) + " " + cell("0", 12) + " " + cell("0", 12) + " " + cell("0", 12) + "\n";
    const QString volumeHead = "-----------------------------------\n" + QString::fromUtf8("T (°C)       Bubble (% volume)\n");
    expected += "\n\nVolume data for " + kSpecialName + "\n" + volumeHead + cell("20", 12) + " " + cell("10", 12) +
                " \n" + cell("100", 12) + " " + cell("0", 12) + " \n";
    expected += "\n\nVolume data for " + kMarkupName + "\n" + volumeHead + cell("20", 12) + " " + cell("10", 12) +
                " \n" + cell("60", 12) + " " + cell("6.5", 12) + " \n" + cell("100", 12) + " " + cell("0", 12) + " \n";
    EXPECT_EQ(written.toStdString(), expected.toStdString());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(alerts.alerts().isEmpty());
}

TEST_F(InclusionExportsTest, LaTeXReportCompilesWithItsPdfFigures)
{
    if (QStandardPaths::findExecutable("pdflatex").isEmpty())
        GTEST_FAIL() << "pdflatex is missing: scripts/install-deps installs texlive-latex-base";
    const QString folder = path("report");
    chooser.queuePath(folder);
    document->exportToLaTeX();
    ASSERT_EQ(opened, QStringList{folder + "/report.tex"});
    EXPECT_TRUE(alerts.alerts().isEmpty());
    for (const QString figure : {"figure1.pdf", "figure2.pdf"})
        EXPECT_TRUE(readBytes(folder + "/" + figure).startsWith("%PDF-")) << figure.toStdString();

    const QByteArray tex = readBytes(folder + "/report.tex");
    EXPECT_TRUE(tex.startsWith("\\documentclass[oneside,12pt,article,a4paper]{article}\n"));
    EXPECT_TRUE(tex.contains("\\usepackage[applemac]{inputenc}"));
    EXPECT_TRUE(tex.contains("\\_\\%\\&\\#\\$\\{\\}\\textasciitilde{}\\textasciicircum{}\\textbackslash{} x"));
    EXPECT_TRUE(tex.contains("\x8e <b>\\&"));  // é in Mac OS Roman
    EXPECT_TRUE(tex.endsWith("\\end{document}"));

    const ProcessResult latex =
        run("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "report.tex"}, folder);
    EXPECT_EQ(latex.exitCode, 0) << latex.output.right(2000).toStdString();
    EXPECT_TRUE(readBytes(folder + "/report.pdf").startsWith("%PDF-"));

    // Exporting again into the same folder replaces the files.
    opened.clear();
    chooser.queuePath(folder);
    document->exportToLaTeX();
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(InclusionExportsTest, EveryMacRomanNameCompilesAndReadsBackFromThePdf)
{
    if (QStandardPaths::findExecutable("pdflatex").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_FAIL() << "pdflatex or pdftotext is missing: scripts/install-deps installs them";
    Array inclusions = document->getInclusions();
    inclusions.at(0).toDictionary().setValue("name", everyCharacterName());
    inclusions.at(1).toDictionary().setValue("name", kLigatureName);
    const QString folder = path("names");
    chooser.queuePath(folder);
    document->exportToLaTeX();
    ASSERT_EQ(opened, QStringList{folder + "/names.tex"});
    EXPECT_TRUE(alerts.alerts().isEmpty());

    const ProcessResult latex = run("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "names.tex"}, folder);
    ASSERT_EQ(latex.exitCode, 0) << latex.output.right(2000).toStdString();
    const ProcessResult text = run("pdftotext", {"-enc", "UTF-8", "names.pdf", "-"}, folder);
    ASSERT_EQ(text.exitCode, 0) << text.output.toStdString();
    const QString readBack = withoutBlanks(text.output);
    const QString renders = QDir::current().filePath("renders");
    QDir().mkpath(renders);
    run("pdftoppm",
        {"-png", "-r", "80", "-f", "1", "-l", "1", "-singlefile", "names.pdf", renders + "/latex_every_character"},
        folder);
    for (const QString& name : {everyCharacterName(), kLigatureName}) {
        const QString heading = asReadBack("Volume data for " + name);
        EXPECT_TRUE(readBack.contains(heading)) << heading.toStdString() << "\nnot in\n" << readBack.toStdString();
    }
}

TEST_F(InclusionExportsTest, EveryInclusionOfALongDocumentReachesThePdf)
{
    if (QStandardPaths::findExecutable("pdflatex").isEmpty() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_FAIL() << "pdflatex or pdftotext is missing: scripts/install-deps installs them";
    constexpr int kInclusions = 150;
    Array inclusions = document->getInclusions();
    while (inclusions.size() < kInclusions) {
        Dictionary inclusion = newInclusionRecord();
        inclusion.setValue("name", QStringLiteral("Q%1").arg(inclusions.size() + 1));
        inclusions.append(inclusion);
    }
    const QString folder = path("long");
    chooser.queuePath(folder);
    document->exportToLaTeX();
    ASSERT_EQ(opened.size(), 1);

    const ProcessResult latex = run("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "long.tex"}, folder);
    ASSERT_EQ(latex.exitCode, 0) << latex.output.right(2000).toStdString();
    const ProcessResult text = run("pdftotext", {"-layout", "-enc", "UTF-8", "long.pdf", "-"}, folder);
    QStringList lines;
    for (const QString& line : text.output.split(QLatin1Char('\n')))
        lines << line.simplified();
    for (int n = 3; n <= kInclusions; ++n) {
        const QString row = QStringLiteral("%1 Q%1 100 10 20 liquid 0 0 0").arg(n);
        EXPECT_TRUE(lines.contains(row)) << row.toStdString();
        EXPECT_TRUE(lines.contains(QStringLiteral("2.%1 Volume data for Q%1").arg(n))) << n;
    }
}

TEST_F(InclusionExportsTest, ValuesTooLongForPdfLaTeXAreRefusedAndTheLongestAllowedCompile)
{
    if (QStandardPaths::findExecutable("pdflatex").isEmpty())
        GTEST_FAIL() << "pdflatex is missing: scripts/install-deps installs texlive-latex-base";
    Dictionary first = document->getInclusions().at(0).toDictionary();
    const QChar ellipsis(0x2026), apple(0xF8FF), notEqual(0x2260);
    struct Refused
    {
        const char* title;
        QString key;
        QString value;
        bool everyKey = false;
    };
    const QList<Refused> refused{
        {"a name one character too long", "name", QString(kLaTeXCellLimit + 1, 'x')},
        {"Apple logos wider than a cell", "name", QString(kLaTeXCellLimit / 3 + 1, apple)},
        {"a long text in a number column", "Th", QString(kLaTeXCellLimit + 1, '1')},
        {"a row longer than pdflatex reads", "name", QString(kLaTeXCellLimit, notEqual), true},
    };
    for (const Refused& c : refused) {
        SCOPED_TRACE(c.title);
        alerts.clear();
        const Dictionary kept = first.deepCopy();
        for (const QString& key : c.everyKey ? QStringList{"name", "Th", "Fv", "Tv", "homog", "CO2", "N2", "H2S"}
                                             : QStringList{c.key})
            first.setValue(key, c.value);
        chooser.queuePath(path("long"));
        document->exportToLaTeX();
        ASSERT_EQ(alerts.alerts().size(), 1);
        EXPECT_TRUE(alerts.alerts()[0].message.startsWith("The LaTeX report was not written"))
            << alerts.alerts()[0].message.toStdString();
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(path("long")));
        for (const QString& key : kept.keys())
            first.setValue(key, kept.value(key));
    }

    // The widest values allowed, in every cell of a row, compile.
    alerts.clear();
    for (const char* key : {"name", "Th", "Fv", "Tv", "homog"})
        first.setValue(key, QString(kLaTeXCellLimit, ellipsis));
    first.setValue("CO2", QString(kLaTeXCellLimit / 3, apple));
    chooser.queuePath(path("near"));
    document->exportToLaTeX();
    ASSERT_EQ(opened, QStringList{path("near/near.tex")});
    EXPECT_TRUE(alerts.alerts().isEmpty());
    const ProcessResult latex = run("pdflatex", {"-interaction=nonstopmode", "-halt-on-error", "near.tex"}, path("near"));
    EXPECT_EQ(latex.exitCode, 0) << latex.output.right(2000).toStdString();
}

TEST_F(InclusionExportsTest, CharactersOutsideMacRomanBecomeQuestionMarksAndTheUserIsToldOnce)
{
    document->getInclusions().at(0).toDictionary().setValue("name", QString::fromUtf8("Ostrő 漢"));
    chooser.queuePath(path("roman"));
    document->exportToLaTeX();
    EXPECT_TRUE(readBytes(path("roman/roman.tex")).contains("Ostr? ?"));
    EXPECT_EQ(alerts.alerts().size(), 1);
    EXPECT_EQ(opened.size(), 1);

    int unmapped = 0;
    EXPECT_EQ(toMacRoman(QString::fromUtf8("Ä°ÿ€ﬂ"), &unmapped), QByteArray("\x80\xa1\xd8\xdb\xdf"));
    EXPECT_EQ(unmapped, 0);
}

TEST_F(InclusionExportsTest, HtmlPageParsesAndLinksItsPngFigures)
{
    if (QStandardPaths::findExecutable("xmllint").isEmpty())
        GTEST_FAIL() << "xmllint is missing: scripts/install-deps installs libxml2-utils";
    const QString page = path("my page.html");
    chooser.queuePath(page);
    document->exportToHTML();
    ASSERT_EQ(opened, QStringList{page});
    EXPECT_TRUE(alerts.alerts().isEmpty());

    for (const QString figure : {"figure1.png", "figure2.png"}) {
        const QImage image(path("my page/") + figure);
        EXPECT_EQ(image.size(), QSize(400, 300)) << figure.toStdString();
    }
    const QString html = QString::fromUtf8(readBytes(page));
    EXPECT_FALSE(html.contains("<b>"));
    EXPECT_TRUE(html.contains(QString::fromUtf8("é &lt;b&gt;&amp;")));
    EXPECT_TRUE(html.contains(kSpecialName.toHtmlEscaped()));

    const ProcessResult parsed = run("xmllint", {"--html", "--xpath", "//img/@src", page}, path(""));
    EXPECT_EQ(parsed.exitCode, 0) << parsed.output.toStdString();
    EXPECT_TRUE(parsed.output.contains("src=\"my%20page/figure1.png\"")) << parsed.output.toStdString();
    EXPECT_TRUE(parsed.output.contains("src=\"my%20page/figure2.png\""));
    const ProcessResult bold = run("xmllint", {"--html", "--xpath", "count(//b)", page}, path(""));
    EXPECT_TRUE(bold.output.startsWith("0")) << bold.output.toStdString();  // the name's <b> is text, not markup
}

TEST_F(InclusionExportsTest, HtmlPageDeclaresItsCharsetAndParsesWithoutAComplaint)
{
    if (QStandardPaths::findExecutable("xmllint").isEmpty())
        GTEST_FAIL() << "xmllint is missing: scripts/install-deps installs libxml2-utils";
    const QString controls = QStringLiteral("a") + QChar(0x01) + QStringLiteral("b") + QChar(0x7f) + QChar(0x85) +
                             QStringLiteral("c\td");
    document->getInclusions().at(0).toDictionary().setValue("name", everyCharacterName() + controls);
    chooser.queuePath(path("page.html"));
    document->exportToHTML();
    ASSERT_EQ(opened, QStringList{path("page.html")});

    QProcess lint;
    lint.start("xmllint", {"--html", "--noout", path("page.html")});
    ASSERT_TRUE(lint.waitForFinished(60000));
    EXPECT_EQ(lint.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(lint.readAllStandardError()).toStdString(), "");

    const ProcessResult charset =
        run("xmllint", {"--html", "--xpath", "string(//meta/@charset)", "page.html"}, path(""));
    EXPECT_EQ(charset.output.trimmed().toLower().toStdString(), "utf-8");
    // The parser, told the charset by the page alone, reads the name back as written.
    const ProcessResult heading = run("xmllint", {"--html", "--xpath", "string((//h2)[1])", "page.html"}, path(""));
    EXPECT_EQ(withoutBlanks(heading.output).toStdString(),
              withoutBlanks("1) Volume data for " + everyCharacterName() + "abc d").toStdString());
}

TEST_F(InclusionExportsTest, ExportsStartInTheDocumentsFolderAndAddTheirExtensionOnce)
{
    chooser.queuePath(path("QZ-12.5.inc"));
    ASSERT_TRUE(document->saveDocumentAs());
    struct Case
    {
        const char* typed;
        const char* written;
    };
    const Case cases[] = {{"incl.txt", "incl.txt"}, {"incl", "incl.txt"}, {"QZ-12.5", "QZ-12.5.txt"},
                          {"LOUD.TXT", "LOUD.TXT"}};
    for (const Case& c : cases) {
        chooser.queuePath(path(c.typed));
        document->exportToASCII();
        EXPECT_EQ(chooser.requests().last().proposedName, path("QZ-12.5.txt"));
        EXPECT_TRUE(QFileInfo::exists(path(c.written))) << c.typed;
    }
    EXPECT_FALSE(QFileInfo::exists(path("incl.txt.txt")));
    // "incl.txt" and "incl" name the same file.
    EXPECT_EQ(QDir(dir.path()).entryList({"*.txt", "*.TXT"}, QDir::Files).size(), 3);

    chooser.queuePath(path("page"));
    document->exportToHTML();
    EXPECT_EQ(chooser.requests().last().proposedName, path("QZ-12.5.html"));
    EXPECT_TRUE(QFileInfo::exists(path("page.html")));
}

TEST_F(InclusionExportsTest, PathsThatCannotBeWrittenAlertOnceAndOpenNothing)
{
    QFile blocker(path("taken"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("a file where the report folder should be");
    blocker.close();

    chooser.queuePath(path("taken"));
    document->exportToLaTeX();
    chooser.queuePath(path("missing/page.html"));
    document->exportToHTML();
    chooser.queuePath(path("missing/table"));
    document->exportToASCII();

    ASSERT_EQ(alerts.alerts().size(), 3);
    EXPECT_TRUE(alerts.alerts()[0].message.contains(path("taken")));
    EXPECT_TRUE(alerts.alerts()[1].message.contains(path("missing/page")));
    EXPECT_TRUE(alerts.alerts()[2].message.contains(path("missing/table.txt")));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(readBytes(path("taken")), "a file where the report folder should be");

    // A cancelled panel writes nothing and says nothing.
    alerts.clear();
    document->exportToHTML();
    EXPECT_TRUE(alerts.alerts().isEmpty());
    EXPECT_EQ(QDir(path("")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{"taken"});
}

TEST(InclusionExportEscapes, PlainTextStaysByteIdentical)
{
    EXPECT_EQ(escapeLaTeX("Quartz 12.5 A-1"), "Quartz 12.5 A-1");
    EXPECT_EQ(escapeLaTeX("a--b<<>"), "a-{}-b<{}<>");
    EXPECT_EQ(escapeHTML("Quartz 12.5 A-1"), "Quartz 12.5 A-1");
    EXPECT_EQ(escapeHTML("<b>&\""), "&lt;b&gt;&amp;&quot;");
    EXPECT_EQ(cutTo("abc", 5), "abc  ");
    EXPECT_EQ(cutTo("abcdefgh", 5), "abcde");
}

}  // namespace
