#pragma once

#include <QPointer>
#include <QWidget>

namespace quorvel {

// A modal session for a window, as the calculation loop and the settings
// panels use it: begin (a hidden window shows once, application-modal from the
// start; a window already on screen stays as it was shown), run one turn at a
// time or run until stopped, stop with a code, end.
class ModalSession
{
public:
    // The platform's response codes.
    static constexpr int Stop = -1000;
    static constexpr int Abort = -1001;
    static constexpr int Continue = -1002;

    explicit ModalSession(QWidget* window);  // begins the session
    ~ModalSession();                         // ends it if still open
    ModalSession(const ModalSession&) = delete;
    ModalSession& operator=(const ModalSession&) = delete;

    // One turn: handles the pending events without waiting. Continue while the
    // session runs; the stop code once stopped; Abort when the window is gone or hidden.
    int runOnce();
    // Turns, waiting for events, until stopped; answers the stop code.
    int run();
    void stop(int code = Stop);
    // Restores the window's modality, at once for a hidden window, for one still on
    // screen when it is next hidden; the window stays as it is.
    void end();

    bool isStopped() const { return mStopCode != Continue; }
    QWidget* window() const { return mWindow; }

    // The innermost open session, and stopping it (the platform's stopModal).
    static ModalSession* current();
    static void stopCurrent(int code = Stop);

private:
    int response() const;

    QPointer<QWidget> mWindow;
    Qt::WindowModality mPreviousModality = Qt::NonModal;
    int mStopCode = Continue;
    bool mOpen = false;
};

}  // namespace quorvel
