#include "core/csv.h"

#include <algorithm>
#include <cctype>

namespace vantrell {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

/// Reads CSV records one at a time, counting lines.
class CsvScanner {
 public:
  explicit CsvScanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  std::size_t line() const { return line_; }

  /// The next record; false with `error` set on a malformed quote.
  bool Next(CsvRecord& record, std::string& error) {
    record.line = line_;
    record.fields.clear();
    std::string field;
    bool quotedField = false;
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '"' && field.empty() && !quotedField) {
        if (!ReadQuoted(field, error)) return false;
        quotedField = true;
        continue;
      }
      if (c == ',') {
        record.fields.push_back(std::move(field));
        field.clear();
        quotedField = false;
        ++pos_;
        continue;
      }
      if (c == '\n' || (c == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')) {
        pos_ += c == '\r' ? 2 : 1;
        ++line_;
        break;
      }
      if (quotedField) {
        error = std::to_string(line_) + ": text after a closing quote";
        return false;
      }
      field += c;
      ++pos_;
    }
    record.fields.push_back(std::move(field));
    return true;
  }

 private:
  /// From an opening quote to its closing quote; doubled quotes are one.
  bool ReadQuoted(std::string& field, std::string& error) {
    const std::size_t startLine = line_;
    ++pos_;
    while (pos_ < text_.size()) {
      const char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        return true;
      }
      if (c == '\n') ++line_;
      field += c;
    }
    error = std::to_string(startLine) + ": a quote is not closed";
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

bool IsEmptyRecord(const CsvRecord& record) {
  return record.fields.size() == 1 && TrimBlanks(record.fields[0]).empty();
}

}  // namespace

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += CsvField(fields[i]);
  }
  return line + "\r\n";
}

std::optional<std::vector<CsvRecord>> ParseCsv(std::string_view text, std::string& error) {
  std::vector<CsvRecord> records;
  CsvScanner scanner(text);
  while (!scanner.AtEnd()) {
    CsvRecord record;
    if (!scanner.Next(record, error)) return std::nullopt;
    if (!IsEmptyRecord(record)) records.push_back(std::move(record));
  }
  return records;
}

std::optional<std::size_t> CsvColumn(const CsvRecord& header, std::string_view name) {
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    if (SameWord(TrimBlanks(header.fields[i]), name)) return i;
  }
  return std::nullopt;
}

}  // namespace vantrell
