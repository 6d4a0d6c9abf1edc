#pragma once

// The painter that a view's drawRect: draws with, as UIGraphicsGetCurrentContext() answers it on the device. The
// renderer sets it around each drawRect: call, with the view's bounds as user space (origin at the bounds' top
// left, in points).

class Painter;

// The current painter; null outside a drawing pass.
Painter* UIGraphicsGetCurrentContext();

namespace platform::gfx {

// Makes `painter` current until the guard ends, restoring the previous one then (passes nest).
class CurrentContextScope {
public:
    explicit CurrentContextScope(Painter* painter);
    ~CurrentContextScope();
    CurrentContextScope(const CurrentContextScope&) = delete;
    CurrentContextScope& operator=(const CurrentContextScope&) = delete;

private:
    Painter* m_previous;
};

}  // namespace platform::gfx
