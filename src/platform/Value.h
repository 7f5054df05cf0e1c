#pragma once

#include "platform/ArchivableObject.h"
#include "platform/Color.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <concepts>
#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>
#include <variant>

namespace quorvel {

class Value;
class Array;

// A shared, mutable, string-keyed dictionary: the records of the system.
// Copying a Dictionary copies the handle, not the contents; == compares identity.
// A default-constructed Dictionary is a new, empty dictionary.
class Dictionary
{
public:
    Dictionary();
    Dictionary(std::initializer_list<std::pair<QString, Value>> entries);

    Dictionary copy() const;      // new dictionary sharing the values (one level)
    Dictionary deepCopy() const;  // nested dictionaries and arrays copied too; objects shared

    int size() const;
    bool isEmpty() const { return size() == 0; }
    bool contains(const QString& key) const;
    QStringList keys() const;  // sorted

    Value value(const QString& key) const;  // null Value when absent
    void setValue(const QString& key, const Value& value);  // a null value removes the key
    void remove(const QString& key);
    void clear();

    // Readers with the platform's rules: an absent key reads as 0 / empty,
    // a number stored as text reads as its number, a number read as text gives its digits.
    double doubleValue(const QString& key) const;
    float floatValue(const QString& key) const;
    int intValue(const QString& key) const;
    qint64 int64Value(const QString& key) const;
    bool boolValue(const QString& key) const;
    QString stringValue(const QString& key) const;
    Color colorValue(const QString& key) const;
    QByteArray dataValue(const QString& key) const;
    Dictionary dictionaryValue(const QString& key) const;  // a new empty one when absent
    Array arrayValue(const QString& key) const;            // a new empty one when absent
    std::shared_ptr<ArchivableObject> objectValue(const QString& key) const;
    template <class T>
    std::shared_ptr<T> objectValue(const QString& key) const
    {
        return std::dynamic_pointer_cast<T>(objectValue(key));
    }

    bool operator==(const Dictionary& other) const { return d == other.d; }
    bool operator!=(const Dictionary& other) const { return d != other.d; }
    bool isEqualTo(const Dictionary& other) const;  // same keys, equal values (deep)
    const void* identity() const { return d.get(); }

private:
    friend class Value;
    friend class WeakValue;
    struct Data;
    explicit Dictionary(std::shared_ptr<Data> data) : d(std::move(data)) {}
    std::shared_ptr<Data> d;
};

// A shared, mutable, ordered array of values; == compares identity.
// A default-constructed Array is a new, empty array. Note that Array{other}
// is a new array holding `other`; `Array a = other` shares it.
class Array
{
public:
    Array();
    Array(std::initializer_list<Value> values);

    Array copy() const;
    Array deepCopy() const;

    int size() const;
    bool isEmpty() const { return size() == 0; }
    Value at(int index) const;  // null Value outside the array

    void append(const Value& value);
    void insert(int index, const Value& value);   // 0 <= index <= size, else ignored
    void replace(int index, const Value& value);  // 0 <= index < size, else ignored
    void removeAt(int index);                     // ignored outside the array
    void swap(int i, int j);                      // ignored unless both are inside
    void clear();
    // Stable sort by a "less than" comparison.
    void sort(const std::function<bool(const Value&, const Value&)>& lessThan);

    // First index of the value: containers and objects by identity, the rest by value; -1 if absent.
    int indexOf(const Value& value) const;
    // First index of an equal value (containers compared by contents); -1 if absent.
    int indexOfEqual(const Value& value) const;

    struct const_iterator
    {
        const Array* array;
        int index;
        Value operator*() const;
        const_iterator& operator++() { ++index; return *this; }
        bool operator==(const const_iterator& other) const { return index == other.index; }
        bool operator!=(const const_iterator& other) const { return index != other.index; }
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    bool operator==(const Array& other) const { return d == other.d; }
    bool operator!=(const Array& other) const { return d != other.d; }
    bool isEqualTo(const Array& other) const;
    const void* identity() const { return d.get(); }

private:
    friend class Value;
    friend class WeakValue;
    struct Data;
    explicit Array(std::shared_ptr<Data> data) : d(std::move(data)) {}
    std::shared_ptr<Data> d;
};

// One value of a record: null, an integer or double number, a boolean, a string,
// a colour, bytes, a dictionary, an array, the decimal not-a-number, or an
// archivable object.
class Value
{
public:
    enum class Type { Null, Int, Double, Bool, String, Color, Data, Dictionary, Array, NotANumber, Object };

    Value() = default;
    Value(bool b) : v(b) {}
    template <std::integral T>
        requires(!std::same_as<T, bool>)
    Value(T i) : v(qint64(i)) {}
    Value(double x) : v(x) {}
    Value(const QString& s) : v(s) {}
    Value(const char* s) : v(QString::fromUtf8(s)) {}
    Value(const Color& c) : v(c) {}
    Value(const QByteArray& bytes) : v(bytes) {}
    Value(const Dictionary& dict) : v(dict) {}
    Value(const Array& array) : v(array) {}
    template <std::derived_from<ArchivableObject> T>
    Value(std::shared_ptr<T> object)
    {
        if (object)
            v = std::shared_ptr<ArchivableObject>(std::move(object));
    }

    static Value notANumber();  // the platform's decimal not-a-number

    Type type() const { return Type(v.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const;  // Int, Double, Bool or NotANumber
    bool isInt() const { return type() == Type::Int; }
    bool isDouble() const { return type() == Type::Double; }
    bool isBool() const { return type() == Type::Bool; }
    bool isString() const { return type() == Type::String; }
    bool isColor() const { return type() == Type::Color; }
    bool isData() const { return type() == Type::Data; }
    bool isDictionary() const { return type() == Type::Dictionary; }
    bool isArray() const { return type() == Type::Array; }
    bool isNotANumber() const { return type() == Type::NotANumber; }
    bool isObject() const { return type() == Type::Object; }

    double toDouble() const;
    float toFloat() const { return float(toDouble()); }
    int toInt() const;
    qint64 toInt64() const;
    bool toBool() const;
    QString toString() const;
    Color toColor() const;          // black when not a colour
    QByteArray toData() const;
    Dictionary toDictionary() const;  // a new empty dictionary when not one
    Array toArray() const;            // a new empty array when not one
    std::shared_ptr<ArchivableObject> toObject() const;
    template <class T>
    std::shared_ptr<T> toObject() const
    {
        return std::dynamic_pointer_cast<T>(toObject());
    }

    // Containers and objects by identity; numbers by value (an int equals the
    // same double); anything else by type and value.
    bool operator==(const Value& other) const;
    bool operator!=(const Value& other) const { return !(*this == other); }
    // As == but dictionaries and arrays compared by contents.
    bool isEqualTo(const Value& other) const;

    // Identity of a container or object, else nullptr.
    const void* identity() const;

private:
    friend class WeakValue;
    struct NaN
    {
        bool operator==(const NaN&) const { return true; }
    };
    std::variant<std::monostate, qint64, double, bool, QString, Color, QByteArray, Dictionary, Array, NaN,
                 std::shared_ptr<ArchivableObject>>
        v;
};

// A reference that does not keep a container or object alive (e.g. a plot
// object's reference to the record it shows). Other values are held as they are.
class WeakValue
{
public:
    WeakValue() = default;
    WeakValue(const Value& value);
    Value lock() const;  // null once the referenced container or object is gone
    bool expired() const { return lock().isNull(); }

private:
    Value mPlain;
    std::weak_ptr<Dictionary::Data> mDictionary;
    std::weak_ptr<Array::Data> mArray;
    std::weak_ptr<ArchivableObject> mObject;
};

}  // namespace quorvel
