#pragma once

// Views of the simulator or of tests that add their own fields to the JSON dump of a window derive from this
// interface as well as from their view class. The dump calls it after the common fields of the view and those it
// writes itself for the stand-in controls (ViewDump.cpp), inside the view's object, before "subviews". The
// frameworks' own views never derive from it: the dump belongs to the harness, which the phone does not have.

class JSONWriter;

namespace platform::harness {

class DumpsProperties {
public:
    virtual ~DumpsProperties() = default;
    // Writes key/value pairs (writer.field("on", true)); never begins or ends the view's object itself.
    virtual void dumpProperties(JSONWriter& writer) const = 0;
};

}  // namespace platform::harness
