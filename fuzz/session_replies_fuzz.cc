// Any bytes as a device's answers to each request of the session protocol:
// the bytes are queued on one end of a socket pair, that end is closed, and
// every session function reads its reply from the other end.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "net/session.h"
#include "session_pair.h"

using namespace vantrell;
using vantrell::fuzz::SessionHearing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 70000) return 0;
  DeviceRecord record = MakeZeroRecord();
  record.serialNo = 0x1234;
  SetFieldText(record.password, "secret");
  const std::string scratch =
      (std::filesystem::temp_directory_path() / ("session-fuzz-" + std::to_string(::getpid())))
          .string();
  const std::uint8_t selector = size > 0 ? data[0] : 0;
  Session session;
  if (!SessionHearing(data + (size > 0), size - (size > 0), session)) return 0;

  switch (selector % 10) {
    case 0:
      login(session, "admin", "secret");
      break;
    case 1: {
      std::uint8_t block[512];
      fetchConfigBlock(session, block);
      break;
    }
    case 2: {
      char text[46];
      fetchSmtpPassword(session, record, text);
      break;
    }
    case 3: {
      std::uint32_t ports, trunks;
      fetchPortMasks(session, ports, trunks);
      break;
    }
    case 4:
      fetchConfigFile(session, scratch);
      break;
    case 5: {
      char text[1024];
      fetchInfoText(session, text);
      break;
    }
    case 6:
      setNetworkSettings(session, record);
      break;
    case 7:
      sendCommand(session, 0x29);
      break;
    case 8:
      commitChanges(session);
      break;
    default: {
      std::string group;
      static const std::string file = [] {
        const auto path = std::filesystem::temp_directory_path() / "session-fuzz-stream.txt";
        FILE* out = std::fopen(path.c_str(), "wb");
        if (out) {
          std::fputs("Model=ORV-D8\r\n", out);
          std::fclose(out);
        }
        return path.string();
      }();
      streamConfigFile(session, record, file, group);
      if (group.size() > 30) __builtin_trap();
      break;
    }
  }
  std::filesystem::remove(scratch);
  return 0;
}
