// Any answer text judged as the answer to the configuration post, the
// firmware post and the configuration download, and fed to the firmware
// answer reader in pieces of varying size.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/http_texts.h"

namespace {

/// Header of an input: model ID (2 bytes), HTTP status (2 bytes), chunk
/// size for the reader (1 byte); the rest is the answer text.
constexpr std::size_t kHeaderSize = 5;

bool OneOf(int value, std::initializer_list<int> allowed) {
  for (int a : allowed) {
    if (value == a) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vantrell;
  if (size < kHeaderSize) return 0;
  const auto modelId = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
  const long status = data[2] | (data[3] << 8);
  const std::size_t chunk = data[4] == 0 ? 1 : data[4];
  const std::string_view answer(reinterpret_cast<const char*>(data + kHeaderSize),
                                size - kHeaderSize);

  if (!OneOf(JudgeImportAnswer(modelId, answer), {0, kImportNotConfirmed88, kImportNotConfirmed})) {
    __builtin_trap();
  }
  if (!OneOf(JudgeFirmwareAnswer(status, answer),
             {0, kFirmwareSizeMismatch, kFirmwareUnauthorized, kFirmwareOtherFailure})) {
    __builtin_trap();
  }
  if (!OneOf(JudgeDownloadAnswer(status, answer), {0, kDownloadFailure, kDownloadUnauthorized})) {
    __builtin_trap();
  }

  std::atomic<int> progress{-1};
  FirmwareAnswerReader reader(&progress);
  bool accepted = true;
  for (std::size_t at = 0; at < answer.size() && accepted; at += chunk) {
    accepted = reader.Add(answer.substr(at, chunk));
  }
  // Whatever the pieces, the reader keeps the bytes in order, and the
  // progress is that of the last 17-byte piece it started.
  if (answer.substr(0, reader.answer().size()) != reader.answer()) __builtin_trap();
  if (!reader.answer().empty()) {
    const std::size_t lastPiece = (reader.answer().size() - 1) / kFirmwareAnswerPiece;
    const int expected =
        static_cast<int>(lastPiece * kFirmwareAnswerPiece * 100 / kFirmwareAnswerFullScale);
    if (progress.load() != expected) __builtin_trap();
  }
  return 0;
}
