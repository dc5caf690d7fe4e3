#pragma once
/// The manual pages vantrell(1), vantrell-configurator(1) and
/// vantrell-sim(1) in man(7) format, made from the help table (and, for the
/// simulator, from its own usage text).

#include <string>
#include <string_view>

namespace vantrell {

/// `text` as man(7) body text: backslashes and hyphens escaped, a line
/// that would start with '.' or '\'' protected.
std::string RoffText(std::string_view text);

std::string VantrellManualPage();
std::string WindowManualPage();
/// `usage` is the simulator's usage text: its "  --option ARG  text"
/// lines become the OPTIONS section.
std::string SimulatorManualPage(std::string_view usage);

}  // namespace vantrell
