#include "sim/serve/Channel.h"

#include <gtest/gtest.h>

namespace sim::serve {
namespace {

TEST(ChannelTest, MessagesSurviveAnySplitOfTheStream) {
    const std::string stream = encodeMessage(MessageKind::Json, R"({"type":"pointer"})") +
                               encodeMessage(MessageKind::Frame, encodeFrame({1, 2, 3, 4}, "PNG")) +
                               encodeMessage(MessageKind::Screenshot, std::string(3000, 'x'));
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5}, std::size_t{7}, stream.size()}) {
        MessageReader reader;
        std::vector<ChannelMessage> got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            ASSERT_TRUE(reader.feed(std::string_view(stream).substr(at, piece)));
            while (auto m = reader.next()) got.push_back(*m);
        }
        ASSERT_EQ(got.size(), 3u) << "pieces of " << piece;
        EXPECT_EQ(got[0].kind, MessageKind::Json);
        EXPECT_EQ(got[0].payload, R"({"type":"pointer"})");
        auto region = frameRegion(got[1].payload);
        ASSERT_TRUE(region);
        EXPECT_EQ(region->x, 1u);
        EXPECT_EQ(region->height, 4u);
        EXPECT_EQ(got[1].payload.substr(kFrameHeaderSize), "PNG");
        EXPECT_EQ(got[2].payload.size(), 3000u);
    }
}

TEST(ChannelTest, DamagedStreamsAreRefusedForGood) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"zero length", std::string("\0\0\0\0J", 5)},
        {"unknown kind", std::string("\2\0\0\0Qx", 6)},
        {"length over the limit", std::string("\xff\xff\xff\x7fJ", 5)},
    };
    for (const auto& c : cases) {
        MessageReader reader;
        EXPECT_FALSE(reader.feed(c.bytes)) << c.what;
        EXPECT_FALSE(reader.next()) << c.what;
        EXPECT_FALSE(reader.feed(encodeMessage(MessageKind::Json, "{}"))) << c.what;
    }
    // A damaged message after a good one still lets the good one out first.
    MessageReader reader;
    reader.feed(encodeMessage(MessageKind::Json, "{}") + std::string("\1\0\0\0Z", 5));
    auto first = reader.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->payload, "{}");
    EXPECT_TRUE(reader.isDamaged());
    EXPECT_FALSE(reader.next());
    EXPECT_FALSE(frameRegion("short"));
}

}  // namespace
}  // namespace sim::serve
