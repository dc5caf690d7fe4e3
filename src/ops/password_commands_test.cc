// Unlock and Change Password against a scripted device on loopback.
#include "ops/password_commands.h"

#include <gtest/gtest.h>

#include "support/scripted_device.h"

namespace vantrell {
namespace {

using namespace vantrell::test_support;

const Bytes kChallenge = {0x14, 0x04, 1, 2, 3, 4};

DeviceRecord Device(std::uint8_t flags, const char* remembered) {
  DeviceRecord record = MakeZeroRecord();
  record.ipAddr = MakeIpv4(127, 0, 0, 1);
  record.serialNo = 7;
  record.statusFlags = flags;
  SetFieldText(record.password, remembered);
  return record;
}

TEST(Unlock, RemembersTheTrimmedPasswordTheDeviceAccepted) {
  ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}}});
  DeviceRecord record = Device(kStatusProtected, "");
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.password, "  secret  ");
  RunUnlock(job, nullptr, device.timing());
  EXPECT_EQ(job.state, kJobSucceeded);
  EXPECT_STREQ(record.password, "secret");
  EXPECT_EQ(record.statusFlags, kStatusProtected);
}

TEST(Unlock, RefusedPasswordLeavesTheDeviceLocked) {
  ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x00}}});
  DeviceRecord record = Device(kStatusProtected, "");
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.password, "wrong");
  RunUnlock(job, nullptr, device.timing());
  EXPECT_EQ(job.state, kJobFailed);
  EXPECT_STREQ(record.password, "");
}

std::vector<Step> AcceptedChange() {
  return {Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}},
          Expect{41}, Send{{0x15, 0x01}}, Expect{1}, Send{{0x0C, 0x01}}};
}

TEST(ChangePassword, EmptyNewPasswordTurnsProtectionOff) {
  ScriptedDevice device(AcceptedChange());
  DeviceRecord record = Device(kStatusProtected | kStatusInaccessible, "old");
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.oldPassword, "old");
  CopyTrimmedPassword(job.newPassword, "   ");
  RunChangePassword(job, nullptr, device.timing());
  EXPECT_EQ(job.state, kJobSucceeded);
  EXPECT_STREQ(record.password, "");
  EXPECT_EQ(record.statusFlags, kStatusInaccessible);
}

TEST(ChangePassword, NewPasswordOnAnOpenDeviceProtectsIt) {
  ScriptedDevice device(AcceptedChange());
  DeviceRecord record = Device(0, "");
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.newPassword, "fresh");
  RunChangePassword(job, nullptr, device.timing());
  EXPECT_EQ(job.state, kJobSucceeded);
  EXPECT_STREQ(record.password, "fresh");
  EXPECT_EQ(record.statusFlags, kStatusProtected);
  // The change request was masked with the old (empty) password: its check
  // digest covers the new one.
  EXPECT_EQ(device.received()[2].size(), 41u);
}

TEST(ChangePassword, FailedCommitKeepsTheConfirmedOldPassword) {
  ScriptedDevice device({Expect{1}, Send{kChallenge}, Expect{33}, Send{{0x00, 0x01}},
                         Expect{41}, Send{{0x15, 0x01}}, Expect{1}, Send{{0x0C, 0x00}}});
  DeviceRecord record = Device(kStatusProtected, "remembered");
  SingleDeviceJob job(record);
  CopyTrimmedPassword(job.oldPassword, "typed-old");
  CopyTrimmedPassword(job.newPassword, "new");
  RunChangePassword(job, nullptr, device.timing());
  EXPECT_EQ(job.state, kJobFailed);
  EXPECT_STREQ(record.password, "typed-old");
  EXPECT_EQ(record.statusFlags, kStatusProtected);
}

}  // namespace
}  // namespace vantrell
