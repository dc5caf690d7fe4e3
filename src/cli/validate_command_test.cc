#include "cli/validate_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "config/validation.h"
#include "support/temp_folder.h"

namespace vantrell {
namespace {

struct CommandRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class Validate : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = folder_.path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string Golden(const std::string& name) {
    std::ifstream in(std::filesystem::path(VANTRELL_GOLDEN_DIR) / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static CommandRun Command(std::vector<std::string> words) {
    words.insert(words.begin(), "validate");
    const ParsedCommandLine parsed = ParseCommandLine(words);
    EXPECT_TRUE(parsed.options) << parsed.error;
    std::ostringstream out, err;
    Console console(out, err, true);
    CommandRun run;
    run.exitCode = RunValidateCommand(*parsed.options, console);
    run.out = out.str();
    run.err = err.str();
    return run;
  }
  test_support::TempFolder folder_{"validate"};
};

const std::string kHeader = "[Meshvault Server Configuration File]\r\n";

/// The message of a group on one line, as the text output shows it.
std::string OneLine(std::string_view group) {
  std::string text = ValidationMessageText(group);
  text[text.find('\n')] = ' ';
  return text;
}

TEST_F(Validate, EveryProblemIsALineWithFileLineAndKey) {
  std::string file = Golden("GenA2-sample.cfg");
  file.replace(file.find("Line 3 switch"), 13, std::string(40, 'n'));   // line 10
  file.replace(file.find("Port3_Speed\t\t3"), 14, "Port3_Speed\t\t9");  // line 109
  const std::string path = Write("a2.cfg", file);
  const CommandRun run = Command({path, "--firmware", "1.2"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, path + ":10: SwitchName: " + OneLine("system") + "\n" + path +
                         ":109: Port3_Speed: " + OneLine("port") + "\n");
  EXPECT_TRUE(run.err.empty()) << run.err;

  const CommandRun json = Command({path, "--firmware=1.2", "--json"});
  EXPECT_EQ(json.exitCode, 1);
  const auto array = nlohmann::json::parse(json.out);
  ASSERT_EQ(array.size(), 2u);
  EXPECT_EQ(array[1], (nlohmann::json{{"file", path},
                                      {"line", 109},
                                      {"key", "Port3_Speed"},
                                      {"group", "port"},
                                      {"message", ValidationMessageText("port")}}));
}

TEST_F(Validate, CleanFilesAndTheModularModelsNote) {
  const std::string a2 = Write("clean.cfg", Golden("GenA2-sample-lists.cfg"));
  const CommandRun clean = Command({a2, "--firmware", "1.1.1"});
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_EQ(clean.out, a2 + ": no problems found\n");
  EXPECT_EQ(Command({"--json", a2, "--firmware", "1.1.1"}).out, "[]\n");

  const std::string m1 = Write("m1.cfg", Golden("GenM1-sample.cfg"));
  const CommandRun modular = Command({m1});
  EXPECT_EQ(modular.exitCode, 0);
  EXPECT_EQ(modular.out, m1 + ": " + kWithoutPortMasksNote + "\n" + m1 + ": no problems found\n");
  const CommandRun modularJson = Command({m1, "--json"});
  EXPECT_EQ(modularJson.out, "[]\n");
  EXPECT_EQ(modularJson.err, m1 + ": " + kWithoutPortMasksNote + "\n");
}

TEST_F(Validate, CrossChecksTiedToNoLineHaveNoLineNumber) {
  const std::string path = Write("zero.cfg", Golden("GenM1-zero.cfg"));
  const CommandRun run = Command({path});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.out.find("\n" + path + ":588: QueryTimePeriod: " + OneLine("time") + "\n"),
            std::string::npos);
  // The last lines are the cross-checks: "FILE: KEY: message".
  const std::size_t last = run.out.rfind('\n', run.out.size() - 2);
  EXPECT_TRUE(run.out.substr(last + 1).starts_with(path + ": ")) << run.out.substr(last + 1);
}

TEST_F(Validate, UsageErrorsExitTwoWithTheirTexts) {
  const std::string d8 = Write("d8.cfg", kHeader + "ModelName\tORV-D8\r\n");
  auto refused = [](const CommandRun& run, const std::string& message) {
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err, message + "\n");
    EXPECT_TRUE(run.out.empty());
  };
  refused(Command({d8}), d8 + ": ORV-D8 has several firmware generations; give --firmware X.Y.Z: "
                              "GenD1 1.0 to 1.4, GenD2 1.4.1 to 1.5, GenD3 1.5.1 to 2.0.5, GenD4 "
                              "2.0.6 and later");
  EXPECT_EQ(Command({d8, "--firmware", "2.0.6"}).exitCode, 0);
  refused(Command({d8, "--firmware", "2.0.6.1"}),
          "--firmware: '2.0.6.1' is not a firmware version (X.Y or X.Y.Z, hexadecimal fields "
          "as the information pane shows them)");
  const std::string a8 = Write("a8.cfg", kHeader + "ModelName ORV-A8-F1\r\n");
  refused(Command({a8, "--firmware", "0.8"}),
          a8 + ": no generation of ORV-A8-F1 serves firmware 0.8: GenA1 0.9 to 1.1, GenA2 "
               "1.1.1 and later");
  refused(Command({Write("h.cfg", "[Meshvault]\r\nModelName ORV-D8\r\n"), "--firmware", "2.0.6"}),
          folder_.path().string() + "/h.cfg: File format error.");
  refused(Command({Write("m.cfg", kHeader + "# ModelName ORV-D8\r\n"), "--firmware", "2.0.6"}),
          folder_.path().string() +
              "/m.cfg: Model type mismatch ! (no ModelName line naming a "
              "model)");
  refused(Command({Write("u.cfg", kHeader + "ModelName ORV-X9\r\n")}),
          folder_.path().string() + "/u.cfg: unknown model 'ORV-X9' in the ModelName line");
  refused(Command({Write("e.cfg", "")}), folder_.path().string() + "/e.cfg: the file is empty");
  refused(Command({}), "usage: vantrell validate FILE [--firmware X.Y.Z]");
  refused(Command({d8, "--no-open"}), "option --no-open does not apply to validate");
  const CommandRun json = Command({"--json", folder_.path().string()});
  EXPECT_EQ(json.exitCode, 2);
  EXPECT_EQ(nlohmann::json::parse(json.out)["error"],
            folder_.path().string() + ": not a regular file");
}

}  // namespace
}  // namespace vantrell
