// Cost of the modular model's configuration file, per file: the writer
// turning a full block (all 30 ports present, every list table filled) into
// its text, the sequential reader applying that text to a block, and, as
// the floor any reader pays, splitting the same text into lines.
//
//   gen_m1_files_bench [--benchmark_filter=Read]

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "config/gen_m1_block.h"
#include "config/gen_m1_reader.h"
#include "config/gen_m1_sample_block.h"
#include "config/gen_m1_writer.h"
#include "split_lines.h"

namespace vantrell {
namespace {

/// A modular device with every port and every list table in use, and its file.
struct FullDevice {
  FullDevice() {
    gen_m1::SampleOptions options;
    options.fullLists = true;
    record = gen_m1::SampleRecord(options);
    block = gen_m1::SampleBlock(options);
    ConfigBlock copy = block;
    WriteGenM1ConfigFile(file, record, copy, accessors);
  }

  DeviceRecord record;
  ConfigBlock block;
  gen_m1::GenM1Accessors accessors;
  std::string file;
};

void Label(benchmark::State& state, const FullDevice& device) {
  state.SetLabel("GenM1, " + std::to_string(device.file.size()) + " bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.file.size()));
}

void BM_WriteFile(benchmark::State& state) {
  FullDevice device;
  std::string text;
  text.reserve(device.file.size());
  ConfigBlock block = device.block;
  for (auto _ : state) {
    text.clear();
    WriteGenM1ConfigFile(text, device.record, block, device.accessors);
    benchmark::DoNotOptimize(text.data());
  }
  if (text != device.file) state.SkipWithError("the file differs between runs");
  Label(state, device);
}

void BM_ReadFile(benchmark::State& state) {
  FullDevice device;
  ConfigBlock target = device.block;
  DeviceRecord record = device.record;
  ValidationFlags result = 0;
  for (auto _ : state) {
    result = ReadGenM1ConfigFile(record, target, device.file, device.accessors);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(target.bytes().data());
  }
  if (result != 0) state.SkipWithError("the reader refused the device's own file");
  Label(state, device);
}

/// The floor: the file cut at its line ends into views.
void BM_SplitLines(benchmark::State& state) {
  const FullDevice device;
  std::vector<std::string_view> lines;
  lines.reserve(4096);
  for (auto _ : state) {
    SplitLines(device.file, lines);
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
  Label(state, device);
}

BENCHMARK(BM_WriteFile);
BENCHMARK(BM_ReadFile);
BENCHMARK(BM_SplitLines);

}  // namespace
}  // namespace vantrell
