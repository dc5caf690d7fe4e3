// Cost of the D8 configuration files, per generation and per file: the
// writer turning a filled block into its text, the generation's reader
// applying that text to a block, and, as the floor any reader pays, splitting
// the same text into lines.
//
//   config_files_bench [--benchmark_filter=GenD2]

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_block.h"
#include "config/gen_d_layouts.h"
#include "config/gen_d_readers.h"
#include "config/gen_d_writers.h"
#include "core/device_record.h"
#include "core/ipv4.h"
#include "split_lines.h"

namespace vantrell {
namespace {

using namespace item;

/// A D8 device with a typical configuration and its exported file.
struct ExportedDevice {
  explicit ExportedDevice(Generation g)
      : generation(g), block(blockSize(g)), accessors(MakeGenDAccessors(g)) {
    record = MakeZeroRecord();
    record.modelId = 0x6008;
    SetFieldText(record.password, "benchpw");
    Fill();
    if (!WriteGenDConfigFile(g, file, record, block, *accessors)) std::abort();
  }

  void Fill() {
    accessors->setNumber(block, D_CONF_ETH_FLAG_DHCP, 1);
    accessors->setNumber(block, D_CONF_ETH_IPADDR, MakeIpv4(192, 168, 1, 10));
    accessors->setNumber(block, D_CONF_ETH_IPMASK, MakeIpv4(255, 255, 255, 0));
    accessors->setNumber(block, D_CONF_ETH_GATEWAY, MakeIpv4(192, 168, 1, 254));
    accessors->setNumber(block, D_CONF_ETH_DNSSIP, MakeIpv4(8, 8, 8, 8));
    accessors->setText(block, D_CONF_ETH_TRAPS, "trap.example.net");
    accessors->setText(block, D_CONF_ETH_COMMUNITY, "public");
    accessors->setText(block, D_CONF_ETH_USERNAME, "operator");
    accessors->setText(block, D_CONF_ETH_NAME, "Line 4 Switch");
    accessors->setText(
        block, generation == Generation::kGenD4 ? D_CONF_ETH_LOCATION : D_CONF_ETH_LOCATION_OLD,
        "Hall 2");
    accessors->setText(block, D_CONF_ETH_WARN_SMTPSrv, "smtp.example.net");
    for (int k = 1; k <= 4; ++k) {
      accessors->setText(block, WarnTo(k), "ops" + std::to_string(k) + "@example.net");
    }
    for (int p = 1; p <= 8; ++p) {
      const auto n = static_cast<std::uint32_t>(p);
      accessors->setNumber(block, PcfgSpeed(p), n % 5);
      accessors->setNumber(block, PcfgDevIp(p), MakeIpv4(10, 0, 0, static_cast<std::uint8_t>(p)));
      accessors->setNumber(block, WarnPortLoad(p), 10 * n);
      accessors->setNumber(block, WarnPortLoadTime(p), 5 * n);
      accessors->setNumber(block, SpanPathCost(p), 100 + n);
    }
    accessors->setNumber(block, D_CONF_ETH_SPAN_HELLO_TIME, 2);
    accessors->setNumber(block, D_CONF_ETH_SPAN_MAX_AGE, 20);
    accessors->setNumber(block, D_CONF_ETH_SPAN_FD_DELAY, 15);
    accessors->setNumber(block, D_CONF_ETH_SPAN_BRIDGE_ID, 32768);
  }

  Generation generation;
  ConfigBlock block;
  std::unique_ptr<ItemAccessors> accessors;
  DeviceRecord record;
  std::string file;
};

Generation GenerationOf(const benchmark::State& state) {
  return static_cast<Generation>(state.range(0));
}

void Label(benchmark::State& state, const ExportedDevice& device) {
  state.SetLabel(std::string(GenerationName(device.generation)) + ", " +
                 std::to_string(device.file.size()) + " bytes");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.file.size()));
}

void BM_WriteFile(benchmark::State& state) {
  ExportedDevice device(GenerationOf(state));
  std::string text;
  text.reserve(device.file.size());
  for (auto _ : state) {
    text.clear();
    WriteGenDConfigFile(device.generation, text, device.record, device.block, *device.accessors);
    benchmark::DoNotOptimize(text.data());
  }
  Label(state, device);
}

void BM_ReadFile(benchmark::State& state) {
  const ExportedDevice device(GenerationOf(state));
  const GenDConfigFileReader reader = GenDReaderFor(device.generation);
  ConfigBlock target(blockSize(device.generation));
  auto accessors = MakeGenDAccessors(device.generation);
  DeviceRecord record = device.record;
  for (auto _ : state) {
    const ValidationFlags result = reader(record, target, device.file, *accessors);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(target.bytes().data());
  }
  if (!(target == device.block)) state.SkipWithError("the read block differs from the written one");
  Label(state, device);
}

/// The floor: the file cut at its line ends into views.
void BM_SplitLines(benchmark::State& state) {
  const ExportedDevice device(GenerationOf(state));
  std::vector<std::string_view> lines;
  lines.reserve(1024);
  for (auto _ : state) {
    SplitLines(device.file, lines);
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
  Label(state, device);
}

void PerGeneration(benchmark::internal::Benchmark* b) {
  for (Generation g :
       {Generation::kGenD1, Generation::kGenD2, Generation::kGenD3, Generation::kGenD4}) {
    b->Arg(static_cast<int>(g));
  }
}

BENCHMARK(BM_WriteFile)->Apply(PerGeneration);
BENCHMARK(BM_ReadFile)->Apply(PerGeneration);
BENCHMARK(BM_SplitLines)->Apply(PerGeneration);

}  // namespace
}  // namespace vantrell
