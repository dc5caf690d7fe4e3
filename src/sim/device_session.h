#pragma once
/// One TCP session with a simulated device, free of sockets: takes the bytes
/// the workstation sent and yields, request by request, what the device does
/// (a reply, how late, whether it then closes or resets the connection, new
/// address settings to take on).
///
/// The device hands out a challenge on 0x14 and accepts a login (0x00) that
/// answers it; before that it answers only 0x14, 0x00 and 0x21 and refuses
/// every other request (its opcode and status 0, or status 0xFF for the two
/// transfers whose status 0 would mean "go on"). Masked requests are
/// unmasked with the key of the password the session logged in with. A
/// password, mail-server password or block that the workstation stores is
/// kept aside and takes effect on the commit (0x0C); a session that ends
/// without one drops it. Network settings (0x22) and a streamed
/// configuration file (0x1F) take effect at once.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "sim/recorder.h"
#include "sim/session_messages.h"
#include "sim/sim_device.h"

namespace vantrell::sim {

/// Largest firmware image a device takes; a larger one is refused with
/// status 0xFE ("out of memory").
inline constexpr std::uint32_t kMaxFirmwareImageBytes = 64u << 20;
/// Largest configuration file a device takes by 0x1F.
inline constexpr std::uint32_t kMaxStreamedFileBytes = 4u << 20;

/// What the device does next on the connection.
struct SessionStep {
  enum class Then {
    kContinue,  ///< read the next request
    kClose,     ///< close the connection (after sending the reply)
    kReset,     ///< reset the connection (SO_LINGER 0), nothing sent
  };
  int delayMs = 0;  ///< wait this long first
  Bytes reply;      ///< then send these bytes (may be empty)
  Then then = Then::kContinue;
  /// Take these address settings (moving when the address changed) before
  /// the reply goes out.
  std::optional<AddressSettings> newAddresses;
  /// What the request was and what the device did, for the log.
  std::string note;
};

/// Where the device takes its challenges and its own tick values from.
struct SessionSources {
  std::function<Challenge()> challenge;
  std::function<std::uint32_t()> tick;
};

/// Random challenges and the millisecond tick counter.
SessionSources DefaultSessionSources();

class DeviceSession {
 public:
  /// The device and the recorder (may be null) must outlive the session.
  DeviceSession(SimDevice& device, Recorder* recorder, SessionSources sources);
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  /// Appends received bytes to the input.
  void Receive(std::span<const std::uint8_t> bytes);
  /// The next step from the buffered input; nothing when the input holds no
  /// complete request (or the rest of a transfer) yet.
  std::optional<SessionStep> Next();
  /// Input bytes not yet taken.
  std::size_t Buffered() const { return input_.size() - consumed_; }

  /// The connection is over: records an unfinished request or transfer and
  /// uncommitted changes, which are dropped.
  void ConnectionEnded(const std::string& how);

  bool LoggedIn() const { return loggedIn_; }

 private:
  struct Pending {
    std::optional<std::string> password;
    std::optional<std::string> smtpPassword;
    std::optional<Bytes> block;
    bool Empty() const { return !password && !smtpPassword && !block; }
  };
  struct Transfer;

  SessionStep Handle(std::span<const std::uint8_t> request);
  SessionStep HandleLoggedIn(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep IssueChallenge(nlohmann::json& entry);
  SessionStep Login(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep StoreBlock(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep Commit(nlohmann::json& entry);
  SessionStep ChangePassword(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep StoreSmtpPassword(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep SetNetworkSettings(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep StartFirmware(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep StartStream(std::span<const std::uint8_t> request, nlohmann::json& entry);
  SessionStep Command(std::span<const std::uint8_t> request, nlohmann::json& entry);
  std::optional<SessionStep> ContinueTransfer();
  SessionStep FinishFirmware();
  SessionStep FinishStream();

  /// A reply sent after the device's reply delay.
  SessionStep Reply(Bytes bytes) const;
  /// Acknowledgement with status 1, or status 0 when the scenario makes
  /// the device refuse this opcode (then `refused` is set).
  SessionStep Ack(std::uint8_t opcodeValue, nlohmann::json& entry, bool* refused);
  SessionStep Refuse(std::uint8_t opcodeValue, nlohmann::json& entry, const std::string& why);
  bool RefusesOpcode(std::uint8_t opcodeValue) const;
  void Write(nlohmann::json entry);
  void Compact();

  SimDevice& device_;
  Recorder* recorder_;
  SessionSources sources_;
  Bytes input_;
  std::size_t consumed_ = 0;
  bool broken_ = false;
  std::optional<Challenge> challenge_;
  bool loggedIn_ = false;
  std::string keyPassword_;  ///< the password the session logged in with
  Pending pending_;
  std::unique_ptr<Transfer> transfer_;
};

}  // namespace vantrell::sim
