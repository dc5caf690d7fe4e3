#pragma once
/// The session protocol on TCP port 4000: one short connection per
/// operation, a challenge-response login as "admin", and one blocking
/// function per opcode. Each returns 0 on success and a negative code on
/// failure (-1 unless stated), shows nothing, and never closes a connection
/// it did not open. Another thread may abort the connection (Abort on the
/// shared connection); the pending call then fails at once.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/device_record.h"
#include "core/timing.h"
#include "net/session_codec.h"
#include "platform/tcp_connection.h"

namespace vantrell {

/// A connected session to one device.
struct Session {
  std::shared_ptr<TcpConnection> connection;
  Timing timing;
};

/// Results beyond 0 and -1.
inline constexpr int kSessionGroupRejected = -2;  ///< streamConfigFile: a function group refused
inline constexpr int kSessionTimeout = -4;        ///< streamConfigFile: no final answer in time
inline constexpr int kSessionAddressApplied = 1;  ///< setNetworkSettings: the device reset the connection

/// Connects to ipAddr on the device port, waiting at most timing.connectMs.
int openSession(Ipv4 ipAddr, Session& session, const Timing& timing = {});

/// Challenge, then the login request; the system always logs in as "admin".
int login(Session& session, std::string_view user, std::string_view password);

/// Fetches the configuration block; keeps the first buffer.size() bytes.
/// `received` gets the number of bytes kept.
int fetchConfigBlock(Session& session, std::span<std::uint8_t> buffer,
                     std::size_t* received = nullptr);
int storeConfigBlock(Session& session, std::span<const std::uint8_t> block);
int commitChanges(Session& session);
int changePassword(Session& session, const DeviceRecord& record, std::string_view newPassword);
int storeSmtpPassword(Session& session, const DeviceRecord& record, std::string_view text);

/// Fills `out` with the mail-server password; leaves it empty and returns -1
/// when the answer is missing, invalid, or would not fit the field.
int fetchSmtpPassword(Session& session, const DeviceRecord& record,
                      std::span<char, kSmtpFieldSize> out);

int fetchPortMasks(Session& session, std::uint32_t& portMask, std::uint32_t& trunkPortMask);

/// Writes the device's configuration file to `path` (created or
/// truncated); nothing is written when the transfer fails.
int fetchConfigFile(Session& session, const std::filesystem::path& path);

/// Streams a configuration file to a device that parses it itself.
/// `openError` receives the system error code when the file cannot be
/// opened (-1 is returned; the caller shows "Can not open configuration
/// file, error code: %d"). -2 with `groupName` when the device refused a
/// function group, -4 when its final answer did not come in time.
int streamConfigFile(Session& session, const DeviceRecord& record,
                     const std::filesystem::path& path, std::string& groupName,
                     int* openError = nullptr);

/// Reads the device's information text into `buffer` (zero-terminated);
/// needs no login. Fails when the text does not fit below buffer.size().
int fetchInfoText(Session& session, std::span<char> buffer);

/// 0 when stored, 1 when the device reset the connection to take the new
/// address at once (after a 2 s pause), -1 otherwise.
int setNetworkSettings(Session& session, const DeviceRecord& record);

/// An 11-byte command with the given opcode.
int sendCommand(Session& session, std::uint8_t opcode);

}  // namespace vantrell
