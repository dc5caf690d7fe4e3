#pragma once
/// Problems that a configuration file writer met while it wrote a file:
/// values it could not express and wrote empty instead (a stored rate index
/// or SNMP version code without a name, for instance). Writers run on the
/// thread that exports, one file at a time; the export clears the notes
/// before it calls the writer and takes them afterwards to tell the
/// operator.

#include <string>
#include <vector>

namespace vantrell {

/// Records one problem of the file being written on this thread.
void NoteExportProblem(std::string text);

/// The problems noted on this thread since the last call, in order; clears
/// them.
std::vector<std::string> TakeExportProblems();

}  // namespace vantrell
