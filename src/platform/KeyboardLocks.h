#pragma once

#include <optional>

// The state of the keyboard's lock keys, where the platform can tell it; nothing where it cannot
// (no X server, or a platform that keeps it to itself).
namespace KeyboardLocks {
std::optional<bool> capsLock();
std::optional<bool> numLock();
}
