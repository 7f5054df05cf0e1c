#pragma once

#include "platform/Value.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <utility>

namespace quorvel {

// Writes values and archivable objects as a keyed archive: a binary property
// list in the platform's keyed-archive layout ("$archiver" NSKeyedArchiver,
// "$version" 100000, "$top", "$objects" with "$null" first, objects referred
// to by UID, classes recorded with "$classname" and "$classes").
//
// Records go in as NSMutableDictionary (NS.keys / NS.objects) and
// NSMutableArray (NS.objects), strings and numbers as plain list values,
// colours as NSColor in the RGB or white encoding, the not-a-number as
// NSDecimalNumber, objects under their registered class names. Every
// container or object is written once however often it is referred to.
//
// Outside an object's encodeWithCoder the encode functions write root keys.
class KeyedArchiver
{
public:
    using RootList = QList<std::pair<QString, Value>>;

    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(const KeyedArchiver&) = delete;
    KeyedArchiver& operator=(const KeyedArchiver&) = delete;

    // Dictionary keys whose values exist only at run time (plot objects) and
    // are never written; they are skipped in every dictionary of the archive.
    void setTransientKeys(const QStringList& keys);

    void encodeObject(const Value& value, const QString& key);
    // Written only when the same container or object is encoded (not
    // conditionally) somewhere in the archive; otherwise the key reads as none.
    void encodeConditionalObject(const Value& value, const QString& key);
    void encodeInt32(qint32 value, const QString& key);
    void encodeInt64(qint64 value, const QString& key);
    void encodeFloat(float value, const QString& key);
    void encodeDouble(double value, const QString& key);
    void encodeBool(bool value, const QString& key);

    // The archive's bytes; empty after an error. Nothing can be encoded afterwards.
    QByteArray finishEncoding();

    bool hasError() const;
    QString errorString() const;
    // Makes the archive fail with the message (the first error is kept).
    void failWithError(const QString& message);

    // One value under the root key "root" (pasteboard data, default colours).
    static QByteArray archivedData(const Value& rootObject, QString* error = nullptr);
    // Values under their root keys, in the given order (document contents).
    static QByteArray archivedDataWithRootKeys(const RootList& roots, QString* error = nullptr);
    // The archive of the roots written to a file; false with a message when it fails.
    static bool writeFile(const QString& path, const RootList& roots, QString* error = nullptr);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace quorvel
