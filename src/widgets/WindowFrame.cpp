#include "widgets/WindowFrame.h"

#include <QEvent>
#include <QObject>
#include <QSettings>
#include <QWidget>

namespace quorvel {

namespace {

QString frameKey(const QString& name)
{
    return QStringLiteral("WindowFrames/%1").arg(name);
}

class FrameSaver : public QObject {
public:
    FrameSaver(QWidget* window, const QString& name) : QObject(window), mName(name) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            QSettings().setValue(frameKey(mName), static_cast<QWidget*>(watched)->saveGeometry());
        return false;
    }

private:
    QString mName;
};

} // namespace

void setFrameAutosaveName(QWidget* window, const QString& name)
{
    const QByteArray geometry = QSettings().value(frameKey(name)).toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
    window->installEventFilter(new FrameSaver(window, name));
}

} // namespace quorvel
