// vantrell-configurator: the window of the VANTRELL Configurator.

#include <QApplication>

#include "qt/main_window.h"
#include "qt/qt_prompter.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(vantrell::kMessageCaption);
  vantrell::MainWindow window;
  window.show();
  return application.exec();
}
