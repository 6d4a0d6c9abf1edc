#include "platform/ui/JSONReader.h"

#include "platform/ui/JSONWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JSONReader, ReadsEveryKindAndRefusesTheRest) {
    auto v = parseJSON(R"( {"a": [1, -2.5, true, false, null], "b": "x\"\u00e9\ud83d\ude00", "c": {}} )");
    ASSERT_TRUE(v);
    Value::Dictionary expected{{"a", Value::Array{Value(1), Value(-2.5), Value(true), Value(false), Value()}},
                               {"b", "x\"é😀"},
                               {"c", Value::Dictionary{}}};
    EXPECT_EQ(*v, Value(expected));
    EXPECT_EQ(parseJSON("12345678901"), Value(12345678901LL));
    EXPECT_EQ(parseJSON("1e2"), Value(100.0));
    for (const char* bad : {"", "[1,]", "{\"a\" 1}", "[1] x", "\"open", "tru", "{1: 2}", "-", "+5", "[\"\\q\"]",
                            "\"tab\there\""})
        EXPECT_FALSE(parseJSON(bad)) << bad;
}

TEST(JSONReader, NestingIsBoundedByTheCallersDepth) {
    auto nested = [](int levels) { return std::string(levels, '[') + std::string(levels, ']'); };
    EXPECT_TRUE(parseJSON(nested(65)));
    EXPECT_FALSE(parseJSON(nested(66))) << "the default bound is 64 levels below the top";
    EXPECT_FALSE(parseJSON(nested(200)));
    EXPECT_TRUE(parseJSON(nested(200), 512));
    EXPECT_FALSE(parseJSON(nested(3), 1));
}

TEST(JSONReader, ReadsBackWhatTheWriterWrites) {
    JSONWriter w;
    w.beginObject();
    w.field("class", "UILabel");
    w.field("text", "a\"b\\c\nd\x01 Wi-Fi \xF0\x9F\x92\x9C");
    w.field("alpha", 0.5);
    w.field("tag", 7L);
    w.field("hidden", false);
    w.key("frame");
    w.beginInlineArray();
    w.value(0L);
    w.value(187.5);
    w.endArray();
    w.key("image");
    w.null();
    w.key("subviews");
    w.beginArray();
    w.beginObject();
    w.endObject();
    w.endArray();
    w.endObject();

    auto v = parseJSON(w.str());
    ASSERT_TRUE(v) << w.str();
    const Value::Dictionary expected{
        {"class", "UILabel"},
        {"text", "a\"b\\c\nd\x01 Wi-Fi \xF0\x9F\x92\x9C"},
        {"alpha", 0.5},
        {"tag", 7},
        {"hidden", false},
        {"frame", Value::Array{Value(0), Value(187.5)}},
        {"image", Value()},
        {"subviews", Value::Array{Value(Value::Dictionary{})}},
    };
    EXPECT_EQ(*v, Value(expected));
}

}  // namespace
