// vantrell: the command line of the configurator.
#include <iostream>
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/options.h"
#include "cli/search_command.h"

int main(int argc, char** argv) {
  using namespace vantrell;
  const std::vector<std::string> words(argv + 1, argv + argc);
  const ParsedCommandLine parsed = ParseCommandLine(words);
  if (!parsed.options) {
    std::cerr << "vantrell: " << parsed.error << "\n" << UsageText();
    return 2;
  }
  const CliOptions& options = *parsed.options;
  if (options.help) {
    std::cout << UsageText();
    return 0;
  }
  Console console(std::cout, std::cerr, options.quiet);
  if (options.command == "search") return RunSearchCommand(options, console);
  console.Error("vantrell: command '" + options.command + "' is not available yet");
  return 2;
}
