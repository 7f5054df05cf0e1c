#include "plot/SettingsPanelController.h"

#include "plot/CGraphObject.h"
#include "plot/CPlotView.h"

#include "widgets/ColorPanel.h"
#include "widgets/ColorWell.h"
#include "widgets/WindowFrame.h"

#include "platform/ModalSession.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace quorvel {

// The panel's window: reports its close box and its closing to the controller.
class SettingsPanelController::PanelWindow : public QWidget {
public:
    explicit PanelWindow(SettingsPanelController& controller) : QWidget(nullptr, Qt::Dialog), mController(controller) { }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        if (!mController.mClosingFromButton)
            mController.closedByUser();
        QWidget::closeEvent(event);
    }
    void hideEvent(QHideEvent* event) override
    {
        mController.windowWillClose();
        QWidget::hideEvent(event);
    }

private:
    SettingsPanelController& mController;
};

SettingsPanelController::SettingsPanelController(const QString& description, const QString& title,
                                                 const QString& frameAutosaveName)
    : mDescription(description), mTitle(title), mFrameAutosaveName(frameAutosaveName)
{
}

SettingsPanelController::~SettingsPanelController()
{
    delete mWindow;
}

QWidget* SettingsPanelController::window()
{
    if (mWindow)
        return mWindow;
    mWindow = new PanelWindow(*this);
    mWindow->setObjectName(mDescription);
    mWindow->setWindowTitle(mTitle);
    // The panel only ever runs as a modal session, which showWindow opens: modal from its
    // first showing, the session never has to hide and show it again.
    mWindow->setWindowModality(Qt::ApplicationModal);

    auto* grid = new QGridLayout(mWindow);
    buildControls(grid);
    const int row = grid->rowCount();
    mForeColorWell = new ColorWell(mWindow);
    mForeColorWell->setObjectName(QStringLiteral("mForeColorWell"));
    grid->addWidget(new QLabel(tr("Color:"), mWindow), row, 0);
    grid->addWidget(mForeColorWell, row, 1, Qt::AlignLeft);

    mCancelButton = new QPushButton(tr("Cancel"), mWindow);
    mCancelButton->setObjectName(QStringLiteral("mCancelButton"));
    mOKButton = new QPushButton(tr("OK"), mWindow);
    mOKButton->setObjectName(QStringLiteral("mOKButton"));
    mOKButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 8, 0, 0); // apart from the settings above
    buttons->addStretch();
    buttons->addWidget(mCancelButton);
    buttons->addWidget(mOKButton);
    grid->addLayout(buttons, row + 1, 0, 1, 2);

    connect(mForeColorWell, &ColorWell::colorChanged, this, [this] { onChangeColor(mForeColorWell); });
    connect(mOKButton, &QPushButton::clicked, this, [this] { onOKButton(mOKButton); });
    connect(mCancelButton, &QPushButton::clicked, this, [this] { onCancelButton(mCancelButton); });

    fitWidthToTitle(mWindow);
    mWindow->adjustSize();
    if (!mFrameAutosaveName.isEmpty())
        setFrameAutosaveName(mWindow, mFrameAutosaveName);
    return mWindow;
}

void SettingsPanelController::showWindow(QObject*)
{
    QWidget* panel = window();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void SettingsPanelController::startModalSession()
{
    ModalSession session(window());
    mSession = &session;
    session.run();
    session.end();
    mSession = nullptr;
}

void SettingsPanelController::onOKButton(QObject*)
{
    endSession();
}

void SettingsPanelController::onChangeColor(QObject*)
{
    if (CGraphObject* object = editedObject()) {
        object->setColor(mForeColorWell->color());
        redraw();
    }
}

void SettingsPanelController::rememberColor(const CGraphObject& object)
{
    mOldForeColor = object.color();
    window();
    mForeColorWell->setColor(mOldForeColor.value_or(Color::black()));
}

void SettingsPanelController::restoreColor(CGraphObject& object) const
{
    if (mOldForeColor)
        object.setColor(*mOldForeColor);
}

void SettingsPanelController::redraw()
{
    if (mPlotView)
        mPlotView->update();
}

void SettingsPanelController::endSession()
{
    if (mSession)
        mSession->stop();
    mClosingFromButton = true;
    if (mWindow)
        mWindow->close();
    mClosingFromButton = false;
}

void SettingsPanelController::windowWillClose()
{
    // The colour well may have opened the shared colour panel; it edits nothing here any more.
    ColorPanel::shared().close();
    ColorPanel::shared().releaseTarget(mForeColorWell);
}

void SettingsPanelController::closedByUser()
{
    if (mSession && !mSession->isStopped())
        onCancelButton(nullptr);
}

} // namespace quorvel
