#include "ops/password_commands.h"

#include "net/arp_route_bracket.h"
#include "net/session.h"

namespace vantrell {
namespace {

/// Installs the bracket for the job's device for the length of a worker.
class OptionalReach {
 public:
  OptionalReach(ArpRouteBracket* bracket, const DeviceRecord& record)
      : bracket_(bracket), ipAddr_(record.ipAddr) {
    if (bracket_) bracket_->Install(record);
  }
  ~OptionalReach() {
    if (bracket_) bracket_->Remove(ipAddr_);
  }

 private:
  ArpRouteBracket* bracket_;
  Ipv4 ipAddr_;
};

bool OpenAndLogin(const DeviceRecord& record, std::string_view password, const Timing& timing,
                  Session& session) {
  return openSession(record.ipAddr, session, timing) == 0 &&
         login(session, "admin", password) == 0;
}

}  // namespace

void RunUnlock(SingleDeviceJob& job, ArpRouteBracket* bracket, const Timing& timing) {
  OptionalReach reach(bracket, job.record);
  job.state = kJobRunning;
  Session session;
  if (!OpenAndLogin(job.record, FieldText(job.password), timing, session)) {
    job.state = kJobFailed;
    return;
  }
  SetFieldText(job.record.password, FieldText(job.password));
  job.state = kJobSucceeded;
}

void RunChangePassword(SingleDeviceJob& job, ArpRouteBracket* bracket, const Timing& timing) {
  OptionalReach reach(bracket, job.record);
  job.state = kJobRunning;
  Session session;
  const std::string_view oldPassword = FieldText(job.oldPassword);
  const std::string_view newPassword = FieldText(job.newPassword);
  if (!OpenAndLogin(job.record, oldPassword, timing, session)) {
    job.state = kJobFailed;
    return;
  }
  SetFieldText(job.record.password, oldPassword);
  if (changePassword(session, job.record, newPassword) != 0 || commitChanges(session) != 0) {
    job.state = kJobFailed;
    return;
  }
  SetFieldText(job.record.password, newPassword);
  if (newPassword.empty()) {
    job.record.statusFlags &= static_cast<std::uint8_t>(~kStatusProtected);
  } else {
    job.record.statusFlags |= kStatusProtected;
  }
  job.state = kJobSucceeded;
}

}  // namespace vantrell
