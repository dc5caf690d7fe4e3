#include "cli/fleet_selection.h"

#include <fnmatch.h>

#include "cli/input_file.h"
#include "core/csv.h"
#include "core/text_forms.h"

namespace vantrell {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string RowError(std::string_view path, std::size_t line, std::string_view reason) {
  return std::string(path) + ":" + std::to_string(line) + ": " + std::string(reason);
}

std::string NotADevice(std::string_view text) {
  return "invalid device " + std::string(text) + " (a MAC or IPv4 address)";
}

std::optional<std::vector<std::string>> NamesOfPlainList(std::string_view path,
                                                         std::string_view text,
                                                         std::string& error) {
  std::vector<std::string> names;
  std::size_t line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = text.find('\n');
    const std::string_view row = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (row.empty() || row.front() == '#') continue;
    if (!IsDeviceName(row)) {
      error = RowError(path, line, NotADevice(row));
      return std::nullopt;
    }
    names.emplace_back(row);
  }
  return names;
}

std::optional<std::vector<std::string>> NamesOfCsv(std::string_view path, std::string_view text,
                                                   std::string& error) {
  std::string csvError;
  const auto records = ParseCsv(text, csvError);
  if (!records) {
    error = std::string(path) + ":" + csvError;
    return std::nullopt;
  }
  const CsvRecord& header = records->front();
  const auto macColumn = CsvColumn(header, "mac");
  const auto ipColumn = CsvColumn(header, "ip");
  if (!macColumn && !ipColumn) {
    error = RowError(path, header.line, "no mac or ip column in the header");
    return std::nullopt;
  }
  std::vector<std::string> names;
  for (std::size_t r = 1; r < records->size(); ++r) {
    const CsvRecord& record = (*records)[r];
    const auto cell = [&record](std::optional<std::size_t> column) -> std::string_view {
      if (!column || *column >= record.fields.size()) return {};
      return Trimmed(record.fields[*column]);
    };
    const std::string_view name = cell(macColumn).empty() ? cell(ipColumn) : cell(macColumn);
    if (!IsDeviceName(name)) {
      error = RowError(path, record.line,
                       name.empty() ? std::string("no MAC or address in this row") : NotADevice(name));
      return std::nullopt;
    }
    names.emplace_back(name);
  }
  return names;
}

/// The first line that is neither blank nor a comment.
std::string_view FirstRow(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view row = Trimmed(text.substr(0, end));
    if (!row.empty() && row.front() != '#') return row;
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return {};
}

}  // namespace

bool IsFleetOption(std::string_view name) {
  return name == "--all" || name == "--model" || name == "--subnet" || name == "--from";
}

bool IsDeviceName(std::string_view text) {
  return ParseMac(text).has_value() || ParseIpv4(text).has_value();
}

bool FleetSelection::Admits(const DeviceRecord& record) const {
  if (modelGlob &&
      fnmatch(modelGlob->c_str(), std::string(FieldText(record.modelName)).c_str(), 0) != 0) {
    return false;
  }
  if (subnet && !subnet->Contains(record.ipAddr)) return false;
  return Filters();
}

std::optional<std::vector<std::string>> DeviceNamesOfList(std::string_view path,
                                                          std::string_view text,
                                                          std::string& error) {
  const std::string_view first = FirstRow(text);
  if (first.empty() || IsDeviceName(first)) return NamesOfPlainList(path, text, error);
  return NamesOfCsv(path, text, error);
}

std::optional<FleetSelection> ParseFleetSelection(const CliOptions& options, std::string& error) {
  FleetSelection selection;
  selection.all = options.Flag("--all");
  selection.modelGlob = options.Value("--model");
  if (const auto subnet = options.Value("--subnet")) {
    selection.subnet = ParseIpv4Subnet(*subnet);
    if (!selection.subnet) {
      error = "invalid subnet " + *subnet + " (ADDRESS/PREFIX, such as 192.168.10.0/24)";
      return std::nullopt;
    }
  }
  if (const auto path = options.Value("--from")) {
    const auto text = ReadListFile(*path, error);
    if (!text) return std::nullopt;
    auto names = DeviceNamesOfList(*path, *text, error);
    if (!names) return std::nullopt;
    selection.fromNames = std::move(*names);
    selection.hasFrom = true;
  }
  return selection;
}

}  // namespace vantrell
