// Cost of the GenA2 configuration file, per file, with the largest list
// tables filled (64 VLAN and IGMP entries, 128 static multicast and 128
// static unicast entries): the writer turning the block into its text, the
// reader applying that text (validation and cross-checks included) to a
// block of another device, and, as the floor any reader pays, splitting the
// same text into lines.
//
//   gen_a2_files_bench [--benchmark_filter=Read]

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/gen_a2_layout.h"
#include "config/gen_a2_reader.h"
#include "config/gen_a2_sample.h"
#include "config/gen_a2_writer.h"
#include "core/device_record.h"
#include "split_lines.h"

namespace vantrell {
namespace {

/// A GenA2 device with full list tables and its exported file.
struct ExportedDevice {
  ExportedDevice() : block(MakeGenA2SampleBlock({0, false, true})) {
    record.modelId = 0x0508;
    SetFieldText(record.password, "benchpass");
    SetFieldText(record.smtpPassword, "mailpw");
    ConfigBlock copy = block;
    WriteGenA2ConfigFile(file, record, copy, accessors);
  }
  DeviceRecord record{};
  ConfigBlock block;
  GenA2Accessors accessors;
  std::string file;
};

void Label(benchmark::State& state, const ExportedDevice& device) {
  state.SetLabel(std::to_string(device.file.size()) + " bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.file.size()));
}

void BM_GenA2WriteFile(benchmark::State& state) {
  ExportedDevice device;
  std::string text;
  text.reserve(device.file.size());
  for (auto _ : state) {
    text.clear();
    WriteGenA2ConfigFile(text, device.record, device.block, device.accessors);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != device.file) state.SkipWithError("the written file differs");
  Label(state, device);
}

void BM_GenA2ReadFile(benchmark::State& state) {
  const ExportedDevice device;
  const ConfigBlock other = MakeGenA2SampleBlock({1, false, true});
  ConfigBlock target = other;
  GenA2Accessors accessors;
  ValidationFlags flags = 0;
  for (auto _ : state) {
    state.PauseTiming();
    target = other;
    state.ResumeTiming();
    flags = ReadGenA2File(device.record, target, device.file, accessors).flags;
    benchmark::DoNotOptimize(target.bytes().data());
  }
  if (flags != 0 || !(target == device.block)) {
    state.SkipWithError("the read block differs from the written one");
  }
  Label(state, device);
}

/// The floor: the file cut at its line ends into views.
void BM_GenA2SplitLines(benchmark::State& state) {
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

BENCHMARK(BM_GenA2WriteFile);
BENCHMARK(BM_GenA2ReadFile);
BENCHMARK(BM_GenA2SplitLines);

}  // namespace
}  // namespace vantrell
