#pragma once

// A fresh device root per test, and helpers to look at the preference files it holds.

#include "platform/core/DeviceRoot.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/PropertyList.h"
#include "platform/core/TurnObservers.h"
#include "tests/support/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

// Failures show values as XML, which names every type.
inline void PrintTo(const Value& v, std::ostream* os) {
    const auto xml = platform::serializePropertyList(v, platform::PlistFormat::Xml);
    *os << std::string(xml.begin(), xml.end());
}

class PreferenceFixture : public testing::Test {
protected:
    static constexpr const char* kDomain = "com.Zorvanic.VantilePrefs";

    void SetUp() override {
        m_temporary.emplace("prefs");
        m_root = m_temporary->path();
        platform::setDeviceRoot(m_root);
        platform::resetPreferenceCounters();
    }
    void TearDown() override { m_temporary.reset(); }

    std::filesystem::path folder() const { return m_root / "var/mobile/Library/Preferences"; }
    std::filesystem::path domainFile(const std::string& domain = kDomain) const {
        return folder() / (domain + ".plist");
    }
    static std::string slurp(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void spit(const std::filesystem::path& p, std::string_view bytes) {
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // What the file holds, read independently of the store.
    Value::Dictionary onDisk(const std::string& domain = kDomain) const {
        auto v = platform::readPropertyListFile(domainFile(domain));
        if (!v || !v->isDictionary()) return {};
        return *v->asDictionary();
    }
    static int plistutil(const std::filesystem::path& in, const std::filesystem::path& out, const char* format) {
        const std::string cmd =
            "plistutil -i '" + in.string() + "' -o '" + out.string() + "' -f " + format + " >/dev/null 2>&1";
        return std::system(cmd.c_str());
    }

    std::optional<testing_support::TemporaryRoot> m_temporary;
    std::filesystem::path m_root;
};
