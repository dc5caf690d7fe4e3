#include "core/model_table.h"

#include <array>

namespace vantrell {
namespace {

constexpr std::array<ModelTableRow, 51> kRows = {{
    {0x6008, "ORV-D8"},      {0x6018, "ORV-D8-G1"},   {0x6028, "ORV-D8-G2"},
    {0x6038, "ORV-D8-F1"},   {0x6048, "ORV-D8-F2"},   {0x6058, "ORV-D8-W"},
    {0x6068, "ORV-D8-G1-W"}, {0x6078, "ORV-D8-G2-W"}, {0x6088, "ORV-D8-F1-W"},
    {0x6098, "ORV-D8-F2-W"},

    {0x2508, "ORV-R8"},      {0x2518, "ORV-R8-F1"},   {0x2528, "ORV-R8-F2"},
    {0x2538, "ORV-R8-W"},    {0x2548, "ORV-R8-F1-W"}, {0x2558, "ORV-R8-F2-W"},
    {0x2568, "ORV-R8-F3"},   {0x2578, "ORV-R8-F3-W"}, {0x2588, "ORV-R8-F4"},
    {0x2598, "ORV-R8-F4-W"}, {0x25A8, "ORV-R8-F5"},   {0x25B8, "ORV-R8-F5-W"},

    {0x3508, "ORV-A8"},      {0x3518, "ORV-A8-F1"},   {0x3528, "ORV-A8-F2"},
    {0x3538, "ORV-A8-W"},    {0x3548, "ORV-A8-F1-W"}, {0x3558, "ORV-A8-F2-W"},
    {0x3568, "ORV-A8-F3"},   {0x3578, "ORV-A8-F3-W"}, {0x3588, "ORV-A8-F4"},
    {0x3598, "ORV-A8-F4-W"}, {0x35A8, "ORV-A8-F5"},   {0x35B8, "ORV-A8-F5-W"},
    {0x35C8, "ORV-A8-F6"},   {0x35D8, "ORV-A8-F6-W"},

    {0x0508, "ORV-A8"},      {0x0518, "ORV-A8-F1"},   {0x0528, "ORV-A8-F2"},
    {0x0538, "ORV-A8-W"},    {0x0548, "ORV-A8-F1-W"}, {0x0558, "ORV-A8-F2-W"},
    {0x0568, "ORV-A8-F3"},   {0x0578, "ORV-A8-F3-W"}, {0x0588, "ORV-A8-F4"},
    {0x0598, "ORV-A8-F4-W"}, {0x05A8, "ORV-A8-F5"},   {0x05B8, "ORV-A8-F5-W"},
    {0x05C8, "ORV-A8-F6"},   {0x05D8, "ORV-A8-F6-W"},

    {0x0726, "ORV-M26"},
}};

/// True when id lies in [first, last] and shares first's low nibble, i.e.
/// one of the IDs first, first + 0x10, ..., last.
constexpr bool InSeries(std::uint16_t id, std::uint16_t first, std::uint16_t last) {
  return id >= first && id <= last && (id & 0x0F) == (first & 0x0F);
}

}  // namespace

std::span<const ModelTableRow> ModelTable() { return kRows; }

std::optional<std::string_view> LookupModelName(std::uint16_t modelId) {
  for (const ModelTableRow& row : kRows) {
    if (row.modelId == modelId) return row.name;
  }
  return std::nullopt;
}

bool IsD8Family(std::uint16_t modelId) { return InSeries(modelId, 0x6008, 0x6098); }

bool IsA8R8Family(std::uint16_t modelId) {
  return InSeries(modelId, 0x0508, 0x05D8) || InSeries(modelId, 0x2508, 0x25B8) ||
         InSeries(modelId, 0x3508, 0x35D8);
}

bool IsM26Model(std::uint16_t modelId) { return modelId == 0x0726; }

bool IsKavexModelId(std::uint16_t modelId) {
  const unsigned low = modelId & 0xFF;
  return low == 0x80 || low == 0x88;
}

bool IsKavexName(std::string_view modelName) {
  return modelName.find("Kavex") != std::string_view::npos;
}

}  // namespace vantrell
