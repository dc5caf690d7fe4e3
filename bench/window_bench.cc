// Window figures: time from process start to the shown main window,
// resident memory with 1,000 devices listed, and the time to sort and
// refresh 1,000 rows by a header click. Runs offscreen unless
// QT_QPA_PLATFORM says otherwise; touches no network (fake services).
//
//   window_bench            all figures
//   window_bench --shown    (internal) start, show the window, print "shown"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QtTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "core/text_forms.h"
#include "qt/device_list_widget.h"
#include "qt/main_window.h"
#include "qt/qt_prompter.h"

extern char** environ;

namespace vantrell {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDevices = 1000;
constexpr int kStartRuns = 7;
constexpr int kClicksPerColumn = 10;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

MainWindow::ServicesFactory FakeServices() {
  return [](QtPrompter&) {
    OrvListView::Services services;
    services.fetchInfoText = [](DeviceRecord&) { return true; };
    return services;
  };
}

/// A device as a search fills it in; every field differs between devices.
DeviceRecord BenchDevice(int i) {
  static const char* const kModels[] = {"ORV-D8-G1", "ORV-R8-F2", "ORV-A8-F1-W", "ORV-M26"};
  DeviceRecord record = MakeZeroRecord();
  SetFieldText(record.modelName, kModels[(i * 7) % 4]);
  record.modelId = 0x6008;
  const unsigned mixed = static_cast<unsigned>(i) * 2654435761u;
  record.ipAddr =
      MakeIpv4(10, static_cast<std::uint8_t>(mixed >> 24), static_cast<std::uint8_t>(mixed >> 16),
               static_cast<std::uint8_t>(1 + mixed % 250));
  record.mac = {0x02,
                0x56,
                0x30,
                static_cast<std::uint8_t>(mixed >> 8),
                static_cast<std::uint8_t>(i >> 8),
                static_cast<std::uint8_t>(i)};
  record.statusFlags = static_cast<std::int8_t>(i % 3);
  SetFieldText(record.serverName, "switch-" + std::to_string((i * 37) % kDevices));
  SetFieldText(record.location, "hall " + std::to_string(i % 17));
  record.serialNo = static_cast<std::uint32_t>(i);
  record.firmwareVersion = 0x01020300;
  return record;
}

/// Child: start, show the window, say so.
int RunShown(int argc, char** argv) {
  QApplication application(argc, argv);
  MainWindow window(FakeServices());
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 10000)) return 1;
  std::puts("shown");
  std::fflush(stdout);
  return 0;
}

/// Milliseconds from spawning a child until it reports the shown window.
double TimeToShownWindow(const char* self) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  char* args[] = {const_cast<char*>(self), const_cast<char*>("--shown"), nullptr};
  pid_t pid = 0;
  const Clock::time_point start = Clock::now();
  const int spawned = posix_spawn(&pid, self, &actions, nullptr, args, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  double elapsed = -1;
  if (spawned == 0) {
    char buffer[16];
    if (read(ends[0], buffer, sizeof buffer) > 0) elapsed = Ms(Clock::now() - start);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) elapsed = -1;
  }
  close(ends[0]);
  return elapsed;
}

int RunAll(int argc, char** argv) {
  std::vector<double> starts;
  for (int run = 0; run < kStartRuns; ++run) starts.push_back(TimeToShownWindow(argv[0]));
  std::sort(starts.begin(), starts.end());
  std::printf("start to shown main window: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n",
              starts[starts.size() / 2], starts.front(), starts.back(), kStartRuns);

  QApplication application(argc, argv);
  MainWindow window(FakeServices());
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 10000)) return 1;
  QApplication::processEvents();
  const long emptyKiB = ResidentKiB();

  DeviceList& document = window.document();
  DeviceListWidget* list = window.listWidget();
  const Clock::time_point fillStart = Clock::now();
  for (int i = 0; i < kDevices; ++i) {
    document.append(BenchDevice(i));
    list->InsertRow(i, FieldText(document[static_cast<std::size_t>(i)].modelName));
  }
  list->SelectAndFocus(0);
  window.listView().RefreshRows();
  QApplication::processEvents();
  const double fillMs = Ms(Clock::now() - fillStart);
  const long listedKiB = ResidentKiB();
  std::printf(
      "resident memory: %ld KiB with the empty window, %ld KiB with %d devices listed "
      "(+%ld KiB); listing them took %.1f ms\n",
      emptyKiB, listedKiB, kDevices, listedKiB - emptyKiB, fillMs);

  for (int column = 0; column < kDeviceColumnCount; ++column) {
    std::vector<double> clicks;
    for (int click = 0; click < kClicksPerColumn; ++click) {
      const Clock::time_point start = Clock::now();
      window.listView().OnColumnClick(column);
      list->viewport()->repaint();
      clicks.push_back(Ms(Clock::now() - start));
    }
    std::sort(clicks.begin(), clicks.end());
    std::printf("sort and refresh %d rows by \"%s\": median %.2f ms, max %.2f ms (%d clicks)\n",
                kDevices, kDeviceColumns[static_cast<std::size_t>(column)].title,
                clicks[clicks.size() / 2], clicks.back(), kClicksPerColumn);
  }
  return 0;
}

}  // namespace
}  // namespace vantrell

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc > 1 && std::strcmp(argv[1], "--shown") == 0) return vantrell::RunShown(argc, argv);
  return vantrell::RunAll(argc, argv);
}
