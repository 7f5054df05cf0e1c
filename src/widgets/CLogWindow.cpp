#include "widgets/CLogWindow.h"

#include "widgets/RtfReader.h"
#include "widgets/WindowFrame.h"

#include <QHBoxLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace quorvel {

CLogWindow* CLogWindow::sharedLogWindowCtroller()
{
    static CLogWindow* const gLogWindowCtroller = new CLogWindow;
    return gLogWindowCtroller;
}

CLogWindow::CLogWindow() : mTypingStyle(defaultStyle()), mDocument(std::make_unique<QTextDocument>())
{
    mDocument->setUndoRedoEnabled(false);
    mDocument->setDefaultFont(defaultStyle().toCharFormat().font());
}

CLogWindow::~CLogWindow()
{
    delete mWindow.data();
}

const char* CLogWindow::rtfHeader()
{
    return "{\\rtf1{\\fonttbl\\f0\\fmodern\\fcharset0 Courier;\\f1\\fmodern\\fcharset0 Courier-Bold;}"
           "{\\colortbl;\\red255\\green255\\blue255;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
           "\\f0\\fs24\\cf0";
}

TextStyle CLogWindow::defaultStyle()
{
    TextStyle style;
    style.fontName = QStringLiteral("Courier New");
    style.pointSize = 12.0;
    return style;
}

QWidget* CLogWindow::window()
{
    if (!mWindow) {
        auto* frame = new QWidget;
        frame->setObjectName(QStringLiteral("CLogWindow"));
        frame->setWindowTitle(tr("Log"));
        frame->resize(600, 400);
        setFrameAutosaveName(frame, QStringLiteral("LogWindow"));
        mTextView = new QTextEdit(frame);
        mTextView->setObjectName(QStringLiteral("mTextView"));
        mTextView->setDocument(mDocument.get());
        mTextView->setReadOnly(true);
        mTextView->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        // The reports are tables of fixed-width columns: a row stays one line under its header.
        mTextView->setLineWrapMode(QTextEdit::NoWrap);

        auto* clear = new QPushButton(tr("Clear"), frame);
        auto* print = new QPushButton(tr("Print..."), frame);
        connect(clear, &QPushButton::clicked, this, [this] { clearText(); });
        connect(print, &QPushButton::clicked, this, [this] { printDocument(); });

        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        buttons->addWidget(clear);
        buttons->addWidget(print);
        auto* layout = new QVBoxLayout(frame);
        layout->addWidget(mTextView);
        layout->addLayout(buttons);
        mWindow = frame;
        windowDidLoad();
    }
    return mWindow;
}

void CLogWindow::windowDidLoad()
{
    mTextView->setAcceptRichText(true);
    mTextView->setCurrentFont(defaultStyle().toCharFormat().font());
}

void CLogWindow::showWindow(QObject*)
{
    QWidget* w = window();
    w->show();
    w->raise();
}

void CLogWindow::insertAtEnd(const QString& string, const TextStyle& style)
{
    if (string.isEmpty())
        return;
    mText.append(string, style);
    mTypingStyle = style;

    // The document shows CR LF, a lone CR and a lone LF each as one paragraph break.
    QString shown;
    shown.reserve(string.size());
    for (const QChar c : string) {
        if (c == QLatin1Char('\n') && mLastShownCR) {
            mLastShownCR = false;
            continue;
        }
        mLastShownCR = c == QLatin1Char('\r');
        shown += mLastShownCR ? QChar(QLatin1Char('\n')) : c;
    }
    QTextCursor cursor(mDocument.get());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(shown, style.toCharFormat());
}

void CLogWindow::appendText(const char* utf8Text)
{
    if (utf8Text)
        insertAtEnd(QString::fromUtf8(utf8Text), mTypingStyle);
}

void CLogWindow::appendString(const QString& string)
{
    if (mText.isEmpty()) {
        // An empty log first gets the font and one space, so that the font sticks; the
        // string goes before that space.
        mTypingStyle = defaultStyle();
        insertAtEnd(string, mTypingStyle);
        insertAtEnd(QStringLiteral(" "), mTypingStyle);
        return;
    }
    insertAtEnd(string, mTypingStyle);
}

void CLogWindow::appendString1(const QString& string)
{
    appendString(string);
    appendString(QStringLiteral("\r\n"));
}

void CLogWindow::appendString2(const QString& string)
{
    appendString1(string);
    appendString(QStringLiteral("\r\n"));
}

void CLogWindow::appendFormat(std::string_view format, std::span<const FormatArg> arguments)
{
    appendString(formatString(format, arguments));
}

void CLogWindow::beginEditingRTF()
{
    mRtfBuffer = std::string(rtfHeader());
}

void CLogWindow::appendRTF(const QString& rtfSource)
{
    if (mRtfBuffer)
        *mRtfBuffer += rtfSource.toStdString();
}

void CLogWindow::endEditingRTF()
{
    if (!mRtfBuffer)
        return;
    *mRtfBuffer += "}";
    const StyledText block = readRtf(*mRtfBuffer);
    for (const StyledRun& run : block.runs())
        insertAtEnd(run.text, run.style);
    mRtfBuffer.reset();
}

std::string CLogWindow::escapeRtfText(std::string_view text)
{
    return escapeRtf(text);
}

void CLogWindow::scrollToEnd()
{
    if (!mTextView)
        return;
    QScrollBar* bar = mTextView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void CLogWindow::clearText(QObject*)
{
    mText.clear();
    mDocument->clear();
    mLastShownCR = false;
    mTypingStyle = defaultStyle(); // a cleared log starts afresh, not in the last block's style
}

void CLogWindow::printDocument(QObject*)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, mWindow);
    if (dialog.exec() == QDialog::Accepted)
        printTo(&printer);
}

void CLogWindow::printTo(QPagedPaintDevice* device) const
{
    mDocument->print(device);
}

} // namespace quorvel
