#include "config/validation.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vantrell {
namespace {

using namespace validation;

TEST(ValidationMessages, SystemMessageText) {
  EXPECT_EQ(ValidationMessageText("system"),
            "There is a invalid system function setting in the configuration file !\n"
            "Please check all system function settings , renew it , and retry again !");
}

TEST(ValidationMessages, AllTwentyFourGroupsInMessageOrder) {
  const std::vector<std::pair<ValidationFlags, std::string>> expected = {
      {0x1, "system"},
      {0x4, "accessible ip"},
      {0x8, "port"},
      {0x10, "network"},
      {0x20, "time"},
      {0x40, "port trunking"},
      {0x80, "comm. redundancy"},
      {0x800000, "snmp"},
      {0x200, "QoS"},
      {0x400, "802.1q VLAN"},
      {0x800, "IGMP Snooping"},
      {0x1000, "static multicast address"},
      {0x2000, "rate limiting"},
      {0x4000, "port lock"},
      {0x8000, "static unicast mac address"},
      {0x10000, "email warning"},
      {0x20000, "relay alarm"},
      {0x40000, "line-swap"},
      {0x80000, "set device ip"},
      {0x100000, "mirror"},
      {0x4000000, "cf"},
      {0x1000000, "gmrp"},
      {0x2000000, "bandwith management"},
      {0x8000000, "802.1X"},
  };
  const auto groups = ValidationGroups();
  ASSERT_EQ(groups.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(groups[i].bit, expected[i].first) << i;
    EXPECT_EQ(groups[i].name, expected[i].second) << i;
    const auto message = showValidationMessage(expected[i].first);
    ASSERT_TRUE(message.has_value()) << i;
    EXPECT_EQ(message->bit, expected[i].first);
    EXPECT_EQ(message->icon, MessageIcon::kStop);
    EXPECT_EQ(message->text, "There is a invalid " + expected[i].second +
                                 " function setting in the configuration file !\n"
                                 "Please check all " +
                                 expected[i].second +
                                 " function settings , renew it , and retry again !");
  }
}

TEST(ValidationMessages, SpelledAsTheDevicesSpellThem) {
  EXPECT_EQ(showValidationMessage(kBandwidthManagement)->text,
            "There is a invalid bandwith management function setting in the configuration file "
            "!\nPlease check all bandwith management function settings , renew it , and retry "
            "again !");
  EXPECT_EQ(showValidationMessage(kDot1x)->text,
            "There is a invalid 802.1X function setting in the configuration file !\n"
            "Please check all 802.1X function settings , renew it , and retry again !");
}

TEST(ValidationMessages, FirstGroupInMessageOrderWins) {
  EXPECT_EQ(showValidationMessage(kNetwork | kSystem)->group, "system");
  // snmp comes before QoS although its bit is higher.
  EXPECT_EQ(showValidationMessage(kQos | kSnmp)->group, "snmp");
  EXPECT_EQ(showValidationMessage(kDot1x | kGmrp | kPasswords)->group, "gmrp");
  EXPECT_EQ(showValidationMessage(0xFFFFFFFFu)->group, "system");
}

TEST(ValidationMessages, BitsWithoutMessageShowNothing) {
  EXPECT_FALSE(showValidationMessage(0).has_value());
  EXPECT_FALSE(showValidationMessage(kPasswords).has_value());
  EXPECT_FALSE(showValidationMessage(kWrongModelLine | kWrongFirstLine).has_value());
  EXPECT_FALSE(showValidationMessage(kBlockRefused).has_value());
  EXPECT_FALSE(showValidationMessage(0x100).has_value());
}

TEST(ValidationMessages, NoMessageBitIsAGroupBit) {
  ValidationFlags groupBits = 0;
  for (const ValidationGroup& group : ValidationGroups()) {
    EXPECT_EQ(groupBits & group.bit, 0u) << group.name;
    groupBits |= group.bit;
  }
  for (ValidationFlags bit : {kPasswords, kWrongModelLine, kWrongFirstLine, kBlockRefused}) {
    EXPECT_EQ(groupBits & bit, 0u) << bit;
  }
}

class RecordingSink : public MessageSink {
 public:
  void ShowMessage(std::string_view text, MessageIcon icon) override {
    shown.emplace_back(std::string(text), icon);
  }
  std::vector<std::pair<std::string, MessageIcon>> shown;
};

TEST(ValidationMessages, SinkGetsExactlyOneMessageOrNone) {
  RecordingSink sink;
  EXPECT_TRUE(showValidationMessage(kMirror | kLineSwap, sink));
  ASSERT_EQ(sink.shown.size(), 1u);
  EXPECT_EQ(sink.shown[0].first, ValidationMessageText("line-swap"));
  EXPECT_EQ(sink.shown[0].second, MessageIcon::kStop);
  EXPECT_FALSE(showValidationMessage(kPasswords, sink));
  EXPECT_EQ(sink.shown.size(), 1u);
}

}  // namespace
}  // namespace vantrell
