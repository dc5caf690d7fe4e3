#include "qt/lock_indicators.h"

#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>

// Last: Xlib's macros (None, Bool, KeyPress...) must not meet Qt's headers.
#include <X11/XKBlib.h>

namespace vantrell {
namespace {

/// The indicator names of the X keyboard extension's standard keymaps.
constexpr std::array<const char*, kLockIndicatorCount> kIndicatorNames = {"Caps Lock", "Num Lock",
                                                                          "Scroll Lock"};

Display* X11Display() {
  auto* application = qGuiApp;
  if (!application) return nullptr;
  auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->display() : nullptr;
}

}  // namespace

LockStates ReadLockStates() {
  LockStates states;
  Display* display = X11Display();
  if (!display) return states;
  for (int i = 0; i < kLockIndicatorCount; ++i) {
    // Only an atom the server already knows can name a keymap's indicator.
    const Atom name = XInternAtom(display, kIndicatorNames[static_cast<std::size_t>(i)], True);
    int on = 0;
    if (name != None && XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr)) {
      states[static_cast<std::size_t>(i)] = on != 0;
    }
  }
  return states;
}

}  // namespace vantrell
