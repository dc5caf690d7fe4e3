// Pins every generation's file writer and reader to checked-in files: the
// export of several blocks per generation (realistic samples, list tables,
// trunks, empty slots, all-zero, all-ones and pseudo-random bytes for the
// edge values) and the block an import of each export, and of an edited
// export, stores into a device that held other values. A change to any
// writer, reader or accessor that moves one byte of a file or a stored
// block fails here.
//
// After a deliberate change of output, rewrite the files with
//   VANTRELL_UPDATE_GOLDEN=1 build/src/config/config_test --gtest_filter='GoldenFiles*'
// and review the diff of src/config/golden/ before committing it.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/gen_a2_sample.h"
#include "config/gen_m1_sample_block.h"
#include "config/version_handlers.h"
#include "core/device_record.h"
#include "core/ipv4.h"

namespace vantrell {
namespace {

/// One block of a generation, by name.
struct NamedBlock {
  std::string name;
  ConfigBlock block;
};

/// One generation's case: the row that serves it, the record the export
/// sees, its blocks, and the edits the edited import makes to the file.
struct GoldenGeneration {
  int row;  ///< number of the version handler row
  std::uint16_t modelId;
  std::uint32_t firmware;
  std::vector<NamedBlock> blocks;
  DeviceRecord record;
  /// Key and new value of the lines the edited import changes.
  std::vector<std::pair<std::string, std::string>> edits;
};

std::filesystem::path GoldenDir() { return VANTRELL_GOLDEN_DIR; }

bool Updating() { return std::getenv("VANTRELL_UPDATE_GOLDEN") != nullptr; }

/// A block of `size` bytes from a fixed 32-bit linear congruential sequence.
ConfigBlock PseudoRandomBlock(std::size_t size, std::uint32_t seed) {
  ConfigBlock block(size);
  std::uint32_t state = seed;
  for (std::uint8_t& byte : block.bytes()) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  return block;
}

ConfigBlock FilledBlock(std::size_t size, std::uint8_t value) {
  ConfigBlock block(size);
  for (std::uint8_t& byte : block.bytes()) byte = value;
  return block;
}

/// The blocks every generation is exported from.
std::vector<NamedBlock> EdgeBlocks(std::size_t size) {
  std::vector<NamedBlock> blocks;
  blocks.push_back({"zero", FilledBlock(size, 0x00)});
  blocks.push_back({"ones", FilledBlock(size, 0xFF)});
  blocks.push_back({"random1", PseudoRandomBlock(size, 1)});
  blocks.push_back({"random2", PseudoRandomBlock(size, 2)});
  return blocks;
}

DeviceRecord SwitchRecord(std::uint16_t modelId, std::uint32_t firmware) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.firmwareVersion = firmware;
  SetFieldText(record.password, "goldenpw1");
  SetFieldText(record.smtpPassword, "mailpw");
  record.portMask = 0x3FFFFFFF;
  return record;
}

std::vector<GoldenGeneration> Generations() {
  std::vector<GoldenGeneration> generations;
  const auto d8Edits = std::vector<std::pair<std::string, std::string>>{
      {"ServerName", "edited name"}, {"Location", "edited location"},
      {"IPAddress", "10.1.2.3"},   {"DHCP", "1"}};
  const std::pair<int, std::uint32_t> d8Rows[] = {
      {3, 0x01020000}, {4, 0x01040100}, {5, 0x01050100}, {6, 0x02000600}};
  for (const auto& [row, firmware] : d8Rows) {
    GoldenGeneration g{row, 0x6008, firmware, {}, SwitchRecord(0x6008, firmware), d8Edits};
    g.blocks = EdgeBlocks(VersionHandlerTable()[row - 1].blockSize());
    generations.push_back(std::move(g));
  }

  const auto a8Edits = std::vector<std::pair<std::string, std::string>>{
      {"SwitchName", "edited name"}, {"Location", "edited location"},
      {"IPAddress", "10.1.2.3"},   {"AUTOIP", "1"}};
  GoldenGeneration a1{1, 0x0508, 0x01000000, {}, SwitchRecord(0x0508, 0x01000000), a8Edits};
  a1.blocks = EdgeBlocks(VersionHandlerTable()[0].blockSize());
  generations.push_back(std::move(a1));

  GoldenGeneration a2{2, 0x0508, 0x01020000, {}, SwitchRecord(0x0508, 0x01020000), a8Edits};
  a2.blocks = EdgeBlocks(VersionHandlerTable()[1].blockSize());
  a2.blocks.push_back({"sample", MakeGenA2SampleBlock()});
  a2.blocks.push_back({"sample-variant1", MakeGenA2SampleBlock({.variant = 1})});
  a2.blocks.push_back({"sample-trunking", MakeGenA2SampleBlock({.trunking = true})});
  a2.blocks.push_back({"sample-lists", MakeGenA2SampleBlock({.fillLists = true})});
  generations.push_back(std::move(a2));

  GoldenGeneration m1{7, 0x0726, 0x01000000, {}, gen_m1::SampleRecord(), a8Edits};
  m1.record.firmwareVersion = 0x01000000;
  m1.blocks = EdgeBlocks(VersionHandlerTable()[6].blockSize());
  m1.blocks.push_back({"sample", gen_m1::SampleBlock()});
  m1.blocks.push_back({"sample-lists", gen_m1::SampleBlock({.fullLists = true})});
  m1.blocks.push_back(
      {"sample-empty-slots", gen_m1::SampleBlock({.allSlotsPopulated = false, .trunks = false})});
  generations.push_back(std::move(m1));
  return generations;
}

std::string GenerationTag(const GoldenGeneration& g) {
  return std::string(GenerationName(VersionHandlerTable()[g.row - 1].generation));
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// Compares `actual` with the golden file `name`, or rewrites the file.
void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::filesystem::path path = GoldenDir() / name;
  if (Updating()) {
    std::ofstream(path, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(path)) << "missing golden file " << path;
  const std::string expected = ReadWhole(path);
  if (expected == actual) return;
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  ADD_FAILURE() << name << " differs from its golden file at byte " << at << " (golden "
                << expected.size() << " bytes, now " << actual.size() << ")";
}

std::string ExportOf(const GoldenGeneration& g, const ConfigBlock& source) {
  const VersionHandlerRow& row = VersionHandlerTable()[g.row - 1];
  auto accessors = row.makeAccessors();
  ConfigBlock block = source;
  DeviceRecord record = g.record;
  std::string text;
  row.writeConfigFile(text, record, block, *accessors);
  return text;
}

/// The file with the value of the first line of each edited key replaced.
std::string Edited(std::string text, const GoldenGeneration& g) {
  for (const auto& [key, value] : g.edits) {
    const std::string start = "\r\n" + key + "\t";
    const std::size_t at = text.find(start);
    if (at == std::string::npos) continue;
    std::size_t valueAt = at + start.size();
    while (valueAt < text.size() && text[valueAt] == '\t') ++valueAt;
    const std::size_t end = text.find("\r\n", valueAt);
    text.replace(valueAt, end - valueAt, value);
  }
  return text;
}

/// What an import leaves: the reader's flags, the record's address settings
/// and password, and every run of stored bytes that differs from the
/// device's block before the import, as "offset: hex bytes".
std::string ImportResult(const GoldenGeneration& g, const std::string& file,
                         const ConfigBlock& target) {
  const VersionHandlerRow& row = VersionHandlerTable()[g.row - 1];
  auto accessors = row.makeAccessors();
  ConfigBlock block = target;
  DeviceRecord edited = g.record;
  const std::uint32_t flags = row.readConfigFile(edited, block, file, *accessors);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", flags);
  std::string out = "flags " + std::string(hex) + "\n";
  out += "ip " + FormatIpv4(edited.ipAddr) + " dhcp " + std::to_string(edited.ipConfigFlags) +
         " netmask " + FormatIpv4(edited.netmask) + " gateway " + FormatIpv4(edited.gateway) +
         "\n";
  out += "password " + std::string(FieldText(edited.password)) + "\n";
  const auto stored = block.bytes();
  const auto before = target.bytes();
  for (std::size_t at = 0; at < stored.size();) {
    if (stored[at] == before[at]) {
      ++at;
      continue;
    }
    out += std::to_string(at) + ":";
    for (; at < stored.size() && stored[at] != before[at]; ++at) {
      std::snprintf(hex, sizeof hex, " %02x", stored[at]);
      out += hex;
    }
    out += "\n";
  }
  return out;
}

TEST(GoldenFiles, EveryGenerationExportsItsBlocksAsPinned) {
  for (const GoldenGeneration& g : Generations()) {
    for (const NamedBlock& source : g.blocks) {
      SCOPED_TRACE(GenerationTag(g) + " " + source.name);
      ExpectGolden(GenerationTag(g) + "-" + source.name + ".cfg", ExportOf(g, source.block));
    }
  }
}

TEST(GoldenFiles, EveryGenerationStoresImportsAsPinned) {
  for (const GoldenGeneration& g : Generations()) {
    // The device the files are imported into holds other values than any
    // exported block.
    const ConfigBlock target =
        PseudoRandomBlock(VersionHandlerTable()[g.row - 1].blockSize(), 99);
    for (const NamedBlock& source : g.blocks) {
      SCOPED_TRACE(GenerationTag(g) + " " + source.name);
      const std::string file = ExportOf(g, source.block);
      const std::string tag = GenerationTag(g) + "-" + source.name;
      ExpectGolden(tag + ".import", ImportResult(g, file, target));
      ExpectGolden(tag + "-edited.import", ImportResult(g, Edited(file, g), target));
    }
  }
}

}  // namespace
}  // namespace vantrell
