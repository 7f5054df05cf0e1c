#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvel {

// The platform's response codes of a modal session; a session stopped with a code of its
// own answers that code.
enum class ModalResponse : int { Stop = -1000, Abort = -1001, Continue = -1002 };

// A modal session for a window, as the calculation loop and the settings
// panels use it: begin (a hidden window shows once, application-modal from the
// start; a window already on screen stays as it was shown), run one turn at a
// time or run until stopped, stop with a code, end.
class ModalSession
{
public:
    explicit ModalSession(QWidget* window);  // begins the session
    ~ModalSession();                         // ends it if still open
    ModalSession(const ModalSession&) = delete;
    ModalSession& operator=(const ModalSession&) = delete;

    // One turn: handles the pending events without waiting. Continue while the
    // session runs; the stop code once stopped; Abort when the window is gone or hidden.
    ModalResponse runOnce();
    // Turns, waiting for events, until stopped; answers the stop code.
    ModalResponse run();
    void stop(ModalResponse code = ModalResponse::Stop);
    // Restores the window's modality, at once for a hidden window, for one still on
    // screen when it is next hidden; the window stays as it is.
    void end();

    bool isStopped() const { return mStopCode != ModalResponse::Continue; }
    QWidget* window() const { return mWindow; }

    // The innermost open session, and stopping it (the platform's stopModal).
    static ModalSession* current();
    static void stopCurrent(ModalResponse code = ModalResponse::Stop);

private:
    ModalResponse response() const;

    QPointer<QWidget> mWindow;
    Qt::WindowModality mPreviousModality = Qt::NonModal;
    ModalResponse mStopCode = ModalResponse::Continue;
    bool mOpen = false;
};

}  // namespace quorvel
