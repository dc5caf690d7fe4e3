#include "recording_lab.h"

#include <openssl/evp.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vantrell::lab {
namespace {

constexpr const char* kCli = VANTRELL_CLI;
constexpr const char* kSimulator = VANTRELL_SIM;
constexpr const char* kLabScript = VANTRELL_LAB_SCRIPT;
constexpr int kOpStoreBlock = 0x09;

}  // namespace

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

RecordingLab::RecordingLab(const std::string& prefix, const std::string& scenarioPath)
    : name_(prefix + std::to_string(getpid())) {
  skipReason_ = WhyNoNamespaces();
  if (!skipReason_.empty()) return;
  RemoveLabsOfEndedProcesses(prefix);
  std::string pattern = "/tmp/vantrell-" + name_ + "-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    upError_ = "cannot create a work folder in /tmp";
    return;
  }
  workDir_ = pattern;
  recordPath_ = workDir_ + "/record.jsonl";
  errPath_ = workDir_ + "/stderr.txt";
  RunCommand({kLabScript, "down", name_});
  up_ = true;
  const CommandResult result =
      RunCommand({kLabScript, "up", name_, scenarioPath, kSimulator, "--record", recordPath_});
  if (result.exitCode != 0) {
    upError_ = "scripts/lab.sh up " + name_ + " failed with exit code " +
               std::to_string(result.exitCode) + " (its messages are on stderr)";
    Down();
  }
}

CommandRun RecordingLab::Run(const std::vector<std::string>& args, int limitSeconds) {
  std::vector<std::string> argv = {
      "sh", "-c", "err=$1; shift; exec \"$@\" 2>\"$err\"", "sh", errPath_, kCli, "--quiet"};
  argv.insert(argv.end(), args.begin(), args.end());
  const CommandResult result = Exec(argv, limitSeconds);
  CommandRun run;
  run.exitCode = result.exitCode;
  run.out = result.out;
  run.err = ReadFile(errPath_);
  run.received = NewRecordLines();
  return run;
}

CommandResult RecordingLab::Exec(const std::vector<std::string>& argv, int limitSeconds) const {
  std::vector<std::string> command = {kLabScript, "exec", name_, "timeout",
                                      "-k",       "5",    std::to_string(limitSeconds)};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command);
}

bool RecordingLab::DevExec(const std::vector<std::string>& argv) const {
  std::vector<std::string> command = {kLabScript, "devexec", name_};
  command.insert(command.end(), argv.begin(), argv.end());
  return RunCommand(command).exitCode == 0;
}

void RecordingLab::Down() {
  if (up_) RunCommand({kLabScript, "down", name_});
  up_ = false;
  if (!workDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(workDir_, ignored);
    workDir_.clear();
  }
}

std::vector<nlohmann::json> RecordingLab::NewRecordLines() {
  const std::string text = ReadFile(recordPath_);
  std::vector<nlohmann::json> lines;
  std::size_t start = recordOffset_;
  for (std::size_t end = text.find('\n', start); end != std::string::npos;
       end = text.find('\n', start)) {
    lines.push_back(nlohmann::json::parse(text.substr(start, end - start), nullptr, false));
    start = end + 1;
  }
  recordOffset_ = start;
  return lines;
}

using nlohmann::json;

std::string Text(const json& line, const char* key) {
  const auto found = line.find(key);
  return found != line.end() && found->is_string() ? found->get<std::string>() : "<no text>";
}

int Opcode(const json& line) {
  const auto found = line.find("opcode");
  return found != line.end() && found->is_number_integer() ? found->get<int>() : -1;
}

double Time(const json& line) {
  const auto found = line.find("t");
  return found != line.end() && found->is_number() ? found->get<double>() : -1.0;
}

std::vector<int> Opcodes(const std::vector<json>& lines) {
  std::vector<int> opcodes;
  for (const json& line : lines) opcodes.push_back(Opcode(line));
  return opcodes;
}

std::vector<json> LinesOf(const std::vector<json>& lines, const std::string& mac) {
  std::vector<json> mine;
  for (const json& line : lines) {
    if (Text(line, "mac") == mac) mine.push_back(line);
  }
  return mine;
}

std::vector<json> RequestsOf(const std::vector<json>& lines, const std::string& mac) {
  std::vector<json> mine;
  for (const json& line : LinesOf(lines, mac)) {
    if (line.contains("opcode")) mine.push_back(line);
  }
  return mine;
}

json First(const std::vector<json>& lines, int opcode) {
  for (const json& line : lines) {
    if (Opcode(line) == opcode) return line;
  }
  return json::object();
}

std::string StoredBlock(const std::vector<json>& lines) {
  const std::string request = Unhex(Text(First(lines, kOpStoreBlock), "bytes"));
  return request.size() > 3 ? request.substr(3) : std::string();
}

std::string Dump(const std::vector<json>& lines) {
  std::string text;
  for (const json& line : lines) text += line.dump() + "\n";
  return text;
}

std::string Hex(std::string_view bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (unsigned char byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string Unhex(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

std::string Md5(std::string_view bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr) != 1) return "";
  return std::string(reinterpret_cast<const char*>(digest), length);
}

bool Has(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

}  // namespace vantrell::lab
