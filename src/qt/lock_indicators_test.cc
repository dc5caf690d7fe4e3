// Window test of the lock indicators against a real X server: a private
// Xvfb (skipped, exit 77, where Xvfb is not installed) whose keyboard has
// Caps Lock and Num Lock on before the window starts.

#include "qt/lock_indicators.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <QtTest>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include "qt/main_window.h"
#include "qt/qt_prompter.h"
#include "ui/main_menu.h"

namespace vantrell {
namespace {

/// A private X server for this test; stopped (and reaped) with the object.
class PrivateXServer {
 public:
  PrivateXServer();
  ~PrivateXServer();
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;
  /// ":N", or empty when the server did not come up.
  const std::string& display() const { return display_; }

 private:
  int pid_ = -1;
  std::string display_;
};

/// Locks or unlocks Caps Lock and Num Lock on the server's keyboard, as
/// another program (or the keys themselves) would.
bool SetLocks(const std::string& display, bool caps, bool num);

QLabel* Indicator(MainWindow& window, const char* text) {
  for (QLabel* label : window.statusBar()->findChildren<QLabel*>()) {
    if (label->text() == text) return label;
  }
  return nullptr;
}

}  // namespace

class LockIndicatorsTest : public QObject {
  Q_OBJECT
 public:
  explicit LockIndicatorsTest(std::string display) : display_(std::move(display)) {}

 private slots:
  void theWindowShowsTheLocksThatAreOnAtItsStart() {
    const LockStates states = ReadLockStates();
    QCOMPARE(states[kCapsLock], std::optional<bool>(true));
    QCOMPARE(states[kNumLock], std::optional<bool>(true));
    QCOMPARE(states[kScrollLock], std::optional<bool>(false));
    MainWindow window(NoNetwork());
    QVERIFY(Indicator(window, "CAP")->isEnabled());
    QVERIFY(Indicator(window, "NUM")->isEnabled());
    QVERIFY(!Indicator(window, "SCRL")->isEnabled());
  }

  void aLockKeyReadsTheStateAgain() {
    MainWindow window(NoNetwork());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(SetLocks(display_, false, true));
    // The window has not looked yet: it still shows Caps Lock on.
    QVERIFY(Indicator(window, "CAP")->isEnabled());
    QTest::keyClick(window.windowHandle(), Qt::Key_CapsLock);
    QVERIFY(!Indicator(window, "CAP")->isEnabled());
    QVERIFY(Indicator(window, "NUM")->isEnabled());
    QVERIFY(SetLocks(display_, true, false));
    QTest::keyClick(window.windowHandle(), Qt::Key_NumLock);
    QVERIFY(Indicator(window, "CAP")->isEnabled());
    QVERIFY(!Indicator(window, "NUM")->isEnabled());
    // Other keys ask nothing.
    QVERIFY(SetLocks(display_, false, false));
    QTest::keyClick(window.windowHandle(), Qt::Key_A);
    QVERIFY(Indicator(window, "CAP")->isEnabled());
  }

 private:
  static MainWindow::ServicesFactory NoNetwork() {
    return [](QtPrompter&) { return OrvListView::Services{}; };
  }
  std::string display_;
};

}  // namespace vantrell

int main(int argc, char** argv) {
  if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
    std::puts("SKIP: Xvfb is not installed");
    return 77;
  }
  vantrell::PrivateXServer server;
  if (server.display().empty()) {
    std::puts("FAIL: Xvfb did not start");
    return 1;
  }
  if (!vantrell::SetLocks(server.display(), true, true)) {
    std::puts("FAIL: cannot set the keyboard's locks");
    return 1;
  }
  qputenv("DISPLAY", server.display().c_str());
  qputenv("QT_QPA_PLATFORM", "xcb");
  int result = 0;
  {
    QApplication application(argc, argv);
    vantrell::LockIndicatorsTest test(server.display());
    result = QTest::qExec(&test, argc, argv);
  }
  return result;
}

#include "lock_indicators_test.moc"

// Xlib after everything of Qt: its macros (None, Bool, KeyPress...) clash.
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrell {
namespace {

PrivateXServer::PrivateXServer() {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    // The server ends with this test, also when the test is killed.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    close(pipeFds[0]);
    const std::string fd = std::to_string(pipeFds[1]);
    // -noreset: the keyboard keeps its locks when the helper connections close.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-noreset", "-nolisten", "tcp", "-screen", "0",
           "1280x800x24", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  if (pid_ < 0) {
    close(pipeFds[0]);
    return;
  }
  // The server writes its display number once it accepts clients.
  std::string number;
  pollfd ready{pipeFds[0], POLLIN, 0};
  for (int tries = 0; tries < 100 && number.find('\n') == std::string::npos; ++tries) {
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[16];
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    number.append(buffer, static_cast<std::size_t>(got));
  }
  close(pipeFds[0]);
  if (number.find('\n') != std::string::npos) display_ = ":" + number.substr(0, number.find('\n'));
}

PrivateXServer::~PrivateXServer() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  waitpid(pid_, &status, 0);
}

bool SetLocks(const std::string& display, bool caps, bool num) {
  Display* connection = XOpenDisplay(display.c_str());
  if (!connection) return false;
  const unsigned numMask = XkbKeysymToModifiers(connection, XK_Num_Lock);
  const unsigned affected = LockMask | numMask;
  const unsigned values = (caps ? LockMask : 0u) | (num ? numMask : 0u);
  const bool done = XkbLockModifiers(connection, XkbUseCoreKbd, affected, values) == True;
  XSync(connection, False);
  XCloseDisplay(connection);
  return done && numMask != 0;
}

}  // namespace
}  // namespace vantrell
