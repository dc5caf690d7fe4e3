#include "sim/event_loop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <thread>
#include <vector>

namespace vantrell::sim {
namespace {

using std::chrono::milliseconds;

TEST(EventLoopTest, TimersRunInDueOrderAndCancelledOnesNever) {
  EventLoop loop;
  ASSERT_TRUE(loop.Ok());
  std::vector<int> order;
  loop.After(milliseconds(30), [&] { order.push_back(3); });
  loop.After(milliseconds(10), [&] { order.push_back(1); });
  const EventLoop::TimerId cancelled = loop.After(milliseconds(20), [&] { order.push_back(99); });
  loop.After(milliseconds(20), [&] {
    order.push_back(2);
    loop.After(milliseconds(0), [&] { order.push_back(4); });  // added while running
  });
  loop.After(milliseconds(50), [&] { loop.Stop(); });
  loop.Cancel(cancelled);
  const auto start = EventLoop::Clock::now();
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_GE(EventLoop::Clock::now() - start, milliseconds(50));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 4, 3}));
  EXPECT_EQ(loop.PendingTimers(), 0u);
}

TEST(EventLoopTest, ReadableDescriptorAndStopFromAnotherThread) {
  EventLoop loop;
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  int reads = 0;
  loop.WatchReadable(pipeFds[0], [&] {
    char c;
    if (read(pipeFds[0], &c, 1) == 1) ++reads;
    if (reads == 2) loop.Unwatch(pipeFds[0]);
  });
  ASSERT_EQ(write(pipeFds[1], "ab", 2), 2);
  ASSERT_EQ(write(pipeFds[1], "c", 1), 1);  // never read: unwatched after two
  std::thread stopper([&] {
    std::this_thread::sleep_for(milliseconds(50));
    loop.Stop();
  });
  EXPECT_EQ(loop.Run(), 0);
  stopper.join();
  EXPECT_EQ(reads, 2);
  close(pipeFds[0]);
  close(pipeFds[1]);
}

TEST(EventLoopTest, WritableWatcherBesideReadableOne) {
  EventLoop loop;
  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  int writable = 0;
  int readable = 0;
  loop.WatchReadable(pipeFds[0], [&] {
    char c;
    if (read(pipeFds[0], &c, 1) == 1) ++readable;
    loop.Stop();
  });
  loop.WatchWritable(pipeFds[1], [&] {
    ++writable;
    ASSERT_EQ(write(pipeFds[1], "x", 1), 1);
    loop.UnwatchWritable(pipeFds[1]);  // once is enough
  });
  loop.WatchWritable(pipeFds[0], [&] { ADD_FAILURE() << "a read end never becomes writable"; });
  loop.UnwatchWritable(pipeFds[0]);  // the read watcher stays
  loop.After(milliseconds(2000), [&] { loop.Stop(); });
  EXPECT_EQ(loop.Run(), 0);
  EXPECT_EQ(writable, 1);
  EXPECT_EQ(readable, 1);
  close(pipeFds[0]);
  close(pipeFds[1]);
}

}  // namespace
}  // namespace vantrell::sim
