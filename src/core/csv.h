#pragma once
/// Comma-separated values as spreadsheets read and write them (RFC 4180):
/// the inventory the fleet commands print, and the device lists, plans and
/// credentials they read.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell {

/// One field, quoted when it holds a comma, a quote, a CR or an LF (quotes
/// inside doubled); as it is otherwise.
std::string CsvField(std::string_view text);

/// The fields joined by commas, each through CsvField, ended by CR LF.
std::string CsvLine(const std::vector<std::string>& fields);

/// One record of a CSV text and the line on which it starts (the first
/// line is 1).
struct CsvRecord {
  std::size_t line = 0;
  std::vector<std::string> fields;
};

/// The records of `text` (LF or CR LF line ends; quoted fields may span
/// lines). Lines that are empty are skipped. Nothing, with "LINE: reason"
/// in `error`, for an unterminated quote or text after a closing quote.
std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error);

/// The column of a header record named `name` (ASCII case and surrounding
/// blanks ignored), or nothing.
std::optional<std::size_t> CsvColumn(const CsvRecord& header, std::string_view name);

}  // namespace vantrell
