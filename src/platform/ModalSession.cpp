#include "platform/ModalSession.h"

#include <QCoreApplication>
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
}  // namespace

ModalSession::ModalSession(QWidget* window) : mWindow(window)
{
    mOpen = true;
    openSessions().push_back(this);
    if (!mWindow)
        return;
    mPreviousModality = mWindow->windowModality();
    if (mPreviousModality != Qt::ApplicationModal) {
        const bool wasVisible = mWindow->isVisible();
        if (wasVisible)
            mWindow->hide();  // a new modality takes effect when the window is shown
        mWindow->setWindowModality(Qt::ApplicationModal);
    }
    mWindow->show();
    mWindow->raise();
    mWindow->activateWindow();
}

ModalSession::~ModalSession()
{
    end();
}

int ModalSession::response() const
{
    if (mStopCode != Continue)
        return mStopCode;
    return mWindow && mWindow->isVisible() ? Continue : Abort;
}

int ModalSession::runOnce()
{
    if (response() == Continue)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return response();
}

int ModalSession::run()
{
    while (response() == Continue)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return response();
}

void ModalSession::stop(int code)
{
    mStopCode = code == Continue ? Stop : code;
}

void ModalSession::end()
{
    if (!mOpen)
        return;
    mOpen = false;
    std::erase(openSessions(), this);
    if (mWindow && mWindow->windowModality() != mPreviousModality) {
        const bool wasVisible = mWindow->isVisible();
        if (wasVisible)
            mWindow->hide();
        mWindow->setWindowModality(mPreviousModality);
        if (wasVisible)
            mWindow->show();
    }
}

ModalSession* ModalSession::current()
{
    return openSessions().empty() ? nullptr : openSessions().back();
}

void ModalSession::stopCurrent(int code)
{
    if (ModalSession* session = current())
        session->stop(code);
}

}  // namespace quorvel
