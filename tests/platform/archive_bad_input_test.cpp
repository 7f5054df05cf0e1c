// Truncated, malformed and hostile archives are refused with a message,
// without crashing or hanging; so are the inputs the fuzzer once found.
#include "platform/KeyedArchiver.h"
#include "platform/KeyedUnarchiver.h"
#include "platform/PropertyListCheck.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>

using namespace quorvel;

namespace {

struct Probe : ArchivableObject
{
    qint32 size = 0;
    qint64 count = 0;
    std::shared_ptr<Probe> next;
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeInt32(size, "size");
        coder.encodeInt64(count, "count");
        coder.encodeObject(next, "next");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        size = coder.decodeInt32("size");
        count = coder.decodeInt64("count");
        next = coder.decodeObjectOfClass<Probe>("next");
    }
};

// An archivable object that counts its living instances, holding others
// strongly ("next", "items") or weakly ("owner").
struct Counted : ArchivableObject
{
    static inline int alive = 0;
    std::shared_ptr<Counted> next;
    std::weak_ptr<Counted> owner;
    Value items;

    Counted() { ++alive; }
    ~Counted() override { --alive; }
    void encodeWithCoder(KeyedArchiver& coder) const override
    {
        coder.encodeObject(next, "next");
        coder.encodeConditionalObject(owner.lock(), "owner");
        coder.encodeObject(items, "items");
    }
    void initWithCoder(KeyedUnarchiver& coder) override
    {
        next = coder.decodeObjectOfClass<Counted>("next");
        owner = coder.decodeObjectOfClass<Counted>("owner");
        items = coder.decodeObject("items");
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

void appendBigEndian(QByteArray& out, quint64 value, int size)
{
    for (int i = size - 1; i >= 0; --i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

// A binary property list of the given objects (references of 4 bytes, object
// 0 on top), with `padding` unused bytes after them.
QByteArray binaryList(const QList<QByteArray>& objects, qsizetype padding = 0)
{
    QByteArray out("bplist00");
    QList<quint64> offsets;
    for (const QByteArray& object : objects) {
        offsets.append(quint64(out.size()));
        out.append(object);
    }
    out.append(QByteArray(padding, '\0'));
    const quint64 table = quint64(out.size());
    for (quint64 offset : offsets)
        appendBigEndian(out, offset, 4);
    out.append(QByteArray(6, '\0'));
    out.append(char(4));
    out.append(char(4));
    appendBigEndian(out, quint64(objects.size()), 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, table, 8);
    return out;
}

// An array object holding object `target` `count` times.
QByteArray arrayObject(quint64 target, quint64 count)
{
    QByteArray object;
    if (count < 15) {
        object.append(char(0xA0 | count));
    } else {
        object.append(char(0xAF));
        object.append(char(0x12));  // the count follows in 4 bytes
        appendBigEndian(object, count, 4);
    }
    for (quint64 k = 0; k < count; ++k)
        appendBigEndian(object, target, 4);
    return object;
}

// A data (0x4), ASCII (0x5) or UTF-16 (0x6) object of `count` units, its count in 4 bytes.
QByteArray sizedObject(unsigned type, qsizetype count)
{
    QByteArray object;
    object.append(char(type << 4 | 0xF));
    object.append(char(0x12));
    appendBigEndian(object, quint64(count), 4);
    return object + QByteArray(type == 0x6 ? 2 * count : count, 'a');
}

QByteArray asciiStringObject(qsizetype length)
{
    return sizedObject(0x5, length);
}

// The same bytes as an XML property list.
QByteArray asXml(const QByteArray& binary)
{
    plist_t root = nullptr;
    plist_from_bin(binary.constData(), uint32_t(binary.size()), &root);
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    QByteArray result(text, qsizetype(length));
    std::free(text);
    plist_free(root);
    return result;
}

const QByteArray integerObject("\x10\x01", 2);

// Objects 0..n-1 are arrays holding object i+1 `width` times; the last is an integer.
QByteArray chainedBinaryList(int n, int width)
{
    QList<QByteArray> objects;
    for (int i = 0; i < n; ++i)
        objects.append(arrayObject(quint64(i + 1), quint64(width)));
    objects.append(integerObject);
    return binaryList(objects);
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
        // Two million nodes (under the cap) from 20 arrays of two references.
        BadCase{"SmallListOfSharedArrays", [] { return chainedBinaryList(20, 2); }, "too many objects"},
        // 3000 x 3000 shared integers (9 million nodes) in a file padded to 600 KB.
        BadCase{"PaddedSharedArrays",
                [] { return binaryList({arrayObject(1, 3000), arrayObject(2, 3000), integerObject}, 600000); },
                "too many objects"},
        // A text of 64 KB referred to 16384 times: 1 GB once parsed, from a file of 128 KB.
        BadCase{"SharedLongText",
                [] { return binaryList({arrayObject(1, 16384), asciiStringObject(65536)}); }, "too many objects"},
        BadCase{"XmlOfTooManyElements",
                [] { return "<plist><array>" + QByteArray("<true/>").repeated(4500000) + "</array></plist>"; },
                "too many objects"},
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

// A real under an integer key is read when it converts without overflow;
// 2^63 itself is one past the largest 64-bit integer.
TEST(ArchiveBadInput, RealsUnderIntegerKeysMustFitTheirType)
{
    struct RangeCase
    {
        const char* key;
        double real;
        bool fits;
    };
    const RangeCase cases[] = {
        {"size", 2147483647.0, true},
        {"size", -2147483648.0, true},
        {"size", 2147483648.0, false},
        {"size", -2147483649.0, false},
        {"count", -9223372036854775808.0, true},
        {"count", 9223372036854774784.0, true},  // the largest double below 2^63
        {"count", 9223372036854775808.0, false},
        {"count", std::nan(""), false},
    };
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " = " << c.real);
        const QByteArray bytes = edited([&](plist_t, plist_t objects) {
            plist_dict_set_item(objectOfClass(objects, "CProbe"), c.key, plist_new_real(c.real));
        });
        QString error;
        const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {"fluids"}, &error);
        ASSERT_EQ(bool(roots), c.fits) << error.toStdString();
        if (!roots) {
            EXPECT_TRUE(error.contains(QStringLiteral("\"%1\" is not of the expected kind").arg(c.key)));
            continue;
        }
        const auto probe = roots->value("fluids").toArray().at(0).toDictionary().objectValue<Probe>("format");
        ASSERT_TRUE(probe);
        EXPECT_EQ(std::string(c.key) == "size" ? double(probe->size) : double(probe->count), c.real);
    }
}

// Objects holding themselves by strong references would never be freed: such
// an archive is refused, and nothing it made outlives the reading. An owner
// referred back to weakly is read, and freed with the rest, also when what it
// owns is read first.
TEST(ArchiveBadInput, ObjectsHoldingThemselvesAreRefusedWithoutLeaking)
{
    registerArchivableClass<Counted>("CCounted");
    struct CycleCase
    {
        const char* name;
        std::function<void(Counted& a, Counted& b, const std::shared_ptr<Counted>& aHandle)> link;
        bool cycle;
        bool ownedReadFirst = false;
    };
    const CycleCase cases[] = {
        {"HoldsItself", [](Counted& a, Counted&, const auto& self) { a.next = self; }, true},
        {"TwoHoldEachOther", [](Counted&, Counted& b, const auto& self) { b.next = self; }, true},
        {"InItsOwnArray", [](Counted& a, Counted&, const auto& self) { a.items = Array{1, self}; }, true},
        {"InADictionaryOfWhatItHolds",
         [](Counted&, Counted& b, const auto& self) { b.items = Dictionary{{"list", Array{self}}}; }, true},
        {"OwnerHeldWeakly", [](Counted&, Counted& b, const auto& self) { b.owner = self; }, false},
        {"OwnerHeldWeaklyReadLast", [](Counted&, Counted& b, const auto& self) { b.owner = self; }, false, true},
    };
    for (const CycleCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes;
        {
            auto a = std::make_shared<Counted>();
            auto b = std::make_shared<Counted>();
            a->next = b;
            c.link(*a, *b, a);
            KeyedArchiver::RootList roots{{"root", a}};
            if (c.ownedReadFirst)
                roots.prepend({"owned", b});
            bytes = KeyedArchiver::archivedDataWithRootKeys(roots);
            a->next.reset();  // the test's own graph lets go
            b->next.reset();
            a->items = b->items = Value();
        }
        ASSERT_EQ(Counted::alive, 0);
        ASSERT_FALSE(bytes.isEmpty());
        QString error;
        {
            const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {"root"}, &error);
            EXPECT_EQ(bool(roots), !c.cycle) << error.toStdString();
            if (c.cycle) {
                EXPECT_TRUE(error.contains("holds itself")) << error.toStdString();
            } else if (roots) {
                const auto a = roots->objectValue<Counted>("root");
                ASSERT_TRUE(a && a->next);
                EXPECT_EQ(a->next->owner.lock(), a);
            }
        }
        EXPECT_EQ(Counted::alive, 0);
    }
}

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

// Reading holds a text as libplist's UTF-8 and again as UTF-16, data twice: an
// object referred to 64 times may not cost more than the reader's 384 MB once
// read (6 MB of text shared 64 times would cost 1.15 GB). Only the check is
// run: the lists it lets through would take hundreds of megabytes to read.
TEST(ArchiveBadInput, SharedTextIsReckonedAsReadingHoldsIt)
{
    constexpr quint64 budget = 384ull << 20;
    struct SharedCase
    {
        const char* kind;
        unsigned type;
        qsizetype units;
        quint64 heldPerUnit;  // UTF-8 (up to 3 bytes for a UTF-16 unit) and UTF-16; data twice
    };
    const SharedCase cases[] = {
        {"ASCII, the 6 MB file", 0x5, 6000000, 1 + 2},
        {"ASCII within", 0x5, 2000000, 1 + 2},
        {"ASCII beyond", 0x5, 2200000, 1 + 2},
        {"UTF-16 within", 0x6, 1200000, 3 + 2},
        {"UTF-16 beyond", 0x6, 1300000, 3 + 2},
        {"data within", 0x4, 3000000, 2},
        {"data beyond", 0x4, 3300000, 2},
    };
    constexpr quint64 references = 64;
    for (const SharedCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const quint64 held = references * quint64(c.units) * c.heldPerUnit;
        const QString reason =
            PropertyListCheck::check(binaryList({arrayObject(1, references), sizedObject(c.type, c.units)}));
        if (held > budget)
            EXPECT_TRUE(reason.contains("too many objects")) << reason.toStdString();
        else
            EXPECT_TRUE(reason.isEmpty()) << reason.toStdString();
    }
}

// libplist reads integers as unsigned 64-bit values and XML reals too large
// for a double as infinite: such numbers are refused rather than read as
// something else. An infinity written as such is read.
TEST(ArchiveBadInput, NumbersBeyondTheirRangeAreRefused)
{
    const QByteArray countMark = "<integer>123456789012345</integer>";
    const QByteArray realMark = "<real>2.5</real>";
    const QByteArray xml = asXml(edited([](plist_t, plist_t objects) {
        plist_dict_set_item(objectOfClass(objects, "CProbe"), "count", plist_new_uint(123456789012345));
    }));
    ASSERT_EQ(xml.count(countMark), 1);
    ASSERT_EQ(xml.count(realMark), 1);
    struct XmlCase
    {
        const char* mark;
        const char* written;
        bool read;
    };
    const XmlCase cases[] = {
        {"integer", "9223372036854775807", true},   {"integer", "-9223372036854775808", true},
        {"integer", "9223372036854775808", false},  {"integer", "18446744073709551615", false},
        {"integer", "-9223372036854775809", false}, {"integer", "0x8000000000000000", false},
        {"real", "1e308", true},                    {"real", "+infinity", true},
        {"real", "1e400", false},                   {"real", "-1e400", false},
    };
    for (const XmlCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mark << " " << c.written);
        const bool integer = std::string(c.mark) == "integer";
        QByteArray bytes = xml;
        bytes.replace(integer ? countMark : realMark, "<" + QByteArray(c.mark) + ">" + c.written + "</" + c.mark + ">");
        QString error;
        const auto roots = KeyedUnarchiver::unarchivedRootKeys(bytes, {"fluids"}, &error);
        ASSERT_EQ(bool(roots), c.read) << error.toStdString();
        if (!roots) {
            EXPECT_TRUE(error.contains("beyond the range")) << error.toStdString();
            continue;
        }
        const Dictionary fluid = roots->value("fluids").toArray().at(0).toDictionary();
        if (integer)
            EXPECT_EQ(QByteArray::number(fluid.objectValue<Probe>("format")->count), c.written);
        else
            EXPECT_EQ(fluid.arrayValue("components").at(1).toDouble(), std::strtod(c.written, nullptr));
    }

    // A binary integer of 16 bytes, of which libplist keeps the low eight.
    const auto integer16 = [](quint64 high, quint64 low) {
        QByteArray object("\x14", 1);
        appendBigEndian(object, high, 8);
        appendBigEndian(object, low, 8);
        return binaryList({object});
    };
    EXPECT_TRUE(PropertyListCheck::check(integer16(0, 5)).isEmpty());
    EXPECT_TRUE(PropertyListCheck::check(integer16(~0ull, quint64(-5))).isEmpty());
    EXPECT_TRUE(PropertyListCheck::check(integer16(0, 1ull << 63)).contains("beyond the range"));
    EXPECT_TRUE(PropertyListCheck::check(integer16(1, 5)).contains("beyond the range"));
    EXPECT_TRUE(PropertyListCheck::check(integer16(~0ull, 5)).contains("beyond the range"));
}
