#pragma once
/// The reading side of the A8/R8 file schema: walks the rows of sections,
/// looks each key up from the start of the file as the row's rule asks
/// (token or text, the line buffer of the lookup), hands what it finds to
/// the generation's reader and keeps the problems the reader notes in a
/// FileProblemList (line of the value, file key, function group), whose
/// policy keeps the flags each reader has always returned.
/// A generation's reader derives from it, applies the rules its own way
/// (GenA1 skips a value that breaks its rule, GenA2 rejects the file) and
/// reads its special sections itself.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_lookup.h"
#include "config/file_schema.h"
#include "config/gen_a_schema.h"
#include "config/validation.h"

namespace vantrell::a8schema {

/// The number a token gives under a kRange, kRangeOrEmpty, kUnchecked or
/// kHex rule (already times the rule's factor); nothing when it breaks it.
std::optional<std::uint32_t> RuleNumber(const Rule& rule, std::string_view token);

class SchemaFileReader {
 public:
  SchemaFileReader(Gen gen, std::string_view fileText, ProblemPolicy policy)
      : gen_(gen), file_(fileText), problems_(policy) {}
  virtual ~SchemaFileReader() = default;
  SchemaFileReader(const SchemaFileReader&) = delete;
  SchemaFileReader& operator=(const SchemaFileReader&) = delete;

  /// The problems noted so far, in reading order, and the flags they give.
  FileProblemList& problems() { return problems_; }

 protected:
  /// Reads the rows of `section` in order, a block of numbered rows number
  /// by number.
  void ReadRows(Section section);
  /// Reads the numbered rows of several sections number by number, all of
  /// them for number 1 first.
  void ReadRowsPerNumber(std::initializer_list<Section> sections);

  /// Reads a block of numbered rows of `section` number by number, the
  /// rows of each number in the order of `keys` (a reader that has always
  /// read them in another order than the file shows them).
  void ReadRowsInOrder(Section section, std::initializer_list<std::string_view> keys);

  /// Reads number `n` of `row`: looks the value up and hands it to Apply.
  /// A generation overrides it for the rows it reads its own way.
  virtual void ReadRow(const Row& row, int n);
  /// Applies a value found for number `n` of `row`.
  virtual void Apply(const Row& row, int n, const std::string& value) = 0;

  /// The value of number `n` of the row, looked up as its rule says;
  /// nothing when the file does not carry the key.
  std::optional<std::string> Find(const Row& row, int n);
  std::optional<std::string> FindToken(std::string_view key);
  std::optional<std::string> FindText(std::string_view key,
                                      std::size_t bufferSize = kLookupLineBuffer);
  /// From the line after the last value found: the next text of `key`.
  std::optional<std::string> FindNextText(std::string_view key);

  /// False once the policy stops storing (GenA2 after its first problem).
  bool Storing() const { return problems_.StoresValues(); }
  /// Notes a problem with the value found last.
  void NoteProblem(std::string key, ValidationFlags group);
  void NoteProblem(const Row& row, int n) { NoteProblem(KeyOf(row, n), row.group); }
  /// Notes a problem with a value found at `line` (0: a check of the block).
  void NoteProblemAt(int line, std::string key, ValidationFlags group) {
    problems_.Add(line, std::move(key), group);
  }
  /// The line of the value found last.
  int LineOfLastValue() const;

  const Rule& RuleOf(const Row& row) const { return a8schema::RuleOf(row, gen_); }

  const Gen gen_;
  ConfigFileLookup file_;

 private:
  std::optional<std::string> Found(std::string value);

  FileProblemList problems_;
  std::size_t lastValueEnd_ = 0;
};

}  // namespace vantrell::a8schema
