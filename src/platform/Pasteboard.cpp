#include "platform/Pasteboard.h"

#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace quorvel {

void Pasteboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

void Pasteboard::setData(const QString& type, const QByteArray& data)
{
    auto* mime = new QMimeData;
    mime->setData(type, data);
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool Pasteboard::hasType(const QString& type)
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(type);
}

QByteArray Pasteboard::data(const QString& type)
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime ? mime->data(type) : QByteArray();
}

bool Pasteboard::setArchivedValue(const QString& type, const Value& value, QString* error)
{
    QString message;
    const QByteArray bytes = KeyedArchiver::archivedData(value, &message);
    if (error)
        *error = message;
    if (!message.isEmpty())
        return false;
    setData(type, bytes);
    return true;
}

Value Pasteboard::archivedValue(const QString& type, QString* error)
{
    if (error)
        error->clear();
    if (!hasType(type))
        return Value();
    return KeyedUnarchiver::unarchivedObject(data(type), error);
}

}  // namespace quorvel
