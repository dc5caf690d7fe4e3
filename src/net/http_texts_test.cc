#include "net/http_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrell {
namespace {

TEST(HttpTexts, BoundaryIs29HyphensAndClosingFollowsIt) {
  EXPECT_EQ(kMultipartBoundary, std::string(29, '-') + "7d7271f202c6");
  EXPECT_EQ(kMultipartClosing, std::string(29, '-') + "7d7271f202c6--\r\n\r\n");
  EXPECT_EQ(kMultipartContentType,
            "Content-Type: multipart/form-data; boundary=" + std::string(29, '-') + "7d7271f202c6");
}

TEST(HttpTexts, CredentialsAreBase64OfUserColonPassword) {
  EXPECT_EQ(CredentialsHeader("admin", "1234"), "Authorization: Basic YWRtaW46MTIzNA==");
  EXPECT_EQ(CredentialsHeader("", ""), "Authorization: Basic Og==");
  // Bytes above 0x7F are encoded byte by byte: "\xE9:\xFF" is E9 3A FF.
  EXPECT_EQ(CredentialsHeader("\xE9", "\xFF"), "Authorization: Basic 6Tr/");
}

TEST(HttpTexts, CredentialsFromRecordStopAtTheFieldEnd) {
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.kavexUser, "operator");
  // A password filling all 16 bytes without a terminator is read as 16.
  std::memset(record.kavexPassword, 'p', sizeof record.kavexPassword);
  EXPECT_EQ(CredentialsHeader(record), CredentialsHeader("operator", std::string(16, 'p')));
}

TEST(HttpTexts, ConfigPostHeadAndHeaderAreByteExact) {
  EXPECT_EQ(ConfigPostHead(),
            "-----------------------------7d7271f202c6\r\n"
            "Content-Disposition: form-data; name=\"uploadfile\"; "
            "Content-Type: application/octet-stream\r\n\r\n");
  EXPECT_EQ(
      ConfigPostHeader("192.168.1.20", 173, "Authorization: Basic YTpi"),
      "POST /kelt-cgi/UploadConfigfile.cgi HTTP/1.1\r\n"
      "HOST: 192.168.1.20\r\n"
      "Content-Type: multipart/form-data; boundary=-----------------------------7d7271f202c6\r\n"
      "Content-Length: 173\r\n"
      "Authorization: Basic YTpi\r\n"
      "User-Agent: HTTP\r\n\r\n");
}

TEST(HttpTexts, FirmwarePostHeadNamesThePathAndExtraHeadersAreExact) {
  EXPECT_EQ(
      FirmwarePostHead("/home/op/fw 2.rom"),
      "-----------------------------7d7271f202c6\r\n"
      "Content-Disposition: form-data; name=\"uploadfile\"; filename=\"/home/op/fw 2.rom\"\r\n"
      "Content-Type: application/octet-stream\r\n\r\n");
  EXPECT_EQ(
      FirmwareExtraHeaders(2048, "Authorization: Basic YTpi"),
      "Content-Type: multipart/form-data; boundary=-----------------------------7d7271f202c6\r\n"
      "Content-Length: 2048\r\n"
      "Authorization: Basic YTpi\r\n");
}

TEST(HttpTexts, PathCannotBreakOutOfTheFileName) {
  const std::string head = FirmwarePostHead("/tmp/a\"b\r\nX-Evil: 1.rom");
  EXPECT_NE(head.find("filename=\"/tmp/a%22b%0D%0AX-Evil: 1.rom\"\r\n"), std::string::npos);
  EXPECT_EQ(head.find("\r\nX-Evil"), std::string::npos);
}

TEST(HttpTexts, ImportAnswerIsJudgedByModelKind) {
  // 0x88: only the misspelt word counts.
  EXPECT_EQ(JudgeImportAnswer(0x1288, "HTTP/1.1 200 OK\r\n\r\n<p>Upload Sueecess</p>"), 0);
  EXPECT_EQ(JudgeImportAnswer(0x1288, "HTTP/1.1 200 OK\r\n\r\nUpload Success"), -6);
  EXPECT_EQ(JudgeImportAnswer(0x0088, ""), -6);
  // 0x80: the full sentence.
  EXPECT_EQ(JudgeImportAnswer(0x3480, "...Config File Import Success..."), 0);
  EXPECT_EQ(JudgeImportAnswer(0x3480, "Sueecess"), -7);
  EXPECT_EQ(JudgeImportAnswer(0x3480, "Config File Import Succes"), -7);
  // Any other model never succeeds.
  EXPECT_EQ(JudgeImportAnswer(0x6008, "Sueecess Config File Import Success"), -7);
  EXPECT_EQ(JudgeImportAnswer(0x8800, "Sueecess"), -7);
}

TEST(HttpTexts, FirmwareAnswerJudgement) {
  EXPECT_EQ(JudgeFirmwareAnswer(200, "<html>Upgrade OK</html>"), 0);
  EXPECT_EQ(JudgeFirmwareAnswer(200, "<html><b>Unauthorized</b> user</html>"), -16);
  EXPECT_EQ(JudgeFirmwareAnswer(200, "File size mismatch"), -12);
  EXPECT_EQ(JudgeFirmwareAnswer(200, "Unauthorized; File size mismatch"), -16);
  // A refusal by status alone, and other error statuses, are not success.
  EXPECT_EQ(JudgeFirmwareAnswer(401, ""), -16);
  EXPECT_EQ(JudgeFirmwareAnswer(500, "Internal error"), -1);
  EXPECT_EQ(JudgeFirmwareAnswer(404, ""), -1);
  EXPECT_EQ(JudgeFirmwareAnswer(302, ""), 0);
}

TEST(HttpTexts, DownloadAnswerJudgement) {
  EXPECT_EQ(JudgeDownloadAnswer(200, "[System]\r\nName=cam\r\n"), 0);
  EXPECT_EQ(JudgeDownloadAnswer(200, "<h1>Access Error: Unauthorized</h1>"), -2);
  EXPECT_EQ(JudgeDownloadAnswer(401, "nothing"), -2);
  EXPECT_EQ(JudgeDownloadAnswer(200, "Unauthorized"), 0);
  EXPECT_EQ(JudgeDownloadAnswer(404, "Not Found"), -1);
  EXPECT_EQ(JudgeDownloadAnswer(301, ""), -1);
  EXPECT_EQ(JudgeDownloadAnswer(0, ""), -1);
}

std::vector<int> ProgressSteps(const std::string& answer, std::size_t chunk) {
  std::atomic<int> progress{0};
  FirmwareAnswerReader reader(&progress);
  std::vector<int> seen;
  for (std::size_t at = 0; at < answer.size(); at += chunk) {
    EXPECT_TRUE(reader.Add(std::string_view(answer).substr(at, chunk)));
    seen.push_back(progress.load());
  }
  EXPECT_EQ(reader.answer(), answer);
  return seen;
}

TEST(FirmwareAnswerReader, ProgressStepsPer17BytesOf2020) {
  // Piece k starts at 17k bytes: progress 17k*100/2020 before it.
  const std::vector<int> steps = ProgressSteps(std::string(68, 'x'), 17);
  EXPECT_EQ(steps, (std::vector<int>{0, 0, 1, 2}));
  // 4040 bytes: the last piece starts at 4029, 4029*100/2020 = 199.
  EXPECT_EQ(ProgressSteps(std::string(4040, 'x'), 4040).back(), 199);
}

TEST(FirmwareAnswerReader, ProgressDoesNotDependOnHowBytesArrive) {
  const std::string answer(3000, 'a');
  const int whole = ProgressSteps(answer, 3000).back();
  EXPECT_EQ(whole, 2992 * 100 / 2020);
  EXPECT_EQ(ProgressSteps(answer, 1).back(), whole);
  EXPECT_EQ(ProgressSteps(answer, 50).back(), whole);
  EXPECT_EQ(ProgressSteps(answer, 1000).back(), whole);
}

TEST(FirmwareAnswerReader, RefusesAnAnswerBeyondTheLimit) {
  FirmwareAnswerReader reader(nullptr);
  EXPECT_TRUE(reader.Add(std::string(kAnswerLimit, 'a')));
  EXPECT_FALSE(reader.Add("b"));
  EXPECT_EQ(reader.answer().size(), kAnswerLimit);
}

}  // namespace
}  // namespace vantrell
