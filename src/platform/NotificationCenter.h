#pragma once

#include "platform/Value.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

namespace quorvel {

// Names of the platform's window notifications; the object is the window.
inline const QString WindowDidBecomeMainNotification = QStringLiteral("NSWindowDidBecomeMainNotification");
inline const QString WindowDidResignMainNotification = QStringLiteral("NSWindowDidResignMainNotification");
inline const QString WindowWillCloseNotification = QStringLiteral("NSWindowWillCloseNotification");

struct Notification
{
    QString name;
    QObject* object = nullptr;  // the sender (document, controller, view, panel or window)
    Dictionary userInfo;
};

// The application's notification centre: named notifications delivered
// synchronously, in registration order, to every observer of that name,
// whatever the sender. An observer may remove itself or others while a
// notification is delivered; removed observers are not called any more, and
// observers added meanwhile are called from the next notification on.
class NotificationCenter
{
public:
    using Handler = std::function<void(const Notification&)>;
    using ObserverId = quint64;

    static NotificationCenter& defaultCenter();

    // The observation ends with removeObserver, or when `owner` (if given) is destroyed.
    ObserverId addObserver(const QString& name, QObject* owner, Handler handler);
    void removeObserver(ObserverId id);
    // Every observation made for `owner`, or only those of one name.
    void removeObserver(QObject* owner, const QString& name = QString());

    void postNotification(const QString& name, QObject* object = nullptr, const Dictionary& userInfo = Dictionary());
    void postNotification(const Notification& notification);

private:
    struct Observer
    {
        ObserverId id;
        QString name;
        bool owned;
        QPointer<QObject> owner;
        Handler handler;
    };
    bool isLive(const Observer& observer) const { return !observer.owned || observer.owner; }

    std::vector<Observer> mObservers;
    ObserverId mNextId = 1;
};

}  // namespace quorvel
