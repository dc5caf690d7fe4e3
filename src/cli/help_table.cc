#include "cli/help_table.h"

#include <array>

namespace vantrell {
namespace {

using Completes = OptionHelp::Completes;

constexpr std::string_view kExitOneDevice =
    "0 when the device answered OK, 1 when it failed, 2 for a usage error, a device not found "
    "or a refused rights check (nothing sent).";
constexpr std::string_view kExitEachDevice =
    "0 when every device succeeded, 1 when at least one failed, 2 for a usage error, a device "
    "not found or a refused rights check (nothing sent to any device).";

constexpr std::array kGlobalOptions = {
    OptionHelp{"--interface", "NAME",
               "search only on the IPv4 addresses of this interface (repeatable); default: every "
               "local IPv4 address except 127.0.0.1",
               Completes::kInterface},
    OptionHelp{"--password", "PW",
               "login password of the selected switches; - reads it from the terminal without "
               "echo (or from standard input when it is not a terminal); given as text it works "
               "but warns, as every local user can read it"},
    OptionHelp{"--password-file", "FILE",
               "read the login password from the first line of FILE (refused when group or "
               "others may read FILE)",
               Completes::kFile},
    OptionHelp{"--kavex-user", "U", "web user name of the selected video servers"},
    OptionHelp{"--kavex-password", "P",
               "web password of the selected video servers; - reads it from the terminal"},
    OptionHelp{"--kavex-password-file", "FILE",
               "read the video servers' web password from the first line of FILE",
               Completes::kFile},
    OptionHelp{"--yes", "",
               "answer Yes/OK to every confirmation and review; without it the answer is No/Cancel "
               "and nothing is stored"},
    OptionHelp{"--json", "", "machine-readable output on standard output"},
    OptionHelp{"--quiet", "", "no progress on standard error"},
    OptionHelp{"--help", "", "this help, or with a command that command's help"},
    OptionHelp{"--version", "", "the program's version"},
};

/// The fleet selection, beside the devices a command names.
constexpr std::array kSelectionOptions = {
    OptionHelp{"--all", "", "every device the search found"},
    OptionHelp{"--model", "GLOB",
               "the devices whose model name matches GLOB (shell pattern, such as 'ORV-8*')"},
    OptionHelp{"--subnet", "CIDR", "the devices whose address lies in CIDR (192.168.10.0/24)"},
    OptionHelp{"--from", "FILE",
               "the devices FILE lists: one MAC or address a line, or CSV with a mac or ip column",
               Completes::kFile},
};

/// A command's own options followed by the fleet selection.
template <std::size_t N>
constexpr std::array<OptionHelp, N + kSelectionOptions.size()> WithSelection(
    const std::array<OptionHelp, N>& own) {
  std::array<OptionHelp, N + kSelectionOptions.size()> all{};
  for (std::size_t i = 0; i < N; ++i) all[i] = own[i];
  for (std::size_t i = 0; i < kSelectionOptions.size(); ++i) all[N + i] = kSelectionOptions[i];
  return all;
}

constexpr std::array kSearchOptions = {
    OptionHelp{"--ip", "ADDR", "ask only the device at ADDR (Specify IP Address)"},
    OptionHelp{"--csv", "",
               "print the inventory as CSV: model, ip, mac, status, name, location, firmware, "
               "serial, netmask, gateway, dns1, dns2, dhcp, interface, details"},
};
constexpr std::array kPasswdOptions = WithSelection(std::array{
    OptionHelp{"--new", "NEW",
               "the new password, at most 16 characters; - reads it from the terminal without "
               "echo"},
    OptionHelp{"--new-password-file", "FILE", "read the new password from the first line of FILE",
               Completes::kFile},
});
constexpr std::array kNetconfOptions = WithSelection(std::array{
    OptionHelp{"--ip", "ADDR", "the new IPv4 address"},
    OptionHelp{"--netmask", "ADDR", "the new subnet mask"},
    OptionHelp{"--gateway", "ADDR", "the new default gateway (0.0.0.0: none)"},
    OptionHelp{"--dns1", "ADDR", "the first name server"},
    OptionHelp{"--dns2", "ADDR", "the second name server"},
    OptionHelp{"--mode", "MODE", "address mode: off (fixed address), dhcp or bootp",
               Completes::kWord, "off dhcp bootp"},
});
constexpr std::array kImportOptions = WithSelection(std::array{
    OptionHelp{"--keep-address", "",
               "each device keeps its own address settings (the file's address lines and "
               "address mode are not stored), so one file can go to many devices"},
});
constexpr std::array kWebOptions = WithSelection(std::array{
    OptionHelp{"--no-open", "", "only print the address, do not start a browser"},
});

constexpr std::array kValidateOptions = {
    OptionHelp{"--firmware", "X.Y.Z",
               "the firmware of the devices the file is meant for, as the information pane "
               "shows it (hexadecimal fields); needed for the models with several firmware "
               "generations"},
};

constexpr std::array kCommands = {
    CommandHelp{
        "search", "[--ip ADDR]", "list the devices on the network", false, kSearchOptions,
        "Runs the broadcast search (or asks the one address given with --ip) and prints the "
        "device list: Model, IP Address, MAC Address, Status, Name, Location, Firmware and "
        "Serial, or with --json one array of objects.",
        "UDP search requests to port 4000, once a second on every interface, and one details "
        "query to each device that answers; it ends 5 s after the last new device. Nothing is "
        "stored on a device.",
        "0 when the search ran, 2 for a usage error (an invalid --ip address).",
        "vantrell search --json"},
    CommandHelp{
        "info",
        "DEVICE",
        "show one device's details",
        false,
        kSelectionOptions,
        "Prints the information pane of one device: model, addresses, firmware, serial and, "
        "for devices with their own information text, that text.",
        "the search; for a device with its own information text, a TCP session to port 4000 "
        "that reads it (request 0x21). Nothing is stored.",
        kExitOneDevice,
        "vantrell info 00:11:22:aa:bb:cc"},
    CommandHelp{
        "unlock",
        "DEVICE",
        "check --password against a switch",
        false,
        kSelectionOptions,
        "Logs in to a protected switch with --password and prints OK.. or Fail..: whether "
        "the password is right.",
        "a TCP session to port 4000: the login challenge (0x14) and the login (0x00). Nothing "
        "is stored.",
        kExitOneDevice,
        "vantrell unlock 192.168.10.13 --password-file ~/.switch-pw"},
    CommandHelp{
        "passwd", "DEVICE --new NEW", "change a switch's login password", true, kPasswdOptions,
        "Changes the login password of one switch from --password (empty when not given) to "
        "NEW and prints OK.. or Fail..",
        "a TCP session to port 4000: the login, the new password masked with the login "
        "challenge (0x15) and the commit (0x0C).",
        kExitOneDevice, "vantrell passwd 00:11:22:aa:bb:cc --password - --new -"},
    CommandHelp{
        "netconf",
        "DEVICE [--ip ADDR] [--netmask ADDR] [--gateway ADDR] [--dns1 ADDR] [--dns2 ADDR] "
        "[--mode MODE]",
        "change a device's address settings", true, kNetconfOptions,
        "Modify IP Address: options not given keep the device's current value. Without --yes "
        "it prints what would change and stores nothing; with --yes it stores the settings and "
        "prints the outcome message.",
        "a TCP session to port 4000: the login, then the new address settings (0x22), or for "
        "switches keeping them in their configuration block, the block read (0x08) and "
        "written back (0x09). The device may be reachable only at its new address afterwards.",
        kExitOneDevice, "vantrell --yes netconf 00:11:22:aa:bb:cc --ip 192.168.10.40"},
    CommandHelp{
        "export",
        "DEVICE FILE",
        "save a device's configuration to FILE",
        false,
        kSelectionOptions,
        "Export Configuration: writes the configuration of one device as a commented text "
        "file. With FILE - it writes the file to standard output and the outcome message to "
        "standard error.",
        "a TCP session to port 4000: the login and the configuration block (0x08) or file "
        "(0x20); video servers: an HTTP request for their parameter file. Nothing is stored.",
        kExitOneDevice,
        "vantrell export 192.168.10.11 line1.cfg",
        Completes::kFile},
    CommandHelp{
        "import",
        "FILE DEVICE...",
        "load a configuration file into devices",
        true,
        kImportOptions,
        "Import Configuration into each device, in the order given. When the file changes a "
        "device's address settings they are listed and imported only with --yes. A file with "
        "a fixed address goes into several devices only with --keep-address.",
        "per device a TCP session to port 4000: the login, then the whole file streamed "
        "(0x1F), or the block read (0x08), changed by the file and written back (0x09); video "
        "servers: an HTTP upload of the file.",
        kExitEachDevice,
        "vantrell --yes import line1.cfg 192.168.10.11",
        Completes::kFile},
    CommandHelp{
        "set-default",
        "DEVICE...",
        "reset devices to factory settings",
        true,
        kSelectionOptions,
        "Set Default: each device returns to its factory settings.",
        "per device a TCP session to port 4000: the login and the Set Default request (0x29).",
        kExitEachDevice,
        "vantrell set-default 00:11:22:aa:bb:cc",
        Completes::kNothing},
    CommandHelp{
        "upgrade",
        "FILE DEVICE...",
        "send a firmware image to devices",
        true,
        kSelectionOptions,
        "Upgrade firmware: sends the image FILE to each device and prints each one's result; "
        "video servers need --kavex-user and --kavex-password.",
        "per switch a TCP session to port 4000: the login and the image (0x0D); the device "
        "stores it and restarts. Video servers: an HTTP upload of the image.",
        kExitEachDevice,
        "vantrell upgrade fw-1.4.0.bin 192.168.10.11 192.168.10.12",
        Completes::kFile},
    CommandHelp{"web", "DEVICE [--no-open]", "open a device's web console", false, kWebOptions,
                "Prints the address of the device's web console and asks the desktop to open it "
                "(xdg-open) unless --no-open is given.",
                "the search only; the browser then talks to the device.", kExitOneDevice,
                "vantrell web --no-open 192.168.10.17"},
    CommandHelp{
        "backup",
        "DIR [DEVICE...]",
        "save the configuration of many devices into DIR",
        false,
        kSelectionOptions,
        "Exports every selected device into the folder DIR (made, private, when missing): one "
        "file a device named by its MAC (00-60-E9-10-20-11.cfg, the same on every run, so DIR "
        "can be a git repository) and DIR/inventory.csv with the inventory columns of search "
        "--csv and file, sha256, time and result. Up to 32 devices at once; a device that fails "
        "keeps its earlier file and does not stop the others. Video servers need --kavex-user "
        "and --kavex-password.",
        "per device what export sends: a TCP session to port 4000 with the login and the "
        "configuration block (0x08) or file (0x20); video servers an HTTP request. Nothing is "
        "stored on a device.",
        "0 when every device was saved, 1 when at least one failed or the inventory could not "
        "be written, 2 for a usage error, a device not found or a DIR that is not a folder.",
        "vantrell backup /srv/plant-configs --all",
        Completes::kFile},
    CommandHelp{
        "restore",
        "DIR [DEVICE...]",
        "load the files of a backup folder back into devices that differ from them",
        true,
        kSelectionOptions,
        "Compares every selected device (exported side by side as backup does) with the "
        "file DIR holds for its MAC and prints the settings that differ as MAC, key, device "
        "value and file value lines (address settings last, marked address), then one result "
        "line a device. With --yes each device that differs gets its own file through Import "
        "Configuration, its address settings as the file has them; without --yes nothing is "
        "stored. A device without a file reads No file, one equal to its file Unchanged.",
        "per device what export sends (a TCP session to port 4000: the login and the "
        "configuration block (0x08) or file (0x20); video servers an HTTP request); with --yes, "
        "for each device that differs, what import sends: the whole file streamed (0x1F), or "
        "the block changed by the file and written back (0x09); video servers an HTTP upload.",
        "0 when every device is unchanged or restored, 1 when at least one failed, had no file "
        "or was not restored without --yes, 2 for a usage error, a device not found or a DIR "
        "that is not a folder.",
        "vantrell --yes restore /srv/plant-configs --all",
        Completes::kFile},
    CommandHelp{
        "diff",
        "A B",
        "list the settings in which two configuration files or devices differ",
        false,
        {},
        "Compares A and B, each a configuration file or a DEVICE (a MAC or IPv4 address, "
        "exported as export does), setting by setting: comments, blank lines and the order of "
        "the lines do not count, and keys that occur several times (the tables UMAC, MMAC, "
        "IGMPSNOOP...) are compared as sets of values. Prints KEY, A value and B value a line "
        "(a repeated key's value found on one side only, with the other side empty); the "
        "address settings come last with a fourth field address.",
        "nothing when A and B are files; per DEVICE what export sends: a TCP session to port "
        "4000 with the login and the configuration block (0x08) or file (0x20); video servers "
        "an HTTP request. Nothing is stored.",
        "0 when A and B hold the same settings, 1 when they differ, 2 for a usage error, a file "
        "that cannot be read, a device not found or a device that cannot be exported.",
        "vantrell diff /srv/plant-configs/00-60-E9-10-20-11.cfg 00:60:E9:10:20:11",
        Completes::kFile},
    CommandHelp{
        "validate",
        "FILE [--firmware X.Y.Z]",
        "check a configuration file without a device",
        false,
        kValidateOptions,
        "Checks FILE as Import Configuration would: the header and model lines, then every "
        "setting by the rules of the generation that the model and --firmware select, and "
        "prints each problem as FILE:LINE: KEY: message (FILE: KEY: message for a check tied "
        "to no one line), or FILE: no problems found. A modular-model file is checked with "
        "every port taken as present and able to trunk, which a line of the output says.",
        "nothing: no search, no device, no network helper.",
        "0 when the file has no problems, 1 when it has some, 2 for a usage error, a file that "
        "cannot be read, a wrong header or model line, an unknown model or a missing or "
        "unserved --firmware.",
        "vantrell validate line1.cfg --firmware 2.0.6",
        Completes::kFile},
    CommandHelp{
        "cleanup",
        "",
        "remove ARP entries and routes left by ended runs",
        false,
        {},
        "Removes the static ARP entries and host routes that runs which ended without cleaning "
        "up (a network helper that was killed) left in the workstation's tables, puts back what "
        "they had replaced and prints how many it removed. Runs still at work, and those of "
        "other network namespaces, are left alone.",
        "nothing to any device, and no search: it changes only the workstation's own ARP and "
        "route tables, through vantrell-netd.",
        "0, also when nothing was left.",
        "vantrell cleanup"},
    CommandHelp{
        "help",
        "[COMMAND]",
        "show the help of vantrell or of one command",
        false,
        {},
        "Prints the command list, or a command's options, what it sends, its exit codes and an "
        "example; the same as COMMAND --help.",
        "nothing.",
        "0; 2 for a command that does not exist.",
        "vantrell help netconf"},
};

constexpr std::array kEnvironment = {
    EnvironmentHelp{"VANTRELL_PASSWORD",
                    "the login password when neither --password nor "
                    "--password-file is given"},
    EnvironmentHelp{"VANTRELL_NEW_PASSWORD", "the new password of passwd in place of --new"},
    EnvironmentHelp{"VANTRELL_KAVEX_PASSWORD",
                    "the video servers' web password in place of "
                    "--kavex-password"},
};

constexpr ProgramHelp kWindowProgram = {
    "vantrell-configurator", "find and configure industrial Ethernet switches and video servers",
    "vantrell-configurator",
    "The desktop window of the configurator: the device list and the information pane of the "
    "selected device, with every command of vantrell(1) in its menus, toolbar and context "
    "menu.\n\n"
    "Start it as yourself, not as root. Devices on other subnets are reached through the "
    "privileged helper vantrell-netd, which alone holds the CAP_NET_ADMIN capability; without "
    "it the window says so once at start and works with the devices on the workstation's own "
    "subnets.",
    ""};

constexpr ProgramHelp kSimulatorProgram = {
    "vantrell-sim", "simulate VANTRELL devices for trying the configurator",
    "",  // the simulator's own usage text gives it
    "Plays the devices of a JSON scenario file: each answers the search and the details "
    "query on UDP port 4000, serves its TCP session (login, configuration, firmware) and, "
    "for video servers, a web server, on the address it announces.\n\n"
    "Run it only in a network namespace of its own, as scripts/lab.sh of the source tree "
    "does: it answers on every address of the namespace it runs in.",
    "ip netns exec lab-dev vantrell-sim --scenario demo.json --ready-file /run/sim.ready"};

}  // namespace

std::span<const CommandHelp> CommandHelpTable() { return kCommands; }
std::span<const OptionHelp> GlobalOptionHelp() { return kGlobalOptions; }
std::span<const EnvironmentHelp> EnvironmentHelpTable() { return kEnvironment; }
const ProgramHelp& WindowProgramHelp() { return kWindowProgram; }
const ProgramHelp& SimulatorProgramHelp() { return kSimulatorProgram; }

const CommandHelp* FindCommandHelp(std::string_view name) {
  for (const CommandHelp& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

}  // namespace vantrell
