#include "ops/offline_validation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantrell {

void PrintTo(const OfflineProblem& p, std::ostream* out) {
  *out << p.line << " " << p.key << " " << p.groupName;
}

namespace {

using namespace validation;

std::string Golden(const std::string& name) {
  std::ifstream in(std::filesystem::path(VANTRELL_GOLDEN_DIR) / name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// The file with the value of the first line of `key` replaced; `line` gets
/// that line's number.
std::string WithValue(std::string file, const std::string& key, const std::string& value,
                      int& line) {
  const std::size_t at = file.find("\r\n" + key + "\t");
  EXPECT_NE(at, std::string::npos) << key;
  std::size_t valueAt = at + 2 + key.size();
  while (file[valueAt] == '\t') ++valueAt;
  file.replace(valueAt, file.find("\r\n", valueAt) - valueAt, value);
  line = 2 + static_cast<int>(std::count(file.begin(), file.begin() + at, '\n'));
  return file;
}

/// The problems of `after` that `before` does not have.
std::vector<OfflineProblem> Added(const OfflineValidation& before, const OfflineValidation& after) {
  std::vector<OfflineProblem> added;
  for (const OfflineProblem& problem : after.problems) {
    if (std::find(before.problems.begin(), before.problems.end(), problem) ==
        before.problems.end()) {
      added.push_back(problem);
    }
  }
  return added;
}

struct FamilyCase {
  const char* file;
  std::optional<std::uint32_t> firmware;
  Generation generation;
  const char* firstKey;  ///< gets 300 letters, or an address that is none
  ValidationFlags firstGroup;
  const char* firstGroupName;
  const char* portKey;  ///< gets speed 9
};

TEST(OfflineValidation, TwoBadValuesOfTwoGroupsAreTwoProblemsWithTheirLinesAndKeys) {
  const FamilyCase cases[] = {
      {"GenD4-zero.cfg", 0x02000600, Generation::kGenD4, "Location", kSystem, "system",
       "Port3_Speed"},
      {"GenA1-zero.cfg", 0x01000000, Generation::kGenA1, "IPAddress", kNetwork, "network",
       "Port3_Speed"},
      {"GenA2-sample.cfg", 0x01020000, Generation::kGenA2, "SwitchName", kSystem, "system",
       "Port3_Speed"},
      {"GenM1-sample-lists.cfg", std::nullopt, Generation::kGenM1, "SwitchName", kSystem, "system",
       "Port_1-3_Speed"},
  };
  for (const FamilyCase& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string exported = Golden(c.file);
    ASSERT_FALSE(exported.empty());
    const OfflineValidation before = ValidateConfigurationFile(exported, c.firmware);
    ASSERT_EQ(before.refusal, OfflineRefusal::kNone);
    EXPECT_EQ(before.generation->generation, c.generation);
    int firstLine = 0, portLine = 0;
    const std::string bad = c.firstGroup == kNetwork ? "300.1.2.3" : std::string(300, 'n');
    const std::string edited =
        WithValue(WithValue(exported, c.firstKey, bad, firstLine), c.portKey, "9", portLine);
    const OfflineValidation after = ValidateConfigurationFile(edited, c.firmware);
    ASSERT_EQ(after.refusal, OfflineRefusal::kNone);
    std::vector<OfflineProblem> expected = {
        {firstLine, c.firstKey, c.firstGroup, c.firstGroupName,
         ValidationMessageText(c.firstGroupName)},
        {portLine, c.portKey, kPort, "port", ValidationMessageText("port")}};
    if (portLine < firstLine) std::swap(expected[0], expected[1]);  // by line
    EXPECT_EQ(Added(before, after), expected);
    EXPECT_EQ(after.problems.size(), before.problems.size() + 2);
  }
}

TEST(OfflineValidation, SampleExportsHaveNoProblemsAndTheModularModelSaysHowItWasRead) {
  const OfflineValidation a2 =
      ValidateConfigurationFile(Golden("GenA2-sample-lists.cfg"), 0x01010100);
  EXPECT_EQ(a2.refusal, OfflineRefusal::kNone);
  EXPECT_EQ(a2.modelId, 0x0508);  // the A8 name's 0x05 line
  EXPECT_EQ(a2.fileModelName, "ORV-A8");
  EXPECT_TRUE(a2.problems.empty());
  EXPECT_FALSE(a2.withoutDevicePortMasks);

  const OfflineValidation m1 = ValidateConfigurationFile(Golden("GenM1-sample.cfg"), std::nullopt);
  EXPECT_EQ(m1.refusal, OfflineRefusal::kNone);
  EXPECT_EQ(m1.modelId, 0x0726);
  EXPECT_EQ(m1.firmwareVersion, 0x00000100u);
  EXPECT_TRUE(m1.withoutDevicePortMasks);
  EXPECT_TRUE(m1.problems.empty());
}

TEST(OfflineValidation, ProblemsComeByLineWithThoseOfNoLineLast) {
  // Zero blocks break cross-checks as well as single values.
  const OfflineValidation zero = ValidateConfigurationFile(Golden("GenM1-zero.cfg"), std::nullopt);
  ASSERT_GT(zero.problems.size(), 2u);
  bool noLineSeen = false;
  for (std::size_t i = 1; i < zero.problems.size(); ++i) {
    const OfflineProblem& p = zero.problems[i];
    if (p.line == 0) noLineSeen = true;
    if (noLineSeen) {
      EXPECT_EQ(p.line, 0) << p.key;
    } else {
      EXPECT_GE(p.line, zero.problems[i - 1].line) << p.key;
    }
  }
}

TEST(OfflineValidation, FileTestsAndGenerationChoiceRefuse) {
  const std::string header = "[Meshvault Server Configuration File]\r\n";
  auto refusal = [](const std::string& file, std::optional<std::uint32_t> firmware) {
    return ValidateConfigurationFile(file, firmware).refusal;
  };
  EXPECT_EQ(refusal("\x1F\x8B\x08rest", 0x02000600), OfflineRefusal::kCompressed);
  EXPECT_EQ(refusal("[Meshvault Server Config\r\nModelName ORV-D8\r\n", 0x02000600),
            OfflineRefusal::kFileFormat);
  EXPECT_EQ(refusal(header + "# Model Name\r\n", 0x02000600), OfflineRefusal::kNoModelLine);
  EXPECT_EQ(refusal(header + "ModelName\r\n", 0x02000600), OfflineRefusal::kNoModelLine);
  const OfflineValidation unknown =
      ValidateConfigurationFile(header + "ModelName ORV-D8-G\r\n", 0x02000600);
  EXPECT_EQ(unknown.refusal, OfflineRefusal::kUnknownModel);
  EXPECT_EQ(unknown.fileModelName, "ORV-D8-G");
  EXPECT_EQ(refusal(header + "ModelName ORV-D8\r\n", std::nullopt),
            OfflineRefusal::kFirmwareNeeded);
  EXPECT_EQ(refusal(header + "ModelName ORV-R8-F1\r\n", 0x00080000),
            OfflineRefusal::kFirmwareOutOfRange);
  EXPECT_EQ(refusal(header + "ModelName ORV-M26\r\n", 0x00000000),
            OfflineRefusal::kFirmwareOutOfRange);
  const OfflineValidation d1 =
      ValidateConfigurationFile(header + "ModelName ORV-D8\r\n", 0x01040000);
  EXPECT_EQ(d1.refusal, OfflineRefusal::kNone);
  EXPECT_EQ(d1.generation->generation, Generation::kGenD1);
}

TEST(OfflineValidation, GroupsAndRangesAsShown) {
  EXPECT_EQ(DescribeGroup(kVlan).name, "802.1q VLAN");
  EXPECT_EQ(DescribeGroup(kVlan).message, ValidationMessageText("802.1q VLAN"));
  EXPECT_EQ(DescribeGroup(kPasswords).name, "passwords");
  EXPECT_EQ(DescribeGroup(kPasswords).message, "A password value breaks its rule.");
  EXPECT_EQ(DescribeGroup(kWrongFirstLine).name, "first line");
  EXPECT_EQ(DescribeGroup(0x40000000).name, "group 0x40000000");

  std::vector<std::string> ranges;
  for (const GenerationRow* row : GenerationsOfModel(0x6018)) {
    ranges.push_back(GenerationRangeText(*row));
  }
  EXPECT_EQ(ranges, (std::vector<std::string>{"GenD1 1.0 to 1.4", "GenD2 1.4.1 to 1.5",
                                              "GenD3 1.5.1 to 2.0.5", "GenD4 2.0.6 and later"}));
  ASSERT_EQ(GenerationsOfModel(0x0726).size(), 1u);
  EXPECT_EQ(GenerationRangeText(*GenerationsOfModel(0x0726)[0]), "GenM1 0.0.1 and later");
  EXPECT_TRUE(GenerationsOfModel(0x0580).empty());
}

}  // namespace
}  // namespace vantrell
