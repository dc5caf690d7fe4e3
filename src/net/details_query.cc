#include "net/details_query.h"

#include <array>
#include <optional>
#include <random>

#include "net/details_codec.h"
#include "platform/tick.h"
#include "platform/udp_socket.h"

namespace vantrell {
namespace {

constexpr int kReceiveBufferBytes = 65535;

std::uint16_t RandomSequence() {
  static thread_local std::minstd_rand generator{std::random_device{}()};
  return static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 32767)(generator));
}

/// The first datagram within `waitMs`, or nothing. An error the system
/// reports on the connected socket (the device's port unreachable) does not
/// end the wait early, so every attempt lasts as long as without one.
std::optional<int> AwaitDatagram(UdpSocket& socket, std::span<std::uint8_t> buffer, int waitMs) {
  const int fd = socket.fd();
  const std::uint32_t start = TickCountMs();
  for (;;) {
    const auto elapsed = static_cast<int>(TickCountMs() - start);
    if (elapsed >= waitMs) return std::nullopt;
    if (!WaitReadable(std::span(&fd, 1), waitMs - elapsed)[0]) return std::nullopt;
    const int length = socket.ReceiveFrom(buffer, nullptr);
    if (length > 0) return length;
    if (length == 0) return std::nullopt;
  }
}

}  // namespace

int QueryDeviceDetails(DeviceRecord& record, const Timing& timing) {
  auto socket = UdpSocket::Open();
  if (!socket) return -1;
  socket->SetReceiveBuffer(kReceiveBufferBytes);
  // Connected: a datagram from any address or port but the device's never
  // reaches us, so a third party can neither fill the record nor end an
  // attempt. When the connect fails (no route), nothing can arrive either
  // and each attempt waits its time out, as an unanswered request does.
  socket->Connect(record.ipAddr, timing.devicePort);
  const std::uint16_t sequence = RandomSequence();
  const std::vector<std::uint8_t> request = BuildDetailsRequest(sequence);
  std::array<std::uint8_t, kDetailsMaxReplySize> buffer;

  for (int attempt = 0; attempt < timing.detailsAttempts; ++attempt) {
    socket->Send(request);
    const std::optional<int> length = AwaitDatagram(*socket, buffer, timing.detailsWaitMs);
    if (!length) continue;
    const auto datagramLength = static_cast<std::size_t>(*length);
    const std::size_t kept = std::min(datagramLength, buffer.size());
    if (ApplyDetailsReply(std::span(buffer.data(), kept), datagramLength, sequence, record)) {
      return 0;
    }
  }
  return -1;
}

}  // namespace vantrell
