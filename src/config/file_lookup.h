#pragma once
/// The value lookups of the configuration file readers. A configuration
/// file is read as the C line reader reads a text-mode file: CR LF counts
/// as one line end, and a line longer than the reader's buffer arrives as
/// several pieces, each of at most (buffer size - 1) characters. A piece
/// whose first character is '#' is a comment; otherwise its first
/// white-space-delimited token is its key.
///
/// Each lookup searches the file for the first piece whose key is the file
/// key of a catalogue constant and returns its value, or the text
/// "donothing" when no piece carries the key:
///
/// | lookup               | start              | buffer | value |
/// |----------------------|--------------------|--------|-------|
/// | `findValueToken`     | start of file      | 330    | token |
/// | `findValueText`      | start of file      | 330    | text  |
/// | `findValueTextShort` | start of file      | 200    | text  |
/// | `findNextValueText`  | current position   | 200    | text  |
///
/// All four leave the position right after the piece they matched (at the
/// end of the file when nothing matched), so repeated findNextValueText
/// calls return the following pieces with the same key, one per call.
///
/// The file's lines are indexed once (the lines of each key), and a buffer
/// too short for a few lines adds the pieces of those lines, so a lookup
/// costs a hash of the key instead of a rescan, and returns exactly what a
/// rescan with the C line reader would.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrell {

/// What every lookup returns for an absent key. A value that literally
/// reads "donothing" is therefore the same as an absent key.
inline constexpr std::string_view NotFoundMarker = "donothing";

/// True for the NotFoundMarker.
inline bool IsNotFound(std::string_view value) { return value == NotFoundMarker; }

/// Line buffers, in characters including the terminating NUL.
inline constexpr std::size_t kLookupLineBuffer = 330;  ///< findValueToken, findValueText
inline constexpr std::size_t kShortLookupLineBuffer =
    200;  ///< findValueTextShort, findNextValueText
inline constexpr std::size_t kSequentialLineBuffer = 512;  ///< the modular model's reader

// The parts of one line piece. Each works on the piece up to its first NUL
// byte, as C string functions see it.

/// The piece's first character is '#'.
bool IsCommentLine(std::string_view piece);
/// The first white-space-delimited token; empty for a blank piece.
std::string_view LineKey(std::string_view piece);
/// The second white-space-delimited token; empty when the key stands alone.
std::string_view LineTokenValue(std::string_view piece);
/// Everything after the key, without the blanks and tabs that follow the
/// key and without trailing characters of code 32 and below; inner blanks
/// remain. Empty when the key stands alone.
std::string_view LineTextValue(std::string_view piece);

/// The text with every CR LF pair read as a single LF, as a text-mode read
/// delivers it; a CR without LF stays.
std::string NormalizeLineEnds(std::string_view fileText);

/// A configuration file open for the lookups: its text, a read position
/// and the piece index. Not copyable (the index points into the text).
class ConfigFileLookup {
 public:
  /// Takes the file's bytes (LF or CR LF line ends; at most 4 GiB - 1
  /// after CR LF is read as LF, the rest is left out); the position is at
  /// the start.
  explicit ConfigFileLookup(std::string_view fileText);
  ConfigFileLookup(const ConfigFileLookup&) = delete;
  ConfigFileLookup& operator=(const ConfigFileLookup&) = delete;

  /// Rewinds; token value of the catalogue constant's key, 330-character pieces.
  std::string findValueToken(std::string_view constName);
  /// Rewinds; text value, 330-character pieces.
  std::string findValueText(std::string_view constName);
  /// Rewinds; text value, 200-character pieces.
  std::string findValueTextShort(std::string_view constName);
  /// From the current position; text value, 200-character pieces.
  std::string findNextValueText(std::string_view constName);

  enum class ValueKind { kToken, kText };
  /// The general lookup by file key: from the start (`rewind`) or the
  /// current position, with pieces of a `bufferSize` buffer (at least 2).
  std::string FindValueByKey(std::string_view key, ValueKind kind, std::size_t bufferSize,
                             bool rewind);

  /// The next piece as the C line reader with a `bufferSize` buffer (at
  /// least 2) reads it: at most bufferSize - 1 characters, up to and
  /// including a line end. Nothing at the end of the file. The piece is
  /// returned raw (NUL bytes included); it stays valid while this object
  /// lives.
  std::optional<std::string_view> ReadLinePiece(std::size_t bufferSize);

  /// The 1-based line on which the character at `offset` stands (LF ends a
  /// line); the last line for an offset at or past the end. After the first
  /// lookup a search in the line index, not a count from the start.
  int LineNumberAt(std::size_t offset) const;

  void Rewind() { position_ = 0; }
  std::size_t Position() const { return position_; }
  /// Moves to `position`, at most the end of the text.
  void Seek(std::size_t position);
  /// The text as read (CR LF already taken as LF).
  std::string_view Text() const { return text_; }

 private:
  /// The pieces carrying one key: a run of `count` piece numbers, ascending,
  /// from `first` in PieceIndex::piecesOfKeys.
  struct KeyPieces {
    std::uint32_t keyStart = 0;   ///< where the key stands in the text
    std::uint32_t keyLength = 0;  ///< 0 for a free slot
    std::uint32_t first = 0;
    std::uint32_t count = 0;
  };

  /// Pieces of one buffer size, tiling the text from its start, and the
  /// non-comment pieces of each key (an open-addressing hash of the keys, so
  /// that building it allocates three arrays however many keys there are).
  struct PieceIndex {
    std::vector<std::size_t> starts;
    std::vector<KeyPieces> keySlots;  ///< a power of two, at least twice the keyed pieces
    std::vector<std::uint32_t> piecesOfKeys;
  };

  /// A buffer shorter than some lines: the pieces of those lines, in text
  /// order, each with its key (empty for a comment or a blank piece). Every
  /// other line is one piece, as in the line index, so a lookup takes the
  /// line index and these pieces together. With many long lines the buffer
  /// gets a piece index of its own instead.
  struct LongLinePiece {
    std::uint32_t line;  ///< its line's number in the line index
    std::uint32_t start;
    std::uint32_t end;
    std::string_view key;
  };
  struct CutLines {
    std::vector<LongLinePiece> pieces;
    std::optional<PieceIndex> own;
  };
  /// Long lines up to which a buffer makes do with the line index.
  static constexpr std::size_t kMaxPatchedLongLines = 32;

  /// The line index, built at the first lookup.
  const PieceIndex& Lines();
  const CutLines& CutFor(std::size_t bufferSize);
  /// Fills `index` with the pieces of `bufferSize`; returns the longest.
  std::size_t BuildIndex(PieceIndex& index, std::size_t bufferSize) const;
  /// The first piece from piece number `first` of `index` that carries
  /// `key`, as [start, end) in the text; the position moves after it.
  std::optional<std::string_view> FindInIndex(const PieceIndex& index, std::size_t first,
                                              std::string_view key);
  /// The same over the line index patched with the long lines' pieces.
  std::optional<std::string_view> FindInCutLines(const CutLines& cut, std::size_t firstLine,
                                                 std::string_view key);
  const KeyPieces* FindKey(const PieceIndex& index, std::string_view key) const;
  std::string_view KeyOf(const KeyPieces& entry) const {
    return std::string_view(text_).substr(entry.keyStart, entry.keyLength);
  }
  std::string_view PieceAt(std::size_t position, std::size_t bufferSize) const;
  std::size_t PieceEnd(const PieceIndex& index, std::size_t piece) const;

  std::string text_;
  std::size_t position_ = 0;
  bool hasNul_ = false;          ///< values are cut at a NUL only when the text holds one
  std::size_t longestLine_ = 0;  ///< in characters, its '\n' included; known with the line index
  std::optional<PieceIndex> lines_;
  std::map<std::size_t, CutLines> cuts_;
};

}  // namespace vantrell
