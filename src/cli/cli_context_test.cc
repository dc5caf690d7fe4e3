#include "cli/cli_context.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace vantrell {
namespace {

TEST(Refusal, MessageOnStderrAndJsonErrorOnStdout) {
  std::ostringstream out, err;
  Console console(out, err, true);
  EXPECT_EQ(RefuseRun(console, true, "device 10.0.0.5 not found"), kExitUsage);
  EXPECT_EQ(err.str(), "device 10.0.0.5 not found\n");
  EXPECT_EQ(out.str(), "{\n  \"error\": \"device 10.0.0.5 not found\"\n}\n");

  std::ostringstream plainOut, plainErr;
  Console plain(plainOut, plainErr, false);
  EXPECT_EQ(RefuseRun(plain, false, "usage: vantrell info DEVICE"), kExitUsage);
  EXPECT_EQ(plainOut.str(), "");
}

TEST(Refusal, TheWindowsRightsMessageIsFollowedByTheOptionThatGivesTheRights) {
  const std::string message =
      "02:56:30:00:00:03 is password protected.\n Please select \"unlock\" function to get the "
      "rights.";
  std::ostringstream out, err;
  Console console(out, err, true);
  RefuseRun(console, true, message);
  EXPECT_EQ(err.str(), message +
                           "\nGive the device's password with --password (or --password-file, "
                           "VANTRELL_PASSWORD).\n");
  EXPECT_EQ(nlohmann::json::parse(out.str()), (nlohmann::json{{"error", message}}));
}

TEST(Refusal, DeviceTextInMessagesCannotDriveTheTerminal) {
  std::ostringstream out, err;
  Console console(out, err, false);
  console.ShowMessage("The \x1B[31mIGMP\x9B function\nsecond\tline", MessageIcon::kNone);
  EXPECT_EQ(err.str(), "The  [31mIGMP  function\nsecond\tline\n");
}

}  // namespace
}  // namespace vantrell
