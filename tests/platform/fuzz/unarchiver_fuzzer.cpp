// libFuzzer target for the keyed unarchiver. Every input must either be
// refused with a message or be read completely; what was read must be
// writable and readable again.
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <cstddef>
#include <cstdint>

using namespace quorvel;

namespace {

// An archivable class using every decode function, as the seeds' "CProbe" objects.
struct Probe : ArchivableObject
{
    qint32 size = 0;
    qint64 count = 0;
    float x = 0.0f;
    double y = 0.0;
    bool flag = false;
    Value items;
    std::shared_ptr<Probe> next;
    std::weak_ptr<Probe> owner;

    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeInt32(size, "size");
        coder.encodeInt64(count, "count");
        coder.encodeFloat(x, "x");
        coder.encodeDouble(y, "y");
        coder.encodeBool(flag, "flag");
        coder.encodeObject(items, "items");
        coder.encodeObject(next, "next");
        coder.encodeConditionalObject(owner.lock(), "owner");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        size = coder.decodeInt32("size");
        count = coder.decodeInt64("count");
        x = coder.decodeFloat("x");
        y = coder.decodeDouble("y");
        flag = coder.decodeBool("flag");
        items = coder.decodeObject("items");
        next = coder.decodeObjectOfClass<Probe>("next");
        owner = coder.decodeObjectOfClass<Probe>("owner");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool registered = [] {
        registerArchivableClass<Probe>("CProbe");
        return true;
    }();
    (void)registered;

    QString error;
    const auto roots = KeyedUnarchiver::unarchivedRootKeys(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), {}, &error);
    if (!roots) {
        if (error.isEmpty())
            __builtin_trap();
        return 0;
    }
    KeyedArchiver::RootList list;
    for (const QString& key : roots->keys())
        list.append({key, roots->value(key)});
    const QByteArray again = KeyedArchiver::archivedDataWithRootKeys(list, &error);
    if (again.isEmpty() || !KeyedUnarchiver::unarchivedRootKeys(again, {}, &error))
        __builtin_trap();
    return 0;
}
