#include "cli/options.h"

#include <gtest/gtest.h>

namespace vantrell {
namespace {

CliOptions Parse(std::vector<std::string> words) {
  const ParsedCommandLine parsed = ParseCommandLine(words);
  EXPECT_TRUE(parsed.options) << parsed.error;
  return parsed.options.value_or(CliOptions{});
}

std::string ErrorOf(std::vector<std::string> words) {
  const ParsedCommandLine parsed = ParseCommandLine(words);
  EXPECT_FALSE(parsed.options);
  return parsed.error;
}

TEST(CommandLine, GlobalOptionsStandBeforeOrAfterTheCommand) {
  const CliOptions options = Parse({"--json", "--interface", "eth0", "search", "--ip",
                                    "10.0.0.2", "--interface=eth1", "--quiet", "--yes"});
  EXPECT_EQ(options.command, "search");
  EXPECT_EQ(options.interfaces, (std::vector<std::string>{"eth0", "eth1"}));
  EXPECT_TRUE(options.json && options.quiet && options.yes);
  EXPECT_EQ(options.Value("--ip"), "10.0.0.2");
  EXPECT_FALSE(options.Value("--new"));
  EXPECT_TRUE(options.args.empty());
}

TEST(CommandLine, ArgumentsCredentialsAndFlags) {
  const CliOptions options =
      Parse({"import", "conf.txt", "00:11:22:aa:bb:cc", "10.0.0.5", "--password", "",
             "--kavex-user", "admin", "--kavex-password=p w", "--no-open"});
  EXPECT_EQ(options.args, (std::vector<std::string>{"conf.txt", "00:11:22:aa:bb:cc", "10.0.0.5"}));
  // The passwords wait for ResolveSecrets (environment, files, terminal).
  EXPECT_EQ(options.secrets, (std::map<std::string, std::string>{{"--password", ""},
                                                                 {"--kavex-password", "p w"}}));
  EXPECT_EQ(options.kavexUser, "admin");
  EXPECT_TRUE(options.Flag("--no-open"));
}

TEST(CommandLine, UsageErrors) {
  EXPECT_EQ(ErrorOf({}), "no command given");
  EXPECT_EQ(ErrorOf({"scan"}), "unknown command 'scan'");
  EXPECT_EQ(ErrorOf({"search", "--bogus"}), "unknown option --bogus");
  EXPECT_EQ(ErrorOf({"search", "--ip"}), "option --ip needs a value");
  EXPECT_EQ(ErrorOf({"search", "--json=1"}), "option --json takes no value");
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(CommandLine, SecretOptionsWaitForTheirResolution) {
  const CliOptions options =
      Parse({"passwd", "10.0.0.5", "--password-file", "/run/pw", "--new-password-file=/run/new",
             "--kavex-password", "-"});
  EXPECT_EQ(options.secrets, (std::map<std::string, std::string>{
                                 {"--password-file", "/run/pw"}, {"--kavex-password", "-"}}));
  EXPECT_EQ(options.Value("--new-password-file"), "/run/new");
  EXPECT_EQ(options.password, "");
  EXPECT_EQ(ErrorOf({"search", "--password-file"}), "option --password-file needs a value");
}

TEST(CommandLine, UsageErrorsAreReportedAsJsonWhenAsked) {
  const ParsedCommandLine parsed = ParseCommandLine({"--json", "scan"});
  EXPECT_FALSE(parsed.options);
  EXPECT_TRUE(parsed.json);
  EXPECT_FALSE(ParseCommandLine({"scan"}).json);
}

TEST(CommandLine, OneTableNamesEveryOption) {
  for (const OptionSpec& declared : OptionTable()) {
    EXPECT_EQ(FindOption(declared.name), &declared);
    EXPECT_TRUE(std::string(declared.name).starts_with("--"));
  }
  EXPECT_EQ(FindOption("-h"), FindOption("--help"));
  EXPECT_EQ(FindOption("--bogus"), nullptr);
  EXPECT_EQ(std::string(FindOption("--new")->commands), "passwd");
  EXPECT_EQ(FindOption("--password")->commands, nullptr);
  EXPECT_EQ(CommandNames().size(), 16u);
  EXPECT_EQ(std::string(FindOption("--from")->commands),
            "info unlock passwd netconf export import set-default upgrade web backup restore");
}

}  // namespace
}  // namespace vantrell
