#include "config/export_notes.h"

#include <utility>
#include <variant>

#include "config/file_writer.h"

namespace vantrell {
namespace {

/// A writer never notes more than this many problems for one file.
constexpr std::size_t kMaxNotes = 64;

thread_local std::vector<std::string> notes;

}  // namespace

void NoteExportProblem(std::string text) {
  if (notes.size() < kMaxNotes) notes.push_back(std::move(text));
}

void NoteUnnamedValue(std::string_view key) {
  NoteExportProblem(std::string(key) +
                    ": the stored value has no name and was written as an empty value.");
}

std::vector<std::string> TakeExportProblems() { return std::exchange(notes, {}); }

std::string NamedValueOrNote(const ItemAccessors& accessors, const ConfigBlock& block,
                             ConfigItemId id, std::string_view key, std::size_t listIndex) {
  ItemValue value;
  const ItemStatus status = accessors.getItem(block, id, listIndex, value);
  if (status == ItemStatus::kOutOfRange) {
    NoteUnnamedValue(key);
    return {};
  }
  if (status != ItemStatus::kOk) return {};
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return FormatDecimal(std::get<std::uint32_t>(value));
}

}  // namespace vantrell
