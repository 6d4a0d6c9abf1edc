#include "sim/scenario/Gallery.h"

#include "sim/scenario/ScenarioErrors.h"

#include <fstream>
#include <sstream>

namespace sim::scenario {

namespace {

constexpr const char* kListFile = "gallery.tsv";

// Tabs and line ends would break the list's lines; captions never need them.
std::string flattened(std::string s) {
    for (char& c : s)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return s;
}

}  // namespace

std::string htmlEscaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

Gallery::Gallery(std::filesystem::path folder, std::string title, bool fresh)
    : m_folder(std::move(folder)), m_title(std::move(title)) {
    if (fresh) {
        std::error_code ec;
        std::filesystem::remove(m_folder / kListFile, ec);
        std::filesystem::remove(indexFile(), ec);
    } else {
        load();
    }
}

void Gallery::load() {
    std::ifstream in(m_folder / kListFile);
    std::string row;
    while (std::getline(in, row)) {
        std::istringstream fields(row);
        Entry e;
        std::string line;
        if (!std::getline(fields, e.name, '\t') || !std::getline(fields, line, '\t')) continue;
        std::getline(fields, e.caption);
        e.line = static_cast<std::size_t>(std::strtoul(line.c_str(), nullptr, 10));
        m_entries.push_back(std::move(e));
    }
}

void Gallery::add(Entry entry) {
    entry.caption = flattened(std::move(entry.caption));
    for (auto& e : m_entries) {
        if (e.name == entry.name) {
            e = std::move(entry);
            save();
            return;
        }
    }
    m_entries.push_back(std::move(entry));
    save();
}

void Gallery::save() const {
    {
        std::ofstream list(m_folder / kListFile, std::ios::trunc);
        for (const auto& e : m_entries) list << e.name << '\t' << e.line << '\t' << e.caption << '\n';
        if (!list) throw StepError("cannot write the gallery list in " + m_folder.string());
    }
    std::ofstream page(indexFile(), std::ios::trunc);
    page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << htmlEscaped(m_title)
         << "</title>\n<style>\n"
            "body{font-family:-apple-system,Helvetica,Arial,sans-serif;background:#f2f2f7;margin:24px}\n"
            "main{display:flex;flex-wrap:wrap;gap:24px}\n"
            "figure{margin:0;background:#fff;padding:12px;border-radius:12px;max-width:320px}\n"
            "img{width:300px;border:1px solid #ccc;border-radius:8px}\n"
            "figcaption{font-size:14px;margin-top:8px}\nfigcaption small{color:#888;display:block}\n"
            "</style></head><body>\n<h1>"
         << htmlEscaped(m_title) << "</h1>\n<main>\n";
    std::size_t n = 0;
    for (const auto& e : m_entries) {
        ++n;
        page << "<figure><a href=\"" << htmlEscaped(e.name) << ".png\"><img src=\"" << htmlEscaped(e.name)
             << ".png\" alt=\"" << htmlEscaped(e.caption) << "\"></a><figcaption>" << n << ". "
             << htmlEscaped(e.caption) << "<small>" << htmlEscaped(e.name) << " &middot; line " << e.line
             << " &middot; <a href=\"" << htmlEscaped(e.name) << ".json\">view tree</a></small></figcaption></figure>\n";
    }
    page << "</main>\n</body></html>\n";
    if (!page) throw StepError("cannot write " + indexFile().string());
}

}  // namespace sim::scenario
