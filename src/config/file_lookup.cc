#include "config/file_lookup.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "config/c_number_parse.h"
#include "config/config_catalogue.h"
#include "config/name_index.h"

namespace vantrell {
namespace {

/// Start and end of the first token at or after `pos`. A NUL byte ends the
/// piece as C string functions see it, so it ends the token too, and a
/// token that would start at it is empty: no search for the NUL is needed
/// beforehand.
struct Span {
  std::size_t begin;
  std::size_t end;
};
Span TokenAt(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  const std::size_t begin = pos;
  while (pos < text.size() && text[pos] != '\0' && !IsCSpace(text[pos])) ++pos;
  return {begin, pos};
}

/// The character ends a text value when it trails: code 32 and below.
bool IsTrailingFiller(char c) { return static_cast<unsigned char>(c) <= ' '; }

constexpr std::size_t kMinBuffer = 2;

/// The buffer that cuts no line.
constexpr std::size_t kWholeLineBuffer = std::numeric_limits<std::size_t>::max();

/// The longest text the piece index addresses.
constexpr std::size_t kMaxText = 0xFFFFFFFEu;

/// LineTextValue of a piece that holds no NUL byte.
std::string_view TextValueWithoutNul(std::string_view piece) {
  std::size_t begin = TokenAt(piece, 0).end;
  while (begin < piece.size() && (piece[begin] == ' ' || piece[begin] == '\t')) ++begin;
  std::size_t end = piece.size();
  while (end > begin && IsTrailingFiller(piece[end - 1])) --end;
  return piece.substr(begin, end - begin);
}

}  // namespace

bool IsCommentLine(std::string_view piece) { return !piece.empty() && piece.front() == '#'; }

std::string_view LineKey(std::string_view piece) {
  const Span key = TokenAt(piece, 0);
  return piece.substr(key.begin, key.end - key.begin);
}

std::string_view LineTokenValue(std::string_view piece) {
  const Span value = TokenAt(piece, TokenAt(piece, 0).end);
  return piece.substr(value.begin, value.end - value.begin);
}

std::string_view LineTextValue(std::string_view piece) {
  const std::size_t keyEnd = TokenAt(piece, 0).end;
  // The piece as a C string ends at its first NUL; none lies before the key's end.
  const std::size_t nul = piece.find('\0', keyEnd);
  return TextValueWithoutNul(nul == std::string_view::npos ? piece : piece.substr(0, nul));
}

std::string NormalizeLineEnds(std::string_view fileText) {
  std::string text(fileText.size(), '\0');
  char* out = text.data();
  // The runs between the CRs of CR LF pairs are copied whole.
  for (std::string_view rest = fileText; !rest.empty();) {
    const std::size_t cr = rest.find('\r');
    const std::size_t run = cr == std::string_view::npos ? rest.size() : cr + 1;
    const bool pair = cr != std::string_view::npos && cr + 1 < rest.size() && rest[cr + 1] == '\n';
    std::memcpy(out, rest.data(), pair ? cr : run);
    out += pair ? cr : run;
    rest.remove_prefix(run);
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return text;
}

ConfigFileLookup::ConfigFileLookup(std::string_view fileText) : text_(NormalizeLineEnds(fileText)) {
  // Offsets into the text are kept in 32 bits.
  if (text_.size() > kMaxText) text_.resize(kMaxText);
  hasNul_ = text_.find('\0') != std::string::npos;
}

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
  const std::string_view rest = std::string_view(text_).substr(position);
  const std::size_t limit = std::min(rest.size(), bufferSize - 1);
  const std::size_t newline = rest.substr(0, limit).find('\n');
  return rest.substr(0, newline == std::string_view::npos ? limit : newline + 1);
}

std::size_t ConfigFileLookup::PieceEnd(const PieceIndex& index, std::size_t piece) const {
  return piece + 1 < index.starts.size() ? index.starts[piece + 1] : text_.size();
}

const ConfigFileLookup::KeyPieces* ConfigFileLookup::FindKey(const PieceIndex& index,
                                                             std::string_view key) const {
  if (key.empty() || index.keySlots.empty()) return nullptr;
  const std::size_t mask = index.keySlots.size() - 1;
  for (std::size_t slot = NameHash(key) & mask;; slot = (slot + 1) & mask) {
    const KeyPieces& entry = index.keySlots[slot];
    if (entry.keyLength == 0) return nullptr;
    if (KeyOf(entry) == key) return &entry;
  }
}

std::size_t ConfigFileLookup::BuildIndex(PieceIndex& index, std::size_t bufferSize) const {
  constexpr std::uint32_t kNoKey = ~std::uint32_t{0};
  const std::string_view text(text_);
  // The pieces, and which of them carry a key: the slot of each piece's
  // key once the keys are placed, kNoKey for comments and blank pieces.
  std::vector<std::uint32_t> slotOfPiece;
  std::size_t keyed = 0;
  std::size_t longest = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::string_view piece = PieceAt(pos, bufferSize);
    longest = std::max(longest, piece.size());
    // A piece that starts with a key character has a key; others are looked at.
    const char c = piece.front();
    const bool hasKey = c != '#' && ((c != '\0' && !IsCSpace(c)) || !LineKey(piece).empty());
    index.starts.push_back(pos);
    slotOfPiece.push_back(hasKey ? 0 : kNoKey);
    keyed += hasKey;
    pos += piece.size();
  }
  // Twice as many slots as keyed pieces: a free slot ends every probe.
  index.keySlots.resize(std::bit_ceil(2 * keyed + 2));
  const std::size_t mask = index.keySlots.size() - 1;
  for (std::size_t piece = 0; piece < index.starts.size(); ++piece) {
    if (slotOfPiece[piece] == kNoKey) continue;
    const std::size_t start = index.starts[piece];
    const std::string_view key = LineKey(text.substr(start, PieceEnd(index, piece) - start));
    std::size_t slot = NameHash(key) & mask;
    while (index.keySlots[slot].keyLength != 0 && KeyOf(index.keySlots[slot]) != key) {
      slot = (slot + 1) & mask;
    }
    KeyPieces& entry = index.keySlots[slot];
    entry.keyStart = static_cast<std::uint32_t>(key.data() - text.data());
    entry.keyLength = static_cast<std::uint32_t>(key.size());
    ++entry.count;
    slotOfPiece[piece] = static_cast<std::uint32_t>(slot);
  }
  // Each key's run ends where the next one begins; filling the runs
  // backwards from their ends leaves `first` at each run's start, with the
  // piece numbers ascending.
  std::uint32_t end = 0;
  for (KeyPieces& entry : index.keySlots) {
    end += entry.count;
    entry.first = end;
  }
  index.piecesOfKeys.resize(keyed);
  for (std::size_t piece = index.starts.size(); piece-- > 0;) {
    if (slotOfPiece[piece] == kNoKey) continue;
    KeyPieces& entry = index.keySlots[slotOfPiece[piece]];
    index.piecesOfKeys[--entry.first] = static_cast<std::uint32_t>(piece);
  }
  return longest;
}

const ConfigFileLookup::PieceIndex& ConfigFileLookup::Lines() {
  if (!lines_) {
    lines_.emplace();
    longestLine_ = BuildIndex(*lines_, kWholeLineBuffer);
  }
  return *lines_;
}

const ConfigFileLookup::CutLines& ConfigFileLookup::CutFor(std::size_t bufferSize) {
  auto [it, inserted] = cuts_.try_emplace(bufferSize);
  CutLines& cut = it->second;
  if (!inserted) return cut;
  const PieceIndex& lines = Lines();
  std::size_t longLines = 0;
  for (std::size_t line = 0; line < lines.starts.size(); ++line) {
    const std::size_t start = lines.starts[line];
    const std::size_t end = PieceEnd(lines, line);
    if (end - start <= bufferSize - 1) continue;
    if (++longLines > kMaxPatchedLongLines) {
      cut.pieces.clear();
      cut.own.emplace();
      BuildIndex(*cut.own, bufferSize);
      return cut;
    }
    for (std::size_t pos = start; pos < end;) {
      const std::string_view piece = PieceAt(pos, bufferSize);
      const std::string_view key = IsCommentLine(piece) ? std::string_view() : LineKey(piece);
      cut.pieces.push_back({static_cast<std::uint32_t>(line), static_cast<std::uint32_t>(pos),
                            static_cast<std::uint32_t>(pos + piece.size()), key});
      pos += piece.size();
    }
  }
  return cut;
}

int ConfigFileLookup::LineNumberAt(std::size_t offset) const {
  const std::size_t at = std::min(offset, text_.empty() ? 0 : text_.size() - 1);
  if (!lines_) {  // no lookup yet: count the line ends before
    const auto ends =
        std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return static_cast<int>(ends) + 1;
  }
  // Every LF before `at` starts a line at or before it; line 1 starts at 0.
  const auto after = std::upper_bound(lines_->starts.begin(), lines_->starts.end(), at);
  return after == lines_->starts.begin() ? 1 : static_cast<int>(after - lines_->starts.begin());
}

std::optional<std::string_view> ConfigFileLookup::ReadLinePiece(std::size_t bufferSize) {
  if (bufferSize < kMinBuffer || position_ >= text_.size()) return std::nullopt;
  const std::string_view piece = PieceAt(position_, bufferSize);
  position_ += piece.size();
  return piece;
}

std::optional<std::string_view> ConfigFileLookup::FindInIndex(const PieceIndex& index,
                                                              std::size_t first,
                                                              std::string_view key) {
  const KeyPieces* pieces = FindKey(index, key);
  if (!pieces) return std::nullopt;
  const auto begin = index.piecesOfKeys.begin() + pieces->first;
  const auto hit = std::lower_bound(begin, begin + pieces->count, first);
  if (hit == begin + pieces->count) return std::nullopt;
  const std::size_t start = index.starts[*hit];
  const std::size_t end = PieceEnd(index, *hit);
  position_ = end;
  return std::string_view(text_).substr(start, end - start);
}

std::optional<std::string_view> ConfigFileLookup::FindInCutLines(const CutLines& cut,
                                                                 std::size_t firstLine,
                                                                 std::string_view key) {
  constexpr std::uint32_t kNone = ~std::uint32_t{0};
  const PieceIndex& lines = *lines_;
  // The lines whose key is `key`, from `firstLine` on; those that are long
  // are read from their pieces instead.
  const KeyPieces* run = FindKey(lines, key);
  const std::uint32_t* candidate = nullptr;
  const std::uint32_t* runEnd = nullptr;
  if (run) {
    const std::uint32_t* runBegin = lines.piecesOfKeys.data() + run->first;
    runEnd = runBegin + run->count;
    candidate = std::lower_bound(runBegin, runEnd, firstLine);
  }
  auto next = std::lower_bound(
      cut.pieces.begin(), cut.pieces.end(), firstLine,
      [](const LongLinePiece& piece, std::size_t line) { return piece.line < line; });
  for (;;) {
    const std::uint32_t wholeLine = candidate != runEnd ? *candidate : kNone;
    const std::uint32_t longLine = next != cut.pieces.end() ? next->line : kNone;
    if (wholeLine == kNone && longLine == kNone) return std::nullopt;
    if (wholeLine < longLine) {
      const std::size_t start = lines.starts[wholeLine];
      const std::size_t end = PieceEnd(lines, wholeLine);
      position_ = end;
      return std::string_view(text_).substr(start, end - start);
    }
    for (; next != cut.pieces.end() && next->line == longLine; ++next) {
      if (!key.empty() && next->key == key) {
        position_ = next->end;
        return std::string_view(text_).substr(next->start, next->end - next->start);
      }
    }
    while (candidate != runEnd && *candidate <= longLine) ++candidate;
  }
}

std::string ConfigFileLookup::FindValueByKey(std::string_view key, ValueKind kind,
                                             std::size_t bufferSize, bool rewind) {
  if (rewind) position_ = 0;
  if (bufferSize < kMinBuffer) return std::string(NotFoundMarker);
  const auto valueOf = [this, kind](std::string_view piece) {
    if (kind == ValueKind::kToken) return std::string(LineTokenValue(piece));
    return std::string(hasNul_ ? LineTextValue(piece) : TextValueWithoutNul(piece));
  };
  const auto matches = [&key](std::string_view piece) {
    return !IsCommentLine(piece) && !key.empty() && LineKey(piece) == key;
  };
  const PieceIndex& lines = Lines();
  const CutLines* cut = bufferSize - 1 >= longestLine_ ? nullptr : &CutFor(bufferSize);
  const PieceIndex& index = cut && cut->own ? *cut->own : lines;

  // A position inside a long line is no piece start of the index: read the
  // rest of that line piece by piece, as the line reader would, until the
  // pieces meet the index again (at the latest at the next line start).
  std::size_t first = 0;
  for (;;) {
    if (position_ >= text_.size()) return std::string(NotFoundMarker);
    if (position_ == 0) break;
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
  const auto found =
      cut && !cut->own ? FindInCutLines(*cut, first, key) : FindInIndex(index, first, key);
  return found ? valueOf(*found) : std::string(NotFoundMarker);
}

}  // namespace vantrell
