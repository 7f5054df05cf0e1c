#include "widgets/WindowFrame.h"

#include <QEvent>
#include <QFontMetrics>
#include <QObject>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace quorvel {

namespace {

// Room for a title bar's buttons (close, maximise, minimise) and its margins.
constexpr int kTitleBarButtonsWidth = 3 * 24 + 24;

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

void fitWidthToTitle(QWidget* window)
{
    QFont titleFont = window->font();
    titleFont.setBold(true);  // as most window managers draw titles
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(window->windowTitle());
    window->setMinimumWidth(std::max(window->minimumWidth(), titleWidth + kTitleBarButtonsWidth));
}

} // namespace quorvel
