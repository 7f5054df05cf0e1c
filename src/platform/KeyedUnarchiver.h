#pragma once

#include "platform/Value.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace quorvel {

// Reads keyed archives (binary or XML property lists in the platform's
// keyed-archive layout) back into values and registered archivable objects.
// Containers come back mutable; a container or object stored once comes back
// as one instance wherever it is referred to; objects referring back to their
// owner (directly or conditionally) resolve to the owner, which they must hold
// weakly.
//
// Bad input (not a property list, truncated, wrong kinds, dangling
// references, containers containing themselves, objects holding themselves by
// strong references, unknown classes, excessive nesting or size) puts the
// unarchiver in an error state with a message; from then on every decode gives
// 0 or none. Reading takes time linear in the size of the archive.
//
// Outside an object's initWithCoder the decode functions read root keys.
class KeyedUnarchiver
{
public:
    explicit KeyedUnarchiver(const QByteArray& data);
    ~KeyedUnarchiver();
    KeyedUnarchiver(const KeyedUnarchiver&) = delete;
    KeyedUnarchiver& operator=(const KeyedUnarchiver&) = delete;

    bool hasError() const;
    QString errorString() const;
    // Makes the reading fail with the message (the first error is kept);
    // for an initWithCoder that finds a value it cannot accept.
    void failWithError(const QString& message);

    bool containsValueForKey(const QString& key) const;

    // An absent key gives a null Value.
    Value decodeObject(const QString& key);
    // The object under the key, nullptr when absent; an error when of another class.
    template <class T>
    std::shared_ptr<T> decodeObjectOfClass(const QString& key)
    {
        const Value value = decodeObject(key);
        auto object = value.toObject<T>();
        if (!value.isNull() && !object)
            failWithError(wrongKind(key));
        return object;
    }

    // Absent keys give 0 / false; a value that is not a number, or out of
    // range for the type, is an error.
    qint32 decodeInt32(const QString& key);
    qint64 decodeInt64(const QString& key);
    float decodeFloat(const QString& key);
    double decodeDouble(const QString& key);
    bool decodeBool(const QString& key);

    // The value under the root key "root"; a null Value and a message on failure.
    static Value unarchivedObject(const QByteArray& data, QString* error = nullptr);
    // Every root key of the archive; std::nullopt and a message on failure or
    // when one of the required keys is missing.
    static std::optional<Dictionary> unarchivedRootKeys(const QByteArray& data,
                                                        const QStringList& requiredKeys = {},
                                                        QString* error = nullptr);
    static std::optional<Dictionary> readFile(const QString& path, const QStringList& requiredKeys = {},
                                              QString* error = nullptr);

private:
    QString wrongKind(const QString& key) const;
    // The root keys; `taken` receives the objects that what they hold took
    // (refers back to) while they were read.
    static std::optional<Dictionary> readRootKeys(const QByteArray& data, const QStringList& requiredKeys,
                                                  QString* error, std::vector<std::weak_ptr<ArchivableObject>>& taken);
    // Makes the objects still alive let go of what they hold; true if any was.
    static bool releaseSurvivors(const std::vector<std::weak_ptr<ArchivableObject>>& objects);
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace quorvel
