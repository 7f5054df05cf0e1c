#include "platform/NotificationCenter.h"

#include <algorithm>

namespace quorvel {

NotificationCenter& NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const QString& name, QObject* owner, Handler handler)
{
    const ObserverId id = mNextId++;
    mObservers.push_back(Observer{id, name, owner != nullptr, owner, std::move(handler)});
    return id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    std::erase_if(mObservers, [id](const Observer& o) { return o.id == id; });
}

void NotificationCenter::removeObserver(QObject* owner, const QString& name)
{
    std::erase_if(mObservers, [&](const Observer& o) {
        return o.owned && o.owner == owner && (name.isEmpty() || o.name == name);
    });
}

void NotificationCenter::postNotification(const QString& name, QObject* object, const Dictionary& userInfo)
{
    postNotification(Notification{name, object, userInfo});
}

void NotificationCenter::postNotification(const Notification& notification)
{
    std::erase_if(mObservers, [this](const Observer& o) { return !isLive(o); });

    // The observers present now, by id: a handler may add or remove observers.
    std::vector<ObserverId> recipients;
    for (const Observer& o : mObservers)
        if (o.name == notification.name)
            recipients.push_back(o.id);

    for (ObserverId id : recipients) {
        const auto found = std::find_if(mObservers.begin(), mObservers.end(), [id](const Observer& o) { return o.id == id; });
        if (found == mObservers.end() || !isLive(*found))
            continue;
        const Handler handler = found->handler;  // the observer may be removed while it runs
        handler(notification);
    }
}

}  // namespace quorvel
