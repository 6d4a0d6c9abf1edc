#pragma once

// Where the stand-in frameworks report the effects they only log instead of performing: haptics, URL opens,
// airplane-mode requests, and whatever else a stand-in chooses to report. The frameworks only report; keeping the
// record is the harness's (platform/harness/EffectLog.h), which listens when it is linked, so a process without
// the harness — the phone — has no record at all.

#include <functional>
#include <string>

namespace platform {

struct EffectRecord {
    std::string kind;    // "impact", "openURL", …
    std::string detail;  // the URL, or another subject; empty when there is none
    long value = 0;      // the impact style, or another number; 0 when there is none
    friend bool operator==(const EffectRecord&, const EffectRecord&) = default;
};

// Hands the effect to the listener; with none installed the effect is not kept anywhere.
void recordEffect(std::string kind, std::string detail = {}, long value = 0);

using EffectListener = std::function<void(EffectRecord)>;
// Installs the one listener of the process, replacing the previous one; an empty function removes it. Called on the
// thread that records, which for the stand-ins is the main thread.
void setEffectListener(EffectListener listener);

}  // namespace platform
