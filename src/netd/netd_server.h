#pragma once
/// The helper's conversation with its one client: a request, an answer,
/// until the client's end of the socket closes (or an ill-formed request
/// arrives); then every bracket of the client goes.

#include <atomic>
#include <functional>

#include "netd/bracket_keeper.h"

namespace vantrell {

/// Serves the client on `socket`; returns once the conversation is over and
/// every bracket is removed. `cleanUp` answers a kCleanup request with the
/// number of leftover entries it removed; `stop` ends the conversation when
/// set (checked whenever a signal interrupts the wait).
void ServeClient(int socket, BracketKeeper& keeper, const std::function<int()>& cleanUp,
                 const std::atomic<bool>& stop);

}  // namespace vantrell
