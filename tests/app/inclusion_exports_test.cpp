// The inclusion reports: the text table against a text written here, the LaTeX report
// compiled by pdflatex, the HTML page parsed by xmllint, and failures that alert once.

#include "support/AppTestSupport.h"

#include "app/CInclusionDataDocument.h"
#include "app/InclusionExports.h"
#include "app/InclusionRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace quorvel;
using namespace quorvel::test;

namespace {

const QString kSpecialName = QStringLiteral("_%&#${}~^\\ x");
const QString kMarkupName = QString::fromUtf8("é <b>&");

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
    EXPECT_TRUE(tex.contains("\\_\\%\\&\\#\\$\\{\\}\\~{}\\^{}\\textbackslash{} x"));
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
    EXPECT_EQ(escapeHTML("Quartz 12.5 A-1"), "Quartz 12.5 A-1");
    EXPECT_EQ(escapeHTML("<b>&\""), "&lt;b&gt;&amp;&quot;");
    EXPECT_EQ(cutTo("abc", 5), "abc  ");
    EXPECT_EQ(cutTo("abcdefgh", 5), "abcde");
}

}  // namespace
