/// vantrell-docs: writes one generated document of the command line.
///   vantrell-docs man|window-man|bash|zsh OUTPUT
///   vantrell-docs sim-man OUTPUT USAGE   (USAGE: what vantrell-sim --help printed)
/// The build runs it for the manual pages and the shell completions.

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

#include "cli/docs/completion_scripts.h"
#include "cli/docs/manual_page.h"

namespace {

/// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWhole(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vantrell;
  const std::map<std::string, std::string (*)()> documents = {
      {"man", VantrellManualPage},
      {"window-man", WindowManualPage},
      {"bash", BashCompletionScript},
      {"zsh", ZshCompletionScript},
  };
  const std::string kind = argc >= 2 ? argv[1] : "";
  std::string text;
  if (kind == "sim-man" && argc == 4) {
    const std::optional<std::string> usage = ReadWhole(argv[3]);
    if (!usage) {
      std::cerr << "vantrell-docs: cannot read " << argv[3] << "\n";
      return 1;
    }
    text = SimulatorManualPage(*usage);
  } else if (const auto document = documents.find(kind); document != documents.end() && argc == 3) {
    text = document->second();
  } else {
    std::cerr << "usage: vantrell-docs man|window-man|bash|zsh OUTPUT\n"
                 "       vantrell-docs sim-man OUTPUT USAGE\n";
    return 2;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::cerr << "vantrell-docs: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
