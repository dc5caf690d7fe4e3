#pragma once
/// The state of one simulated device: its identity as discovery shows it,
/// the settings its details reply carries, and the faults it is told to
/// show. Filled from the scenario file; read by the reply encoders and the
/// responders. Later protocols (session, HTTP) add their state here.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ipv4.h"
#include "core/text_forms.h"

namespace vantrell::sim {

/// Which discovery reply the device sends.
enum class DiscoveryForm {
  kShort,  ///< 24 bytes; the configurator names the device from its model table
  kLong,   ///< 64 bytes, carrying the device's own model name
};

/// Which details reply the device sends, by its length in bytes.
enum class DetailsForm {
  kNone = 0,  ///< never answers the details query
  k86 = 86,
  k98 = 98,
  k178 = 178,
  k1186 = 1186,
};

/// A deliberately broken discovery reply the device sends before its good one.
enum class DiscoveryNoise {
  kSequence,   ///< wrong sequence number
  kInterface,  ///< wrong workstation interface address in bytes 14-17
  kFirstByte,  ///< byte 0 other than 0xC9
  kLength,     ///< a 25-byte datagram
};

inline constexpr int kSimModuleSlots = 8;

/// One module slot of a modular device.
struct SimModule {
  std::uint8_t type = 0;  ///< 1 = a module is fitted
  std::string name;       ///< up to 16 bytes on the wire
  std::string desc;       ///< up to 120 bytes on the wire
};

struct SimFaults {
  /// Bad discovery replies sent, in this order, before the good one.
  std::vector<DiscoveryNoise> discoveryNoise;
  /// Send only the bad replies, never a valid one.
  bool noiseOnly = false;
  /// Answer the details request this many milliseconds late (0 = at once).
  int detailsDelayMs = 0;
};

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

  SimFaults faults;
};

}  // namespace vantrell::sim
