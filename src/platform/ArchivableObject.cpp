#include "platform/ArchivableObject.h"

#include <QHash>

#include <unordered_map>

namespace quorvel {

void ArchivableObject::encodeWithCoder(KeyedArchiver&) const {}
void ArchivableObject::initWithCoder(KeyedUnarchiver&) {}

namespace {

struct ClassEntry
{
    QString superclass;
    ArchivableClasses::Factory make;
};

struct Registry
{
    std::unordered_map<std::type_index, QString> nameByType;
    QHash<QString, ClassEntry> byName;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

}  // namespace

void ArchivableClasses::add(std::type_index type, const QString& className, const QString& superclassName,
                            Factory make)
{
    registry().nameByType[type] = className;
    registry().byName.insert(className, ClassEntry{superclassName, std::move(make)});
}

QString ArchivableClasses::classNameOf(const ArchivableObject& object)
{
    const auto found = registry().nameByType.find(typeid(object));
    return found == registry().nameByType.end() ? QString() : found->second;
}

QStringList ArchivableClasses::hierarchy(const QString& className)
{
    const QString root = QStringLiteral("NSObject");
    QStringList chain;
    QString name = className;
    // Stops at the root, at an unregistered name or at a loop of superclass names.
    while (!name.isEmpty() && name != root && !chain.contains(name)) {
        chain.append(name);
        const auto found = registry().byName.constFind(name);
        name = found == registry().byName.cend() ? QString() : found->superclass;
    }
    chain.append(root);
    return chain;
}

std::shared_ptr<ArchivableObject> ArchivableClasses::make(const QString& className)
{
    const auto found = registry().byName.constFind(className);
    return found == registry().byName.cend() ? nullptr : found->make();
}

}  // namespace quorvel
