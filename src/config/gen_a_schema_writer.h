#pragma once
/// The writing side of the A8/R8 file schema: writes the rows of a section
/// as one generation lays them out (legend or catalogue comment, the
/// per-number header lines, the value lines with their TABs and line ends),
/// with the values read through the accessors. A generation's writer
/// derives from it, writes its banners and special sections itself and
/// overrides the hooks where its layout is irregular (fibre uplinks, trunk
/// lines).

#include <string>

#include "config/config_block.h"
#include "config/file_writer.h"
#include "config/gen_a_schema.h"
#include "config/item_accessors.h"

namespace vantrell::a8schema {

/// A legend piece with "{low}" and "{high}" (a number's range) or "{max}"
/// (a text's longest length) filled from `rule`, so that the legend states
/// what the reader checks. Other braces stay as they are.
std::string FillRuleValues(std::string_view legend, const Rule& rule);

class SchemaFileWriter {
 public:
  SchemaFileWriter(Gen gen, std::string& out, const ConfigBlock& block,
                   const ItemAccessors& accessors)
      : file_(out), block_(block), accessors_(accessors), gen_(gen) {}
  virtual ~SchemaFileWriter() = default;
  SchemaFileWriter(const SchemaFileWriter&) = delete;
  SchemaFileWriter& operator=(const SchemaFileWriter&) = delete;

  /// Writes the rows of `section` in order: a row with the rows that follow
  /// it `withPrevious` as one block, its legend once, then for each number
  /// the header and the value lines.
  void WriteRows(Section section);

  /// Number `n` of `row` in this generation's format; empty when the
  /// accessors cannot give the item (a stored name-less value is noted).
  std::string ValueText(const Row& row, int n) const;

 protected:
  /// Hooks of the layout; the defaults follow the row.
  virtual std::string Value(const Row& row, int n) const { return ValueText(row, n); }
  virtual std::string Header(const Row& row, int n) const;
  virtual int Tabs(const Row& row, int n, bool emptyValue) const;
  virtual LineEnd End(const Row& row, int n) const;

  /// The legend, or GenA1's catalogue comment, of a row.
  void WriteLegend(const Row& row);
  /// The value line of number `n`.
  void WriteValueLine(const Row& row, int n);

  const Layout& LayoutOf(const Row& row) const { return a8schema::LayoutOf(row, gen_); }
  std::optional<std::uint32_t> Number(ConfigItemId id) const {
    return accessors_.getNumber(block_, id);
  }

  ConfigTextWriter file_;
  const ConfigBlock& block_;
  const ItemAccessors& accessors_;
  const Gen gen_;
};

}  // namespace vantrell::a8schema
