#include "ui/prompter.h"

#include <chrono>
#include <thread>

namespace vantrell {

void DialogControls::WaitServing(const std::function<bool()>& finished) {
  while (!finished()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace vantrell
