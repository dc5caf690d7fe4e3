#pragma once
/// The keyboard's Caps Lock, Num Lock and Scroll Lock states, where the
/// platform tells them: on X11 from the keyboard extension's named
/// indicators of the window's own display connection. Elsewhere (offscreen,
/// Wayland) the states are unknown.

#include <array>
#include <optional>

namespace vantrell {

/// In the order of the status bar: Caps Lock, Num Lock, Scroll Lock.
enum LockIndicator : int { kCapsLock = 0, kNumLock, kScrollLock, kLockIndicatorCount };

/// Each lock's state, or nothing where it is unknown.
using LockStates = std::array<std::optional<bool>, kLockIndicatorCount>;

/// Asks the platform now (one round trip per indicator on X11).
LockStates ReadLockStates();

}  // namespace vantrell
