// Cost of the GenA1 configuration file, per file, with the list tables full
// (128 static multicast, 128 static unicast and 64 IGMP entries): the writer
// turning the block into its text, the reader applying that text to a block
// of another device, and, as the floor any reader pays, splitting the same
// text into lines.
//
//   gen_a1_files_bench [--benchmark_filter=Read]

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_block.h"
#include "config/gen_a1_layout.h"
#include "config/gen_a1_reader.h"
#include "config/gen_a1_writer.h"
#include "core/device_record.h"
#include "core/ipv4.h"
#include "split_lines.h"

namespace vantrell {
namespace {

using namespace item;

constexpr std::size_t kBlockSize = 8508;

void SetByte(ConfigBlock& block, std::size_t at, std::uint8_t value) { block.SetByteAt(at, value); }

/// The 64 IGMP entries for VIDs 1 to 64, with the device's own router
/// ports (`seed`) and the snooping bit: the reader updates the entries of
/// the VIDs it finds, it adds none.
void FillIgmp(ConfigBlock& block, std::size_t seed) {
  for (std::size_t n = 0; n < a1::kIgmpEntries; ++n) {
    const std::size_t at = a1::IgmpEntry(n);
    const auto word = static_cast<std::uint16_t>((n + 1) | a1::kIgmpSnoopingBit);
    SetByte(block, at, static_cast<std::uint8_t>(word));
    SetByte(block, at + 1, static_cast<std::uint8_t>(word >> 8));
    SetByte(block, at + a1::kIgmpRouterPortsAt, static_cast<std::uint8_t>((n + seed) % 256));
  }
}

/// Every entry of the three list tables in use, each with its own address.
void FillLists(ConfigBlock& block) {
  for (std::size_t n = 0; n < a1::kMulticastEntries; ++n) {
    const std::size_t at = a1::MulticastEntry(n);
    SetByte(block, at, 1);
    SetByte(block, at + a1::kMulticastPortsAt, static_cast<std::uint8_t>(n % 255 + 1));
    const std::uint8_t mac[6] = {
        0x01, 0x00, 0x5E, 0x10, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    for (std::size_t i = 0; i < 6; ++i) SetByte(block, at + a1::kMulticastMacAt + i, mac[i]);
  }
  for (std::size_t n = 0; n < a1::kUnicastEntries; ++n) {
    const std::size_t at = a1::UnicastEntry(n);
    SetByte(block, at, 1);
    SetByte(block, at + a1::kUnicastPortAt, static_cast<std::uint8_t>(n % 8));
    const std::uint8_t mac[6] = {
        0x00, 0x11, 0x22, 0x33, static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n)};
    for (std::size_t i = 0; i < 6; ++i) SetByte(block, at + a1::kUnicastMacAt + i, mac[i]);
    SetByte(block, at + a1::kUnicastPriorityAt, static_cast<std::uint8_t>(n % 4));
  }
  FillIgmp(block, 0);
}

/// A GenA1 device with a typical configuration, full list tables and its
/// exported file.
struct ExportedDevice {
  ExportedDevice() : block(kBlockSize) {
    record = MakeZeroRecord();
    record.modelId = 0x0508;
    SetFieldText(record.password, "benchpass");
    SetFieldText(record.smtpPassword, "mailpw");
    accessors.setText(block, D_CONF_ETH_NAMEA8, "Line 4 Switch");
    accessors.setText(block, D_CONF_ETH_LOCATIONA8, "Hall 2");
    accessors.setNumber(block, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10));
    accessors.setNumber(block, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
    accessors.setNumber(block, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 1, 254));
    accessors.setText(block, D_CONF_ETH_WARN_SMTPSrv, "smtp.example.net");
    for (int k = 1; k <= 4; ++k) {
      accessors.setText(block, WarnTo(k), "ops" + std::to_string(k) + "@example.net");
    }
    for (int p = 1; p <= 8; ++p) {
      const auto n = static_cast<std::uint32_t>(p);
      accessors.setNumber(block, PcfgSpeed(p), n % 5);
      accessors.setNumber(block, WarnPortLoad(p), 10 * n);
      accessors.setNumber(block, SpanPathCost(p), 100 + n);
    }
    FillLists(block);
    ConfigBlock copy = block;
    WriteGenA1ConfigFile(file, record, copy, accessors);
  }
  DeviceRecord record;
  ConfigBlock block;
  GenA1Accessors accessors;
  std::string file;
};

void Label(benchmark::State& state, const ExportedDevice& device) {
  state.SetLabel(std::to_string(device.file.size()) + " bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.file.size()));
}

void BM_GenA1WriteFile(benchmark::State& state) {
  ExportedDevice device;
  std::string text;
  text.reserve(device.file.size());
  for (auto _ : state) {
    text.clear();
    ConfigBlock block = device.block;
    WriteGenA1ConfigFile(text, device.record, block, device.accessors);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != device.file) state.SkipWithError("the written file differs");
  Label(state, device);
}

void BM_GenA1ReadFile(benchmark::State& state) {
  const ExportedDevice device;
  ConfigBlock other(kBlockSize);
  FillIgmp(other, 7);
  ConfigBlock target = other;
  GenA1Accessors accessors;
  DeviceRecord record = device.record;
  ValidationFlags flags = 0;
  for (auto _ : state) {
    state.PauseTiming();
    target = other;
    state.ResumeTiming();
    flags = readGenA1ConfigFile(record, target, device.file, accessors);
    benchmark::DoNotOptimize(target.bytes().data());
  }
  if (flags != 0) state.SkipWithError("the reader refused the device's own file");
  std::string again;
  WriteGenA1ConfigFile(again, device.record, target, accessors);
  if (again != device.file) state.SkipWithError("the read block exports another file");
  Label(state, device);
}

/// The floor: the file cut at its line ends into views.
void BM_GenA1SplitLines(benchmark::State& state) {
  const ExportedDevice device;
  std::vector<std::string_view> lines;
  lines.reserve(4096);
  for (auto _ : state) {
    SplitLines(device.file, lines);
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
  Label(state, device);
}

BENCHMARK(BM_GenA1WriteFile);
BENCHMARK(BM_GenA1ReadFile);
BENCHMARK(BM_GenA1SplitLines);

}  // namespace
}  // namespace vantrell
