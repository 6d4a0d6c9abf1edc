// The control paragraph reader and the status file it feeds.
#include "sim/install/ControlFile.h"

#include <gtest/gtest.h>

using namespace sim::install;

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

TEST(ControlFile, ReadsFieldsWithTheirContinuationLines) {
    const struct {
        const char* text;
        Fields fields;
    } cases[] = {
        {"Package: a.b\nVersion:  1.0  \n", {{"Package", "a.b"}, {"Version", "1.0"}}},
        {"Description: short\n long\n .\n\tmore\n", {{"Description", "short\n long\n .\n\tmore"}}},
        {" leading continuation\nno colon here\nPackage: x", {{"Package", "x"}}},
        {"Package: x\n\nVersion: 2\n", {{"Package", "x"}, {"Version", "2"}}},
        {"Empty:\nDepends: a (>= 1:2)\n", {{"Empty", ""}, {"Depends", "a (>= 1:2)"}}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const ControlRead read = readControlText(c.text);
        EXPECT_FALSE(read.error) << c.text;
        EXPECT_EQ(read.control.fields, c.fields) << c.text;
    }
}

TEST(ControlFile, RefusesWhatWouldBreakTheStatusFile) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"Description: a\n \n b\n", "blank line in value of field 'Description'"},
        {"Description: a\n\t \n", "blank line in value of field 'Description'"},
        {"Description: a\n \r\n", "blank line in value of field 'Description'"},
        {"Package: a\nVersion: 1\nPackage: b\n", "duplicate value for field 'Package'"},
        {"Package: a\nPACKAGE: b\n", "duplicate value for field 'PACKAGE'"},
    };
    for (const auto& c : cases) {
        const ControlRead read = readControlText(c.text);
        ASSERT_TRUE(read.error) << c.text;
        EXPECT_EQ(*read.error, c.error);
    }
}

TEST(ControlFile, AStatusParagraphReadsBackAsTheSamePackage) {
    const ControlRead read = readControlText("Package: com.x\nVersion: 1\nDescription: a\n .\n b\n");
    ASSERT_FALSE(read.error);
    const std::string other = "Package: com.y\nStatus: install ok installed\nVersion: 9\n";
    const auto paragraphs = statusParagraphs(other + "\n" + statusParagraph(read.control) + "\n\n");
    ASSERT_EQ(paragraphs.size(), 2u);
    EXPECT_EQ(paragraphs[0], (std::pair<std::string, std::string>{"com.y", other}));
    EXPECT_EQ(paragraphs[1].first, "com.x");
    const ControlRead again = readControlText(paragraphs[1].second);
    EXPECT_EQ(again.control.field("Description"), "a\n .\n b");
    EXPECT_EQ(again.control.field("Status"), "install ok installed");
}

}  // namespace
