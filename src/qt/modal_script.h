#pragma once
/// For the window tests: acts on the modal dialogs as they open, one step
/// per dialog, in order, driven by a 10 ms poll of the modal widget on top.

#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace vantrell {

/// A step returns false while the dialog on top is not (yet) the one it
/// waits for. Bounded to about 10 s.
class ModalScript {
 public:
  using Step = std::function<bool(QWidget*)>;
  explicit ModalScript(std::deque<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(10);
  }
  bool finished() const { return steps_.empty(); }

 private:
  void Poll() {
    if (steps_.empty() || ++ticks_ > 1000) {
      timer_.stop();
      return;
    }
    QWidget* top = QApplication::activeModalWidget();
    if (top && steps_.front()(top)) steps_.pop_front();
  }
  std::deque<Step> steps_;
  QTimer timer_;
  int ticks_ = 0;
};

/// A step for the dialog of type T once it is visible.
template <class T>
ModalScript::Step On(std::function<bool(T*)> act) {
  return [act](QWidget* widget) {
    auto* dialog = qobject_cast<T*>(widget);
    return dialog && dialog->isVisible() && act(dialog);
  };
}

/// Answers the next message box and keeps its text.
inline ModalScript::Step Answer(QStringList& texts, QMessageBox::StandardButton button) {
  return On<QMessageBox>([&texts, button](QMessageBox* box) {
    texts << box->text();
    box->done(button);
    return true;
  });
}

}  // namespace vantrell
