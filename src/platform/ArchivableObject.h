#pragma once

namespace quorvel {

class KeyedArchiver;
class KeyedUnarchiver;

// Base of the classes whose instances live in records and keyed archives
// (plot formats, phase-diagram records, ...). A class becomes archivable by
// overriding the two coding functions and registering itself under its class
// name with registerArchivableClass<T>() (see KeyedArchiver.h).
//
// Objects are held through std::shared_ptr. A reference back to an owner should
// be a std::weak_ptr (or a conditional reference in the archive) so that
// owner and owned do not keep each other alive.
class ArchivableObject
{
public:
    virtual ~ArchivableObject() = default;

    // Writes the fields with the coder's encode functions.
    virtual void encodeWithCoder(KeyedArchiver& coder) const;
    // Reads the fields back; called on a default-constructed instance.
    virtual void initWithCoder(KeyedUnarchiver& coder);
};

}  // namespace quorvel
