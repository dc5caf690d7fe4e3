#include "config/export_notes.h"

#include <utility>

namespace vantrell {
namespace {

/// A writer never notes more than this many problems for one file.
constexpr std::size_t kMaxNotes = 64;

thread_local std::vector<std::string> notes;

}  // namespace

void NoteExportProblem(std::string text) {
  if (notes.size() < kMaxNotes) notes.push_back(std::move(text));
}

std::vector<std::string> TakeExportProblems() { return std::exchange(notes, {}); }

}  // namespace vantrell
