#include "cli/console.h"

#include "core/device_text.h"

namespace vantrell {

void Console::ShowMessage(std::string_view text, MessageIcon) { WriteLine(text); }

void Console::Progress(std::string_view text) {
  if (!quiet_) WriteLine(text);
}

void Console::Error(std::string_view text) { WriteLine(text); }

void Console::WriteLine(std::string_view raw) {
  // Messages may carry device texts (names, function-group names).
  const std::string text = PrintableText(raw, "\n\t");
  std::lock_guard lock(mutex_);
  err_ << text;
  if (text.empty() || text.back() != '\n') err_ << '\n';
  err_.flush();
}

}  // namespace vantrell
