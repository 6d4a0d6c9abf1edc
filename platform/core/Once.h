#pragma once

// Run-once tokens in the manner of dispatch_once: a file-wide token starts at 0, the block runs the first time
// the token is presented, and never again while the process lives (a respring is a new process).

#include <functional>

using dispatch_once_t = long;

// Runs `block` when `*predicate` is 0 and marks the token done; does nothing otherwise. Safe against concurrent
// callers: a second caller waits until the first block has finished. A null predicate is a RuntimeError. A block
// that throws leaves the token unused, so a later call tries again.
void dispatch_once(dispatch_once_t* predicate, const std::function<void()>& block);
