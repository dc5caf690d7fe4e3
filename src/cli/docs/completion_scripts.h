#pragma once
/// Shell completion of `vantrell` for bash and zsh, made from the help
/// table: the commands, the global options and each command's own options,
/// with file, interface and choice completion of their arguments.

#include <string>

namespace vantrell {

/// The script for share/bash-completion/completions/vantrell.
std::string BashCompletionScript();
/// The script for share/zsh/vendor-completions/_vantrell.
std::string ZshCompletionScript();

}  // namespace vantrell
