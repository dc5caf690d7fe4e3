#pragma once
/// Where the steps that the operator must hear about (the ARP/route bracket,
/// the search worker) put their message boxes. The window shows them with
/// the caption "Search Utility"; the command line writes them to stderr.

#include <string_view>

namespace vantrell {

enum class MessageIcon { kNone, kInformation, kStop };

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  /// Shows one message and returns when the operator has dismissed it.
  virtual void ShowMessage(std::string_view text, MessageIcon icon) = 0;
};

}  // namespace vantrell
