#pragma once
/// The state of one simulated device: its identity as discovery shows it,
/// the settings its details reply carries, what its TCP session and (for a
/// video server) its web server keep, and the faults it is told to show.
/// Filled from the scenario file; read by the reply encoders and the
/// responders; changed by the session and web requests the device accepts.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/generation_table.h"
#include "core/ipv4.h"
#include "core/text_forms.h"
#include "core/wire/details_layout.h"
#include "core/wire/session_layout.h"

namespace vantrell::sim {

/// Which discovery reply the device sends.
enum class DiscoveryForm {
  kShort,  ///< 24 bytes; the configurator names the device from its model table
  kLong,   ///< 64 bytes, carrying the device's own model name
};

/// Which details reply the device sends, by its length in bytes.
enum class DetailsForm {
  kNone = 0,  ///< never answers the details query
  k86 = wire::details_reply::kBasicSize,
  k98 = wire::details_reply::kNetworkSize,
  k178 = wire::details_reply::kLocationFormSize,
  k1186 = wire::details_reply::kModulesSize,
};

/// A deliberately broken discovery reply the device sends before its good one.
enum class DiscoveryNoise {
  kSequence,   ///< wrong sequence number
  kInterface,  ///< wrong workstation interface address in bytes 14-17
  kFirstByte,  ///< byte 0 other than 0xC9
  kLength,     ///< a 25-byte datagram
};

inline constexpr int kSimModuleSlots = static_cast<int>(wire::details_reply::kModuleSlots);

/// One module slot of a modular device.
struct SimModule {
  std::uint8_t type = 0;  ///< 1 = a module is fitted
  std::string name;       ///< up to 16 bytes on the wire
  std::string desc;       ///< up to 120 bytes on the wire
};

/// How a video server answers an upload (configuration or firmware post)
/// that carries good credentials.
enum class HttpAnswer {
  kSuccess,       ///< the success page of the upload
  kSizeMismatch,  ///< a page reporting "File size mismatch"
  kUnauthorized,  ///< the 401 page, as if the credentials were wrong
  kLiteral,       ///< status 200 with SimFaults::httpAnswerText as the page
};

/// Status bytes of the firmware transfer (0x0D): 0 lets the image come,
/// 1 reports the image stored.
inline constexpr std::uint8_t kFirmwareGoOn = wire::ack_reply::kTransferGoOn;
inline constexpr std::uint8_t kFirmwareStored = wire::ack_reply::kSuccess;

struct SimFaults {
  /// Bad discovery replies sent, in this order, before the good one.
  std::vector<DiscoveryNoise> discoveryNoise;
  /// Send only the bad replies, never a valid one.
  bool noiseOnly = false;
  /// Answer the details request this many milliseconds late (0 = at once).
  int detailsDelayMs = 0;
  /// The MAC address the discovery reply names instead of the device's own
  /// (a spoofed reply: multicast, broadcast, another host's); unset = own.
  std::optional<MacAddress> announcedMac;
  /// Send the details reply from this address (one the simulator's host
  /// holds) instead of the device's own: a third party answering in its
  /// place (0 = the device's own address).
  Ipv4 detailsFrom = 0;
  /// Answer each discovery request also with this many replies in the
  /// device's name, each with a MAC address never sent before: a flood of
  /// new devices (0 = none).
  int floodMacs = 0;

  // TCP session.
  /// Refuse every login (0x00, 0x00) whatever the digest.
  bool refuseLogin = false;
  /// Send every session answer this many milliseconds late.
  int replyDelayMs = 0;
  /// On 0x22 reset the connection instead of answering, then move.
  bool resetOnNetworkSettings = false;
  /// Opcodes whose two-byte acknowledgement carries status 0 (refused);
  /// the request is then not applied.
  std::vector<std::uint8_t> refuseOpcodes;
  /// Status byte of the first firmware reply (0 = send the image).
  std::uint8_t firmwareFirstReply = kFirmwareGoOn;
  /// Status byte of the final firmware reply.
  std::uint8_t firmwareStatus = kFirmwareStored;
  /// After the image, close the connection without a final reply.
  bool firmwareCloseWithoutAnswer = false;
  /// Time the device "stores" the image before the final reply.
  int firmwareSaveMs = 0;
  /// Stop reading the image after this many bytes and stay silent with
  /// the connection open (0: never); the sender's buffers fill and stall.
  std::uint32_t firmwareStallAfter = 0;
  /// Status byte of the first reply to a streamed configuration file
  /// (0 = send the file).
  std::uint8_t streamFirstReply = 0;
  /// Signed status of the final reply to a streamed configuration file.
  std::int8_t streamFinalStatus = 0;
  /// Function group named in that final reply (up to 29 bytes).
  std::string streamGroupName;
  /// Announce the configuration file (0x20) with length 0 and the 32-bit
  /// length after it, whatever its size.
  bool longFileHeader = false;
  /// Announce the configuration file (0x20) with this 32-bit length in the
  /// long header, whatever its size; only the file's own bytes follow, then
  /// silence (0: the file's size).
  std::uint32_t fileLengthClaim = 0;

  // Web server of a video server.
  HttpAnswer httpAnswer = HttpAnswer::kSuccess;
  /// Stop reading a request after this many bytes and stay silent with the
  /// connection open for good (0: never): an upload that stalls.
  std::uint32_t httpStallAfter = 0;
  std::string httpAnswerText;  ///< the page for HttpAnswer::kLiteral
};

/// Largest configuration block a device keeps (the modular model's).
inline constexpr std::size_t kMaxConfigBlockSize = LargestBlockSize();
/// Longest texts the device keeps, as the session protocol carries them.
inline constexpr std::size_t kMaxDevicePasswordLength = wire::kMaxPasswordLength;
inline constexpr std::size_t kMaxSmtpPasswordLength = wire::smtp_password::kMaxText;
/// The group name of the final stream reply, without its terminating zero.
inline constexpr std::size_t kMaxGroupNameLength = wire::stream_final_reply::kGroupNameSize - 1;

struct SimDevice {
  // Identity (discovery reply).
  std::uint16_t modelId = 0;
  std::uint16_t serialNo = 0;
  MacAddress mac{};
  Ipv4 ip = 0;  ///< network byte order
  std::uint16_t webPort = 80;
  DiscoveryForm reply = DiscoveryForm::kShort;
  std::string modelName;  ///< long reply only; up to 40 bytes on the wire

  // Details reply.
  DetailsForm details = DetailsForm::k86;
  std::uint32_t firmwareVersion = 0;
  std::uint8_t statusFlags = 0;
  std::string name;      ///< up to 30 bytes on the wire
  std::string location;  ///< up to 80 bytes on the wire
  Ipv4 netmask = 0;
  Ipv4 gateway = 0;
  Ipv4 dns1 = 0;
  Ipv4 dns2 = 0;
  std::uint32_t ipConfigFlags = 0;
  std::array<SimModule, kSimModuleSlots> modules{};

  // TCP session state.
  std::string password;      ///< the "admin" password; empty = none
  std::string smtpPassword;  ///< the mail-server password, up to 45 characters
  std::uint32_t portMask = 0;
  std::uint32_t trunkPortMask = 0;
  std::string infoText;                   ///< answer to 0x21, up to 65535 bytes
  std::string configFile;                 ///< answer to 0x20 and sys_config.ini; set by 0x1F
  std::vector<std::uint8_t> configBlock;  ///< answer to 0x08; replaced by 0x09

  // Web server credentials (video servers).
  std::string kavexUser = "admin";
  std::string kavexPassword;

  SimFaults faults;
};

}  // namespace vantrell::sim
