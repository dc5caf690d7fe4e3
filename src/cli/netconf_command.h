#pragma once
/// `vantrell netconf`: Modify IP Address on the command line.

#include "cli/cli_context.h"

namespace vantrell {

/// netconf DEVICE [--ip A] [--netmask A] [--gateway A] [--dns1 A] [--dns2 A]
/// [--mode off|dhcp|bootp]. Reads the device's settings, takes the given
/// ones as if typed into the dialog with their boxes checked, and stores
/// them when --yes answers the warning. Returns the exit code.
int RunNetconfCommand(CliContext& context);

}  // namespace vantrell
