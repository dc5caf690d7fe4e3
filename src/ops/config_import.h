#pragma once
/// Import Configuration, device side: the tests a configuration file must
/// pass before it goes to a switch (gzip stream, header line, model line),
/// the pre-scan of the address settings near the top of the file, and
/// importToDevice with its transports: the whole file streamed to a device
/// that parses it itself (long-reply devices), or the device's block fetched,
/// overwritten by the generation's reader, validated and written back. The
/// video servers take the file over HTTP (ImportVideoServer).
///
/// Nothing here shows anything: messages come back to the caller, which
/// shows them in order through its MessageSink.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/file_writer.h"
#include "core/device_record.h"
#include "core/message.h"
#include "core/timing.h"

namespace vantrell {

struct Session;

// ---- Row texts of the import dialog's "Progress" column. ----
inline constexpr std::string_view kImportWaitText = "Wait..";
inline constexpr std::string_view kImportingText = "Importing...";
inline constexpr std::string_view kImportSuccessText = "Import Success";
inline constexpr std::string_view kImportFailText = "Import Fail";
inline constexpr std::string_view kImportTimeoutText = "Import Timeout";
inline constexpr std::string_view kImportCanceledText = "Import Canceled";
inline constexpr std::string_view kModelMismatchRowText = "Model type mismatch";

// ---- Message boxes. ----
inline constexpr std::string_view kFileFormatErrorText = "File format error.";
inline constexpr std::string_view kModelMismatchText = "Model type mismatch !";
inline constexpr std::string_view kImportProcessFailText = "Import Process Fail.";
inline constexpr std::string_view kImportProcessTimeoutText = "Import Process Timeout.";
/// "The %s function of the Configuration File has invaild settings !"
std::string GroupRejectedText(std::string_view groupName);
/// "Can not open configuration file, error code: %d"
std::string CannotOpenFileText(int errorCode);

/// Which address settings of a file differ from the device's; the review
/// dialog checks the boxes of the set bits. The same bits as the review
/// form's kChange... constants.
using AddressChangeMask = std::uint32_t;
namespace address_change {
inline constexpr AddressChangeMask kDns1 = 0x1;
inline constexpr AddressChangeMask kIpAddr = 0x2;
inline constexpr AddressChangeMask kNetmask = 0x4;
inline constexpr AddressChangeMask kGateway = 0x8;
inline constexpr AddressChangeMask kDns2 = 0x400;
/// The address mode (AUTOIP) differs.
inline constexpr AddressChangeMask kAutoIp = 0x80000000u;
}  // namespace address_change

/// The file's first three bytes when it is a gzip stream.
inline constexpr std::uint8_t kGzipMagic[3] = {0x1F, 0x8B, 0x08};
/// The first line of a configuration file; the import compares it over all
/// but its last character.
inline constexpr std::string_view kConfigFileHeader = kConfigFileHeaderLine;
/// Line buffer of the import's own line reads (header, model line,
/// pre-scan): at most 127 characters per line piece.
inline constexpr std::size_t kImportLineBuffer = 128;
/// Recognised address lines after which the pre-scan stops.
inline constexpr int kPreScanLines = 6;

/// A configuration file read in binary mode, with a read position: lines
/// are read as the C line reader reads them with a kImportLineBuffer
/// buffer (a longer line arrives as several pieces, CR stays in the line).
/// It views the bytes, which must outlive it.
class ImportFileReader {
 public:
  explicit ImportFileReader(std::string_view bytes) : bytes_(bytes) {}

  /// The next piece, up to and including '\n', at most bufferSize - 1
  /// bytes; nothing at the end of the file. What follows a NUL byte in the
  /// piece is cut off, as a C string ends there.
  std::optional<std::string_view> ReadLine(std::size_t bufferSize = kImportLineBuffer);
  std::size_t position() const { return position_; }
  void Seek(std::size_t position) {
    position_ = position < bytes_.size() ? position : bytes_.size();
  }
  bool AtEnd() const { return position_ >= bytes_.size(); }
  std::string_view bytes() const { return bytes_; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

/// The first two white-space-delimited tokens of a line, as "%s %s" scans
/// them; an absent token is empty.
struct LineTokens {
  std::string_view first;
  std::string_view second;
};
LineTokens ScanTwoTokens(std::string_view line);

/// The file starts with the gzip magic.
bool IsGzipFile(std::string_view bytes);

/// The first line is the configuration file header (an empty file fails).
/// Leaves the reader after that line.
bool HeaderLineMatches(ImportFileReader& file);

/// Reads lines up to the first whose first token begins with "ModelName";
/// its second token must be a prefix of `modelName` (an empty token
/// passes). Without such a line the test passes and the reader is at the
/// end. Leaves the reader after the model line.
bool ModelLineMatches(ImportFileReader& file, std::string_view modelName);

/// The model line's second token (the model name the file names), found
/// as ModelLineMatches finds the line; nothing without a model line. Leaves
/// the reader after the model line. The view points into the file's bytes.
std::optional<std::string_view> ReadModelLineName(ImportFileReader& file);

/// From the reader's position: copies `row` into `edited` and reads up to
/// six recognised address lines ("AUTOIP", "IPAddress", "Netmask",
/// "Gateway", "DNSIP1", other "DNSIP..." keys, tested as prefixes in that
/// order; comment lines skipped) into it. Returns the bits of the settings
/// whose file value differs from the row's.
AddressChangeMask preScanNetworkSettings(ImportFileReader& file, const DeviceRecord& row,
                                         DeviceRecord& edited);

/// What the three file tests found for one device.
struct ImportFileScan {
  enum class Outcome {
    kPassed,         ///< go on with the review and the import
    kFormatError,    ///< "File format error." - the whole run stops
    kModelMismatch,  ///< "Model type mismatch !" - the device is skipped
  };
  Outcome outcome = Outcome::kFormatError;
  bool compressed = false;  ///< gzip: header and model tests were skipped
  AddressChangeMask mask = 0;
  DeviceRecord edited = MakeZeroRecord();  ///< the row's record with the file's addresses
};

/// The gzip test, the header and model tests and the pre-scan of a switch's
/// import, on the file's bytes.
ImportFileScan ScanImportFile(std::string_view bytes, const DeviceRecord& row);

/// Reads a whole file in binary mode. False with the system error code in
/// `errorCode` when it cannot be opened or read.
bool ReadImportFile(const std::filesystem::path& path, std::string& bytes, int& errorCode);

/// A message box for the caller to show.
struct ImportMessage {
  std::string text;
  MessageIcon icon = MessageIcon::kNone;
};

/// Results of importToDevice: 0, -1, -2 (the device rejected a function
/// group; streamed transport), -4 (time-out).
inline constexpr int kImportOk = 0;
inline constexpr int kImportFailed = -1;
inline constexpr int kImportGroupRejected = -2;
inline constexpr int kImportTimedOut = -4;

struct ImportOutcome {
  int result = kImportFailed;
  std::string groupName;  ///< for kImportGroupRejected
  std::vector<ImportMessage> messages;
};

/// Why a device cannot take the file through importToDevice, before
/// anything is sent: a short-reply device that no built handler row with a
/// reader serves (video servers included), or a gzip file, which only a
/// device parsing the file itself (replyKind 1) can take. Nothing when the
/// import may go ahead.
std::optional<std::string> ImportRefusal(const DeviceRecord& row, bool compressedFile);

/// The two switch transports. Logs in to the row's address with the row's
/// password. replyKind 1: streams the file with the edited record's
/// address settings. Otherwise: fetches the block, lets the generation's
/// reader apply the file, and on acceptance writes the block back with the
/// edited record's addresses and password (the row's password being the
/// current one), the mail-server password (the file's, or the device's own
/// when the file has none) and a commit. The address mode stored is the
/// file's or the review's, or the device's own when neither gives one. The
/// edited record may receive the file's password.
/// Where the address settings a block import stores come from.
enum class AddressSettingsFrom {
  kFileOrReview,  ///< the edited record's, and the file's address mode (as above)
  /// The device's own (the row's): the file's address lines and address
  /// mode are read but not stored, so one template fits many devices.
  kDevice,
};

ImportOutcome importToDevice(const DeviceRecord& row, DeviceRecord& edited,
                             const std::filesystem::path& path, const Timing& timing = {},
                             AddressSettingsFrom addresses = AddressSettingsFrom::kFileOrReview);

/// The block transport of importToDevice on an open, logged-in session:
/// the refusal tests, the block fetch, the reader and the write-back.
/// `fileBytes` is the whole file as read from disk.
ImportOutcome ImportBlockThroughSession(
    Session& session, const DeviceRecord& row, DeviceRecord& edited, std::string_view fileBytes,
    AddressSettingsFrom addresses = AddressSettingsFrom::kFileOrReview);

/// The device's own address settings (address, netmask, gateway, name
/// servers, address mode) copied from `row` into `edited`.
void KeepDeviceAddressSettings(const DeviceRecord& row, DeviceRecord& edited);

/// The fixed address a switch file sets for a device of `model` (its
/// IPAddress line, with the address mode off), or nothing: a gzip file, a
/// file failing the header or model test, an address mode DHCP or BOOTP, or
/// no address at all.
std::optional<Ipv4> FixedAddressOfFile(std::string_view bytes, const DeviceRecord& model);

/// A video server: posts the file with the record's kavexUser and
/// kavexPassword. 0 when the server confirmed the import, else kImportFailed.
int ImportVideoServer(const DeviceRecord& record, const std::filesystem::path& path,
                      const Timing& timing = {});

/// The row text of a switch's import result: "Import Success" (0),
/// "Import Timeout" (-4), "Import Fail".
std::string_view ImportRowText(int result);

}  // namespace vantrell
