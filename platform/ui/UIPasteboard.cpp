#include "platform/ui/UIPasteboard.h"

#include "platform/core/Runtime.h"

VT_REGISTER_CLASS(UIPasteboard)

Ref<UIPasteboard> UIPasteboard::generalPasteboard() {
    static Ref<UIPasteboard> board = alloc<UIPasteboard>();
    return board;
}
