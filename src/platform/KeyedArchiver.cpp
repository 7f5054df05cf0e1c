#include "platform/KeyedArchiver.h"

#include "platform/ArchiveFormat.h"
#include "platform/FileAccess.h"

#include <QHash>
#include <QObject>
#include <QSet>

#include <plist/plist.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace quorvel {

namespace {

plist_t newString(const QString& s)
{
    return plist_new_string(s.toUtf8().constData());
}

// The kinds of scalar that are written once per value.
enum class ScalarKind { Int, Double, Bool };

}  // namespace

struct KeyedArchiver::Impl
{
    std::vector<plist_t> objects;  // $objects; an entry is null while its object is being written
    plist_t top = plist_new_dict();
    plist_t current = top;         // the dictionary the encode functions write into
    int depth = 0;
    bool finished = false;
    QString error;
    QSet<QString> transientKeys;

    QHash<const void*, quint64> uidByIdentity;
    QHash<QString, quint64> uidByString;
    std::map<std::pair<ScalarKind, quint64>, quint64> uidByScalar;  // (kind, bits) -> uid
    QHash<QString, quint64> uidByClass;
    QSet<const void*> containersInProgress;
    std::vector<Value> retained;  // keeps identities unique until the end

    // A conditional reference to what has not been written yet: resolved at
    // the end, unless the same key of the same dictionary is written again.
    std::map<std::pair<plist_t, QByteArray>, const void*> pendingRefs;  // (dict, key) -> identity

    Impl() { objects.push_back(plist_new_string("$null")); }

    ~Impl()
    {
        for (plist_t node : objects)
            if (node)
                plist_free(node);
        if (top)
            plist_free(top);
    }

    void fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
    }

    bool writable() const { return !finished && error.isEmpty(); }

    void set(plist_t dict, const QString& key, plist_t node)
    {
        const QByteArray name = ArchiveFormat::escapedKey(key).toUtf8();
        pendingRefs.erase({dict, name});
        plist_dict_set_item(dict, name.constData(), node);
    }

    void set(const QString& key, plist_t node) { set(current, key, node); }

    quint64 append(plist_t node)
    {
        objects.push_back(node);
        return objects.size() - 1;
    }

    quint64 reserve() { return append(nullptr); }

    quint64 scalarUid(ScalarKind kind, quint64 bits, plist_t (*make)(quint64))
    {
        const auto key = std::make_pair(kind, bits);
        if (const auto found = uidByScalar.find(key); found != uidByScalar.end())
            return found->second;
        return uidByScalar[key] = append(make(bits));
    }

    quint64 classUid(const QString& className, const QStringList& hierarchy)
    {
        if (const auto found = uidByClass.constFind(className); found != uidByClass.cend())
            return *found;
        plist_t entry = plist_new_dict();
        plist_t classes = plist_new_array();
        for (const QString& name : hierarchy)
            plist_array_append_item(classes, newString(name));
        plist_dict_set_item(entry, "$classes", classes);
        plist_dict_set_item(entry, "$classname", newString(className));
        const quint64 uid = append(entry);
        uidByClass.insert(className, uid);
        return uid;
    }

    plist_t newClassDict(const QString& className, const QStringList& hierarchy)
    {
        plist_t dict = plist_new_dict();
        plist_dict_set_item(dict, "$class", plist_new_uid(classUid(className, hierarchy)));
        return dict;
    }

    plist_t colorDict(const Color& color)
    {
        plist_t dict = newClassDict(QStringLiteral("NSColor"), {QStringLiteral("NSColor"), QStringLiteral("NSObject")});
        const bool rgb = color.space() == Color::Space::RGB;
        const QByteArray components = ArchiveFormat::colorComponents(color);
        const ArchiveFormat::ColorSpace space =
            rgb ? ArchiveFormat::ColorSpace::calibratedRGB : ArchiveFormat::ColorSpace::calibratedWhite;
        plist_dict_set_item(dict, "NSColorSpace", plist_new_uint(ArchiveFormat::code_number(space)));
        plist_dict_set_item(dict, rgb ? "NSRGB" : "NSWhite", plist_new_data(components.constData(), components.size()));
        return dict;
    }

    // The decimal not-a-number: no mantissa digits, negative flag set.
    plist_t notANumberDict()
    {
        plist_t dict = newClassDict(QStringLiteral("NSDecimalNumber"),
                                    {QStringLiteral("NSDecimalNumber"), QStringLiteral("NSNumber"),
                                     QStringLiteral("NSValue"), QStringLiteral("NSObject")});
        const char mantissa[16] = {};
        plist_dict_set_item(dict, "NS.exponent", plist_new_uint(0));
        plist_dict_set_item(dict, "NS.length", plist_new_uint(0));
        plist_dict_set_item(dict, "NS.negative", plist_new_bool(1));
        plist_dict_set_item(dict, "NS.compact", plist_new_bool(1));
        plist_dict_set_item(dict, "NS.mantissa.bo", plist_new_uint(1));
        plist_dict_set_item(dict, "NS.mantissa", plist_new_data(mantissa, sizeof mantissa));
        return dict;
    }

    quint64 encodeRef(const Value& value, KeyedArchiver& coder)
    {
        if (!writable())
            return 0;
        switch (value.type()) {
        case Value::Type::Null: return 0;
        case Value::Type::Int:
            return scalarUid(ScalarKind::Int, quint64(value.toInt64()), [](quint64 bits) { return plist_new_uint(bits); });
        case Value::Type::Double: {
            const double x = value.toDouble();
            quint64 bits;
            std::memcpy(&bits, &x, sizeof bits);
            return scalarUid(ScalarKind::Double, bits, [](quint64 b) {
                double y;
                std::memcpy(&y, &b, sizeof y);
                return plist_new_real(y);
            });
        }
        case Value::Type::Bool:
            return scalarUid(ScalarKind::Bool, value.toBool(), [](quint64 bits) { return plist_new_bool(bits != 0); });
        case Value::Type::String: {
            const QString s = value.toString();
            if (const auto found = uidByString.constFind(s); found != uidByString.cend())
                return *found;
            const quint64 uid = append(newString(s));
            uidByString.insert(s, uid);
            return uid;
        }
        case Value::Type::Data: {
            const QByteArray bytes = value.toData();
            return append(plist_new_data(bytes.constData(), bytes.size()));
        }
        case Value::Type::Color: return append(colorDict(value.toColor()));
        case Value::Type::NotANumber: return append(notANumberDict());
        case Value::Type::Dictionary:
        case Value::Type::Array:
        case Value::Type::Object: return encodeShared(value, coder);
        }
        return 0;
    }

    quint64 encodeShared(const Value& value, KeyedArchiver& coder)
    {
        const void* identity = value.identity();
        if (const auto found = uidByIdentity.constFind(identity); found != uidByIdentity.cend()) {
            if (containersInProgress.contains(identity))
                fail(QObject::tr("A dictionary or array contains itself and cannot be archived."));
            return *found;
        }
        if (depth >= ArchiveFormat::maxDepth) {
            fail(QObject::tr("The data is nested too deeply to be archived."));
            return 0;
        }
        ++depth;
        const quint64 uid = reserve();
        uidByIdentity.insert(identity, uid);
        retained.push_back(value);
        plist_t node = nullptr;
        if (value.isObject()) {
            node = objectDict(*value.toObject(), coder);
        } else {
            containersInProgress.insert(identity);
            node = value.isDictionary() ? dictionaryDict(value.toDictionary(), coder) : arrayDict(value.toArray(), coder);
            containersInProgress.remove(identity);
        }
        objects[uid] = node;
        --depth;
        return uid;
    }

    plist_t dictionaryDict(const Dictionary& dict, KeyedArchiver& coder)
    {
        plist_t node = newClassDict(QStringLiteral("NSMutableDictionary"),
                                    {QStringLiteral("NSMutableDictionary"), QStringLiteral("NSDictionary"),
                                     QStringLiteral("NSObject")});
        plist_t keys = plist_new_array();
        plist_t values = plist_new_array();
        plist_dict_set_item(node, "NS.keys", keys);
        plist_dict_set_item(node, "NS.objects", values);
        for (const QString& key : dict.keys()) {
            if (transientKeys.contains(key))
                continue;
            plist_array_append_item(keys, plist_new_uid(encodeRef(key, coder)));
            plist_array_append_item(values, plist_new_uid(encodeRef(dict.value(key), coder)));
        }
        return node;
    }

    plist_t arrayDict(const Array& array, KeyedArchiver& coder)
    {
        plist_t node = newClassDict(QStringLiteral("NSMutableArray"),
                                    {QStringLiteral("NSMutableArray"), QStringLiteral("NSArray"), QStringLiteral("NSObject")});
        plist_t values = plist_new_array();
        plist_dict_set_item(node, "NS.objects", values);
        for (const Value& element : array)
            plist_array_append_item(values, plist_new_uid(encodeRef(element, coder)));
        return node;
    }

    plist_t objectDict(const ArchivableObject& object, KeyedArchiver& coder)
    {
        const QString className = ArchivableClasses::classNameOf(object);
        if (className.isEmpty()) {
            fail(QObject::tr("An object of type %1 cannot be archived.").arg(QString::fromLatin1(typeid(object).name())));
            return plist_new_dict();
        }
        plist_t node = newClassDict(className, ArchivableClasses::hierarchy(className));
        plist_t outer = current;
        current = node;
        object.encodeWithCoder(coder);
        current = outer;
        return node;
    }

    QByteArray finish()
    {
        if (finished)
            return {};
        finished = true;
        if (!error.isEmpty())
            return {};
        for (const auto& [place, identity] : pendingRefs)
            plist_set_uid_val(plist_dict_get_item(place.first, place.second.constData()), uidByIdentity.value(identity, 0));
        plist_t root = plist_new_dict();
        plist_dict_set_item(root, "$version", plist_new_uint(ArchiveFormat::version));
        plist_dict_set_item(root, "$archiver", plist_new_string(ArchiveFormat::archiverName));
        plist_dict_set_item(root, "$top", top);
        plist_t list = plist_new_array();
        for (plist_t node : objects)
            plist_array_append_item(list, node);
        plist_dict_set_item(root, "$objects", list);
        top = nullptr;
        objects.clear();

        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(root, &bytes, &length);
        plist_free(root);
        QByteArray result(bytes, qsizetype(length));
        std::free(bytes);
        if (result.isEmpty())
            fail(QObject::tr("The archive could not be written."));
        return result;
    }
};

KeyedArchiver::KeyedArchiver() : d(std::make_unique<Impl>()) {}
KeyedArchiver::~KeyedArchiver() = default;

void KeyedArchiver::setTransientKeys(const QStringList& keys)
{
    d->transientKeys = QSet<QString>(keys.begin(), keys.end());
}

void KeyedArchiver::encodeObject(const Value& value, const QString& key)
{
    if (!d->writable())
        return;
    plist_t current = d->current;  // encodeRef may write nested objects
    const quint64 uid = d->encodeRef(value, *this);
    if (d->writable())
        d->set(current, key, plist_new_uid(uid));
}

void KeyedArchiver::encodeConditionalObject(const Value& value, const QString& key)
{
    if (!d->writable())
        return;
    const void* identity = value.identity();
    if (!identity) {
        encodeObject(value, key);
        return;
    }
    d->set(key, plist_new_uid(d->uidByIdentity.value(identity, 0)));
    if (!d->uidByIdentity.contains(identity)) {
        d->retained.push_back(value);
        d->pendingRefs[{d->current, ArchiveFormat::escapedKey(key).toUtf8()}] = identity;
    }
}

void KeyedArchiver::encodeInt32(qint32 value, const QString& key) { encodeInt64(value, key); }

void KeyedArchiver::encodeInt64(qint64 value, const QString& key)
{
    if (d->writable())
        d->set(key, plist_new_uint(quint64(value)));
}

void KeyedArchiver::encodeFloat(float value, const QString& key) { encodeDouble(value, key); }

void KeyedArchiver::encodeDouble(double value, const QString& key)
{
    if (d->writable())
        d->set(key, plist_new_real(value));
}

void KeyedArchiver::encodeBool(bool value, const QString& key)
{
    if (d->writable())
        d->set(key, plist_new_bool(value));
}

QByteArray KeyedArchiver::finishEncoding() { return d->finish(); }
bool KeyedArchiver::hasError() const { return !d->error.isEmpty(); }
QString KeyedArchiver::errorString() const { return d->error; }
void KeyedArchiver::failWithError(const QString& message) { d->fail(message); }

QByteArray KeyedArchiver::archivedData(const Value& rootObject, QString* error)
{
    return archivedDataWithRootKeys({{QString::fromLatin1(ArchiveFormat::rootKey), rootObject}}, error);
}

QByteArray KeyedArchiver::archivedDataWithRootKeys(const RootList& roots, QString* error)
{
    KeyedArchiver archiver;
    for (const auto& [key, value] : roots)
        archiver.encodeObject(value, key);
    QByteArray bytes = archiver.finishEncoding();
    if (error)
        *error = archiver.errorString();
    return bytes;
}

bool KeyedArchiver::writeFile(const QString& path, const RootList& roots, QString* error)
{
    QString message;
    const QByteArray bytes = archivedDataWithRootKeys(roots, &message);
    if (message.isEmpty())
        if (const std::optional<QString> reason = writeFileAtomically(path, bytes))
            message = QObject::tr("The file \"%1\" could not be written: %2").arg(path, *reason);
    if (error)
        *error = message;
    return message.isEmpty();
}

}  // namespace quorvel
