#pragma once
/// The configuration post to a video server: the configuration file goes as
/// one multipart body to the server's upload CGI over our own HTTP/1.1
/// connection, and the page the server sends back before it closes the
/// connection says whether the server took it.

#include <atomic>
#include <cerrno>
#include <string>

#include "core/device_record.h"
#include "core/timing.h"

namespace vantrell {

/// Results of importViaHttp besides 0 (confirmed) and the two refusals
/// kImportNotConfirmed88 (-6) and kImportNotConfirmed (-7) of http_texts.h.
/// Socket failures return the negative errno (-ECONNREFUSED, -ECONNRESET,
/// -EPIPE, ...).
inline constexpr int kImportFileError = -1;             ///< file unreadable, or changed while read
inline constexpr int kImportTimeout = -4;               ///< a phase ran out of its waits
inline constexpr int kImportCancelled = -ECANCELED;     ///< the cancel flag was set
inline constexpr int kImportAnswerTooLong = -EMSGSIZE;  ///< answer beyond kAnswerLimit

/// Posts the file at `filePath` to the record's ipAddr at its webPort (port
/// 80 when the record says 0) with the record's kavexUser and kavexPassword
/// as Basic credentials, and judges the answer by the model ID. Blocks;
/// returns 0 or a negative result above; never throws.
///
/// Cancel: another thread may set `*cancel`; every wait checks it at least
/// every timing.httpCancelPollMs, closes the socket and returns
/// kImportCancelled.
int importViaHttp(const DeviceRecord& record, const std::string& filePath,
                  const Timing& timing = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrell
