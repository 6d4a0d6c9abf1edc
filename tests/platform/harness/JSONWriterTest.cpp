#include "platform/harness/JSONWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

std::string one(double v) {
    JSONWriter w;
    w.value(v);
    return w.str();
}

TEST(JSONWriter, NumbersAreShortStableAndAlwaysValid) {
    const std::pair<double, const char*> cases[] = {
        {0, "0"},          {1, "1"},          {-2, "-2"},       {0.11, "0.11"},  {187.5, "187.5"},
        {1.0 / 3, "0.3333"}, {-0.00001, "0"}, {1e6, "1000000"}, {0.95, "0.95"},
        {std::numeric_limits<double>::infinity(), "null"}, {std::nan(""), "null"},
    };
    for (auto [v, text] : cases) EXPECT_EQ(one(v), text) << v;
}

TEST(JSONWriter, StringsAreEscaped) {
    JSONWriter w;
    w.value("a\"b\\c\nd\te\x01 Wi-Fi \xF0\x9F\x92\x9C");
    EXPECT_EQ(w.str(), "\"a\\\"b\\\\c\\nd\\te\\u0001 Wi-Fi \xF0\x9F\x92\x9C\"");
}

TEST(JSONWriter, NestedDocumentsAreIndented) {
    JSONWriter w;
    w.beginObject();
    w.field("class", "UILabel");
    w.field("hidden", false);
    w.key("list");
    w.beginArray();
    w.value(1.5);
    w.value(2L);
    w.endArray();
    w.key("frame");
    w.beginInlineArray();
    w.value(0L);
    w.value(0.5);
    w.endArray();
    w.key("children");
    w.beginArray();
    w.endArray();
    w.key("image");
    w.null();
    w.endObject();
    EXPECT_EQ(w.str(), "{\n  \"class\": \"UILabel\",\n  \"hidden\": false,\n  \"list\": [\n    1.5,\n    2\n  ],\n  \"frame\": [0, 0.5],\n"
                       "  \"children\": [],\n  \"image\": null\n}");
}

TEST(JSONWriter, MisuseIsALoudError) {
    {
        JSONWriter w;
        w.beginObject();
        EXPECT_THROW(w.value(1L), std::logic_error);  // no key
    }
    {
        JSONWriter w;
        w.beginArray();
        EXPECT_THROW(w.key("k"), std::logic_error);
        EXPECT_THROW(w.endObject(), std::logic_error);
        EXPECT_THROW((void)w.str(), std::logic_error);
    }
    {
        JSONWriter w;
        w.beginInlineArray();
        EXPECT_THROW(w.beginObject(), std::logic_error);
    }
    {
        JSONWriter w;
        w.beginInlineArray();
        EXPECT_THROW(w.beginObject(), std::logic_error);
    }
    {
        JSONWriter w;
        w.value(true);
        EXPECT_THROW(w.value(false), std::logic_error);  // two documents
    }
    {
        JSONWriter w;
        w.beginObject();
        w.key("a");
        EXPECT_THROW(w.key("b"), std::logic_error);
    }
}

}  // namespace
