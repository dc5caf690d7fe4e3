#include "sim/sim_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrell::sim {
namespace {

SimOptionsParse Parse(std::vector<std::string_view> args) { return ParseSimOptions(args); }

TEST(SimOptionsTest, AllOptionsInBothForms) {
  SimOptionsParse parsed =
      Parse({"--scenario", "s.json", "--port", "4100", "--ready-file", "/tmp/r", "--verbose"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->scenarioPath, "s.json");
  EXPECT_EQ(parsed.options->port, 4100);
  EXPECT_EQ(parsed.options->readyFile, "/tmp/r");
  EXPECT_TRUE(parsed.options->verbose);

  parsed = Parse({"--scenario=a=b.json", "--port=65535"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->scenarioPath, "a=b.json");
  EXPECT_EQ(parsed.options->port, 65535);
  EXPECT_EQ(parsed.options->readyFile, "");
  EXPECT_FALSE(parsed.options->verbose);

  parsed = Parse({"--scenario", "s.json"});
  ASSERT_TRUE(parsed.options);
  EXPECT_EQ(parsed.options->port, 4000);
}

TEST(SimOptionsTest, Errors) {
  EXPECT_EQ(Parse({}).error, "--scenario FILE is required");
  EXPECT_EQ(Parse({"--scenario"}).error, "--scenario needs a value");
  EXPECT_EQ(Parse({"--scenario", "s", "--port", "0"}).error,
            "--port: \"0\" is not a port number 1..65535");
  EXPECT_EQ(Parse({"--scenario", "s", "--port", "65536"}).error,
            "--port: \"65536\" is not a port number 1..65535");
  EXPECT_EQ(Parse({"--scenario", "s", "--port", "4x"}).error,
            "--port: \"4x\" is not a port number 1..65535");
  EXPECT_EQ(Parse({"--scenario", "s", "--verbose=1"}).error, "--verbose takes no value");
  EXPECT_EQ(Parse({"--scenario", "s", "-v"}).error, "unknown argument \"-v\"");
  EXPECT_TRUE(Parse({"--help"}).options->help);
}

}  // namespace
}  // namespace vantrell::sim
