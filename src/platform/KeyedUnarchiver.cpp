#include "platform/KeyedUnarchiver.h"

#include "platform/ArchiveFormat.h"
#include "platform/FileAccess.h"
#include "platform/PropertyListCheck.h"

#include <QObject>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace quorvel {

namespace {

QString damaged(const QString& detail)
{
    return QObject::tr("The archive is damaged: %1").arg(detail);
}

QString wrongKindMessage(const QString& key)
{
    return damaged(QObject::tr("the value for \"%1\" is not of the expected kind.").arg(key));
}

QString stringOf(plist_t node)
{
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    return text ? QString::fromUtf8(text, qsizetype(length)) : QString();
}

QByteArray dataOf(plist_t node)
{
    uint64_t length = 0;
    const char* bytes = plist_get_data_ptr(node, &length);
    return bytes ? QByteArray(bytes, qsizetype(length)) : QByteArray();
}

quint64 uidOf(plist_t node)
{
    uint64_t uid = 0;
    plist_get_uid_val(node, &uid);
    return uid;
}

qint64 intOf(plist_t node)
{
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    return qint64(value);
}

bool isType(plist_t node, plist_type type)
{
    return node && plist_get_node_type(node) == type;
}

plist_t item(plist_t dict, const char* key)
{
    return isType(dict, PLIST_DICT) ? plist_dict_get_item(dict, key) : nullptr;
}

// A reference: a UID, or in an XML list the dictionary {CF$UID: n} that stands for one.
std::optional<quint64> referenceOf(plist_t node)
{
    if (isType(node, PLIST_UID))
        return uidOf(node);
    plist_t uid = item(node, "CF$UID");
    if (isType(uid, PLIST_UINT) && plist_dict_get_size(node) == 1)
        return quint64(intOf(uid));
    return std::nullopt;
}

// The elements of an array, fetched in one walk (libplist keeps them in a
// linked list, so fetching each by index would take quadratic time).
std::vector<plist_t> elementsOf(plist_t array)
{
    std::vector<plist_t> elements;
    elements.reserve(plist_array_get_size(array));
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    for (plist_t element = nullptr; plist_array_next_item(array, iter, &element), element;)
        elements.push_back(element);
    std::free(iter);
    return elements;
}

}  // namespace

struct KeyedUnarchiver::Impl
{
    enum State : char { Unread, Reading, Read };

    plist_t root = nullptr;
    std::vector<plist_t> objects;  // $objects by uid
    quint64 count = 0;
    plist_t top = nullptr;
    plist_t current = nullptr;  // the dictionary the decode functions read
    std::vector<Value> decoded;
    std::vector<State> state;
    std::vector<std::weak_ptr<ArchivableObject>> takenByWhatTheyHold;
    int depth = 0;
    QString error;

    ~Impl()
    {
        if (root)
            plist_free(root);
    }

    bool ok() const { return error.isEmpty(); }

    void fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
    }

    void open(const QByteArray& data)
    {
        if (const QString reason = PropertyListCheck::check(data); !reason.isEmpty()) {
            fail(QObject::tr("The data is not a readable archive: %1").arg(reason));
            return;
        }
        plist_from_memory(data.constData(), uint32_t(data.size()), &root);
        if (!isType(root, PLIST_DICT)) {
            fail(QObject::tr("The data is not a readable archive."));
            return;
        }
        plist_t archiver = item(root, "$archiver");
        plist_t version = item(root, "$version");
        plist_t objectTable = item(root, "$objects");
        top = item(root, "$top");
        if (!isType(archiver, PLIST_STRING) || stringOf(archiver) != QLatin1String(ArchiveFormat::archiverName)
            || !isType(version, PLIST_UINT) || quint64(intOf(version)) != ArchiveFormat::version) {
            fail(QObject::tr("The data is not a keyed archive."));
            return;
        }
        if (!isType(objectTable, PLIST_ARRAY) || !isType(top, PLIST_DICT) || plist_array_get_size(objectTable) == 0) {
            fail(damaged(QObject::tr("its object table or root is missing.")));
            return;
        }
        objects = elementsOf(objectTable);
        count = objects.size();
        decoded.resize(count);
        state.resize(count, Unread);
        current = top;
    }

    Value decodeRef(quint64 uid, KeyedUnarchiver& coder)
    {
        if (!ok() || uid == 0)
            return {};
        if (uid >= count) {
            fail(damaged(QObject::tr("a reference points outside the archive.")));
            return {};
        }
        if (state[uid] == Read)
            return decoded[uid];
        if (state[uid] == Reading) {
            // An object being read may be referred to by what it holds; a container may not.
            if (!decoded[uid].isObject())
                fail(damaged(QObject::tr("a dictionary or array contains itself.")));
            return decoded[uid];
        }
        plist_t node = objects[uid];
        switch (plist_get_node_type(node)) {
        case PLIST_STRING: return store(uid, stringOf(node));
        case PLIST_UINT: return store(uid, intOf(node));
        case PLIST_REAL: {
            double x = 0.0;
            plist_get_real_val(node, &x);
            return store(uid, x);
        }
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return store(uid, b != 0);
        }
        case PLIST_DATA: return store(uid, dataOf(node));
        case PLIST_DICT: return decodeClassed(uid, node, coder);
        default: fail(damaged(QObject::tr("it holds an object of an unknown kind."))); return {};
        }
    }

    Value store(quint64 uid, const Value& value)
    {
        decoded[uid] = value;
        state[uid] = Read;
        return value;
    }

    QString classNameOf(plist_t node)
    {
        const std::optional<quint64> classRef = referenceOf(item(node, "$class"));
        if (!classRef || *classRef >= count) {
            fail(damaged(QObject::tr("an object has no class.")));
            return {};
        }
        plist_t name = item(objects[*classRef], "$classname");
        if (!isType(name, PLIST_STRING)) {
            fail(damaged(QObject::tr("an object has no class name.")));
            return {};
        }
        return stringOf(name);
    }

    Value decodeClassed(quint64 uid, plist_t node, KeyedUnarchiver& coder)
    {
        const QString className = classNameOf(node);
        if (!ok())
            return {};
        if (depth >= ArchiveFormat::maxDepth) {
            fail(damaged(QObject::tr("its objects are nested too deeply.")));
            return {};
        }
        ++depth;
        state[uid] = Reading;
        Value value;
        if (className == QLatin1String("NSMutableDictionary") || className == QLatin1String("NSDictionary"))
            value = decodeDictionary(node, coder);
        else if (className == QLatin1String("NSMutableArray") || className == QLatin1String("NSArray"))
            value = decodeArray(node, coder);
        else if (className == QLatin1String("NSMutableString") || className == QLatin1String("NSString"))
            value = decodeWrapped(node, "NS.string", PLIST_STRING);
        else if (className == QLatin1String("NSMutableData") || className == QLatin1String("NSData"))
            value = decodeWrapped(node, "NS.data", PLIST_DATA);
        else if (className == QLatin1String("NSColor"))
            value = decodeColor(node);
        else if (className == QLatin1String("NSDecimalNumber"))
            value = decodeDecimal(node);
        else
            value = decodeArchivable(uid, className, node, coder);
        --depth;
        return ok() ? store(uid, value) : Value();
    }

    // UIDs of a list entry (NS.keys, NS.objects), or nullopt when damaged.
    std::optional<std::vector<quint64>> references(plist_t node, const char* key)
    {
        plist_t list = item(node, key);
        if (!isType(list, PLIST_ARRAY)) {
            fail(damaged(QObject::tr("a dictionary or array has no \"%1\" list.").arg(QLatin1String(key))));
            return std::nullopt;
        }
        std::vector<quint64> uids;
        uids.reserve(plist_array_get_size(list));
        for (plist_t element : elementsOf(list)) {
            const std::optional<quint64> ref = referenceOf(element);
            if (!ref) {
                fail(damaged(QObject::tr("a dictionary or array holds a value that is not a reference.")));
                return std::nullopt;
            }
            uids.push_back(*ref);
        }
        return uids;
    }

    Value decodeDictionary(plist_t node, KeyedUnarchiver& coder)
    {
        const auto keys = references(node, "NS.keys");
        const auto values = keys ? references(node, "NS.objects") : std::nullopt;
        if (!values)
            return {};
        if (keys->size() != values->size()) {
            fail(damaged(QObject::tr("the keys and values of a dictionary do not match.")));
            return {};
        }
        Dictionary dict;
        for (size_t i = 0; i < keys->size() && ok(); ++i) {
            const Value key = decodeRef((*keys)[i], coder);
            if (ok() && !key.isString()) {
                fail(damaged(QObject::tr("a dictionary key is not a string.")));
                break;
            }
            dict.setValue(key.toString(), decodeRef((*values)[i], coder));
        }
        return dict;
    }

    Value decodeArray(plist_t node, KeyedUnarchiver& coder)
    {
        const auto values = references(node, "NS.objects");
        if (!values)
            return {};
        Array array;
        for (size_t i = 0; i < values->size() && ok(); ++i)
            array.append(decodeRef((*values)[i], coder));
        return array;
    }

    Value decodeWrapped(plist_t node, const char* key, plist_type type)
    {
        plist_t inner = item(node, key);
        if (!isType(inner, type)) {
            fail(damaged(QObject::tr("a string or data object is empty.")));
            return {};
        }
        return type == PLIST_STRING ? Value(stringOf(inner)) : Value(dataOf(inner));
    }

    Value decodeColor(plist_t node)
    {
        plist_t space = item(node, "NSColorSpace");
        const ArchiveFormat::ColorSpace code = ArchiveFormat::colorSpaceFromNumber(
            isType(space, PLIST_UINT) ? int(std::clamp<qint64>(intOf(space), -1, 100)) : -1);
        plist_t components = item(node, ArchiveFormat::isRGBSpace(code) ? "NSRGB" : "NSWhite");
        const std::optional<Color> color =
            isType(components, PLIST_DATA) ? ArchiveFormat::colorFromComponents(code, dataOf(components)) : std::nullopt;
        if (!color) {
            fail(damaged(QObject::tr("a colour is not in the RGB or white encoding.")));
            return {};
        }
        return *color;
    }

    // Mantissa of up to eight 16-bit words (least significant first) times a power of ten.
    Value decodeDecimal(plist_t node)
    {
        plist_t length = item(node, "NS.length");
        plist_t negative = item(node, "NS.negative");
        plist_t exponent = item(node, "NS.exponent");
        plist_t order = item(node, "NS.mantissa.bo");
        plist_t mantissa = item(node, "NS.mantissa");
        if (!isType(length, PLIST_UINT) || !isType(negative, PLIST_BOOLEAN)) {
            fail(damaged(QObject::tr("a decimal number is incomplete.")));
            return {};
        }
        uint8_t isNegative = 0;
        plist_get_bool_val(negative, &isNegative);
        const qint64 words = intOf(length);
        if (words == 0)
            return isNegative ? Value::notANumber() : Value(0.0);
        const QByteArray bytes = isType(mantissa, PLIST_DATA) ? dataOf(mantissa) : QByteArray();
        if (words < 0 || words > 8 || bytes.size() < 2 * words || !isType(exponent, PLIST_UINT)) {
            fail(damaged(QObject::tr("a decimal number is incomplete.")));
            return {};
        }
        const bool littleEndian = !isType(order, PLIST_UINT) || intOf(order) == 1;
        double value = 0.0;
        for (qint64 w = words - 1; w >= 0; --w) {
            const auto lo = quint8(bytes[2 * w + (littleEndian ? 0 : 1)]);
            const auto hi = quint8(bytes[2 * w + (littleEndian ? 1 : 0)]);
            value = value * 65536.0 + double(hi << 8 | lo);
        }
        value *= std::pow(10.0, double(std::clamp<qint64>(intOf(exponent), -400, 400)));
        return isNegative ? -value : value;
    }

    Value decodeArchivable(quint64 uid, const QString& className, plist_t node, KeyedUnarchiver& coder)
    {
        std::shared_ptr<ArchivableObject> object = ArchivableClasses::make(className);
        if (!object) {
            fail(QObject::tr("The archive holds an object of the unknown class \"%1\".").arg(className));
            return {};
        }
        decoded[uid] = object;  // what the object holds may refer back to it
        const long holders = object.use_count();
        plist_t outer = current;
        current = node;
        object->initWithCoder(coder);
        current = outer;
        // Only what was read within the object can have taken it since: it
        // may be an object or container it owns, and then they would never be
        // freed, or one owning it that it refers back to weakly.
        if (object.use_count() > holders)
            takenByWhatTheyHold.push_back(object);
        return object;
    }

    // Every entry of $top, in one walk; entries starting with a single "$"
    // are the archive's own and are not read.
    void decodeRootKeys(Dictionary& roots, KeyedUnarchiver& coder)
    {
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(top, &iter);
        char* key = nullptr;
        plist_t node = nullptr;
        for (plist_dict_next_item(top, iter, &key, &node); key && ok(); plist_dict_next_item(top, iter, &key, &node)) {
            const QString escaped = QString::fromUtf8(key);
            std::free(key);
            key = nullptr;
            const QString name = ArchiveFormat::unescapedKey(escaped);
            if (ArchiveFormat::escapedKey(name) == escaped)
                roots.setValue(name, decodeNode(node, name, coder));
        }
        std::free(key);
        std::free(iter);
    }

    plist_t nodeForKey(const QString& key) const
    {
        return ok() ? plist_dict_get_item(current, ArchiveFormat::escapedKey(key).toUtf8().constData()) : nullptr;
    }

    Value decodeKey(const QString& key, KeyedUnarchiver& coder) { return decodeNode(nodeForKey(key), key, coder); }

    // The value a keyed entry holds: a reference or an inline scalar; null when absent.
    Value decodeNode(plist_t node, const QString& key, KeyedUnarchiver& coder)
    {
        if (!node)
            return {};
        if (const std::optional<quint64> ref = referenceOf(node))
            return decodeRef(*ref, coder);
        switch (plist_get_node_type(node)) {
        case PLIST_UINT: return intOf(node);
        case PLIST_REAL: {
            double x = 0.0;
            plist_get_real_val(node, &x);
            return x;
        }
        case PLIST_BOOLEAN: {
            uint8_t b = 0;
            plist_get_bool_val(node, &b);
            return b != 0;
        }
        case PLIST_STRING: return stringOf(node);
        case PLIST_DATA: return dataOf(node);
        default: fail(coder.wrongKind(key)); return {};
        }
    }
};

KeyedUnarchiver::KeyedUnarchiver(const QByteArray& data) : d(std::make_unique<Impl>())
{
    d->open(data);
}

KeyedUnarchiver::~KeyedUnarchiver() = default;

bool KeyedUnarchiver::hasError() const { return !d->ok(); }
QString KeyedUnarchiver::errorString() const { return d->error; }
void KeyedUnarchiver::failWithError(const QString& message) { d->fail(message); }

bool KeyedUnarchiver::containsValueForKey(const QString& key) const { return d->nodeForKey(key) != nullptr; }

Value KeyedUnarchiver::decodeObject(const QString& key) { return d->decodeKey(key, *this); }

QString KeyedUnarchiver::wrongKind(const QString& key) const
{
    return wrongKindMessage(key);
}

namespace {

// A keyed number within the range of T, 0 when absent.
template <class T>
T numberInRange(KeyedUnarchiver& coder, const Value& value, const QString& key)
{
    if (value.isNull())
        return T(0);
    if (!(value.isInt() || value.isDouble() || value.isBool())) {
        coder.failWithError(wrongKindMessage(key));
        return T(0);
    }
    if constexpr (std::numeric_limits<T>::is_integer) {
        constexpr qint64 min = std::numeric_limits<T>::min();
        constexpr qint64 max = std::numeric_limits<T>::max();
        // -min = 2^(bits-1) is the first value past max that a double holds
        // exactly (max itself may round up to it), so it bounds the range.
        constexpr double end = -double(min);
        const bool inRange = value.isInt() ? value.toInt64() >= min && value.toInt64() <= max
                                           : value.toDouble() >= double(min) && value.toDouble() < end;
        if (!inRange) {
            coder.failWithError(wrongKindMessage(key));
            return T(0);
        }
        return value.isInt() ? T(value.toInt64()) : T(value.toDouble());
    }
    return T(value.toDouble());
}

}  // namespace

qint32 KeyedUnarchiver::decodeInt32(const QString& key)
{
    return numberInRange<qint32>(*this, decodeObject(key), key);
}

qint64 KeyedUnarchiver::decodeInt64(const QString& key)
{
    return numberInRange<qint64>(*this, decodeObject(key), key);
}

float KeyedUnarchiver::decodeFloat(const QString& key)
{
    return float(numberInRange<double>(*this, decodeObject(key), key));
}

double KeyedUnarchiver::decodeDouble(const QString& key)
{
    return numberInRange<double>(*this, decodeObject(key), key);
}

bool KeyedUnarchiver::decodeBool(const QString& key)
{
    return numberInRange<double>(*this, decodeObject(key), key) != 0.0;
}

Value KeyedUnarchiver::unarchivedObject(const QByteArray& data, QString* error)
{
    const auto roots = unarchivedRootKeys(data, {QString::fromLatin1(ArchiveFormat::rootKey)}, error);
    return roots ? roots->value(QString::fromLatin1(ArchiveFormat::rootKey)) : Value();
}

std::optional<Dictionary> KeyedUnarchiver::unarchivedRootKeys(const QByteArray& data, const QStringList& requiredKeys,
                                                              QString* error)
{
    std::vector<std::weak_ptr<ArchivableObject>> taken;
    std::optional<Dictionary> roots = readRootKeys(data, requiredKeys, error, taken);
    if (taken.empty())
        return roots;
    // Objects taken by what they hold outlive the reading only when they hold
    // themselves by strong references; then they are let go and the archive
    // refused. Otherwise the archive is read again, as nothing remains.
    const bool read = roots.has_value();
    roots.reset();
    if (releaseSurvivors(taken)) {
        if (error)
            *error = damaged(QObject::tr("an object holds itself, directly or through what it holds."));
        return std::nullopt;
    }
    return read ? readRootKeys(data, requiredKeys, error, taken) : std::nullopt;
}

std::optional<Dictionary> KeyedUnarchiver::readRootKeys(const QByteArray& data, const QStringList& requiredKeys,
                                                        QString* error,
                                                        std::vector<std::weak_ptr<ArchivableObject>>& taken)
{
    KeyedUnarchiver unarchiver(data);
    Dictionary roots;
    if (!unarchiver.hasError())
        unarchiver.d->decodeRootKeys(roots, unarchiver);
    for (const QString& required : requiredKeys)
        if (!unarchiver.hasError() && !roots.contains(required))
            unarchiver.failWithError(QObject::tr("The archive has no \"%1\" entry.").arg(required));
    if (error)
        *error = unarchiver.errorString();
    taken = std::move(unarchiver.d->takenByWhatTheyHold);
    if (unarchiver.hasError())
        return std::nullopt;
    return roots;
}

bool KeyedUnarchiver::releaseSurvivors(const std::vector<std::weak_ptr<ArchivableObject>>& objects)
{
    KeyedUnarchiver none{QByteArray()};  // in the error state, every decode gives none
    bool survived = false;
    for (const std::weak_ptr<ArchivableObject>& handle : objects) {
        if (const std::shared_ptr<ArchivableObject> object = handle.lock()) {
            survived = true;
            object->initWithCoder(none);  // lets go of what it holds
        }
    }
    return survived;
}

std::optional<Dictionary> KeyedUnarchiver::readFile(const QString& path, const QStringList& requiredKeys, QString* error)
{
    const FileContents file = readWholeFile(path, PropertyListCheck::maxSize);
    if (file.status != FileReadStatus::Read) {
        if (error)
            *error = QObject::tr("The file \"%1\" could not be read: %2")
                         .arg(path, fileReadProblem(file, PropertyListCheck::maxSize));
        return std::nullopt;
    }
    return unarchivedRootKeys(file.bytes, requiredKeys, error);
}

}  // namespace quorvel
