// Any datagram judged as a discovery reply, with the context taken from its
// first bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "net/discovery_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrell;
  DiscoveryReplyContext context{0x1234, MakeIpv4(192, 168, 10, 1), MakeIpv4(10, 0, 0, 5),
                                kAllOnesIpv4};
  if (size >= 6) {
    context.sequence = static_cast<std::uint16_t>(data[4] | (data[5] << 8));
  }
  if (size >= 18) std::memcpy(&context.interfaceAddr, data + 14, 4);
  const std::size_t kept = size < kDiscoveryReadSize ? size : kDiscoveryReadSize;
  const auto record = JudgeDiscoveryReply(std::span(data, kept), size, context);
  if (record && strnlen(record->modelName, sizeof record->modelName) > kModelNameLength) {
    __builtin_trap();
  }
  return 0;
}
