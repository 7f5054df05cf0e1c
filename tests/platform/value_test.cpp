#include "platform/Value.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quorvel;

namespace {

struct Marker : ArchivableObject
{
    int size = 3;
};

}  // namespace

TEST(Records, AbsentKeysReadAsZeroAndTextReadsAsNumber)
{
    const Dictionary inclusion{{"name", "Inc 1"}, {"Th", "123.5abc"}, {"Fv", " -7"}, {"count", 12}, {"ratio", 0.25}};

    EXPECT_EQ(inclusion.doubleValue("missing"), 0.0);
    EXPECT_EQ(inclusion.intValue("missing"), 0);
    EXPECT_FALSE(inclusion.boolValue("missing"));
    EXPECT_TRUE(inclusion.stringValue("missing").isEmpty());
    EXPECT_TRUE(inclusion.arrayValue("missing").isEmpty());

    EXPECT_DOUBLE_EQ(inclusion.doubleValue("Th"), 123.5);
    EXPECT_EQ(inclusion.intValue("Th"), 123);
    EXPECT_EQ(inclusion.intValue("Fv"), -7);
    EXPECT_EQ(inclusion.doubleValue("name"), 0.0);
    EXPECT_EQ(inclusion.stringValue("count"), "12");
    EXPECT_EQ(inclusion.stringValue("ratio"), "0.25");
    EXPECT_TRUE(inclusion.value("count").isInt());
    EXPECT_TRUE(inclusion.value("ratio").isDouble());
}

TEST(Records, TextAndNumberConversionsFollowThePlatformRules)
{
    struct Case
    {
        Value value;
        double asDouble;
        int asInt;
        bool asBool;
    };
    const Case cases[] = {
        {"  42", 42.0, 42, true},       {"+3.5e2", 350.0, 3, true}, {"0.9", 0.9, 0, false},
        {"yes", 0.0, 0, true},          {"no", 0.0, 0, false},        {"-007", -7.0, -7, true},
        {"", 0.0, 0, false},            {3.99, 3.99, 3, true},        {-3.99, -3.99, -3, true},
        {true, 1.0, 1, true},           {1e30, 1e30, 2147483647, true},
        {"99999999999", 99999999999.0, 2147483647, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        EXPECT_DOUBLE_EQ(c.value.toDouble(), c.asDouble);
        EXPECT_EQ(c.value.toInt(), c.asInt);
        EXPECT_EQ(c.value.toBool(), c.asBool);
    }
    EXPECT_TRUE(std::isnan(Value::notANumber().toDouble()));
    EXPECT_EQ(Value::notANumber().toInt(), 0);
}

TEST(Records, HandlesShareAndCompareByIdentity)
{
    Dictionary fluid;
    Array components{Dictionary()};
    fluid.setValue("components", components);

    Dictionary alias = fluid;
    alias.setValue("name", "New");
    EXPECT_EQ(fluid.stringValue("name"), "New");
    EXPECT_EQ(fluid.arrayValue("components"), components);

    Dictionary copy = fluid.copy();
    EXPECT_NE(copy, fluid);
    EXPECT_TRUE(copy.isEqualTo(fluid));
    copy.setValue("name", "Other");
    EXPECT_EQ(fluid.stringValue("name"), "New");
    EXPECT_EQ(copy.arrayValue("components"), components) << "a one-level copy shares nested arrays";

    Dictionary deep = fluid.deepCopy();
    EXPECT_NE(deep.arrayValue("components"), components);
    EXPECT_TRUE(deep.isEqualTo(fluid));
    deep.arrayValue("components").at(0).toDictionary().setValue("mole", 5);
    EXPECT_FALSE(deep.isEqualTo(fluid));

    Array list{fluid, copy};
    EXPECT_EQ(list.indexOf(copy), 1);
    EXPECT_EQ(list.indexOf(fluid.copy()), -1);
    EXPECT_EQ(list.indexOfEqual(fluid.copy()), 0);
    EXPECT_EQ(Value(1), Value(1.0));
}

TEST(Records, ObjectsAndWeakReferences)
{
    auto marker = std::make_shared<Marker>();
    Dictionary record;
    record.setValue("format", marker);
    EXPECT_EQ(record.objectValue<Marker>("format"), marker);

    WeakValue weakRecord;
    {
        Dictionary temporary;
        weakRecord = WeakValue(temporary);
        EXPECT_EQ(weakRecord.lock().toDictionary(), temporary);
    }
    EXPECT_TRUE(weakRecord.expired());

    // Volume points kept sorted by temperature; equal temperatures keep their order.
    auto point = [](double T, int code) {
        Dictionary p;
        p.setValue("Tvol", T);
        p.setValue("code", code);
        return p;
    };
    Array volumes{point(80, 0), point(20, 1), point(80, 2), point(50, 0)};
    volumes.sort([](const Value& a, const Value& b) {
        return a.toDictionary().doubleValue("Tvol") < b.toDictionary().doubleValue("Tvol");
    });
    QList<int> codes;
    for (const Value& v : volumes)
        codes << v.toDictionary().intValue("code");
    EXPECT_EQ(codes, QList<int>({1, 0, 0, 2}));

    Array list;
    list.insert(5, 1);  // outside: ignored
    list.removeAt(0);
    EXPECT_TRUE(list.at(3).isNull());
    EXPECT_TRUE(list.isEmpty());
}
