#pragma once
/// Where the command line writes: results on stdout, messages and progress
/// on stderr. Messages that the window shows in a message box arrive here
/// from any thread and are written one a line, control characters other
/// than line feeds and tabs blanked.

#include <mutex>
#include <ostream>
#include <string_view>

#include "core/message.h"

namespace vantrell {

class Console : public MessageSink {
 public:
  Console(std::ostream& out, std::ostream& err, bool quiet) : out_(out), err_(err), quiet_(quiet) {}

  std::ostream& out() { return out_; }

  /// A message of the window's message boxes: always shown.
  void ShowMessage(std::string_view text, MessageIcon icon) override;
  /// A progress line: left out with --quiet.
  void Progress(std::string_view text);
  /// An error of the command line itself ("device X not found").
  void Error(std::string_view text);

 private:
  void WriteLine(std::string_view text);
  std::mutex mutex_;
  std::ostream& out_;
  std::ostream& err_;
  bool quiet_;
};

}  // namespace vantrell
