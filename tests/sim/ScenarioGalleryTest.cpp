// The gallery of a run that goes on in fresh processes: each process adds to what the others listed.
#include "sim/scenario/Gallery.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using sim::scenario::Gallery;

std::string read(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ScenarioGallery, KeepsItsEntriesAcrossProcessesAndStartsOverForANewRun) {
    const fs::path dir = fs::temp_directory_path() / ("vantile-gallery-" + std::to_string(getpid()));
    fs::create_directories(dir);
    {
        Gallery first(dir, "Scenario tour", true);
        first.add({"01-root", "The <root> page & its \"switch\"", 4});
        first.add({"02-dash", "Dashboard\twith a tab", 9});
    }
    {
        Gallery resumed(dir, "Scenario tour", false);
        ASSERT_EQ(resumed.entries().size(), 2u);
        EXPECT_EQ(resumed.entries()[1].caption, "Dashboard with a tab");
        EXPECT_EQ(resumed.entries()[1].line, 9u);
        resumed.add({"03-editor", "Editor <sheet> & rows", 15});
        resumed.add({"01-root", "Taken again", 20});
        ASSERT_EQ(resumed.entries().size(), 3u);
        EXPECT_EQ(resumed.entries()[0].caption, "Taken again") << "a name taken again keeps its place";
    }
    std::string html = read(dir / "index.html");
    EXPECT_EQ(html.find("The &lt;root&gt;"), std::string::npos) << "the old caption was replaced";
    EXPECT_LT(html.find("Taken again"), html.find("03-editor.png"));
    EXPECT_NE(html.find("Editor &lt;sheet&gt; &amp; rows"), std::string::npos) << "captions are escaped in the page";
    EXPECT_NE(html.find("<img src=\"02-dash.png\""), std::string::npos);

    Gallery fresh(dir, "Scenario tour", true);
    EXPECT_TRUE(fresh.entries().empty());
    EXPECT_FALSE(fs::exists(dir / "index.html"));
    fs::remove_all(dir);
}

TEST(ScenarioGallery, CaptionsAreEscaped) {
    EXPECT_EQ(sim::scenario::htmlEscaped("a <b> & \"c\""), "a &lt;b&gt; &amp; &quot;c&quot;");
}

}  // namespace
