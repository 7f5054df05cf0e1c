#pragma once
// The application's one log window: a rich-text view to which every calculation appends
// its report. The text is kept in a model (`text()`), exactly as appended, and shown in
// a QTextDocument; appending neither shows nor scrolls the window.

#include "widgets/StringFormat.h"
#include "widgets/StyledText.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class QPagedPaintDevice;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace quorvel {

class CLogWindow : public QObject {
    Q_OBJECT
public:
    // The one instance, made on the first call and never destroyed.
    static CLogWindow* sharedLogWindowCtroller();

    CLogWindow();
    ~CLogWindow() override;

    // The window, loaded (made) on first use.
    QWidget* window();
    void showWindow(QObject* sender = nullptr);
    bool isWindowLoaded() const { return mWindow != nullptr; }

    // Plain text, inserted at the end in the style of the text before it.
    void appendText(const char* utf8Text);
    void appendString(const QString& string);
    void appendString1(const QString& string);
    void appendString2(const QString& string);

    // printf conversions plus %@ for strings; appendFormat takes an argument list.
    void appendFormat(std::string_view format, std::span<const FormatArg> arguments);
    template <class... Args>
        requires(!(sizeof...(Args) == 1 && (std::is_convertible_v<const Args&, std::span<const FormatArg>> && ...)))
    void appendFormat(std::string_view format, const Args&... args) { appendFormatted(format, 0, args...); }
    template <class... Args>
    void appendFormat1(std::string_view format, const Args&... args) { appendFormatted(format, 1, args...); }
    template <class... Args>
    void appendFormat2(std::string_view format, const Args&... args) { appendFormatted(format, 2, args...); }
    template <class... Args>
    void appendFormat3(std::string_view format, const Args&... args) { appendFormatted(format, 3, args...); }

    // An RTF block: beginEditingRTF writes the header, appendRTF adds RTF source and
    // endEditingRTF closes the document and appends its text. appendRTFormat escapes the
    // text of its %@ and %s arguments, so that names come out as written.
    void beginEditingRTF();
    void appendRTF(const QString& rtfSource);
    template <class... Args>
    void appendRTFormat(std::string_view format, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        appendRTF(formatString(format, std::span<const FormatArg>(list, sizeof...(Args)), &escapeRtfText));
    }
    void endEditingRTF();
    bool isEditingRTF() const { return mRtfBuffer.has_value(); }

    void scrollToEnd();
    void clearText(QObject* sender = nullptr);
    void printDocument(QObject* sender = nullptr);
    void printTo(QPagedPaintDevice* device) const;

    // The log as appended: characters, line ends and styles.
    const StyledText& text() const { return mText; }
    QTextDocument* document() const { return mDocument.get(); }
    QTextEdit* textView() const { return mTextView; }

    static const char* rtfHeader();
    static TextStyle defaultStyle(); // Courier New 12

private:
    static std::string escapeRtfText(std::string_view text);

    template <class... Args>
    void appendFormatted(std::string_view format, int lineEnds, const Args&... args)
    {
        const FormatArg list[] = {FormatArg(args)..., FormatArg(0)};
        appendString(formatString(format, std::span<const FormatArg>(list, sizeof...(Args))));
        for (int i = 0; i < lineEnds; ++i)
            appendString(QStringLiteral("\r\n"));
    }

    void insertAtEnd(const QString& string, const TextStyle& style);
    void windowDidLoad();

    StyledText mText;
    TextStyle mTypingStyle;             // style of text inserted into an empty log
    bool mLastShownCR = false;          // the document got a CR whose LF may follow
    std::unique_ptr<QTextDocument> mDocument;
    QPointer<QWidget> mWindow;
    QTextEdit* mTextView = nullptr;     // inside mWindow
    std::optional<std::string> mRtfBuffer;
};

} // namespace quorvel
