// Any bytes as what a client sends the device simulator (the first byte
// picks the reader): the session stream of one TCP connection, fed in
// pieces, to a device whose password is empty (so a seed's login passes);
// the session decoders on one request each; an HTTP request to the video
// server's web server with its credentials and upload part; a UDP
// discovery or details request. Besides the sanitizers' checks:
// - a session never buffers more than it was given; a reply is never
//   longer than the largest block, file or text the device holds plus a
//   header;
// - the device's password, mail-server password and block change only on
//   a commit, and keep within their limits;
// - a complete web request keeps its headers and body within the bounds,
//   and an upload part lies inside the body.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "sim/device_requests.h"
#include "sim/device_session.h"
#include "sim/session_messages.h"
#include "sim/web_request.h"

namespace {

using namespace vantrell;
using namespace vantrell::sim;

void Check(bool ok) {
  if (!ok) std::abort();
}

/// More than any reply adds to the block, file or text it carries.
constexpr std::size_t kReplyHeaderLimit = 64;

SimDevice MakeDevice(std::uint8_t options) {
  SimDevice device;
  device.modelId = (options & 1) ? 0x0508 : 0x6008;
  device.serialNo = 42;
  device.mac = {2, 0, 0, 0, 0, 7};
  device.ip = MakeIpv4(127, 0, 0, 7);
  device.firmwareVersion = 0x01040100;
  device.smtpPassword = "mail";
  device.configBlock.assign((options & 1) ? 12364 : 1124, 0x5A);
  device.configFile = "[Meshvault Server Configuration File]\r\n";
  device.infoText = "info";
  if (options & 2) device.faults.refuseOpcodes = {0x0C};
  if (options & 4) device.faults.longFileHeader = true;
  return device;
}

/// The session stream in pieces whose sizes the input's bytes choose.
void FeedSession(std::span<const std::uint8_t> input, std::uint8_t options) {
  SimDevice device = MakeDevice(options);
  SessionSources sources;
  sources.challenge = [] { return Challenge{1, 2, 3, 4}; };
  sources.tick = [] { return 0x0A0B0C0Du; };
  DeviceSession session(device, nullptr, sources);
  std::size_t fed = 0;
  std::size_t pieceSeed = options;
  int steps = 0;
  while (fed < input.size() && steps < 4096) {
    const std::size_t piece = std::min(input.size() - fed, 1 + (pieceSeed * 37 + fed) % 97);
    pieceSeed = input[fed];
    session.Receive(input.subspan(fed, piece));
    fed += piece;
    Check(session.Buffered() <= fed);
    while (std::optional<SessionStep> step = session.Next()) {
      Check(step->reply.size() <=
            std::max({kMaxConfigBlockSize, device.configFile.size(), device.infoText.size()}) +
                kReplyHeaderLimit);
      if (++steps >= 4096) break;
    }
    Check(device.password.size() <= kMaxDevicePasswordLength);
    Check(device.smtpPassword.size() <= kMaxSmtpPasswordLength);
    Check(!device.configBlock.empty() && device.configBlock.size() <= kMaxConfigBlockSize);
  }
  session.ConnectionEnded("fuzz input ended");
}

/// Each decoder on the same bytes, as one request.
void DecodeOne(std::span<const std::uint8_t> request) {
  const RequestFrame frame = FrameRequest(request);
  if (frame.kind == RequestFrame::Kind::kComplete) Check(frame.size <= request.size());
  CheckLogin(request, "", Challenge{1, 2, 3, 4});
  const MaskedText password = DecodeChangePassword(request, "", 42);
  if (password.ok) Check(password.text.size() <= kMaxDevicePasswordLength);
  const MaskedText smtp = DecodeStoreSmtpPassword(request, "", 42);
  if (smtp.ok) Check(smtp.text.size() <= kMaxSmtpPasswordLength);
  DecodeNetworkSettings(request);
  DecodeStreamHeader(request);
  DecodeFirmwareHeader(request);
  if (const auto block = DecodeStoreBlock(request)) Check(block->size() + 3 <= request.size());
  DecodeCommand(request);
}

void ReadWebRequest(std::span<const std::uint8_t> input) {
  WebRequestReader reader;
  WebRequestReader::State state = WebRequestReader::State::kNeedMore;
  for (std::size_t at = 0; at < input.size() && state == WebRequestReader::State::kNeedMore;) {
    const std::size_t piece = std::min<std::size_t>(input.size() - at, 1 + input[at] % 61);
    state = reader.Feed(input.subspan(at, piece));
    at += piece;
  }
  if (state == WebRequestReader::State::kBad) {
    Check(reader.BadStatus() >= 400 && reader.BadStatus() < 600);
    return;
  }
  if (state != WebRequestReader::State::kComplete) return;
  const WebRequest& request = reader.Request();
  Check(request.body.size() <= kMaxWebBodyBytes);
  reader.WantsContinue();
  request.Path();
  request.Header("Content-Type");
  HasBasicCredentials(request, "admin", "");
  std::string why;
  if (const auto part = ExtractUpload(request, &why)) {
    const char* body = request.body.data();
    Check(part->data.data() >= body &&
          part->data.data() + part->data.size() <= body + request.body.size());
  }
}

void ReadDatagram(std::span<const std::uint8_t> datagram, std::uint8_t options) {
  std::string why;
  if (const auto request = ParseDiscoveryRequest(datagram, &why)) {
    Check(request->knownD8.size() <= 32 && request->knownMacs.size() <= 32);
    AnswersDiscovery(MakeDevice(options), *request);
  }
  LooksLikeDetailsRequest(datagram);
  ParseDetailsRequest(datagram, &why);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 70000) return 0;
  const std::uint8_t selector = data[0];
  const std::span<const std::uint8_t> rest(data + 1, size - 1);
  switch (selector % 4) {
    case 0:
      FeedSession(rest, selector >> 2);
      break;
    case 1:
      DecodeOne(rest);
      break;
    case 2:
      ReadWebRequest(rest);
      break;
    default:
      ReadDatagram(rest, selector >> 2);
      break;
  }
  return 0;
}
