// Cost of `vantrell validate` per file, without the file's reading from
// disk: the import's file tests, the generation's choice and the reader with
// its problem list on a fresh block, for the largest file of each family,
// against splitting the same file into lines. The D8 (GenD4) and GenA1 files
// are exports of all-ones blocks (every text at its longest; most values
// are problems), GenA2 and GenM1 the samples with every list table filled
// (GenM1 with all 30 ports), which have no problems.
//
//   validate_bench [--benchmark_filter=GenM1]

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "config/gen_a2_sample.h"
#include "config/gen_m1_sample_block.h"
#include "config/version_handlers.h"
#include "core/device_record.h"
#include "ops/offline_validation.h"
#include "split_lines.h"

namespace vantrell {
namespace {

struct Family {
  Generation generation;
  std::uint16_t modelId;
  std::uint32_t firmware;
};

constexpr Family kFamilies[] = {
    {Generation::kGenD4, 0x6008, 0x02000600},
    {Generation::kGenA1, 0x0508, 0x01000000},
    {Generation::kGenA2, 0x0508, 0x01020000},
    {Generation::kGenM1, 0x0726, 0x01000000},
};

ConfigBlock LargestBlock(Generation generation) {
  if (generation == Generation::kGenA2) return MakeGenA2SampleBlock({.fillLists = true});
  if (generation == Generation::kGenM1) return gen_m1::SampleBlock({.fullLists = true});
  ConfigBlock block(blockSize(generation));
  for (std::uint8_t& byte : block.bytes()) byte = 0xFF;
  return block;
}

/// The exported file of a family's largest block.
std::string ExportedFile(const Family& family) {
  HandlerSelection handlers = selectHandlers(family.modelId, family.firmware);
  if (!handlers || !handlers.row->writeConfigFile) std::abort();
  DeviceRecord record = family.generation == Generation::kGenM1
                            ? gen_m1::SampleRecord({.fullLists = true})
                            : MakeZeroRecord();
  record.modelId = family.modelId;
  record.firmwareVersion = family.firmware;
  SetFieldText(record.password, "benchpass");
  ConfigBlock block = LargestBlock(family.generation);
  std::string file;
  handlers.row->writeConfigFile(file, record, block, *handlers.accessors);
  return file;
}

const Family& FamilyOf(const benchmark::State& state) {
  return kFamilies[static_cast<std::size_t>(state.range(0))];
}

void Label(benchmark::State& state, const Family& family, const std::string& file,
           std::size_t problems) {
  state.SetLabel(std::string(GenerationName(family.generation)) + ", " +
                 std::to_string(file.size()) + " bytes, " + std::to_string(problems) + " problems");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void BM_Validate(benchmark::State& state) {
  const Family& family = FamilyOf(state);
  const std::string file = ExportedFile(family);
  std::size_t problems = 0;
  for (auto _ : state) {
    const OfflineValidation result = ValidateConfigurationFile(file, family.firmware);
    if (result.refusal != OfflineRefusal::kNone) {
      state.SkipWithError("the file was refused");
      return;
    }
    problems = result.problems.size();
    benchmark::DoNotOptimize(result.problems.data());
  }
  Label(state, family, file, problems);
}

/// The floor: the file cut at its line ends into views.
void BM_SplitLines(benchmark::State& state) {
  const Family& family = FamilyOf(state);
  const std::string file = ExportedFile(family);
  std::vector<std::string_view> lines;
  lines.reserve(8192);
  for (auto _ : state) {
    SplitLines(file, lines);
    benchmark::DoNotOptimize(lines.data());
    benchmark::ClobberMemory();
  }
  Label(state, family, file, 0);
}

BENCHMARK(BM_Validate)->DenseRange(0, 3);
BENCHMARK(BM_SplitLines)->DenseRange(0, 3);

}  // namespace
}  // namespace vantrell
