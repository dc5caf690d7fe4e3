// vantrell-configurator: the window of the VANTRELL Configurator.

#include <QApplication>
#include <QIcon>

#include "qt/main_window.h"
#include "qt/qt_prompter.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  // The installed menu entry and icon (desktop/) carry this name.
  QApplication::setDesktopFileName("vantrell-configurator");
  QApplication::setWindowIcon(QIcon::fromTheme("vantrell-configurator"));
  vantrell::MainWindow window;
  window.show();
  return application.exec();
}
