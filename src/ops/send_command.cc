#include "ops/send_command.h"

#include "net/session.h"
#include "ops/selection_rights.h"

namespace vantrell {

int RunSendCommand(DeviceJob& job, const Timing& timing) {
  Session session;
  if (job.cancelled() || openSession(job.record.ipAddr, session, timing) != 0) {
    return kCommandFailed;
  }
  job.AttachConnection(session.connection);
  const bool done = login(session, "admin", FieldText(job.record.password)) == 0 &&
                    sendCommand(session, static_cast<std::uint8_t>(job.firstParameter)) == 0;
  job.DetachConnection();
  return done ? kCommandDone : kCommandFailed;
}

CommandRows CollectCommandRows(std::span<const DeviceRecord* const> selection,
                               std::uint8_t opcode) {
  CommandRows collected;
  collected.refusal = CheckSelectionRights(selection);
  if (collected.refusal) return collected;
  for (const DeviceRecord* record : selection) {
    auto row = std::make_shared<DeviceJob>(*record);
    row->firstParameter = opcode;
    collected.rows.push_back(std::move(row));
  }
  return collected;
}

}  // namespace vantrell
