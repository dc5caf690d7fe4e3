#include "config/gen_d_readers.h"

#include "config/c_number_parse.h"
#include "config/config_item_ids.h"
#include "config/file_lookup.h"
#include "config/file_schema.h"

namespace vantrell {
namespace {

using namespace item;

/// Bits of the redundancy word (item 141) in GenD3 and GenD4.
constexpr std::uint32_t kRingOn = 0x02;
constexpr std::uint32_t kRingMaster = 0x10;
constexpr std::uint32_t kRingCoupling = 0x20;
constexpr std::uint32_t kRingWithOrvSeries = 0x40;  // GenD4: protocol 2

/// One pass of a D8 reader over one file: the schema's sections in file
/// order, and the redundancy word of GenD3 and GenD4, whose bits depend on
/// each other.
class GenDReader {
 public:
  GenDReader(Generation generation, DeviceRecord& edited, ConfigBlock& block,
             std::string_view fileText, ItemAccessors& accessors)
      : generation_(generation),
        file_(fileText),
        rows_(GenDSchema(), GenDSchemaContext(generation, edited.modelId), file_, edited, block,
              accessors, problems_),
        blockFits_(block.size() >= blockSize(generation) &&
                   accessors.blockSize() == blockSize(generation)) {}

  FileReadResult Run() {
    if (!blockFits_) {
      problems_.Add(0, {}, validation::kBlockRefused);
      return problems_.TakeResult();
    }
    for (const GenDSection section :
         {kGenDNetwork, kGenDServer, kGenDPorts, kGenDFastRecovery, kGenDDeviceIp, kGenDMirror,
          kGenDMailWarning, kGenDRelayWarning}) {
      rows_.ReadSection(section);
    }
    ReadRedundancy();
    return problems_.TakeResult();
  }

 private:
  void ReadRedundancy() {
    if (generation_ == Generation::kGenD1 || generation_ == Generation::kGenD2) {
      rows_.ReadSection(kGenDRedundancy);
      ReadSpanningTree();
      return;
    }
    // Without a protocol line the device's current word decides.
    std::uint32_t word = rows_.Current(kRedundancyWord).value_or(0);
    if (const auto protocol = rows_.Lookup("D_CONF_ETH_REDUN_PROTOCOL", ReadForm::kDecimal)) {
      word = RingWordFor(CAtoi(*protocol), word);
      rows_.Store(kRedundancyWord, word);
    }
    if ((word & kRingOn) == 0) {
      ReadSpanningTree();
      return;
    }
    ReadWordBit("D_CONF_ETH_REDUN_MASTER", kRingMaster, word);
    ReadWordBit("D_CONF_ETH_REDUN_COUPLING", kRingCoupling, word);
  }

  /// A ring switch: any value but 0 sets its bit, 0 clears it.
  void ReadWordBit(std::string_view constName, std::uint32_t bit, std::uint32_t& word) {
    const auto value = rows_.Lookup(constName, ReadForm::kDecimal);
    if (!value) return;
    word = CAtoi(*value) != 0 ? (word | bit) : (word & ~bit);
    rows_.Store(kRedundancyWord, word);
  }

  /// The redundancy word after the file's protocol value.
  std::uint32_t RingWordFor(std::int32_t protocol, std::uint32_t word) const {
    if (generation_ == Generation::kGenD3) return protocol != 0 ? kRingOn : (word & ~kRingOn);
    if (protocol == 1) return kRingOn;
    if (protocol == 2) return kRingOn | kRingWithOrvSeries;
    return word & ~kRingOn;
  }

  void ReadSpanningTree() {
    rows_.ReadSection(kGenDSpanningTree);
    rows_.ReadSection(kGenDSpanningTreePorts);
  }

  Generation generation_;
  ConfigFileLookup file_;
  FileProblemList problems_{ProblemPolicy::kListOnly};
  SchemaReader rows_;
  bool blockFits_;
};

}  // namespace

FileReadResult ReadGenDConfigFileWithProblems(Generation generation, DeviceRecord& edited,
                                              ConfigBlock& block, std::string_view fileText,
                                              ItemAccessors& accessors) {
  return GenDReader(generation, edited, block, fileText, accessors).Run();
}

ValidationFlags readGenD1ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenDConfigFileWithProblems(Generation::kGenD1, edited, block, fileText, accessors)
      .flags;
}

ValidationFlags readGenD2ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenDConfigFileWithProblems(Generation::kGenD2, edited, block, fileText, accessors)
      .flags;
}

ValidationFlags readGenD3ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenDConfigFileWithProblems(Generation::kGenD3, edited, block, fileText, accessors)
      .flags;
}

ValidationFlags readGenD4ConfigFile(DeviceRecord& edited, ConfigBlock& block,
                                    std::string_view fileText, ItemAccessors& accessors) {
  return ReadGenDConfigFileWithProblems(Generation::kGenD4, edited, block, fileText, accessors)
      .flags;
}

GenDConfigFileReader GenDReaderFor(Generation generation) {
  switch (generation) {
    case Generation::kGenD1:
      return readGenD1ConfigFile;
    case Generation::kGenD2:
      return readGenD2ConfigFile;
    case Generation::kGenD3:
      return readGenD3ConfigFile;
    case Generation::kGenD4:
      return readGenD4ConfigFile;
    default:
      return nullptr;
  }
}

}  // namespace vantrell
