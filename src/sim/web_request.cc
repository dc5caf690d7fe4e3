#include "sim/web_request.h"

#include <algorithm>
#include <cctype>

#include "platform/digest.h"

namespace vantrell::sim {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

/// The value of `key="..."` in a header line, where key is not the tail of
/// a longer word ("name" in "filename").
std::optional<std::string> QuotedParameter(std::string_view line, std::string_view key) {
  const std::string pattern = std::string(key) + "=\"";
  for (std::size_t at = line.find(pattern); at != std::string_view::npos;
       at = line.find(pattern, at + 1)) {
    if (at > 0 && std::isalnum(static_cast<unsigned char>(line[at - 1]))) continue;
    const std::size_t start = at + pattern.size();
    const std::size_t end = line.find('"', start);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(start, end - start));
  }
  return std::nullopt;
}

std::optional<std::string> Boundary(std::string_view contentType) {
  const std::string lower = Lower(contentType);
  if (!lower.starts_with("multipart/form-data")) return std::nullopt;
  const std::size_t at = lower.find("boundary=");
  if (at == std::string::npos) return std::nullopt;
  std::string_view value = contentType.substr(at + 9);
  value = value.substr(0, value.find(';'));
  value = Trim(value);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  if (value.empty()) return std::nullopt;
  return std::string(value);
}

}  // namespace

std::optional<std::string_view> WebRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (EqualsIgnoringCase(key, name)) return std::string_view(value);
  }
  return std::nullopt;
}

std::string_view WebRequest::Path() const {
  const std::string_view target(this->target);
  return target.substr(0, target.find('?'));
}

WebRequestReader::State WebRequestReader::Bad(int status, std::string reason) {
  badStatus_ = status;
  badReason_ = std::move(reason);
  state_ = State::kBad;
  buffer_.clear();
  return state_;
}

WebRequestReader::State WebRequestReader::Feed(std::span<const std::uint8_t> bytes) {
  if (state_ != State::kNeedMore) return state_;
  if (headDone_) {
    const std::size_t take = std::min(bytes.size(), bodyLength_ - request_.body.size());
    request_.body.append(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(take));
  } else {
    buffer_.append(bytes.begin(), bytes.end());
    const std::size_t end = buffer_.find("\r\n\r\n");
    if (end == std::string::npos) {
      if (buffer_.size() > kMaxWebHeaderBytes) return Bad(431, "request header too large");
      return state_;
    }
    if (end > kMaxWebHeaderBytes) return Bad(431, "request header too large");
    if (ParseHead(std::string_view(buffer_).substr(0, end)) == State::kBad) return state_;
    headDone_ = true;
    const std::string_view rest = std::string_view(buffer_).substr(end + 4);
    request_.body.reserve(bodyLength_);
    request_.body.append(rest.substr(0, std::min(rest.size(), bodyLength_)));
    buffer_.clear();
  }
  if (request_.body.size() == bodyLength_) state_ = State::kComplete;
  return state_;
}

WebRequestReader::State WebRequestReader::ParseHead(std::string_view head) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start <= head.size();) {
    const std::size_t end = std::min(head.find("\r\n", start), head.size());
    lines.push_back(head.substr(start, end - start));
    start = end + 2;
  }
  const std::string_view requestLine = lines.front();
  const std::size_t firstSpace = requestLine.find(' ');
  const std::size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace) {
    return Bad(400, "malformed request line");
  }
  request_.method = std::string(requestLine.substr(0, firstSpace));
  request_.target =
      std::string(Trim(requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1)));
  request_.version = std::string(requestLine.substr(lastSpace + 1));
  if (request_.version != "HTTP/1.0" && request_.version != "HTTP/1.1") {
    return Bad(505, "unsupported version " + request_.version);
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::size_t colon = lines[i].find(':');
    if (colon == std::string_view::npos || colon == 0) return Bad(400, "malformed header line");
    request_.headers.emplace_back(std::string(Trim(lines[i].substr(0, colon))),
                                  std::string(Trim(lines[i].substr(colon + 1))));
  }
  if (request_.Header("Transfer-Encoding")) return Bad(501, "chunked bodies are not taken");
  const std::optional<std::string_view> length = request_.Header("Content-Length");
  if (!length) {
    if (request_.method == "POST") return Bad(411, "POST without Content-Length");
    bodyLength_ = 0;
    return state_;
  }
  if (length->empty() || length->size() > 12 ||
      !std::all_of(length->begin(), length->end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return Bad(400, "bad Content-Length");
  }
  bodyLength_ = std::stoull(std::string(*length));
  if (bodyLength_ > kMaxWebBodyBytes) return Bad(413, "body too large");
  return state_;
}

bool WebRequestReader::WantsContinue() const {
  if (!headDone_ || request_.version != "HTTP/1.1") return false;
  const std::optional<std::string_view> expect = request_.Header("Expect");
  return expect && EqualsIgnoringCase(*expect, "100-continue");
}

bool HasBasicCredentials(const WebRequest& request, std::string_view user,
                         std::string_view password) {
  const std::optional<std::string_view> value = request.Header("Authorization");
  if (!value) return false;
  const std::size_t space = value->find(' ');
  if (space == std::string_view::npos || !EqualsIgnoringCase(value->substr(0, space), "Basic")) {
    return false;
  }
  const std::string expected = Base64Encode(std::string(user) + ":" + std::string(password));
  return Trim(value->substr(space + 1)) == expected;
}

std::optional<UploadPart> ExtractUpload(const WebRequest& request, std::string* why) {
  const auto fail = [why](const char* reason) -> std::optional<UploadPart> {
    if (why) *why = reason;
    return std::nullopt;
  };
  const std::optional<std::string_view> contentType = request.Header("Content-Type");
  if (!contentType) return fail("no Content-Type");
  const std::optional<std::string> boundary = Boundary(*contentType);
  if (!boundary) return fail("Content-Type is not multipart/form-data with a boundary");
  const std::string_view body(request.body);
  const std::string bare = *boundary + "\r\n";
  const std::string dashed = "--" + *boundary + "\r\n";
  std::size_t headersStart;
  bool standardForm = false;
  if (body.starts_with(bare)) {
    headersStart = bare.size();
  } else if (body.starts_with(dashed)) {
    headersStart = dashed.size();
    standardForm = true;
  } else {
    return fail("body does not start with the boundary");
  }
  const std::size_t headersEnd = body.find("\r\n\r\n", headersStart);
  if (headersEnd == std::string_view::npos) return fail("part headers do not end");
  const std::size_t dataStart = headersEnd + 4;
  const std::string closing = *boundary + "--";
  std::size_t dataEnd = body.rfind(closing);
  if (dataEnd == std::string_view::npos || dataEnd < dataStart) {
    return fail("no closing boundary after the file");
  }
  const std::string_view tail = body.substr(dataEnd + closing.size());
  if (!std::all_of(tail.begin(), tail.end(), [](char c) { return c == '\r' || c == '\n'; })) {
    return fail("bytes after the closing boundary");
  }
  if (standardForm) {
    // The usual form puts "\r\n--" between the file and the boundary.
    if (dataEnd < dataStart + 4 || body.substr(dataEnd - 4, 4) != "\r\n--") {
      return fail("closing boundary without its line end");
    }
    dataEnd -= 4;
  }
  UploadPart part;
  part.partHeaders = std::string(body.substr(headersStart, headersEnd - headersStart));
  part.fieldName = QuotedParameter(part.partHeaders, "name").value_or("");
  part.fileName = QuotedParameter(part.partHeaders, "filename").value_or("");
  part.data = body.substr(dataStart, dataEnd - dataStart);
  return part;
}

}  // namespace vantrell::sim
