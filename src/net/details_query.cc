#include "net/details_query.h"

#include <array>
#include <random>

#include "net/details_codec.h"
#include "platform/udp_socket.h"

namespace vantrell {
namespace {

constexpr int kReceiveBufferBytes = 65535;

std::uint16_t RandomSequence() {
  static thread_local std::minstd_rand generator{std::random_device{}()};
  return static_cast<std::uint16_t>(std::uniform_int_distribution<int>(0, 32767)(generator));
}

}  // namespace

int QueryDeviceDetails(DeviceRecord& record, const Timing& timing) {
  auto socket = UdpSocket::Open();
  if (!socket) return -1;
  socket->SetReceiveBuffer(kReceiveBufferBytes);
  const std::uint16_t sequence = RandomSequence();
  const std::vector<std::uint8_t> request = BuildDetailsRequest(sequence);
  std::array<std::uint8_t, kDetailsMaxReplySize> buffer;
  const int fd = socket->fd();

  for (int attempt = 0; attempt < timing.detailsAttempts; ++attempt) {
    socket->SendTo(request, record.ipAddr, timing.devicePort);
    if (!WaitReadable(std::span(&fd, 1), timing.detailsWaitMs)[0]) continue;
    Ipv4 source = 0;
    const int length = socket->ReceiveFrom(buffer, &source);
    if (length <= 0) continue;
    const auto datagramLength = static_cast<std::size_t>(length);
    const std::size_t kept = std::min(datagramLength, buffer.size());
    if (ApplyDetailsReply(std::span(buffer.data(), kept), datagramLength, sequence, record)) {
      return 0;
    }
  }
  return -1;
}

}  // namespace vantrell
