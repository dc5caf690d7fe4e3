#include "platform/digest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vantrell {
namespace {

std::string Hex(const Md5Digest& digest) {
  std::string out;
  char two[3];
  for (std::uint8_t byte : digest) {
    std::snprintf(two, sizeof two, "%02x", byte);
    out += two;
  }
  return out;
}

TEST(Md5, Rfc1321TestSuite) {
  EXPECT_EQ(Hex(Md5("")), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Hex(Md5("a")), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(Hex(Md5("abc")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Hex(Md5("message digest")), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(Hex(Md5("abcdefghijklmnopqrstuvwxyz")), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(Hex(Md5("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(Hex(Md5("1234567890123456789012345678901234567890"
                    "1234567890123456789012345678901234567890")),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5, BytesWithZerosAndHighBits) {
  const std::vector<std::uint8_t> bytes = {0x00, 0xFF, 0x80, 0x00};
  EXPECT_EQ(Md5(bytes), Md5(std::string_view("\x00\xFF\x80\x00", 4)));
}

TEST(Md5Builder, PiecesEqualTheWhole) {
  Md5Builder builder;
  const std::vector<std::uint8_t> middle = {'s', 's', 'a', 'g', 'e'};
  builder.Add("me").Add(middle).Add("").Add(" digest");
  EXPECT_EQ(Hex(builder.Finish()), "f96b697d7cb7938d525a2f31aaf161d0");
  // After Finish the builder starts anew.
  builder.Add("abc");
  EXPECT_EQ(Hex(builder.Finish()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Sha256, Fips180Vectors) {
  EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Base64, Rfc4648Vectors) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode("foob"), "Zm9vYg==");
  EXPECT_EQ(Base64Encode("fooba"), "Zm9vYmE=");
  EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
}

TEST(Base64, CredentialsAndHighBytes) {
  EXPECT_EQ(Base64Encode("admin:admin"), "YWRtaW46YWRtaW4=");
  EXPECT_EQ(Base64Encode(std::string_view("\x00\xFF\xFE", 3)), "AP/+");
  // No line breaks even for long input.
  EXPECT_EQ(Base64Encode(std::string(120, 'a')).find('\n'), std::string::npos);
  EXPECT_EQ(Base64Encode(std::string(120, 'a')).size(), 160u);
}

}  // namespace
}  // namespace vantrell
