#pragma once

#include <QString>
#include <QStringList>

#include <concepts>
#include <functional>
#include <memory>
#include <typeindex>

namespace quorvel {

class KeyedArchiver;
class KeyedUnarchiver;

// Base of the classes whose instances live in records and keyed archives
// (plot formats, phase-diagram records, ...). A class becomes archivable by
// overriding the two coding functions and registering itself under its class
// name with registerArchivableClass<T>("CName") before archiving or reading.
//
// Objects are held through std::shared_ptr. A reference back to an owner should
// be a std::weak_ptr (archived as a conditional object) so that owner and owned
// do not keep each other alive; the unarchiver refuses an archive whose objects
// would hold themselves by strong references.
class ArchivableObject
{
public:
    virtual ~ArchivableObject() = default;

    // Writes the fields with the coder's encode functions.
    virtual void encodeWithCoder(KeyedArchiver& coder) const;
    // Reads the fields back; called on a freshly made instance, which the
    // archive's other objects may already refer to (back references). Every
    // field is assigned from the coder: when the object turns out to hold
    // itself, it is called once more in the error state, where every decode
    // gives none, and so lets go of what it holds.
    virtual void initWithCoder(KeyedUnarchiver& coder);
};

// The archivable classes known by name.
class ArchivableClasses
{
public:
    using Factory = std::function<std::shared_ptr<ArchivableObject>()>;

    // Registers (or re-registers) a class. The superclass name makes the
    // archived class chain, e.g. CTrappingLine -> CIsochor -> NSObject.
    static void add(std::type_index type, const QString& className, const QString& superclassName,
                    Factory make);

    // Class name of an object's dynamic type; empty when not registered.
    static QString classNameOf(const ArchivableObject& object);
    // The class name followed by its superclasses, ending with "NSObject".
    static QStringList hierarchy(const QString& className);
    // A new instance of the named class, or nullptr when unknown.
    static std::shared_ptr<ArchivableObject> make(const QString& className);
};

template <std::derived_from<ArchivableObject> T>
void registerArchivableClass(const QString& className, const QString& superclassName = QStringLiteral("NSObject"))
{
    ArchivableClasses::add(typeid(T), className, superclassName, [] { return std::make_shared<T>(); });
}

}  // namespace quorvel
