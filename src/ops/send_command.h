#pragma once
/// The worker of the send-command dialog: one command request to one
/// device (Set Default), and the collection step that turns a selection
/// into the dialog's rows.

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/timing.h"
#include "core/wire/session_layout.h"
#include "ops/device_job.h"

namespace vantrell {

/// The opcode of Set Default.
inline constexpr std::uint8_t kSetDefaultOpcode = wire::kOpSetDefault;

/// Final row states of the send-command dialog.
enum SendCommandState : int { kCommandDone = 2, kCommandFailed = 3 };

/// Opens a session, logs in with the row's password, sends the command in
/// the row's first parameter; returns kCommandDone or kCommandFailed.
int RunSendCommand(DeviceJob& job, const Timing& timing = {});

/// One row per selected record with the opcode in its first parameter, or
/// the rights-check message that ends the command before anything is sent.
struct CommandRows {
  std::vector<std::shared_ptr<DeviceJob>> rows;
  std::optional<std::string> refusal;
};
CommandRows CollectCommandRows(std::span<const DeviceRecord* const> selection,
                               std::uint8_t opcode);

}  // namespace vantrell
