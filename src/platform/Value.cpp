#include "platform/Value.h"

#include <QList>
#include <QLocale>
#include <QMap>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorvel {

struct Dictionary::Data
{
    QMap<QString, Value> map;
};

struct Array::Data
{
    QList<Value> list;
};

namespace {

// Leading number of a text as the platform reads it: leading blanks skipped,
// as many characters as form a number, 0 when there is none.
double leadingDouble(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+')
        ++first;
    double x = 0.0;
    const auto [end, error] = std::from_chars(first, last, x, std::chars_format::general);
    if (error == std::errc::result_out_of_range)
        return (first != last && *first == '-') ? -HUGE_VAL : HUGE_VAL;
    return end == first ? 0.0 : x;
}

qint64 leadingInt64(const QString& text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    const bool negative = first != last && *first == '-';
    if (first != last && (*first == '+' || *first == '-'))
        ++first;
    qint64 magnitude = 0;
    for (; first != last && *first >= '0' && *first <= '9'; ++first) {
        const int digit = *first - '0';
        if (magnitude > (std::numeric_limits<qint64>::max() - digit) / 10)
            return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
        magnitude = magnitude * 10 + digit;
    }
    return negative ? -magnitude : magnitude;
}

// "Y", "y", "T", "t" or a non-zero digit after blanks, a sign and zeros.
bool leadingBool(const QString& text)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && QStringLiteral("YyTt").contains(t[i]))
        return true;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    while (i < t.size() && t[i] == u'0')
        ++i;
    return i < t.size() && t[i] >= u'1' && t[i] <= u'9';
}

template <class Int>
Int clampToInt(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= double(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (x <= double(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return Int(x);
}

bool sameNumber(const Value& a, const Value& b)
{
    if (a.isInt() && b.isInt())
        return a.toInt64() == b.toInt64();
    return a.toDouble() == b.toDouble();
}

}  // namespace

// ---- Dictionary

Dictionary::Dictionary() : d(std::make_shared<Data>()) {}

Dictionary::Dictionary(std::initializer_list<std::pair<QString, Value>> entries) : Dictionary()
{
    for (const auto& [key, value] : entries)
        setValue(key, value);
}

Dictionary Dictionary::copy() const
{
    return Dictionary(std::make_shared<Data>(*d));
}

Dictionary Dictionary::deepCopy() const
{
    Dictionary result;
    for (auto it = d->map.cbegin(); it != d->map.cend(); ++it) {
        const Value& v = it.value();
        if (v.isDictionary())
            result.d->map.insert(it.key(), v.toDictionary().deepCopy());
        else if (v.isArray())
            result.d->map.insert(it.key(), v.toArray().deepCopy());
        else
            result.d->map.insert(it.key(), v);
    }
    return result;
}

int Dictionary::size() const { return int(d->map.size()); }
bool Dictionary::contains(const QString& key) const { return d->map.contains(key); }
QStringList Dictionary::keys() const { return d->map.keys(); }
Value Dictionary::value(const QString& key) const { return d->map.value(key); }

void Dictionary::setValue(const QString& key, const Value& value)
{
    if (value.isNull())
        d->map.remove(key);
    else
        d->map.insert(key, value);
}

void Dictionary::remove(const QString& key) { d->map.remove(key); }
void Dictionary::clear() { d->map.clear(); }

double Dictionary::doubleValue(const QString& key) const { return value(key).toDouble(); }
float Dictionary::floatValue(const QString& key) const { return value(key).toFloat(); }
int Dictionary::intValue(const QString& key) const { return value(key).toInt(); }
qint64 Dictionary::int64Value(const QString& key) const { return value(key).toInt64(); }
bool Dictionary::boolValue(const QString& key) const { return value(key).toBool(); }
QString Dictionary::stringValue(const QString& key) const { return value(key).toString(); }
Color Dictionary::colorValue(const QString& key) const { return value(key).toColor(); }
QByteArray Dictionary::dataValue(const QString& key) const { return value(key).toData(); }
Dictionary Dictionary::dictionaryValue(const QString& key) const { return value(key).toDictionary(); }
Array Dictionary::arrayValue(const QString& key) const { return value(key).toArray(); }
std::shared_ptr<ArchivableObject> Dictionary::objectValue(const QString& key) const
{
    return value(key).toObject();
}

bool Dictionary::isEqualTo(const Dictionary& other) const
{
    if (d == other.d)
        return true;
    if (d->map.size() != other.d->map.size())
        return false;
    for (auto it = d->map.cbegin(); it != d->map.cend(); ++it) {
        auto found = other.d->map.constFind(it.key());
        if (found == other.d->map.cend() || !it.value().isEqualTo(found.value()))
            return false;
    }
    return true;
}

// ---- Array

Array::Array() : d(std::make_shared<Data>()) {}

Array::Array(std::initializer_list<Value> values) : d(std::make_shared<Data>())
{
    d->list = QList<Value>(values);
}

Array Array::copy() const { return Array(std::make_shared<Data>(*d)); }

Array Array::deepCopy() const
{
    Array result;
    result.d->list.reserve(d->list.size());
    for (const Value& v : d->list) {
        if (v.isDictionary())
            result.d->list.append(v.toDictionary().deepCopy());
        else if (v.isArray())
            result.d->list.append(v.toArray().deepCopy());
        else
            result.d->list.append(v);
    }
    return result;
}

int Array::size() const { return int(d->list.size()); }

Value Array::at(int index) const
{
    return index >= 0 && index < size() ? d->list.at(index) : Value();
}

Value Array::const_iterator::operator*() const { return array->at(index); }

void Array::append(const Value& value) { d->list.append(value); }

void Array::insert(int index, const Value& value)
{
    if (index >= 0 && index <= size())
        d->list.insert(index, value);
}

void Array::replace(int index, const Value& value)
{
    if (index >= 0 && index < size())
        d->list.replace(index, value);
}

void Array::removeAt(int index)
{
    if (index >= 0 && index < size())
        d->list.removeAt(index);
}

void Array::swap(int i, int j)
{
    if (i >= 0 && i < size() && j >= 0 && j < size())
        d->list.swapItemsAt(i, j);
}

void Array::clear() { d->list.clear(); }

void Array::sort(const std::function<bool(const Value&, const Value&)>& lessThan)
{
    std::stable_sort(d->list.begin(), d->list.end(), lessThan);
}

int Array::indexOf(const Value& value) const
{
    for (int i = 0; i < size(); ++i)
        if (d->list.at(i) == value)
            return i;
    return -1;
}

int Array::indexOfEqual(const Value& value) const
{
    for (int i = 0; i < size(); ++i)
        if (d->list.at(i).isEqualTo(value))
            return i;
    return -1;
}

bool Array::isEqualTo(const Array& other) const
{
    if (d == other.d)
        return true;
    if (size() != other.size())
        return false;
    for (int i = 0; i < size(); ++i)
        if (!d->list.at(i).isEqualTo(other.d->list.at(i)))
            return false;
    return true;
}

// ---- Value

Value Value::notANumber()
{
    Value result;
    result.v = NaN{};
    return result;
}

bool Value::isNumber() const
{
    const Type t = type();
    return t == Type::Int || t == Type::Double || t == Type::Bool || t == Type::NotANumber;
}

double Value::toDouble() const
{
    switch (type()) {
    case Type::Int: return double(std::get<qint64>(v));
    case Type::Double: return std::get<double>(v);
    case Type::Bool: return std::get<bool>(v) ? 1.0 : 0.0;
    case Type::String: return leadingDouble(std::get<QString>(v));
    case Type::NotANumber: return std::numeric_limits<double>::quiet_NaN();
    default: return 0.0;
    }
}

qint64 Value::toInt64() const
{
    switch (type()) {
    case Type::Int: return std::get<qint64>(v);
    case Type::String: return leadingInt64(std::get<QString>(v));
    default: return clampToInt<qint64>(toDouble());
    }
}

int Value::toInt() const
{
    const qint64 i = toInt64();
    return int(std::clamp<qint64>(i, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool Value::toBool() const
{
    switch (type()) {
    case Type::Int: return std::get<qint64>(v) != 0;
    case Type::Double: return std::get<double>(v) != 0.0;
    case Type::Bool: return std::get<bool>(v);
    case Type::String: return leadingBool(std::get<QString>(v));
    default: return false;
    }
}

QString Value::toString() const
{
    switch (type()) {
    case Type::Int: return QString::number(std::get<qint64>(v));
    case Type::Double: return QString::number(std::get<double>(v), 'g', QLocale::FloatingPointShortest);
    case Type::Bool: return std::get<bool>(v) ? QStringLiteral("1") : QStringLiteral("0");
    case Type::String: return std::get<QString>(v);
    case Type::NotANumber: return QStringLiteral("NaN");
    default: return QString();
    }
}

Color Value::toColor() const
{
    return isColor() ? std::get<Color>(v) : Color();
}

QByteArray Value::toData() const
{
    return isData() ? std::get<QByteArray>(v) : QByteArray();
}

Dictionary Value::toDictionary() const
{
    return isDictionary() ? std::get<Dictionary>(v) : Dictionary();
}

Array Value::toArray() const
{
    return isArray() ? std::get<Array>(v) : Array();
}

std::shared_ptr<ArchivableObject> Value::toObject() const
{
    return isObject() ? std::get<std::shared_ptr<ArchivableObject>>(v) : nullptr;
}

const void* Value::identity() const
{
    switch (type()) {
    case Type::Dictionary: return std::get<Dictionary>(v).identity();
    case Type::Array: return std::get<Array>(v).identity();
    case Type::Object: return std::get<std::shared_ptr<ArchivableObject>>(v).get();
    default: return nullptr;
    }
}

bool Value::operator==(const Value& other) const
{
    const bool numeric = (isInt() || isDouble()) && (other.isInt() || other.isDouble());
    if (numeric)
        return sameNumber(*this, other);
    return v == other.v;  // identity for the handles, value for the rest
}

bool Value::isEqualTo(const Value& other) const
{
    if (isDictionary() && other.isDictionary())
        return toDictionary().isEqualTo(other.toDictionary());
    if (isArray() && other.isArray())
        return toArray().isEqualTo(other.toArray());
    return *this == other;
}

// ---- WeakValue

WeakValue::WeakValue(const Value& value)
{
    switch (value.type()) {
    case Value::Type::Dictionary: mDictionary = std::get<Dictionary>(value.v).d; break;
    case Value::Type::Array: mArray = std::get<Array>(value.v).d; break;
    case Value::Type::Object: mObject = value.toObject(); break;
    default: mPlain = value;
    }
}

Value WeakValue::lock() const
{
    if (auto dict = mDictionary.lock())
        return Dictionary(dict);
    if (auto array = mArray.lock())
        return Array(array);
    if (auto object = mObject.lock())
        return object;
    return mPlain;
}

}  // namespace quorvel
