#include "config/a8r8_file_text.h"

#include <cstdio>

#include "config/config_catalogue.h"

namespace vantrell {

const std::array<std::string_view, 63> kTimeZoneNames = {
    "(GMT-12:00)Eniwetok, Kwajalein",
    "(GMT-11:00)Midway Island, Samoa",
    "(GMT-10:00)Hawaii",
    "(GMT-09:00)Alaska",
    "(GMT-08:00)Pacific Time (US & Canada); Tijuana",
    "(GMT-07:00)Arizona",
    "(GMT-07:00)Mountain Time (US & Canada)",
    "(GMT-06:00)Central Time (US & Canada)",
    "(GMT-06:00)Mexico City, Tegucigalpa",
    "(GMT-06:00)Saskatchewan",
    "(GMT-05:00)Bogota, Lima, Quito",
    "(GMT-05:00)Eastern Time (US & Canada)",
    "(GMT-05:00)Indiana (East)",
    "(GMT-04:00)Atlantic Time (Canada)",
    "(GMT-04:00)Caracas, La Paz",
    "(GMT-04:00)Santiago",
    "(GMT-03:30)Newfoundland",
    "(GMT-03:00)Brasilia",
    "(GMT-03:00)Buenos Aires, Georgetown",
    "(GMT-02:00)Mid-Atlantic",
    "(GMT-01:00)Azores, Cape Verde Is.",
    "(GMT)Casablanca, Monrovia",
    "(GMT)Greenwich Mean Time: Dublin, Edinburgh, Lisbon, London",
    "(GMT+01:00)Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna",
    "(GMT+01:00)Belgrade, Bratislava, Budapest, Ljubljana, Prague",
    "(GMT+01:00)Brussels, Copenhagen, Madrid, Paris, Vilnius",
    "(GMT+01:00)Sarajevo, Skopje, Sofija, Warsaw, Zagreb",
    "(GMT+02:00)Athens, Istanbul, Minsk",
    "(GMT+02:00)Bucharest",
    "(GMT+02:00)Cairo",
    "(GMT+02:00)Harare, Pretoria",
    "(GMT+02:00)Helsinki, Riga, Tallinn",
    "(GMT+02:00)Jerusalem",
    "(GMT+03:00)Baghdad, Kuwait, Riyadh",
    "(GMT+03:00)Moscow, St. Petersburg, Volgograd",
    "(GMT+03:00)Mairobi",
    "(GMT+03:30)Tehran",
    "(GMT+04:00)Abu Dhabi, Muscat",
    "(GMT+04:00)Baku, Tbilisi",
    "(GMT+04:30)Kabul",
    "(GMT+05:00)Ekaterinburg",
    "(GMT+05:00)Islamabad, Karachi, Tashkent",
    "(GMT+05:30)Bombay, Calcutta, Madras, New Delhi",
    "(GMT+06:00)Astana, Almaty, Dhaka",
    "(GMT+06:00)Colombo",
    "(GMT+07:00)Bangkok, Hanoi, Jakarta",
    "(GMT+08:00)Beijing, Chongqing, Hong Kong, Urumqi",
    "(GMT+08:00)Perth",
    "(GMT+08:00)Singapore",
    "(GMT+08:00)Taipei",
    "(GMT+09:00)Osaka, Sapporo, Tokyo",
    "(GMT+09:00)Seoul",
    "(GMT+09:00)Yakutsk",
    "(GMT+09:30)Adelaide",
    "(GMT+09:30)Darwin",
    "(GMT+10:00)Brisbane",
    "(GMT+10:00)Canberra, Melbourne, Sydney",
    "(GMT+10:00)Guam, Port Moresby",
    "(GMT+10:00)Hobart",
    "(GMT+10:00)Vladivostok",
    "(GMT+11:00)Magadan, Solomon Is., New Caledonia",
    "(GMT+12:00)Auckland, Wllington",
    "(GMT+12:00)Fiji, Kamchatka, Marshall Is.",
};

void WriteTimeZoneLines(ConfigTextWriter& file) {
  for (std::size_t zone = 0; zone < kTimeZoneNames.size(); ++zone) {
    char number[8];
    std::snprintf(number, sizeof number, "%-2d", static_cast<int>(zone));
    file.Write({"# \t--> ", number, " : ", kTimeZoneNames[zone], "\n"});
  }
}

void WriteRateLegend(ConfigTextWriter& file) {
  file.Write({
      "# \t--> \"NL\"   : Not Limited throughput\n",
      "# \t--> \"128K\" : Maximum 128Kbps throughput\n",
      "# \t--> \"256K\" : Maximum 256Kbps throughput\n",
      "# \t--> \"512K\" : Maximum 512Kbps throughput\n",
      "# \t--> \"1M\"   : Maximum 1Mbps throughput\n",
      "# \t--> \"2M\"   : Maximum 2Mbps throughput\n",
      "# \t--> \"4M\"   : Maximum 4Mbps throughput\n",
      "# \t--> \"8M\"   : Maximum 8Mbps throughput\n",
  });
}

namespace {
constexpr int kTosGroups = 16;
constexpr int kTosGroupSize = 4;
constexpr int kGroupWithOddCode = 12;
/// The ToS map constant names, one per group.
constexpr std::array<std::string_view, kTosGroups> kTosMapNames = {
    "D_CONF_TOSMAP_1_4",   "D_CONF_TOSMAP_5_8",   "D_CONF_TOSMAP_9_12",  "D_CONF_TOSMAP_13_16",
    "D_CONF_TOSMAP_17_20", "D_CONF_TOSMAP_21_24", "D_CONF_TOSMAP_25_28", "D_CONF_TOSMAP_29_32",
    "D_CONF_TOSMAP_33_36", "D_CONF_TOSMAP_37_40", "D_CONF_TOSMAP_41_44", "D_CONF_TOSMAP_45_48",
    "D_CONF_TOSMAP_49_52", "D_CONF_TOSMAP_53_56", "D_CONF_TOSMAP_57_60", "D_CONF_TOSMAP_61_64"};
}  // namespace

std::string TosGroupComment(int group) {
  if (group < 1 || group > kTosGroups) return {};
  if (group == kGroupWithOddCode) return "#[ToS45(0xB0)|ToS46(Bx04)|ToS47(0xB8)|ToS48(0xBC)]\n";
  std::string line = "#[";
  for (int i = 0; i < kTosGroupSize; ++i) {
    const int k = kTosGroupSize * (group - 1) + i + 1;
    char part[24];
    std::snprintf(part, sizeof part, "%sToS%d(0x%02X)", i ? "|" : "", k, 4 * (k - 1));
    line += part;
  }
  return line + "]\n";
}

void WriteTosGroups(ConfigTextWriter& file,
                    const std::function<std::optional<std::uint32_t>(int)>& entry) {
  for (int g = 1; g <= kTosGroups; ++g) {
    file.Write(TosGroupComment(g));
    std::string line(catalogueFileKey(kTosMapNames[static_cast<std::size_t>(g - 1)]));
    line += ' ';
    for (int i = 0; i < kTosGroupSize; ++i) {
      const auto value = entry(kTosGroupSize * (g - 1) + i + 1);
      if (value) line += FormatDecimal(*value);
      line += i + 1 < kTosGroupSize ? "|" : "\n\n";
    }
    file.Write(line);
  }
}

std::string FormatPortList(std::uint32_t mask, int members) {
  std::string list;
  for (int i = 0; i < members && i < 32; ++i) {
    if (!((mask >> i) & 1u)) continue;
    if (!list.empty()) list += ',';
    list += std::to_string(i + 1);
  }
  return list;
}

std::optional<std::uint32_t> ParsePortList(std::string_view text, int maxPort) {
  std::uint32_t mask = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t comma = text.find(',', pos);
    const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
    const std::string_view element = text.substr(pos, end - pos);
    const bool last = comma == std::string_view::npos;
    if (element.empty()) {
      // Only a trailing comma may leave an empty element.
      if (!last || pos == 0) return std::nullopt;
      break;
    }
    int port = 0;
    for (const char c : element) {
      if (c < '0' || c > '9' || port > maxPort) return std::nullopt;
      port = port * 10 + (c - '0');
    }
    if (port < 1 || port > maxPort || port > 32) return std::nullopt;
    mask |= 1u << (port - 1);
    if (last) break;
    pos = comma + 1;
  }
  return mask;
}

bool IsFibreUplinkModel(Generation generation, std::uint16_t modelId) {
  constexpr std::uint16_t kFirst = 0x0518;
  constexpr std::uint16_t kSkipped = 0x0538;
  const std::uint16_t last = generation == Generation::kGenA1 ? 0x05D8 : 0x05B8;
  if (generation != Generation::kGenA1 && generation != Generation::kGenA2) return false;
  if (modelId < kFirst || modelId > last || (modelId & 0x0F) != 0x08) return false;
  return modelId != kSkipped;
}

std::string FormatMacDashed(std::span<const std::uint8_t, 6> mac) {
  char text[18];
  std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2], mac[3],
                mac[4], mac[5]);
  return text;
}

std::optional<std::array<std::uint8_t, 6>> ParseMacDashed(std::string_view text) {
  constexpr std::size_t kLength = 17;
  if (text.size() != kLength) return std::nullopt;
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::array<std::uint8_t, 6> mac{};
  for (std::size_t i = 0; i < mac.size(); ++i) {
    const std::size_t at = 3 * i;
    const int high = hex(text[at]);
    const int low = hex(text[at + 1]);
    if (high < 0 || low < 0 || (i + 1 < mac.size() && text[at + 2] != '-')) return std::nullopt;
    mac[i] = static_cast<std::uint8_t>(16 * high + low);
  }
  return mac;
}

}  // namespace vantrell
