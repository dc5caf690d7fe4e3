#pragma once
/// Problems that a configuration file writer met while it wrote a file:
/// values it could not express and wrote empty instead (a stored rate index
/// or SNMP version code without a name, for instance). Writers run on the
/// thread that exports, one file at a time; the export clears the notes
/// before it calls the writer and takes them afterwards to tell the
/// operator.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_block.h"
#include "config/item_accessors.h"

namespace vantrell {

/// Records one problem of the file being written on this thread.
void NoteExportProblem(std::string text);

/// Notes that the stored value of the item under `key` has no name in the
/// file and was written as an empty value.
void NoteUnnamedValue(std::string_view key);

/// The problems noted on this thread since the last call, in order; clears
/// them.
std::vector<std::string> TakeExportProblems();

/// The item as the file shows it (its text, or its number in decimal). A
/// stored value that has no name in the file (a rate index or SNMP version
/// code out of range) gives an empty value and is noted under `key`.
std::string NamedValueOrNote(const ItemAccessors& accessors, const ConfigBlock& block,
                             ConfigItemId id, std::string_view key, std::size_t listIndex = 0);

}  // namespace vantrell
