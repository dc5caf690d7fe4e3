#pragma once
/// The workers of Unlock and Change Password: each runs on its own thread
/// behind a one-device progress dialog, inside the ARP/route bracket, and
/// publishes its result in the job's state word.

#include "core/timing.h"
#include "ops/device_job.h"

namespace vantrell {

class ArpRouteBracket;

/// Logs in with the typed password; on success the record remembers it.
void RunUnlock(SingleDeviceJob& job, ArpRouteBracket* bracket, const Timing& timing = {});

/// Logs in with the old password, changes it to the new one and commits;
/// on success the record remembers the new password and its protection bit
/// follows whether the new password is empty.
void RunChangePassword(SingleDeviceJob& job, ArpRouteBracket* bracket, const Timing& timing = {});

}  // namespace vantrell
