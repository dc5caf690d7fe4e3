// Any bytes as a configuration file through the import's file tests: the
// gzip test, the header and model tests and the pre-scan of the address
// settings (the first input byte picks the device's model name and address
// mode). Besides the sanitizers' checks, the outcome must be what the C
// library's line reader finds on the same bytes (fread, fgets with a
// 128-byte buffer, sscanf "%s %s", inet_addr), and the pre-scan may change
// only the six address settings of the edited record.
#include <arpa/inet.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ops/config_import.h"

namespace {

using namespace vantrell;

constexpr const char* kModelNames[] = {"ORV-D8", "ORV-D8-G1", "", "ORV-A8-F1"};

void Check(bool ok) {
  if (!ok) std::abort();
}

/// What the C library finds.
struct Reference {
  ImportFileScan::Outcome outcome = ImportFileScan::Outcome::kFormatError;
  bool compressed = false;
  AddressChangeMask mask = 0;
  DeviceRecord edited{};
  bool flagsComparable = true;  ///< atoi left undefined territory
};

struct Tokens {
  char first[160];
  char second[160];
};

Tokens ScanLine(const char* line) {
  Tokens tokens{};
  std::sscanf(line, "%159s %159s", tokens.first, tokens.second);
  return tokens;
}

Ipv4 Address(const char* value, bool emptyIsZero) {
  if (*value == '\0' && emptyIsZero) return 0;
  return inet_addr(value);
}

void ReferencePreScan(std::FILE* file, const DeviceRecord& row, Reference& ref) {
  ref.edited = row;
  char line[128];
  int recognised = 0;
  while (recognised < 6 && std::fgets(line, sizeof line, file)) {
    if (line[0] == '#') continue;
    const Tokens t = ScanLine(line);
    auto take = [&](Ipv4& slot, Ipv4 value, Ipv4 device, AddressChangeMask bit) {
      slot = value;
      if (value != device) ref.mask |= bit;
    };
    if (std::strncmp(t.first, "AUTOIP", 6) == 0) {
      const long value = std::strtol(t.second, nullptr, 10);
      if (value < INT32_MIN || value > INT32_MAX) ref.flagsComparable = false;
      ref.edited.ipConfigFlags = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
      if (ref.edited.ipConfigFlags != row.ipConfigFlags) ref.mask |= address_change::kAutoIp;
    } else if (std::strncmp(t.first, "IPAddress", 9) == 0) {
      take(ref.edited.ipAddr, Address(t.second, false), row.ipAddr, address_change::kIpAddr);
    } else if (std::strncmp(t.first, "Netmask", 7) == 0) {
      take(ref.edited.netmask, Address(t.second, true), row.netmask, address_change::kNetmask);
    } else if (std::strncmp(t.first, "Gateway", 7) == 0) {
      take(ref.edited.gateway, Address(t.second, true), row.gateway, address_change::kGateway);
    } else if (std::strncmp(t.first, "DNSIP1", 6) == 0) {
      take(ref.edited.dns2, Address(t.second, true), row.dns2, address_change::kDns2);
    } else if (std::strncmp(t.first, "DNSIP", 5) == 0) {
      take(ref.edited.dns1, Address(t.second, true), row.dns1, address_change::kDns1);
    } else {
      continue;
    }
    ++recognised;
  }
}

Reference ReferenceScan(std::vector<char>& bytes, const DeviceRecord& row) {
  Reference ref;
  ref.edited = row;
  if (bytes.empty()) return ref;
  std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
  if (!file) std::abort();
  unsigned char magic[3] = {};
  if (std::fread(magic, 1, 3, file) == 3 && magic[0] == 0x1F && magic[1] == 0x8B &&
      magic[2] == 0x08) {
    ref.compressed = true;
  } else {
    std::rewind(file);
    char line[128];
    if (!std::fgets(line, sizeof line, file) ||
        std::strncmp(line, "[Meshvault Server Configuration File]", 36) != 0) {
      std::fclose(file);
      return ref;
    }
    bool matches = true;
    while (std::fgets(line, sizeof line, file)) {
      const Tokens t = ScanLine(line);
      if (std::strncmp(t.first, "ModelName", 9) != 0) continue;
      matches = std::strncmp(t.second, row.modelName, std::strlen(t.second)) == 0;
      break;
    }
    if (!matches) {
      ref.outcome = ImportFileScan::Outcome::kModelMismatch;
      std::fclose(file);
      return ref;
    }
  }
  ReferencePreScan(file, row, ref);
  ref.outcome = ImportFileScan::Outcome::kPassed;
  std::fclose(file);
  return ref;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 65536) return 0;
  const std::uint8_t control = data[0];
  DeviceRecord row = MakeZeroRecord();
  SetFieldText(row.modelName, kModelNames[control & 3]);
  row.ipConfigFlags = (control >> 2) & 3;
  row.ipAddr = MakeIpv4(192, 168, 10, 41);
  row.netmask = MakeIpv4(255, 255, 255, 0);
  row.gateway = (control & 0x10) ? 0 : MakeIpv4(192, 168, 10, 254);
  row.dns1 = MakeIpv4(192, 168, 10, 2);

  // The file as an exact-size heap copy, so a read past its end is caught.
  std::vector<char> bytes(data + 1, data + size);
  const ImportFileScan scan = ScanImportFile(std::string_view(bytes.data(), bytes.size()), row);

  // Only the six address settings may differ from the row's record.
  DeviceRecord rest = scan.edited;
  rest.ipConfigFlags = row.ipConfigFlags;
  rest.ipAddr = row.ipAddr;
  rest.netmask = row.netmask;
  rest.gateway = row.gateway;
  rest.dns1 = row.dns1;
  rest.dns2 = row.dns2;
  Check(rest == row);
  Check(scan.outcome == ImportFileScan::Outcome::kPassed || scan.mask == 0);

  std::vector<char> copy(bytes);
  const Reference ref = ReferenceScan(copy, row);
  Check(scan.outcome == ref.outcome);
  if (scan.outcome != ImportFileScan::Outcome::kPassed) return 0;
  Check(scan.compressed == ref.compressed);
  if (ref.flagsComparable) {
    Check(scan.mask == ref.mask);
    Check(scan.edited == ref.edited);
  } else {
    Check((scan.mask & ~address_change::kAutoIp) == (ref.mask & ~address_change::kAutoIp));
  }
  return 0;
}
