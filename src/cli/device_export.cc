#include "cli/device_export.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/model_table.h"
#include "net/http_texts.h"
#include "ops/export_configuration.h"
#include "ops/selection_rights.h"
#include "ops/video_server_export.h"

namespace vantrell {

std::optional<std::string> ExportRefusal(const DeviceRecord& record) {
  if (!IsAccessible(record)) return NotAccessibleText(record);
  if (!IsUsable(record)) return PasswordProtectedText(record);
  return std::nullopt;
}

ExportRun ExportToFile(CliContext& context, DeviceRecord& record, const std::string& path) {
  if (!IsKavexModelId(record.modelId)) {
    const int result = ExportDeviceConfiguration(record, path, &context.bracket(), context.timing);
    return {result, ExportResultText(result, record)};
  }
  StoreKavexCredentials(record, context.options.kavexUser, context.options.kavexPassword);
  const int result = ExportVideoServerParameters(record, path, &context.bracket(), context.timing);
  return {result,
          result == kDownloadUnauthorized ? kVideoLoginErrorText : VideoExportResultText(result)};
}

PrivateFolder::PrivateFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/vantrell-export-XXXXXX";
  if (mkdtemp(pattern.data())) path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

ExportRun ExportToMemory(CliContext& context, DeviceRecord& record, std::string& bytes) {
  bytes.clear();
  const PrivateFolder folder;
  if (folder.path().empty()) {
    return {kExportFileFailed, ExportResultText(kExportFileFailed, record)};
  }
  const std::string path = folder.path() + "/configuration";
  ExportRun run = ExportToFile(context, record, path);
  if (run.result != 0) return run;
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  bytes = std::move(text).str();
  return run;
}

}  // namespace vantrell
