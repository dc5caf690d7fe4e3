#pragma once
/// What a video server's web server reads: an HTTP/1.0 or HTTP/1.1 request
/// taken from the bytes of one connection (request line, headers, a body of
/// Content-Length bytes), the Basic credentials it carries, and the one file
/// part of a multipart/form-data upload. Bounded: headers up to 16 KiB,
/// bodies up to 64 MiB; no chunked bodies.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrell::sim {

inline constexpr std::size_t kMaxWebHeaderBytes = 16 * 1024;
inline constexpr std::size_t kMaxWebBodyBytes = 64u << 20;

struct WebRequest {
  std::string method;
  std::string target;                                        ///< as in the request line
  std::string version;                                       ///< "HTTP/1.0" or "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;  ///< in order, values trimmed
  std::string body;

  /// The value of the first header of that name (any case); nothing when absent.
  std::optional<std::string_view> Header(std::string_view name) const;
  /// The target without its query ("?...").
  std::string_view Path() const;
};

class WebRequestReader {
 public:
  enum class State {
    kNeedMore,  ///< feed more bytes
    kComplete,  ///< Request() holds the whole request
    kBad,       ///< not a request this server takes; see BadStatus()
  };

  State Feed(std::span<const std::uint8_t> bytes);
  State CurrentState() const { return state_; }
  const WebRequest& Request() const { return request_; }
  WebRequest& Request() { return request_; }
  /// True once the headers are complete and they ask for "100-continue".
  bool WantsContinue() const;
  int BadStatus() const { return badStatus_; }
  const std::string& BadReason() const { return badReason_; }

 private:
  State ParseHead(std::string_view head);
  State Bad(int status, std::string reason);

  State state_ = State::kNeedMore;
  bool headDone_ = false;
  std::string buffer_;
  std::size_t bodyLength_ = 0;
  WebRequest request_;
  int badStatus_ = 0;
  std::string badReason_;
};

/// True when the request carries "Authorization: Basic" with exactly the
/// Base64 of "user:password".
bool HasBasicCredentials(const WebRequest& request, std::string_view user,
                         std::string_view password);

/// The file part of a multipart/form-data body.
struct UploadPart {
  std::string partHeaders;  ///< the part's header lines, as sent
  std::string fieldName;    ///< name="..."
  std::string fileName;     ///< filename="..." (may be empty)
  std::string_view data;    ///< the file bytes, inside the request's body
};

/// Finds the file part of an upload. The body starts with the boundary of
/// the Content-Type header (as written, or with the usual "--" before it),
/// a line end, the part's headers up to an empty line, the file bytes, and
/// ends with the boundary followed by "--" (and line ends only). Nothing,
/// with the reason in *why, when the body is not of that form.
std::optional<UploadPart> ExtractUpload(const WebRequest& request, std::string* why);

}  // namespace vantrell::sim
