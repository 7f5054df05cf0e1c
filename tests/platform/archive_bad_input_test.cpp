// Truncated, malformed and hostile archives are refused with a message,
// without crashing or hanging; so are the inputs the fuzzer once found.
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>
#include <functional>

using namespace quorvel;

namespace {

struct Probe : ArchivableObject
{
    qint32 size = 0;
    std::shared_ptr<Probe> next;
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeInt32(size, "size");
        coder.encodeObject(next, "next");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        size = coder.decodeInt32("size");
        next = coder.decodeObjectOfClass<Probe>("next");
    }
};

QByteArray validArchive()
{
    registerArchivableClass<Probe>("CProbe");
    auto probe = std::make_shared<Probe>();
    probe->size = 10;
    Dictionary fluid;
    fluid.setValue("name", "Oil");
    fluid.setValue("color", Color::blue());
    fluid.setValue("components", Array{1, 2.5, "three"});
    fluid.setValue("format", probe);
    return KeyedArchiver::archivedDataWithRootKeys({{"fluids", Array{fluid}}});
}

QByteArray toBinary(plist_t root)
{
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    QByteArray result(bytes, qsizetype(length));
    std::free(bytes);
    return result;
}

// The valid archive changed by `edit` on its parsed property list.
QByteArray edited(const std::function<void(plist_t root, plist_t objects)>& edit)
{
    const QByteArray bytes = validArchive();
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    edit(root, plist_dict_get_item(root, "$objects"));
    QByteArray result = toBinary(root);
    plist_free(root);
    return result;
}

// Index in $objects of the first dictionary whose class is `className`.
uint32_t indexOfClass(plist_t objects, const char* className)
{
    for (uint32_t i = 0; i < plist_array_get_size(objects); ++i) {
        plist_t classRef = plist_dict_get_item(plist_array_get_item(objects, i), "$class");
        if (!classRef)
            continue;
        uint64_t uid = 0;
        plist_get_uid_val(classRef, &uid);
        char* name = nullptr;
        plist_get_string_val(plist_dict_get_item(plist_array_get_item(objects, uint32_t(uid)), "$classname"), &name);
        const bool match = name && std::string(name) == className;
        std::free(name);
        if (match)
            return i;
    }
    return 0;
}

plist_t objectOfClass(plist_t objects, const char* className)
{
    return plist_array_get_item(objects, indexOfClass(objects, className));
}

// A binary property list whose objects 0..n-1 are arrays holding object i+1
// `width` times; the last object is an integer.
QByteArray chainedBinaryList(int n, int width)
{
    QByteArray out("bplist00");
    QList<quint32> offsets;
    auto bigEndian = [&](quint64 value, int size) {
        for (int i = size - 1; i >= 0; --i)
            out.append(char((value >> (8 * i)) & 0xFF));
    };
    for (int i = 0; i < n; ++i) {
        offsets.append(quint32(out.size()));
        out.append(char(0xA0 | width));
        for (int k = 0; k < width; ++k)
            bigEndian(quint64(i + 1), 4);
    }
    offsets.append(quint32(out.size()));
    out.append("\x10\x01", 2);
    const quint64 table = quint64(out.size());
    for (quint32 offset : offsets)
        bigEndian(offset, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4));
    out.append(char(4));
    bigEndian(quint64(n + 1), 8);
    bigEndian(0, 8);
    bigEndian(table, 8);
    return out;
}

struct BadCase
{
    const char* name;
    std::function<QByteArray()> bytes;
    const char* messagePart;
};

std::string caseName(const testing::TestParamInfo<BadCase>& info)
{
    return info.param.name;
}

class BadArchive : public testing::TestWithParam<BadCase>
{
};

}  // namespace

TEST(ArchiveBadInput, EveryTruncationIsRefused)
{
    const QByteArray bytes = validArchive();
    ASSERT_TRUE(KeyedUnarchiver::unarchivedRootKeys(bytes, {"fluids"}));
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        QString error;
        EXPECT_FALSE(KeyedUnarchiver::unarchivedRootKeys(bytes.left(length), {"fluids"}, &error)) << length;
        EXPECT_FALSE(error.isEmpty()) << length;
    }
}

TEST_P(BadArchive, IsRefusedWithAMessage)
{
    QString error;
    const auto roots = KeyedUnarchiver::unarchivedRootKeys(GetParam().bytes(), {"fluids"}, &error);
    EXPECT_FALSE(roots);
    EXPECT_TRUE(error.contains(QLatin1String(GetParam().messagePart))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadArchive,
    testing::Values(
        BadCase{"Empty", [] { return QByteArray(); }, "empty"},
        BadCase{"PlainText", [] { return QByteArray("fluids = oil"); }, "not a readable archive"},
        BadCase{"XmlArray", [] { return QByteArray("<plist><array><string>x</string></array></plist>"); },
                "not a readable archive"},
        BadCase{"OtherArchiver",
                [] {
                    return edited([](plist_t root, plist_t) {
                        plist_dict_set_item(root, "$archiver", plist_new_string("Other"));
                    });
                },
                "not a keyed archive"},
        BadCase{"NoObjectTable",
                [] { return edited([](plist_t root, plist_t) { plist_dict_remove_item(root, "$objects"); }); },
                "object table"},
        BadCase{"MissingRootKey",
                [] { return KeyedArchiver::archivedDataWithRootKeys({{"InclusionsArray", Array()}}); },
                "no \"fluids\" entry"},
        BadCase{"DanglingReference",
                [] {
                    return edited([](plist_t root, plist_t) {
                        plist_dict_set_item(plist_dict_get_item(root, "$top"), "fluids", plist_new_uid(99999));
                    });
                },
                "outside the archive"},
        BadCase{"ArrayContainsItself",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        const uint32_t array = indexOfClass(objects, "NSMutableArray");
                        plist_array_append_item(plist_dict_get_item(plist_array_get_item(objects, array), "NS.objects"),
                                                plist_new_uid(array));
                    });
                },
                "contains itself"},
        BadCase{"KeyNotAString",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_t keys = plist_dict_get_item(objectOfClass(objects, "NSMutableDictionary"), "NS.keys");
                        plist_array_set_item(keys, plist_new_uid(indexOfClass(objects, "NSColor")), 0);
                    });
                },
                "key is not a string"},
        BadCase{"KeysAndValuesDiffer",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_t keys = plist_dict_get_item(objectOfClass(objects, "NSMutableDictionary"), "NS.keys");
                        plist_array_remove_item(keys, 0);
                    });
                },
                "do not match"},
        BadCase{"ValuesNotReferences",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_dict_set_item(objectOfClass(objects, "NSMutableArray"), "NS.objects",
                                            plist_new_string("oops"));
                    });
                },
                "\"NS.objects\" list"},
        BadCase{"UnknownClass",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_t probe = objectOfClass(objects, "CProbe");
                        uint64_t uid = 0;
                        plist_get_uid_val(plist_dict_get_item(probe, "$class"), &uid);
                        plist_dict_set_item(plist_array_get_item(objects, uint32_t(uid)), "$classname",
                                            plist_new_string("CUnheardOf"));
                    });
                },
                "unknown class \"CUnheardOf\""},
        BadCase{"TextWhereAnIntegerIsRead",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_dict_set_item(objectOfClass(objects, "CProbe"), "size", plist_new_string("ten"));
                    });
                },
                "\"size\" is not of the expected kind"},
        BadCase{"IntegerOutOfRange",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_dict_set_item(objectOfClass(objects, "CProbe"), "size", plist_new_uint(1ull << 40));
                    });
                },
                "\"size\" is not of the expected kind"},
        BadCase{"ObjectOfAnotherClass",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_dict_set_item(objectOfClass(objects, "CProbe"), "next",
                                            plist_new_uid(indexOfClass(objects, "NSColor")));
                    });
                },
                "\"next\" is not of the expected kind"},
        BadCase{"BadColour",
                [] {
                    return edited([](plist_t, plist_t objects) {
                        plist_dict_set_item(objectOfClass(objects, "NSColor"), "NSRGB", plist_new_data("1 x", 3));
                    });
                },
                "colour"},
        BadCase{"ArchiveNestedTooDeeply",
                [] {
                    // 400 arrays, each holding the next one.
                    return edited([](plist_t root, plist_t objects) {
                        const plist_t model = objectOfClass(objects, "NSMutableArray");
                        uint32_t previous = 0;
                        for (int i = 0; i < 400; ++i) {
                            plist_t array = plist_copy(model);
                            plist_dict_set_item(array, "NS.objects", plist_new_array());
                            plist_array_append_item(objects, array);
                            const uint32_t index = plist_array_get_size(objects) - 1;
                            if (previous)
                                plist_array_append_item(
                                    plist_dict_get_item(plist_array_get_item(objects, previous), "NS.objects"),
                                    plist_new_uid(index));
                            else
                                plist_dict_set_item(plist_dict_get_item(root, "$top"), "fluids", plist_new_uid(index));
                            previous = index;
                        }
                    });
                },
                "nested too deeply"},
        BadCase{"SharedContainersExpandingExponentially", [] { return chainedBinaryList(64, 2); },
                "too many objects"},
        BadCase{"BinaryListNestedTooDeeply", [] { return chainedBinaryList(100000, 1); }, "nested too deeply"},
        BadCase{"XmlNestedTooDeeply",
                [] {
                    return "<plist>" + QByteArray("<array>").repeated(100000) + QByteArray("</array>").repeated(100000)
                           + "</plist>";
                },
                "nested too deeply"},
        BadCase{"HugeContainerCount",
                [] {
                    QByteArray list = chainedBinaryList(1, 1);
                    list[8] = char(0xAF);  // count follows as an integer object...
                    list[9] = char(0x13);  // ...of 8 bytes, read from the following bytes
                    return list;
                },
                "damaged container"},
        BadCase{"HugeObjectCount",
                [] {
                    QByteArray list = chainedBinaryList(1, 1);
                    list[list.size() - 24] = char(0x7F);  // number of objects in the trailer
                    return list;
                },
                "damaged trailer"}),
    caseName);

#ifdef QUORVEL_FUZZ_REGRESSIONS_DIR
TEST(ArchiveBadInput, InputsTheFuzzerFoundAreHandled)
{
    registerArchivableClass<Probe>("CProbe");
    const QDir dir(QStringLiteral(QUORVEL_FUZZ_REGRESSIONS_DIR));
    const QStringList files = dir.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray bytes = file.readAll();
        QString error;
        const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {}, &error);
        // Each input is either refused with a message or read and written again.
        if (roots)
            EXPECT_FALSE(KeyedArchiver::archivedDataWithRootKeys({{"root", *roots}}).isEmpty())
                << name.toStdString();
        else
            EXPECT_FALSE(error.isEmpty()) << name.toStdString();
    }
}
#endif
