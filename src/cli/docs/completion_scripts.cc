#include "cli/docs/completion_scripts.h"

#include <set>
#include <string_view>
#include <vector>

#include "cli/help_table.h"

namespace vantrell {
namespace {

using Completes = OptionHelp::Completes;

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words) out += (out.empty() ? "" : " ") + word;
  return out;
}

std::vector<std::string> CommandNames() {
  std::vector<std::string> names;
  for (const CommandHelp& command : CommandHelpTable()) names.emplace_back(command.name);
  return names;
}

std::vector<std::string> OptionNames(std::span<const OptionHelp> options) {
  std::vector<std::string> names;
  for (const OptionHelp& option : options) names.emplace_back(option.name);
  return names;
}

/// Every option, global or of a command, once.
std::vector<const OptionHelp*> AllOptions() {
  std::vector<const OptionHelp*> all;
  std::set<std::string_view> seen;
  const auto add = [&](std::span<const OptionHelp> options) {
    for (const OptionHelp& option : options) {
      if (seen.insert(option.name).second) all.push_back(&option);
    }
  };
  add(GlobalOptionHelp());
  for (const CommandHelp& command : CommandHelpTable()) add(command.options);
  return all;
}

/// The bash words that complete an option's argument, by kind.
std::string BashArgumentCompletion(const OptionHelp& option) {
  switch (option.completes) {
    case Completes::kFile:
      return "compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\"))";
    case Completes::kInterface:
      return "COMPREPLY=($(compgen -W \"$(ls /sys/class/net 2>/dev/null)\" -- \"$cur\"))";
    case Completes::kWord:
      return "COMPREPLY=($(compgen -W \"" + std::string(option.words) + "\" -- \"$cur\"))";
    case Completes::kNothing:
      break;
  }
  return "COMPREPLY=()";
}

/// A text for inside a single-quoted zsh word and a [...] description.
std::string ZshDescription(std::string_view text) {
  // The description up to its first ';' is enough for a menu.
  text = text.substr(0, text.find(';'));
  std::string out;
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else if (c == '[' || c == ']' || c == ':' || c == '\\') {
      out += '\\';
      out += c;
    } else {
      out += c;
    }
  }
  return out;
}

std::string ZshOptionWord(const OptionHelp& option) {
  std::string word = "'";
  if (option.name == "--interface") word += "*";
  word += std::string(option.name);
  if (!option.argument.empty()) word += "=";
  word += "[" + ZshDescription(option.text) + "]";
  if (!option.argument.empty()) {
    std::string argument(option.argument);
    for (char& c : argument) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    word += ":" + argument + ":";
    switch (option.completes) {
      case Completes::kFile:
        word += "_files";
        break;
      case Completes::kInterface:
        word += "_net_interfaces";
        break;
      case Completes::kWord:
        word += "(" + std::string(option.words) + ")";
        break;
      case Completes::kNothing:
        word += " ";
        break;
    }
  }
  return word + "'";
}

}  // namespace

std::string BashCompletionScript() {
  std::vector<std::string> valueOptions;
  std::string argumentCases;
  for (const OptionHelp* option : AllOptions()) {
    if (option->argument.empty()) continue;
    valueOptions.emplace_back(option->name);
    argumentCases += "    " + std::string(option->name) + ")\n      " +
                     BashArgumentCompletion(*option) + "\n      return ;;\n";
  }
  std::string optionCases;
  std::string fileCommands;
  for (const CommandHelp& command : CommandHelpTable()) {
    if (!command.options.empty()) {
      optionCases += "      " + std::string(command.name) + ") options+=\" " +
                     Joined(OptionNames(command.options)) + "\" ;;\n";
    }
    if (command.argumentsComplete == Completes::kFile) {
      fileCommands += (fileCommands.empty() ? "" : "|") + std::string(command.name);
    }
  }
  std::string valuePattern;
  for (const std::string& name : valueOptions) {
    valuePattern += (valuePattern.empty() ? "" : "|") + name;
  }
  return "# bash completion for vantrell(1), generated from its help table.\n"
         "_vantrell() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
         "  local commands=\"" +
         Joined(CommandNames()) +
         "\"\n"
         "  local command=\"\" i\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    case ${COMP_WORDS[i]} in\n"
         "      " +
         valuePattern +
         ") ((i++)) ;;\n"
         "      -*) ;;\n"
         "      *) [ -n \"$command\" ] || command=${COMP_WORDS[i]} ;;\n"
         "    esac\n"
         "  done\n"
         "  case $prev in\n" +
         argumentCases +
         "  esac\n"
         "  if [[ $cur == -* ]]; then\n"
         "    local options=\"" +
         Joined(OptionNames(GlobalOptionHelp())) +
         "\"\n"
         "    case $command in\n" +
         optionCases +
         "    esac\n"
         "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
         "  elif [ -z \"$command\" ] || [ \"$command\" = help ]; then\n"
         "    COMPREPLY=($(compgen -W \"$commands\" -- \"$cur\"))\n"
         "  else\n"
         "    case $command in\n"
         "      " +
         fileCommands +
         ") compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- \"$cur\")) ;;\n"
         "      *) COMPREPLY=() ;;\n"
         "    esac\n"
         "  fi\n"
         "}\n"
         "complete -F _vantrell vantrell\n";
}

std::string ZshCompletionScript() {
  std::string commands;
  std::string commandCases;
  for (const CommandHelp& command : CommandHelpTable()) {
    commands += "    '" + std::string(command.name) + ":" + ZshDescription(command.summary) + "'\n";
    std::string optionWords;
    for (const OptionHelp& option : command.options) optionWords += " " + ZshOptionWord(option);
    if (command.name == "help") {
      optionWords += " '1:command:(" + Joined(CommandNames()) + ")'";
    } else if (command.argumentsComplete == Completes::kFile) {
      optionWords += " '*:file:_files'";
    } else {
      optionWords += " '*:device: '";
    }
    commandCases +=
        "        " + std::string(command.name) + ") _arguments $global" + optionWords + " ;;\n";
  }
  std::string global;
  for (const OptionHelp& option : GlobalOptionHelp())
    global += "    " + ZshOptionWord(option) + "\n";
  return "#compdef vantrell\n"
         "# zsh completion for vantrell(1), generated from its help table.\n"
         "_vantrell() {\n"
         "  local curcontext=\"$curcontext\" state line ret=1\n"
         "  local -a commands global\n"
         "  commands=(\n" +
         commands +
         "  )\n"
         "  global=(\n" +
         global +
         "  )\n"
         "  _arguments -C $global '1:command:->command' '*::argument:->argument' && ret=0\n"
         "  case $state in\n"
         "    command) _describe -t commands 'vantrell command' commands && ret=0 ;;\n"
         "    argument)\n"
         "      case $words[1] in\n" +
         commandCases +
         "      esac && ret=0 ;;\n"
         "  esac\n"
         "  return ret\n"
         "}\n"
         "_vantrell \"$@\"\n";
}

}  // namespace vantrell
