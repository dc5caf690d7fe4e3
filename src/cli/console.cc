#include "cli/console.h"

namespace vantrell {

void Console::ShowMessage(std::string_view text, MessageIcon) { WriteLine(text); }

void Console::Progress(std::string_view text) {
  if (!quiet_) WriteLine(text);
}

void Console::Error(std::string_view text) { WriteLine(text); }

void Console::WriteLine(std::string_view text) {
  std::lock_guard lock(mutex_);
  err_ << text;
  if (text.empty() || text.back() != '\n') err_ << '\n';
  err_.flush();
}

}  // namespace vantrell
