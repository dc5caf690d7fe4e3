#include "cli/secrets.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "support/temp_folder.h"

namespace vantrell {
namespace {

/// Sources that answer from maps and record what was asked.
struct FakeSources {
  std::map<std::string, std::string> environment;
  std::vector<std::string> answers;  ///< what the terminal gives, in order
  std::map<std::string, std::string> files;
  std::vector<std::string> prompts;

  SecretSources Make() {
    return {[this](const char* name) -> std::optional<std::string> {
              const auto it = environment.find(name);
              if (it == environment.end()) return std::nullopt;
              return it->second;
            },
            [this](const std::string& prompt) -> std::optional<std::string> {
              prompts.push_back(prompt);
              if (answers.empty()) return std::nullopt;
              std::string answer = answers.front();
              answers.erase(answers.begin());
              return answer;
            },
            [this](const std::string& path, std::string& error) -> std::optional<std::string> {
              const auto it = files.find(path);
              if (it == files.end()) {
                error = "cannot read " + path;
                return std::nullopt;
              }
              return it->second;
            }};
  }
};

CliOptions Options(std::vector<std::string> words) {
  return ParseCommandLine(words).options.value_or(CliOptions{});
}

TEST(Secrets, OptionBeatsEnvironmentAndArgumentsEarnAWarning) {
  FakeSources sources;
  sources.environment = {{"VANTRELL_PASSWORD", "from-env"},
                         {"VANTRELL_KAVEX_PASSWORD", "cam-env"},
                         {"VANTRELL_NEW_PASSWORD", "new-env"}};
  CliOptions options = Options({"passwd", "10.0.0.5", "--password", "typed"});
  const SecretResolution result = ResolveSecrets(options, sources.Make());
  EXPECT_FALSE(result.error);
  EXPECT_EQ(options.password, "typed");
  EXPECT_EQ(options.kavexPassword, "cam-env");
  EXPECT_EQ(options.Value("--new"), "new-env");
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_EQ(result.warnings[0],
            "vantrell: warning: --password on the command line can be read by other local "
            "users; use VANTRELL_PASSWORD, --password-file FILE or --password -");
  EXPECT_TRUE(options.secrets.empty());

  CliOptions empty = Options({"unlock", "10.0.0.5", "--password", ""});
  const SecretResolution quiet = ResolveSecrets(empty, sources.Make());
  EXPECT_EQ(empty.password, "");
  EXPECT_TRUE(quiet.warnings.empty());
}

TEST(Secrets, FilesAndTheTerminalGiveNoWarning) {
  FakeSources sources;
  sources.environment = {{"VANTRELL_PASSWORD", "from-env"}};
  sources.files = {{"/run/pw", "from-file"}, {"/run/new", ""}};
  sources.answers = {"cam-typed"};
  CliOptions options = Options({"passwd", "10.0.0.5", "--password-file", "/run/pw",
                                "--new-password-file", "/run/new", "--kavex-password", "-"});
  const SecretResolution result = ResolveSecrets(options, sources.Make());
  EXPECT_FALSE(result.error);
  EXPECT_TRUE(result.warnings.empty());
  EXPECT_EQ(options.password, "from-file");
  EXPECT_EQ(options.kavexPassword, "cam-typed");
  // An empty new password is a password (it turns protection off).
  EXPECT_EQ(options.Value("--new"), "");
  EXPECT_FALSE(options.Value("--new-password-file"));
  EXPECT_EQ(sources.prompts, std::vector<std::string>{"Video-server password: "});
}

TEST(Secrets, NewPasswordComesFromTheEnvironmentForPasswdOnly) {
  FakeSources sources;
  sources.environment = {{"VANTRELL_NEW_PASSWORD", "new-env"}};
  CliOptions netconf = Options({"netconf", "10.0.0.5", "--ip", "10.0.0.6"});
  EXPECT_FALSE(ResolveSecrets(netconf, sources.Make()).error);
  EXPECT_FALSE(netconf.Value("--new"));
  CliOptions passwd = Options({"passwd", "10.0.0.5", "--new", "-"});
  sources.answers = {"asked"};
  EXPECT_FALSE(ResolveSecrets(passwd, sources.Make()).error);
  EXPECT_EQ(passwd.Value("--new"), "asked");
  EXPECT_EQ(sources.prompts, std::vector<std::string>{"New password: "});
}

TEST(Secrets, Refusals) {
  FakeSources sources;
  const auto errorOf = [&](std::vector<std::string> words) {
    CliOptions options = Options(std::move(words));
    return ResolveSecrets(options, sources.Make()).error.value_or("<none>");
  };
  EXPECT_EQ(errorOf({"info", "x", "--password", "a", "--password-file", "f"}),
            "give only one of --password and --password-file");
  EXPECT_EQ(errorOf({"info", "x", "--password-file", "/missing"}), "cannot read /missing");
  EXPECT_EQ(errorOf({"info", "x", "--password", "-"}), "no password read for --password");
  // 16 characters pass, 17 do not, whatever the source.
  EXPECT_EQ(errorOf({"passwd", "x", "--new", "sixteen-chars-ok"}), "<none>");
  EXPECT_EQ(errorOf({"passwd", "x", "--new", "seventeen-chars-x"}),
            "--new is longer than 16 characters");
  sources.files = {{"/run/long", "seventeen-chars-x"}};
  EXPECT_EQ(errorOf({"unlock", "x", "--password-file", "/run/long"}),
            "--password-file is longer than 16 characters");
  sources.environment = {{"VANTRELL_PASSWORD", "seventeen-chars-x"}};
  EXPECT_EQ(errorOf({"unlock", "x"}), "VANTRELL_PASSWORD is longer than 16 characters");
  sources.environment.clear();
  // The video-server password is checked with its user name elsewhere (15 bytes).
  EXPECT_EQ(errorOf({"export", "x", "-", "--kavex-password", "seventeen-chars-x"}), "<none>");
}

class SecretFile : public testing::Test {
 protected:
  void Write(const std::string& text, mode_t mode) {
    std::filesystem::remove(path_);
    std::ofstream(path_, std::ios::binary) << text;
    ::chmod(path_.c_str(), mode);
  }
  test_support::TempFolder folder_{"secret"};
  const std::string path_ = folder_ / "pw";
};

TEST_F(SecretFile, FirstLineOfAPrivateFile) {
  std::string error;
  Write("s3cret\r\nsecond line\n", 0600);
  EXPECT_EQ(ReadSecretFile(path_, error), "s3cret");
  Write("no line end", 0400);
  EXPECT_EQ(ReadSecretFile(path_, error), "no line end");
  Write("", 0600);
  EXPECT_EQ(ReadSecretFile(path_, error), "");
  EXPECT_EQ(error, "");
}

TEST_F(SecretFile, FilesOthersMayReadAreRefusedByName) {
  for (const mode_t mode : {0640, 0604, 0644}) {
    Write("s3cret\n", mode);
    std::string error;
    EXPECT_FALSE(ReadSecretFile(path_, error));
    EXPECT_EQ(error, "password file " + path_ +
                         " can be read by group or others: make it private (chmod 600 " + path_ +
                         ")");
  }
  std::string error;
  EXPECT_FALSE(ReadSecretFile("/", error));
  EXPECT_EQ(error, "password file / is not a regular file");
  EXPECT_FALSE(ReadSecretFile(path_ + ".missing", error));
  EXPECT_EQ(error, "cannot read password file " + path_ + ".missing: No such file or directory");
}

}  // namespace
}  // namespace vantrell
