#include "widgets/CLogWindow.h"
#include "widgets/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QPdfWriter>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextEdit>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

class LogWindowTest : public ::testing::Test {
protected:
    CLogWindow log;
    QString text() const { return log.text().plainText(); }
    TextStyle styleAt(qsizetype i) const { return *log.text().styleAt(i); }
};

// Style of the character at `position` of the shown document.
QTextCharFormat shownFormatAt(const QTextDocument* document, int position)
{
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

TEST(LogWindowShared, IsOneInstance)
{
    EXPECT_EQ(CLogWindow::sharedLogWindowCtroller(), CLogWindow::sharedLogWindowCtroller());
    EXPECT_NE(CLogWindow::sharedLogWindowCtroller(), nullptr);
}

TEST_F(LogWindowTest, FirstStringOnEmptyLogIsFollowedByOneSpaceInCourierNew12)
{
    log.appendString(QStringLiteral("Flash"));
    log.appendString(QStringLiteral("Report"));
    EXPECT_EQ(text(), QStringLiteral("Flash Report"));
    EXPECT_EQ(styleAt(0).fontName, QStringLiteral("Courier New"));
    EXPECT_EQ(styleAt(0).pointSize, 12.0);

    log.clearText();
    EXPECT_EQ(text(), QString());
    EXPECT_TRUE(log.document()->isEmpty());
    log.appendString(QStringLiteral("Again"));
    EXPECT_EQ(text(), QStringLiteral("Again "));
}

TEST_F(LogWindowTest, AppendOperationsWriteTheirLineEnds)
{
    struct Case {
        const char* name;
        void (*append)(CLogWindow&);
        const char* expected; // after appendText("a")
    };
    const Case cases[] = {
        {"appendText", [](CLogWindow& l) { l.appendText("b\n"); }, "ab\n"},
        {"appendString", [](CLogWindow& l) { l.appendString(QStringLiteral("b")); }, "ab"},
        {"appendString1", [](CLogWindow& l) { l.appendString1(QStringLiteral("b")); }, "ab\r\n"},
        {"appendString2", [](CLogWindow& l) { l.appendString2(QStringLiteral("b")); }, "ab\r\n\r\n"},
        {"appendFormat", [](CLogWindow& l) { l.appendFormat("%d", 7); }, "a7"},
        {"appendFormat1", [](CLogWindow& l) { l.appendFormat1("%@ = %.2f", QStringLiteral("x"), 1.5); },
         "ax = 1.50\r\n"},
        {"appendFormat2", [](CLogWindow& l) { l.appendFormat2("%s", "b"); }, "ab\r\n\r\n"},
        {"appendFormat3", [](CLogWindow& l) { l.appendFormat3("b"); }, "ab\r\n\r\n\r\n"},
        {"appendFormat1 empty", [](CLogWindow& l) { l.appendFormat1(""); }, "a\r\n"},
        {"appendFormat list",
         [](CLogWindow& l) {
             const FormatArg args[] = {QStringLiteral("C1"), 12};
             l.appendFormat("%@:%d", args);
         },
         "aC1:12"},
    };
    for (const Case& c : cases) {
        CLogWindow fresh;
        fresh.appendText("a");
        c.append(fresh);
        EXPECT_EQ(fresh.text().plainText(), QString::fromUtf8(c.expected)) << c.name;
    }
}

TEST_F(LogWindowTest, ReportRowsKeepTheirColumns)
{
    log.appendText("x");
    log.appendFormat2("%8s%16s%16s", "Index", "Component", QStringLiteral("Dev. (%)"));
    log.appendFormat1("%6d  %@%18f%16f%16.2f", 1, QStringLiteral("C1"), 45.5, 44.25, -2.747);
    EXPECT_EQ(text(), QStringLiteral("x   Index       Component        Dev. (%)\r\n\r\n"
                                     "     1  C1         45.500000       44.250000           -2.75\r\n"));
}

TEST_F(LogWindowTest, AppendTextDecodesUtf8)
{
    log.appendText("T (\xC2\xB0"
                   "C)\n");
    EXPECT_EQ(text(), QStringLiteral("T (\u00B0C)\n"));
    EXPECT_EQ(log.document()->toPlainText(), QStringLiteral("T (\u00B0C)\n"));
}

TEST_F(LogWindowTest, LineEndsAreKeptAndShownAsParagraphs)
{
    log.appendText("a\r");
    log.appendText("\nb\nc\rd");
    EXPECT_EQ(text(), QStringLiteral("a\r\nb\nc\rd"));
    EXPECT_EQ(log.document()->toPlainText(), QStringLiteral("a\nb\nc\nd"));
}

TEST_F(LogWindowTest, PetroleumHeadingBlockReadsAsTheEditorWritesIt)
{
    log.appendText("before\n");
    log.beginEditingRTF();
    EXPECT_TRUE(log.isEditingRTF());
    log.appendRTFormat("\\par \\fs30 \\ul Petroleum \\ulnone : %@ \\fs24\\par\\par", QStringLiteral("Oil 1"));
    log.endEditingRTF();
    EXPECT_FALSE(log.isEditingRTF());
    log.appendFormat1("%s", "next");

    EXPECT_EQ(text(), QStringLiteral("before\n\nPetroleum : Oil 1 \n\nnext\r\n"));
    const qsizetype heading = text().indexOf(QStringLiteral("Petroleum"));
    const TextStyle underlined = styleAt(heading);
    EXPECT_TRUE(underlined.underline);
    EXPECT_EQ(underlined.pointSize, 15.0);
    EXPECT_EQ(underlined.fontName, QStringLiteral("Courier"));
    const TextStyle name = styleAt(text().indexOf(QStringLiteral("Oil")));
    EXPECT_FALSE(name.underline);
    EXPECT_EQ(name.pointSize, 15.0);
    // Text after the block continues in the style at the block's end.
    const TextStyle after = styleAt(text().indexOf(QStringLiteral("next")));
    EXPECT_EQ(after.pointSize, 12.0);
    EXPECT_FALSE(after.underline);
    EXPECT_EQ(after.fontName, QStringLiteral("Courier"));
    // Text before the block is untouched.
    EXPECT_EQ(styleAt(0).fontName, QStringLiteral("Courier New"));

    const QTextCharFormat shown = shownFormatAt(log.document(), log.document()->toPlainText().indexOf("Petroleum"));
    EXPECT_TRUE(shown.fontUnderline());
    EXPECT_DOUBLE_EQ(shown.fontPointSize(), 15.0);
}

TEST_F(LogWindowTest, BoldWordInABlockIsBoldAt12Points)
{
    log.appendText("plain ");
    log.beginEditingRTF();
    log.appendRTF(QStringLiteral("\\b Result\\b0  done"));
    log.endEditingRTF();
    EXPECT_EQ(text(), QStringLiteral("plain Result done"));
    const TextStyle bold = styleAt(6);
    EXPECT_TRUE(bold.bold);
    EXPECT_EQ(bold.pointSize, 12.0);
    EXPECT_FALSE(styleAt(text().indexOf(QStringLiteral("done"))).bold);
    EXPECT_FALSE(styleAt(0).bold);
    EXPECT_EQ(shownFormatAt(log.document(), 6).fontWeight(), QFont::Bold);
    EXPECT_NE(shownFormatAt(log.document(), 0).fontWeight(), QFont::Bold);
}

TEST_F(LogWindowTest, ClearingTheLogResetsTheStyleOfABlock)
{
    log.beginEditingRTF();
    log.appendRTF(QStringLiteral("\\b\\fs40 Heading"));
    log.endEditingRTF();
    ASSERT_TRUE(styleAt(0).bold);
    log.clearText();
    log.appendText("plain");
    const TextStyle style = styleAt(0);
    EXPECT_FALSE(style.bold);
    EXPECT_EQ(style.pointSize, 12.0);
    EXPECT_EQ(style.fontName, QStringLiteral("Courier New"));
    EXPECT_NE(shownFormatAt(log.document(), 0).fontWeight(), QFont::Bold);
}

TEST_F(LogWindowTest, NamesPutIntoRtfComeOutAsWritten)
{
    const QString names[] = {QStringLiteral("C7+ {heavy}"), QStringLiteral("a\\b"), QStringLiteral("Fluide \u00E9t\u00E9 \u03B1"),
                             QStringLiteral("\\par } {"), QString::fromUtf8("\xF0\x9D\x9B\xBC-cut")};
    for (const QString& name : names) {
        CLogWindow fresh;
        fresh.beginEditingRTF();
        fresh.appendRTFormat("\\b %@\\b0 .", name);
        fresh.endEditingRTF();
        EXPECT_EQ(fresh.text().plainText(), name + QStringLiteral(".")) << name.toStdString();
    }
}

TEST_F(LogWindowTest, AppendingDoesNotScrollButScrollToEndDoes)
{
    log.showWindow();
    log.window()->resize(400, 200);
    for (int i = 0; i < 200; ++i)
        log.appendFormat1("line %d", i);
    QApplication::processEvents();
    QScrollBar* bar = log.textView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0);
    log.scrollToEnd();
    EXPECT_EQ(bar->value(), bar->maximum());
    log.window()->hide();
}

TEST_F(LogWindowTest, RowWiderThanTheWindowStaysOneLineUnderItsHeader)
{
    log.showWindow();
    log.window()->resize(400, 200);
    QString header, row;
    for (int column = 0; column < 19; ++column) {
        header += QString::asprintf("%12s ", qPrintable(QStringLiteral("wave%1").arg(column)));
        row += QString::asprintf("%12f ", column * 1.5);
    }
    log.appendString1(header);
    log.appendString1(row);
    QApplication::processEvents();
    const QTextDocument* shown = log.textView()->document();
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next())
        EXPECT_LE(block.layout()->lineCount(), 1) << block.text().toStdString();
    EXPECT_GT(log.textView()->horizontalScrollBar()->maximum(), 0) << "the rest of the row is scrolled to";
    log.window()->hide();
}

TEST_F(LogWindowTest, WindowRemembersItsFrameAndShowsTheLogInCourierNew12)
{
    QWidget* window = log.window();
    EXPECT_EQ(window->objectName(), QStringLiteral("CLogWindow"));
    EXPECT_EQ(log.textView()->objectName(), QStringLiteral("mTextView"));
    EXPECT_EQ(log.textView()->currentFont().pointSizeF(), 12.0);
    EXPECT_TRUE(log.textView()->acceptRichText());

    log.showWindow();
    window->resize(640, 321);
    window->hide();
    EXPECT_TRUE(QSettings().contains(QStringLiteral("WindowFrames/LogWindow")));
    CLogWindow next;
    EXPECT_EQ(next.window()->size(), QSize(640, 321));
}

TEST_F(LogWindowTest, PrintsTheLog)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.pdf"));
    log.appendString1(QStringLiteral("printed"));
    {
        QPdfWriter writer(path);
        log.printTo(&writer);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

// The reader on its own: what the RTF written by the log's blocks may hold.
TEST(RtfReader, HeaderTablesSelectFontsAndColours)
{
    EXPECT_EQ(std::string(CLogWindow::rtfHeader()).size(), 172u);
    const std::string rtf = std::string(CLogWindow::rtfHeader())
                            + " a\\cf2 red\\cf3 blue\\cf1 white\\cf0 plain\\f1 bold}";
    const StyledText text = readRtf(rtf);
    EXPECT_EQ(text.plainText(), QStringLiteral("aredbluewhiteplainbold"));
    EXPECT_EQ(text.styleAt(0)->color, std::nullopt);
    EXPECT_EQ(text.styleAt(0)->fontName, QStringLiteral("Courier"));
    EXPECT_EQ(text.styleAt(1)->color, Color::fromRgb(1, 0, 0));
    EXPECT_EQ(text.styleAt(4)->color, Color::fromRgb(0, 0, 1));
    EXPECT_EQ(text.styleAt(8)->color, Color::fromRgb(1, 1, 1));
    EXPECT_EQ(text.styleAt(13)->color, std::nullopt);
    EXPECT_EQ(text.styleAt(18)->fontName, QStringLiteral("Courier-Bold"));
    EXPECT_TRUE(text.styleAt(18)->isBoldFace());
    EXPECT_FALSE(text.styleAt(18)->bold);
}

TEST(RtfReader, EscapesAndSpecialCharacters)
{
    struct Case {
        const char* rtf;
        QString expected;
    };
    const Case cases[] = {
        {"{\\rtf1 a\\\\b\\{c\\}}", QStringLiteral("a\\b{c}")},
        {"{\\rtf1 caf\\'e9 \\'80}", QStringLiteral("caf\u00E9 \u20AC")},
        {"{\\rtf1 \\u945?\\u-3913?x}", QStringLiteral("\u03B1\uF0B7x")},
        {"{\\rtf1\\uc0 \\u945 x}", QStringLiteral("\u03B1x")},
        {"{\\rtf1\\uc2 \\u945\\'3f\\'3fx}", QStringLiteral("\u03B1x")},
        {"{\\rtf1 a\\tab b\\par c\\line d}", QStringLiteral("a\tb\nc\u2028d")},
        {"{\\rtf1 a\\~b\\-c}", QStringLiteral("a\u00A0bc")},
        {"{\\rtf1 a{\\*\\unknown skipped {nested}}b}", QStringLiteral("ab")},
        {"{\\rtf1 {\\info {\\title t}}a\r\nb}", QStringLiteral("ab")},
        {"{\\rtf1 a}trailing", QStringLiteral("a")},
        {"{\\rtf1 utf8 \xC2\xB0}", QStringLiteral("utf8 \u00B0")},
        {"{\\rtf1 unclosed {\\b group", QStringLiteral("unclosed group")},
        {"{\\rtf1 end\\", QStringLiteral("end")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readRtf(c.rtf).plainText(), c.expected) << c.rtf;
}

TEST(RtfReader, GroupsRestoreTheStyle)
{
    const StyledText text = readRtf("{\\rtf1\\fs20 a{\\b\\i\\ul\\fs40 b}c\\b d\\plain e}");
    EXPECT_EQ(text.plainText(), QStringLiteral("abcde"));
    const TextStyle b = *text.styleAt(1);
    EXPECT_TRUE(b.bold && b.italic && b.underline);
    EXPECT_EQ(b.pointSize, 20.0);
    const TextStyle c = *text.styleAt(2);
    EXPECT_FALSE(c.bold || c.italic || c.underline);
    EXPECT_EQ(c.pointSize, 10.0);
    EXPECT_TRUE(text.styleAt(3)->bold);
    EXPECT_FALSE(text.styleAt(4)->bold);
    EXPECT_EQ(text.styleAt(4)->pointSize, 12.0);
}

TEST(RtfReader, EscapeRtfRoundTrips)
{
    EXPECT_EQ(escapeRtf("a\\b{c}"), "a\\\\b\\{c\\}");
    EXPECT_EQ(escapeRtf("\xC3\xA9"), "\\u233?");
    EXPECT_EQ(escapeRtf("\xEF\xBF\xBD"), "\\u-3?");
    const QString text = QStringLiteral("x\ty\r\nz \u00E9\u4E2D");
    EXPECT_EQ(readRtf("{\\rtf1 " + escapeRtf(text.toStdString()) + "}").plainText(), QStringLiteral("x\ty\nz \u00E9\u4E2D"));
}
