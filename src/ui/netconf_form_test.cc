#include "ui/netconf_form.h"

#include <gtest/gtest.h>

#include "core/text_forms.h"

namespace vantrell {
namespace {

constexpr std::uint16_t kD8 = 0x6018;
constexpr std::uint16_t kA8 = 0x3508;
constexpr std::uint16_t kVideoServer88 = 0x1288;

DeviceRecord Device(std::uint16_t modelId, std::uint32_t flags = 0) {
  DeviceRecord record = MakeZeroRecord();
  record.modelId = modelId;
  record.serialNo = 42;
  record.mac = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0x5e};
  SetFieldText(record.modelName, "ORV-D8-G1");
  record.ipAddr = MakeIpv4(192, 168, 10, 41);
  record.netmask = MakeIpv4(255, 255, 255, 0);
  record.gateway = MakeIpv4(192, 168, 10, 254);
  record.dns1 = MakeIpv4(10, 0, 0, 53);
  record.dns2 = MakeIpv4(10, 0, 0, 54);
  record.ipConfigFlags = flags;
  return record;
}

TEST(NetconfFormOpening, TextsAndTheEmptyMaskOfModifyIpAddress) {
  NetconfForm form(Device(kA8), 0);
  EXPECT_EQ(form.modelNameText(), "ORV-D8-G1");
  EXPECT_EQ(form.macText(), "00:1A:2B:3C:4D:5E");
  EXPECT_EQ(form.serialText(), "00042");
  EXPECT_FALSE(form.explanationVisible());
  EXPECT_FALSE(form.autoIpChecked());
  EXPECT_FALSE(form.modeButtonsEnabled());
  for (AddressField field : kAddressFields) {
    EXPECT_FALSE(form.fieldChecked(field));
    EXPECT_FALSE(form.fieldEnabled(field));
  }
  EXPECT_EQ(form.address(AddressField::kDns2), MakeIpv4(10, 0, 0, 54));
  EXPECT_STREQ(kNetconfTipText, "Tip: Click the check box to select/un-select change item.   ");
}

TEST(NetconfFormOpening, MaskBitsCheckTheirBoxesInReviewMode) {
  NetconfForm form(Device(kA8), kChangeAutoIp | kChangeNetmask | kChangeDns2,
                   NetconfPurpose::kImportReview);
  EXPECT_TRUE(form.explanationVisible());
  EXPECT_TRUE(form.autoIpChecked());
  EXPECT_TRUE(form.modeButtonsEnabled());
  EXPECT_TRUE(form.fieldEnabled(AddressField::kNetmask));
  EXPECT_TRUE(form.fieldEnabled(AddressField::kDns2));
  EXPECT_FALSE(form.fieldEnabled(AddressField::kIpAddr));
  EXPECT_FALSE(form.fieldEnabled(AddressField::kGateway));
  EXPECT_FALSE(form.fieldEnabled(AddressField::kDns1));

  NetconfForm other(Device(kA8), kChangeIpAddr | kChangeGateway | kChangeDns1);
  EXPECT_TRUE(other.fieldChecked(AddressField::kIpAddr));
  EXPECT_TRUE(other.fieldChecked(AddressField::kGateway));
  EXPECT_TRUE(other.fieldChecked(AddressField::kDns1));
  EXPECT_FALSE(other.autoIpChecked());
  other.SetFieldChecked(AddressField::kGateway, false);
  EXPECT_FALSE(other.fieldEnabled(AddressField::kGateway));
}

TEST(NetconfFormModes, D8FamilyHasEnableAndDisableOnlyAndOneDnsServer) {
  NetconfForm form(Device(kD8, 0x3), 0);
  EXPECT_EQ(form.dhcpLabel(), "Enable");
  EXPECT_FALSE(form.bootpVisible());
  EXPECT_FALSE(form.fieldVisible(AddressField::kDns2));
  EXPECT_EQ(form.mode(), AddressMode::kDhcp);  // bit 1 means nothing here
  EXPECT_FALSE(form.SetMode(AddressMode::kBootp));
  EXPECT_EQ(NetconfForm(Device(kD8, 0x2), 0).mode(), AddressMode::kDisable);
}

TEST(NetconfFormModes, OtherFamiliesShowBootpFirstThenDhcp) {
  NetconfForm form(Device(kA8, 0x3), 0);
  EXPECT_EQ(form.dhcpLabel(), "DHCP");
  EXPECT_TRUE(form.bootpVisible());
  EXPECT_TRUE(form.fieldVisible(AddressField::kDns2));
  EXPECT_EQ(form.mode(), AddressMode::kBootp);
  EXPECT_EQ(NetconfForm(Device(kA8, 0x1), 0).mode(), AddressMode::kDhcp);
  EXPECT_EQ(NetconfForm(Device(kA8, 0x0), 0).mode(), AddressMode::kDisable);
  NetconfForm video(Device(kVideoServer88), 0);
  EXPECT_FALSE(video.bootpVisible());
  EXPECT_EQ(video.dhcpLabel(), "DHCP");
  EXPECT_TRUE(video.fieldVisible(AddressField::kDns2));
}

TEST(NetconfFormOk, ModeIsStoredOnlyWithAutoIpChecked) {
  NetconfForm d8(Device(kD8, 0x3), 0);
  ASSERT_TRUE(d8.SetMode(AddressMode::kDisable));
  EXPECT_EQ(d8.PressOk().edited->ipConfigFlags, 0x3u);  // box unchecked: flags as they were
  d8.SetAutoIpChecked(true);
  EXPECT_EQ(d8.PressOk().edited->ipConfigFlags, 0x2u);  // only bit 0 is the D8 mode
  ASSERT_TRUE(d8.SetMode(AddressMode::kDhcp));
  EXPECT_EQ(d8.PressOk().edited->ipConfigFlags, 0x3u);

  NetconfForm a8(Device(kA8, 0x1 | 0x100), kChangeAutoIp);
  ASSERT_TRUE(a8.SetMode(AddressMode::kBootp));
  EXPECT_EQ(a8.PressOk().edited->ipConfigFlags, 0x102u);
  ASSERT_TRUE(a8.SetMode(AddressMode::kDisable));
  EXPECT_EQ(a8.PressOk().edited->ipConfigFlags, 0x100u);
}

TEST(NetconfFormOk, EveryFieldIsTakenCheckedOrNot) {
  const DeviceRecord record = Device(kD8);
  NetconfForm form(record, 0);
  EXPECT_EQ(*form.PressOk().edited, record);  // OK without touching anything: unchanged
  form.SetFieldChecked(AddressField::kIpAddr, true);
  form.SetAddress(AddressField::kIpAddr, MakeIpv4(192, 168, 10, 99));
  form.SetFieldChecked(AddressField::kIpAddr, false);
  const auto result = form.PressOk();
  ASSERT_TRUE(result.edited);
  EXPECT_EQ(result.edited->ipAddr, MakeIpv4(192, 168, 10, 99));
  EXPECT_EQ(result.edited->dns2, MakeIpv4(10, 0, 0, 54));  // hidden on the D8, kept
}

TEST(NetconfFormOk, EachAddressCheckHasItsMessageInOrder) {
  const struct {
    AddressField field;
    Ipv4 bad;
    const char* message;
  } cases[] = {
      {AddressField::kIpAddr, MakeIpv4(224, 0, 0, 1),
       "IP address cannot be broadcast or multicast address"},
      {AddressField::kNetmask, MakeIpv4(255, 255, 255, 255),
       "Netmask cannot be broadcast or multicast address"},
      {AddressField::kGateway, MakeIpv4(192, 168, 1, 255),
       "Gateway cannot be broadcast or multicast address"},
      {AddressField::kDns1, MakeIpv4(239, 255, 255, 254),
       "DNS IP cannot be broadcast or multicast address"},
      {AddressField::kDns2, MakeIpv4(230, 1, 2, 3),
       "DNS2 IP cannot be broadcast or multicast address"},
  };
  for (const auto& c : cases) {
    NetconfForm form(Device(kA8), 0);
    form.SetAddress(c.field, c.bad);
    const auto result = form.PressOk();
    EXPECT_FALSE(result.edited);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(AddressCheckMessage(c.field), c.message);
  }
  // The first failing field wins.
  NetconfForm both(Device(kA8), 0);
  both.SetAddress(AddressField::kDns2, MakeIpv4(224, 0, 0, 9));
  both.SetAddress(AddressField::kGateway, MakeIpv4(10, 0, 0, 255));
  EXPECT_EQ(both.PressOk().message, "Gateway cannot be broadcast or multicast address");
}

TEST(NetconfFormOk, HiddenSecondDnsIsStillChecked) {
  DeviceRecord record = Device(kD8);
  record.dns2 = MakeIpv4(10, 0, 0, 255);
  EXPECT_EQ(NetconfForm(record, 0).PressOk().message,
            "DNS2 IP cannot be broadcast or multicast address");
}

TEST(NetconfFormOk, UsableEdgeValuesPass) {
  NetconfForm form(Device(kA8), 0);
  form.SetAddress(AddressField::kGateway, 0);
  form.SetAddress(AddressField::kDns1, MakeIpv4(223, 255, 255, 254));
  form.SetAddress(AddressField::kDns2, MakeIpv4(240, 0, 0, 1));
  const auto result = form.PressOk();
  ASSERT_TRUE(result.edited);
  EXPECT_EQ(result.edited->gateway, 0u);
  EXPECT_EQ(result.message, "");
}

TEST(NetconfFormOk, FixedAddressMustLeaveTheDeviceReachable) {
  const struct {
    Ipv4 ip, netmask, gateway;
    const char* message;
  } cases[] = {
      {0, MakeIpv4(255, 255, 255, 0), 0, "IP address cannot be 0.0.0.0"},
      {MakeIpv4(10, 0, 0, 5), MakeIpv4(255, 0, 255, 0), 0, "Netmask is not a valid subnet mask"},
      {MakeIpv4(10, 0, 0, 5), 0, 0, "Netmask is not a valid subnet mask"},
      {MakeIpv4(10, 0, 0, 5), MakeIpv4(255, 255, 255, 1), 0,
       "Netmask is not a valid subnet mask"},
      {MakeIpv4(192, 168, 10, 41), MakeIpv4(255, 255, 255, 0), MakeIpv4(192, 168, 11, 1),
       "Gateway is not in the subnet of the IP address"},
      // Zero address and bad netmask together: the address is named first.
      {0, MakeIpv4(255, 0, 255, 0), MakeIpv4(1, 2, 3, 4), "IP address cannot be 0.0.0.0"},
  };
  for (const auto& c : cases) {
    NetconfForm form(Device(kA8), 0);
    form.SetAddress(AddressField::kIpAddr, c.ip);
    form.SetAddress(AddressField::kNetmask, c.netmask);
    form.SetAddress(AddressField::kGateway, c.gateway);
    const auto result = form.PressOk();
    EXPECT_FALSE(result.edited) << c.message;
    EXPECT_EQ(result.message, c.message);
  }
  // The broadcast and multicast checks come first.
  NetconfForm first(Device(kA8), 0);
  first.SetAddress(AddressField::kIpAddr, 0);
  first.SetAddress(AddressField::kDns1, MakeIpv4(224, 0, 0, 1));
  EXPECT_EQ(first.PressOk().message, "DNS IP cannot be broadcast or multicast address");
}

TEST(NetconfFormOk, UsableFixedSettingsAndAutomaticModesPass) {
  // Contiguous masks from /1 to /31, a gateway of 0.0.0.0, a gateway inside a /8.
  for (const Ipv4 mask : {MakeIpv4(128, 0, 0, 0), MakeIpv4(255, 255, 255, 254),
                          MakeIpv4(255, 255, 252, 0)}) {
    NetconfForm form(Device(kA8), 0);
    form.SetAddress(AddressField::kNetmask, mask);
    form.SetAddress(AddressField::kGateway, 0);
    EXPECT_TRUE(form.PressOk().edited) << FormatIpv4(mask);
  }
  NetconfForm wide(Device(kA8), 0);
  wide.SetAddress(AddressField::kNetmask, MakeIpv4(255, 0, 0, 0));
  wide.SetAddress(AddressField::kGateway, MakeIpv4(192, 1, 2, 3));
  EXPECT_TRUE(wide.PressOk().edited);
  // DHCP (or Enable on the D8) and BOOTP take their address from a server.
  for (const auto& [model, mode] : {std::pair{kA8, AddressMode::kDhcp},
                                    std::pair{kA8, AddressMode::kBootp},
                                    std::pair{kD8, AddressMode::kDhcp}}) {
    NetconfForm form(Device(model), 0);
    form.SetAutoIpChecked(true);
    ASSERT_TRUE(form.SetMode(mode));
    form.SetAddress(AddressField::kIpAddr, 0);
    form.SetAddress(AddressField::kNetmask, 0);
    EXPECT_TRUE(form.PressOk().edited);
  }
  // A device already in DHCP mode keeps it when AUTOIP stays unchecked.
  NetconfForm kept(Device(kA8, 0x1), 0);
  kept.SetAddress(AddressField::kIpAddr, 0);
  EXPECT_TRUE(kept.PressOk().edited);
  // The import's review shows a file's settings with the five checks only.
  NetconfForm review(Device(kA8), kChangeIpAddr, NetconfPurpose::kImportReview);
  review.SetAddress(AddressField::kIpAddr, 0);
  EXPECT_TRUE(review.PressOk().edited);
  // Switching to Disable makes the check apply.
  NetconfForm toFixed(Device(kA8, 0x1), 0);
  toFixed.SetAutoIpChecked(true);
  ASSERT_TRUE(toFixed.SetMode(AddressMode::kDisable));
  toFixed.SetAddress(AddressField::kIpAddr, 0);
  EXPECT_EQ(toFixed.PressOk().message, "IP address cannot be 0.0.0.0");
}

}  // namespace
}  // namespace vantrell
