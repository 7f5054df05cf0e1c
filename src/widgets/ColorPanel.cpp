#include "widgets/ColorPanel.h"

#include <QColorDialog>
#include <QWidget>

namespace quorvel {

ColorPanel& ColorPanel::shared()
{
    static ColorPanel* const panel = new ColorPanel; // lives as long as the application
    return *panel;
}

QColorDialog* ColorPanel::dialog()
{
    if (!mDialog) {
        mDialog = new QColorDialog;
        mDialog->setObjectName(QStringLiteral("ColorPanel"));
        mDialog->setWindowTitle(tr("Colors"));
        mDialog->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
        connect(mDialog, &QColorDialog::currentColorChanged, this, &ColorPanel::colorChanged);
    }
    return mDialog;
}

bool ColorPanel::isVisible() const
{
    return mDialog && mDialog->isVisible();
}

Color ColorPanel::color() const
{
    return mDialog ? Color::fromQColor(mDialog->currentColor()) : Color::white();
}

void ColorPanel::setColor(const Color& color)
{
    mSettingColor = true;
    dialog()->setCurrentColor(color.toQColor());
    mSettingColor = false;
}

void ColorPanel::setTarget(QWidget* receiver, ChangeColor changeColor)
{
    mReceiver = receiver;
    mChangeColor = std::move(changeColor);
}

void ColorPanel::releaseTarget(const QWidget* receiver)
{
    if (mReceiver == receiver) {
        mReceiver = nullptr;
        mChangeColor = nullptr;
    }
}

void ColorPanel::orderFront(QWidget* receiver, ChangeColor changeColor)
{
    setTarget(receiver, std::move(changeColor));
    QColorDialog* panel = dialog();
    // A child of the receiver's window stays usable while that window is modal.
    QWidget* owner = receiver ? receiver->window() : nullptr;
    if (panel->parentWidget() != owner) {
        const bool wasVisible = panel->isVisible();
        panel->setParent(owner, Qt::Tool);
        if (wasVisible)
            panel->show();
    }
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void ColorPanel::close()
{
    if (mDialog)
        mDialog->hide();
}

void ColorPanel::colorChanged()
{
    if (mSettingColor || !mReceiver || !mChangeColor)
        return;
    mChangeColor(color());
}

} // namespace quorvel
