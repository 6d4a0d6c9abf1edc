#pragma once

// The screenshots of a run as a page to look at: out/index.html shows every picture in the order taken, each
// captioned with its step (the comment above the screenshot command, else the command) and its line. The list
// lives in out/gallery.tsv as well, so a run that continues in a fresh process (after a respring) adds to it,
// and the page is rewritten after every picture: a run that stops half-way still leaves a gallery of what it saw.

#include <filesystem>
#include <string>
#include <vector>

namespace sim::scenario {

class Gallery {
public:
    struct Entry {
        std::string name;     // file name without extension
        std::string caption;
        std::size_t line = 0;
    };

    // `fresh` starts an empty gallery (a new run); otherwise the entries already listed are kept.
    Gallery(std::filesystem::path folder, std::string title, bool fresh);

    // Records NAME.png; a name taken again replaces its entry in place.
    void add(Entry entry);
    const std::vector<Entry>& entries() const { return m_entries; }
    std::filesystem::path indexFile() const { return m_folder / "index.html"; }

private:
    void load();
    void save() const;

    std::filesystem::path m_folder;
    std::string m_title;
    std::vector<Entry> m_entries;
};

// `text` with &, <, > and " written as HTML entities.
std::string htmlEscaped(std::string_view text);

}  // namespace sim::scenario
