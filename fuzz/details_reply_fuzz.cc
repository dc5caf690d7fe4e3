// Any datagram applied as a details reply to records of every reply kind.
#include <cstddef>
#include <cstdint>

#include "net/details_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrell;
  const std::uint16_t sequence =
      size >= 6 ? static_cast<std::uint16_t>(data[4] | (data[5] << 8)) : 0;
  const std::size_t kept = size < kDetailsMaxReplySize ? size : kDetailsMaxReplySize;
  for (std::uint16_t modelId : {std::uint16_t{0x6008}, std::uint16_t{0x0726}}) {
    for (std::uint32_t replyKind : {0u, 1u}) {
      DeviceRecord record = MakeZeroRecord();
      record.modelId = modelId;
      record.replyKind = replyKind;
      ApplyDetailsReply(std::span(data, kept), size, sequence, record);
      if (FieldText(record.location).size() > kLocationLength ||
          FieldText(record.serverName).size() > kServerNameLength) {
        __builtin_trap();
      }
    }
  }
  return 0;
}
