#pragma once

// Views that add their own fields to the JSON dump of a window (controls: state, titles, selected segment…)
// derive from this interface as well as from their view class. The dump calls it after the common fields of the
// view, inside the view's object, before "subviews".

class JSONWriter;

namespace platform::ui {

class DumpsProperties {
public:
    virtual ~DumpsProperties() = default;
    // Writes key/value pairs (writer.field("on", true)); never begins or ends the view's object itself.
    virtual void dumpProperties(JSONWriter& writer) const = 0;
};

}  // namespace platform::ui
