#pragma once
/// The helper's first steps: nothing inherited from its caller that could
/// steer it, and no privilege but CAP_NET_ADMIN.

namespace vantrell {

/// Clears the environment, ignores the signals a terminal sends to the
/// caller's process group (the helper ends on end of file instead), leaves
/// that group (setsid), and forbids gaining privileges again.
void DetachFromCaller();

/// Drops every capability but CAP_NET_ADMIN from every set (the bounding
/// set too where the process may change it). True when CAP_NET_ADMIN is
/// effective afterwards.
bool KeepOnlyNetAdmin();

}  // namespace vantrell
