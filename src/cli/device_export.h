#pragma once
/// A device's configuration exported as the export command exports it:
/// into a file, or into memory through a private temporary folder, for the
/// commands that compare or restore a device (export, diff, restore).

#include <optional>
#include <string>

#include "cli/cli_context.h"
#include "core/device_record.h"

namespace vantrell {

/// The window's enabling rule of Export Configuration, as a refusal.
std::optional<std::string> ExportRefusal(const DeviceRecord& record);

/// An export's result and the message the window shows for it.
struct ExportRun {
  int result = 0;
  std::string message;
};

/// Exports the switch configuration, or a video server's parameters with
/// --kavex-user and --kavex-password, to `path`. Refused credentials end
/// with the window's message (its login dialog has nothing new to offer).
ExportRun ExportToFile(CliContext& context, DeviceRecord& record, const std::string& path);

/// A folder of its own under $TMPDIR (or /tmp), removed with what it holds.
/// Its path is empty when it could not be made.
class PrivateFolder {
 public:
  PrivateFolder();
  ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

/// Exports into a private temporary file and returns its bytes in `bytes`
/// (cleared when the export fails).
ExportRun ExportToMemory(CliContext& context, DeviceRecord& record, std::string& bytes);

}  // namespace vantrell
