#include "platform/ModalSession.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {
std::vector<ModalSession*>& openSessions()
{
    static std::vector<ModalSession*> sessions;
    return sessions;
}

// Gives a window back its modality once it is hidden, then goes.
class ModalityRestorer : public QObject
{
public:
    ModalityRestorer(QWidget* window, Qt::WindowModality modality) : QObject(window), mModality(modality) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide) {
            static_cast<QWidget*>(watched)->setWindowModality(mModality);
            deleteLater();
        }
        return false;
    }

private:
    Qt::WindowModality mModality;
};

}  // namespace

ModalSession::ModalSession(QWidget* window) : mWindow(window)
{
    mOpen = true;
    openSessions().push_back(this);
    if (!mWindow)
        return;
    mPreviousModality = mWindow->windowModality();
    // A window's modality takes effect when it is shown, and a window hidden and shown
    // again at once can stay unmapped under a window manager: the session shows a hidden
    // window once, modal from the start, and leaves one already on screen as it was shown.
    if (!mWindow->isVisible())
        mWindow->setWindowModality(Qt::ApplicationModal);
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
}

ModalSession::~ModalSession()
{
    end();
}

ModalResponse ModalSession::response() const
{
    if (mStopCode != ModalResponse::Continue)
        return mStopCode;
    return mWindow && mWindow->isVisible() ? ModalResponse::Continue : ModalResponse::Abort;
}

ModalResponse ModalSession::runOnce()
{
    if (response() == ModalResponse::Continue)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return response();
}

ModalResponse ModalSession::run()
{
    while (response() == ModalResponse::Continue)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return response();
}

void ModalSession::stop(ModalResponse code)
{
    mStopCode = code == ModalResponse::Continue ? ModalResponse::Stop : code;
}

void ModalSession::end()
{
    if (!mOpen)
        return;
    mOpen = false;
    std::erase(openSessions(), this);
    if (!mWindow || mWindow->windowModality() == mPreviousModality)
        return;
    if (mWindow->isVisible())
        mWindow->installEventFilter(new ModalityRestorer(mWindow, mPreviousModality));
    else
        mWindow->setWindowModality(mPreviousModality);
}

ModalSession* ModalSession::current()
{
    return openSessions().empty() ? nullptr : openSessions().back();
}

void ModalSession::stopCurrent(ModalResponse code)
{
    if (ModalSession* session = current())
        session->stop(code);
}

}  // namespace quorvel
