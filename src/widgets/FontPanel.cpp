#include "widgets/FontPanel.h"

#include <QFontDialog>
#include <QWidget>

namespace quorvel {

FontPanel& FontPanel::shared()
{
    static FontPanel* const panel = new FontPanel; // lives as long as the application
    return *panel;
}

QFontDialog* FontPanel::dialog()
{
    if (!mDialog) {
        mDialog = new QFontDialog;
        mDialog->setObjectName(QStringLiteral("FontPanel"));
        mDialog->setWindowTitle(tr("Fonts"));
        mDialog->setOption(QFontDialog::DontUseNativeDialog);
        connect(mDialog, &QFontDialog::fontSelected, this, &FontPanel::fontChosen);
    }
    return mDialog;
}

bool FontPanel::isVisible() const
{
    return mDialog && mDialog->isVisible();
}

QFont FontPanel::selectedFont() const
{
    return mDialog ? mDialog->currentFont() : QFont();
}

void FontPanel::orderFront(QWidget* receiver, const QFont& font, ChangeFont changeFont)
{
    mReceiver = receiver;
    mChangeFont = std::move(changeFont);
    QFontDialog* panel = dialog();
    panel->setCurrentFont(font);
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void FontPanel::close()
{
    if (mDialog)
        mDialog->hide();
}

void FontPanel::fontChosen(const QFont& font)
{
    if (mReceiver && mChangeFont)
        mChangeFont(font);
}

} // namespace quorvel
