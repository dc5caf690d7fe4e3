#include "net/http_client.h"

#include <curl/curl.h>

#include <chrono>
#include <exception>
#include <mutex>
#include <string_view>

#include "core/ipv4.h"
#include "net/http_files.h"
#include "platform/atomic_file.h"
#include "net/http_texts.h"

namespace vantrell {
namespace {

constexpr std::uint16_t kDefaultHttpPort = 80;

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

/// What one transfer came to.
enum class TransferEnd { kDone, kFailed, kCancelled, kTimedOut };

/// Receives the page of the answer; a sink that returns false stops the
/// transfer.
class PageSink {
 public:
  virtual ~PageSink() = default;
  virtual bool Add(std::string_view bytes) = 0;
};

size_t WriteToSink(char* data, size_t size, size_t count, void* sink) {
  const size_t bytes = size * count;
  return static_cast<PageSink*>(sink)->Add(std::string_view(data, bytes)) ? bytes : 0;
}

/// One easy handle in its own multi handle, so that the wait between two
/// steps of the transfer is ours: it checks the cancel flag and the time
/// without a byte moving.
class CurlTransfer {
 public:
  CurlTransfer() : easy_(curl_easy_init()), multi_(curl_multi_init()) {}
  ~CurlTransfer() {
    if (multi_ != nullptr && easy_ != nullptr && added_) curl_multi_remove_handle(multi_, easy_);
    if (easy_ != nullptr) curl_easy_cleanup(easy_);
    if (multi_ != nullptr) curl_multi_cleanup(multi_);
    curl_slist_free_all(headers_);
  }
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  bool valid() const { return easy_ != nullptr && multi_ != nullptr; }
  CURL* easy() { return easy_; }

  /// The settings both transfers share. False when the library refuses one.
  bool Prepare(const DeviceRecord& record, std::string_view path, const char* agent,
               const Timing& timing, PageSink* sink) {
    const std::uint16_t port = record.webPort != 0 ? record.webPort : kDefaultHttpPort;
    url_ = "http://" + FormatIpv4(record.ipAddr) + ":" + std::to_string(port);
    url_.append(path);
    bool ok = true;
    auto set = [&ok](CURLcode rc) { ok = ok && rc == CURLE_OK; };
    set(curl_easy_setopt(easy_, CURLOPT_URL, url_.c_str()));
    set(curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http"));
    set(curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_0));
    set(curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent));
    // The device is on the local network: never through a proxy from the
    // environment.
    set(curl_easy_setopt(easy_, CURLOPT_PROXY, ""));
    set(curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L));
    set(curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L));
    set(curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(timing.httpClientConnectMs)));
    set(curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &WriteToSink));
    set(curl_easy_setopt(easy_, CURLOPT_WRITEDATA, sink));
    return ok;
  }

  /// Extra header lines, each without its line end.
  bool SetHeaders(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) {
      curl_slist* grown = curl_slist_append(headers_, std::string(line).c_str());
      if (grown == nullptr) return false;
      headers_ = grown;
    }
    return curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_) == CURLE_OK;
  }

  /// How long a transfer may go without a byte moving, and in all.
  struct Limits {
    int idleMs;  ///< once the request body is out (or without one)
    /// While the request body is going out; 0: idleMs.
    int sendingIdleMs = 0;
    curl_off_t bodySize = 0;
    int totalMs = 0;  ///< 0: no overall limit
  };

  /// Runs the transfer to its end.
  TransferEnd Run(const Limits& limits, int pollMs, const std::atomic<bool>* cancel) {
    using Clock = std::chrono::steady_clock;
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return TransferEnd::kFailed;
    added_ = true;
    if (pollMs < 1) pollMs = 1;
    curl_off_t lastMoved = -1;
    const auto start = Clock::now();
    auto lastActivity = start;
    for (;;) {
      int running = 0;
      if (curl_multi_perform(multi_, &running) != CURLM_OK) return TransferEnd::kFailed;
      if (running == 0) break;
      if (cancel != nullptr && cancel->load()) return TransferEnd::kCancelled;
      const curl_off_t moved = BytesMoved();
      const bool sending = limits.sendingIdleMs > 0 && BytesSent() < limits.bodySize;
      const int idleMs = sending ? limits.sendingIdleMs : limits.idleMs;
      if (moved != lastMoved) {
        lastMoved = moved;
        lastActivity = Clock::now();
      } else if (Clock::now() - lastActivity > std::chrono::milliseconds(idleMs)) {
        return TransferEnd::kTimedOut;
      }
      if (limits.totalMs > 0 && Clock::now() - start > std::chrono::milliseconds(limits.totalMs)) {
        return TransferEnd::kTimedOut;
      }
      if (curl_multi_poll(multi_, nullptr, 0, pollMs, nullptr) != CURLM_OK) {
        return TransferEnd::kFailed;
      }
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE) {
        return message->data.result == CURLE_OK ? TransferEnd::kDone : TransferEnd::kFailed;
      }
    }
    return TransferEnd::kFailed;
  }

  long HttpStatus() {
    long status = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
    return status;
  }

 private:
  curl_off_t BytesSent() {
    curl_off_t up = 0;
    curl_easy_getinfo(easy_, CURLINFO_SIZE_UPLOAD_T, &up);
    return up;
  }
  curl_off_t BytesMoved() {
    curl_off_t down = 0;
    curl_easy_getinfo(easy_, CURLINFO_SIZE_DOWNLOAD_T, &down);
    return BytesSent() + down;
  }

  CURL* easy_;
  CURLM* multi_;
  curl_slist* headers_ = nullptr;
  std::string url_;
  bool added_ = false;
};

/// The firmware answer with its progress.
class FirmwareSink : public PageSink {
 public:
  explicit FirmwareSink(std::atomic<int>* progress) : reader_(progress) {}
  bool Add(std::string_view bytes) override {
    if (!reader_.Add(bytes)) overflow_ = true;
    return !overflow_;
  }
  const std::string& page() const { return reader_.answer(); }
  bool overflow() const { return overflow_; }

 private:
  FirmwareAnswerReader reader_;
  bool overflow_ = false;
};

/// The downloaded page, at most kDownloadLimit bytes.
class DownloadSink : public PageSink {
 public:
  bool Add(std::string_view bytes) override {
    if (page_.size() + bytes.size() > kDownloadLimit) {
      overflow_ = true;
      return false;
    }
    page_.append(bytes);
    return true;
  }
  const std::string& page() const { return page_; }
  bool overflow() const { return overflow_; }

 private:
  std::string page_;
  bool overflow_ = false;
};

int Upload(const DeviceRecord& record, const std::string& filePath, std::atomic<int>* progress,
           const Timing& timing, const std::atomic<bool>* cancel) {
  std::string body = FirmwarePostHead(filePath);
  if (AppendWholeFile(filePath, body) != 0) return kFirmwareOtherFailure;
  body.append(kMultipartClosing);
  const std::string credentials = CredentialsHeader(record);
  const std::string length = "Content-Length: " + std::to_string(body.size());

  InitCurlOnce();
  CurlTransfer transfer;
  FirmwareSink sink(progress);
  if (!transfer.valid() ||
      !transfer.Prepare(record, kFirmwareUploadPath, kFirmwareAgent.data(), timing, &sink) ||
      !transfer.SetHeaders({kMultipartContentType, length, credentials}) ||
      curl_easy_setopt(transfer.easy(), CURLOPT_POST, 1L) != CURLE_OK ||
      curl_easy_setopt(transfer.easy(), CURLOPT_POSTFIELDSIZE_LARGE,
                       static_cast<curl_off_t>(body.size())) != CURLE_OK ||
      curl_easy_setopt(transfer.easy(), CURLOPT_POSTFIELDS, body.data()) != CURLE_OK) {
    return kFirmwareNetworkFailure;
  }
  // A device that stops taking the image fails after httpUploadIdleMs; the
  // wait for its answer once the whole body is out keeps its own length.
  const TransferEnd end = transfer.Run(
      {timing.httpFirmwareIdleMs, timing.httpUploadIdleMs, static_cast<curl_off_t>(body.size())},
      timing.httpCancelPollMs, cancel);
  if (sink.overflow()) return kFirmwareOtherFailure;
  if (end != TransferEnd::kDone) return kFirmwareNetworkFailure;
  return JudgeFirmwareAnswer(transfer.HttpStatus(), sink.page());
}

int Download(const DeviceRecord& record, const std::string& filePath, const Timing& timing,
             const std::atomic<bool>* cancel) {
  const std::string user(FieldText(record.kavexUser));
  const std::string password(FieldText(record.kavexPassword));
  InitCurlOnce();
  CurlTransfer transfer;
  DownloadSink sink;
  if (!transfer.valid() ||
      !transfer.Prepare(record, kConfigDownloadPath, kDownloadAgent.data(), timing, &sink) ||
      curl_easy_setopt(transfer.easy(), CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC)) !=
          CURLE_OK ||
      curl_easy_setopt(transfer.easy(), CURLOPT_USERNAME, user.c_str()) != CURLE_OK ||
      curl_easy_setopt(transfer.easy(), CURLOPT_PASSWORD, password.c_str()) != CURLE_OK) {
    return kDownloadFailure;
  }
  const TransferEnd end = transfer.Run({timing.httpDownloadIdleMs, 0, 0, timing.transferLimitMs},
                                       timing.httpCancelPollMs, cancel);
  if (end != TransferEnd::kDone || sink.overflow()) return kDownloadFailure;
  if (const int judged = JudgeDownloadAnswer(transfer.HttpStatus(), sink.page()); judged != 0) {
    return judged;
  }
  AtomicFile file(filePath, 0600);
  return file.Write(sink.page()) && file.Commit() ? 0 : kDownloadFailure;
}

}  // namespace

int uploadFirmwareFile(const DeviceRecord& record, const std::string& filePath,
                       std::atomic<int>* progress, const Timing& timing,
                       const std::atomic<bool>* cancel) {
  try {
    return Upload(record, filePath, progress, timing, cancel);
  } catch (const std::exception&) {
    return kFirmwareOtherFailure;
  }
}

int downloadConfigFile(const DeviceRecord& record, const std::string& filePath,
                       const Timing& timing, const std::atomic<bool>* cancel) {
  try {
    return Download(record, filePath, timing, cancel);
  } catch (const std::exception&) {
    return kDownloadFailure;
  }
}

}  // namespace vantrell
