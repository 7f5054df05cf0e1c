#pragma once
// The application's shared font panel: one non-modal font dialog that shows the font
// of the text being edited and sends the font the user chooses to the object that
// last brought it to the front.

#include <QFont>
#include <QObject>
#include <QPointer>

#include <functional>

class QFontDialog;
class QWidget;

namespace quorvel {

class FontPanel : public QObject {
    Q_OBJECT
public:
    using ChangeFont = std::function<void(const QFont&)>;

    static FontPanel& shared();

    QFontDialog* dialog(); // made on first use
    bool isVisible() const;
    QFont selectedFont() const;

    // Shows the panel in front with `font` selected; a font chosen there goes to
    // `changeFont` while `receiver` lives.
    void orderFront(QWidget* receiver, const QFont& font, ChangeFont changeFont);
    void close();

private:
    FontPanel() = default;
    void fontChosen(const QFont& font);

    QPointer<QFontDialog> mDialog;
    QPointer<QWidget> mReceiver;
    ChangeFont mChangeFont;
};

} // namespace quorvel
