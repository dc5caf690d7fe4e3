#include "config/file_lookup.h"

#include <algorithm>

#include "config/c_number_parse.h"
#include "config/config_catalogue.h"

namespace vantrell {
namespace {

/// The piece up to its first NUL.
std::string_view CString(std::string_view piece) {
  const std::size_t nul = piece.find('\0');
  return nul == std::string_view::npos ? piece : piece.substr(0, nul);
}

std::size_t SkipSpace(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  return pos;
}

std::size_t SkipToken(std::string_view text, std::size_t pos) {
  while (pos < text.size() && !IsCSpace(text[pos])) ++pos;
  return pos;
}

/// Start and end of the first token at or after `pos`.
struct Span {
  std::size_t begin;
  std::size_t end;
};
Span TokenAt(std::string_view text, std::size_t pos) {
  const std::size_t begin = SkipSpace(text, pos);
  return {begin, SkipToken(text, begin)};
}

/// The character ends a text value when it trails: code 32 and below.
bool IsTrailingFiller(char c) { return static_cast<unsigned char>(c) <= ' '; }

constexpr std::size_t kMinBuffer = 2;

}  // namespace

bool IsCommentLine(std::string_view piece) {
  piece = CString(piece);
  return !piece.empty() && piece.front() == '#';
}

std::string_view LineKey(std::string_view piece) {
  piece = CString(piece);
  const Span key = TokenAt(piece, 0);
  return piece.substr(key.begin, key.end - key.begin);
}

std::string_view LineTokenValue(std::string_view piece) {
  piece = CString(piece);
  const Span key = TokenAt(piece, 0);
  const Span value = TokenAt(piece, key.end);
  return piece.substr(value.begin, value.end - value.begin);
}

std::string_view LineTextValue(std::string_view piece) {
  piece = CString(piece);
  std::size_t begin = TokenAt(piece, 0).end;
  while (begin < piece.size() && (piece[begin] == ' ' || piece[begin] == '\t')) ++begin;
  std::size_t end = piece.size();
  while (end > begin && IsTrailingFiller(piece[end - 1])) --end;
  return piece.substr(begin, end - begin);
}

std::string NormalizeLineEnds(std::string_view fileText) {
  std::string text;
  text.reserve(fileText.size());
  for (std::size_t i = 0; i < fileText.size(); ++i) {
    if (fileText[i] == '\r' && i + 1 < fileText.size() && fileText[i + 1] == '\n') continue;
    text.push_back(fileText[i]);
  }
  return text;
}

ConfigFileLookup::ConfigFileLookup(std::string_view fileText)
    : text_(NormalizeLineEnds(fileText)) {}

std::string ConfigFileLookup::findValueToken(std::string_view constName) {
  return FindValueByKey(catalogueFileKey(constName), ValueKind::kToken, kLookupLineBuffer, true);
}

std::string ConfigFileLookup::findValueText(std::string_view constName) {
  return FindValueByKey(catalogueFileKey(constName), ValueKind::kText, kLookupLineBuffer, true);
}

std::string ConfigFileLookup::findValueTextShort(std::string_view constName) {
  return FindValueByKey(catalogueFileKey(constName), ValueKind::kText, kShortLookupLineBuffer,
                        true);
}

std::string ConfigFileLookup::findNextValueText(std::string_view constName) {
  return FindValueByKey(catalogueFileKey(constName), ValueKind::kText, kShortLookupLineBuffer,
                        false);
}

void ConfigFileLookup::Seek(std::size_t position) { position_ = std::min(position, text_.size()); }

std::string_view ConfigFileLookup::PieceAt(std::size_t position, std::size_t bufferSize) const {
  const std::size_t limit = std::min(text_.size(), position + (bufferSize - 1));
  const std::size_t newline = text_.find('\n', position);
  const std::size_t end = newline < limit ? newline + 1 : limit;
  return std::string_view(text_).substr(position, end - position);
}

std::size_t ConfigFileLookup::PieceEnd(const PieceIndex& index, std::size_t piece) const {
  return piece + 1 < index.starts.size() ? index.starts[piece + 1] : text_.size();
}

const ConfigFileLookup::PieceIndex& ConfigFileLookup::IndexFor(std::size_t bufferSize) {
  auto [it, inserted] = indexes_.try_emplace(bufferSize);
  PieceIndex& index = it->second;
  if (!inserted) return index;
  for (std::size_t pos = 0; pos < text_.size();) {
    const std::string_view piece = PieceAt(pos, bufferSize);
    const auto number = index.starts.size();
    index.starts.push_back(pos);
    if (!IsCommentLine(piece)) {
      const std::string_view key = LineKey(piece);
      if (!key.empty()) index.piecesByKey[key].push_back(number);
    }
    pos += piece.size();
  }
  return index;
}

std::optional<std::string_view> ConfigFileLookup::ReadLinePiece(std::size_t bufferSize) {
  if (bufferSize < kMinBuffer || position_ >= text_.size()) return std::nullopt;
  const std::string_view piece = PieceAt(position_, bufferSize);
  position_ += piece.size();
  return piece;
}

std::string ConfigFileLookup::FindValueByKey(std::string_view key, ValueKind kind,
                                             std::size_t bufferSize, bool rewind) {
  if (rewind) position_ = 0;
  if (bufferSize < kMinBuffer) return std::string(NotFoundMarker);
  const auto valueOf = [kind](std::string_view piece) {
    return std::string(kind == ValueKind::kToken ? LineTokenValue(piece) : LineTextValue(piece));
  };
  const auto matches = [&key](std::string_view piece) {
    return !IsCommentLine(piece) && !key.empty() && LineKey(piece) == key;
  };
  const PieceIndex& index = IndexFor(bufferSize);

  // A position inside a long line is no piece start of the index: read the
  // rest of that line piece by piece, as the line reader would, until the
  // pieces meet the index again (at the latest at the next line start).
  std::size_t first = 0;
  for (;;) {
    if (position_ >= text_.size()) return std::string(NotFoundMarker);
    const auto at = std::lower_bound(index.starts.begin(), index.starts.end(), position_);
    if (at != index.starts.end() && *at == position_) {
      first = static_cast<std::size_t>(at - index.starts.begin());
      break;
    }
    const std::string_view piece = PieceAt(position_, bufferSize);
    position_ += piece.size();
    if (matches(piece)) return valueOf(piece);
  }

  position_ = text_.size();
  if (key.empty()) return std::string(NotFoundMarker);
  const auto found = index.piecesByKey.find(key);
  if (found == index.piecesByKey.end()) return std::string(NotFoundMarker);
  const std::vector<std::size_t>& pieces = found->second;
  const auto hit = std::lower_bound(pieces.begin(), pieces.end(), first);
  if (hit == pieces.end()) return std::string(NotFoundMarker);
  const std::size_t start = index.starts[*hit];
  const std::size_t end = PieceEnd(index, *hit);
  position_ = end;
  return valueOf(std::string_view(text_).substr(start, end - start));
}

}  // namespace vantrell
