#include "platform/harness/JSONValue.h"

#include "platform/harness/JSONWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

TEST(JSONValue, WritesEveryKindOnOneLine) {
    struct Row {
        Value value;
        const char* text;
    };
    const Row rows[] = {
        {Value(), "null"},
        {Value(true), "true"},
        {Value(false), "false"},
        {Value(42), "42"},
        {Value(-12345678901LL), "-12345678901"},
        {Value(40.0), "40"},
        {Value(1234567.0), "1234567"},
        {Value(-0.00025), "-0.00025"},
        {Value(1e20), "1e+20"},
        {Value(1.5e-7), "1.5e-07"},
        {Value(0.1), "0.1"},
        {Value(-2.5), "-2.5"},
        {Value(1.0 / 3), "0.3333333333333333"},
        {Value(std::numeric_limits<double>::quiet_NaN()), "null"},
        {Value(-std::numeric_limits<double>::infinity()), "null"},
        {Value("a\"b\\c\n\x01"), R"("a\"b\\c\n\u0001")"},
        {Value(Value::Data{}), R"("")"},
        {Value(Value::Data{0xff}), R"("/w==")"},
        {Value(Value::Data{1, 2}), R"("AQI=")"},
        {Value(Value::Data{1, 2, 3}), R"("AQID")"},
        {Value(Value::Data{1, 2, 3, 4}), R"("AQIDBA==")"},
        {Value(PlistDate{86400.5}), "86400.5"},
        {Value(Value::Array{}), "[]"},
        {Value(Value::Array{Value(1), Value("x"), Value()}), R"([1, "x", null])"},
        {Value(Value::Dictionary{}), "{}"},
        {Value(Value::Dictionary{{"b", Value(1)}, {"a", Value(true)}}), R"({"a": true, "b": 1})"},
    };
    for (const Row& row : rows) EXPECT_EQ(toJSON(row.value), row.text) << row.text;
}

TEST(JSONValue, IndentedOneMemberPerLine) {
    const Value v(Value::Dictionary{{"a", Value::Array{Value(1), Value(2)}}, {"e", Value::Dictionary{}},
                                    {"n", Value::Array{}}});
    EXPECT_EQ(toJSON(v, 2), "{\n  \"a\": [\n    1,\n    2\n  ],\n  \"e\": {},\n  \"n\": []\n}");
    EXPECT_EQ(toJSON(v, 1), "{\n \"a\": [\n  1,\n  2\n ],\n \"e\": {},\n \"n\": []\n}");
    EXPECT_EQ(toJSON(v, -3), toJSON(v)) << "no indent below zero";
}

TEST(JSONValue, WhatIsWrittenReadsBackAsTheSameValue) {
    const Value::Dictionary report{
        {"name", "Wi-Fi \xF0\x9F\x92\x9C \"quoted\""},
        {"hooks", Value::Array{Value("-[PSUIPrefsListController viewDidLoad]"), Value(3), Value(0.25)}},
        {"nested", Value::Dictionary{{"deep", Value::Array{Value::Array{Value(false)}}}}},
        {"empty", Value()},
    };
    for (int indent : {0, 2}) {
        auto back = parseJSON(toJSON(Value(report), indent));
        ASSERT_TRUE(back) << indent;
        EXPECT_EQ(*back, Value(report)) << indent;
    }
}

}  // namespace
