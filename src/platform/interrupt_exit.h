#pragma once
/// A clean end on SIGINT, SIGTERM and SIGHUP for the command line: a thread
/// waits for them, removes the temporary files of unfinished writes, runs
/// the steps the program registered (ending the network helper, which then
/// removes its brackets) and exits with 128 + the signal number, as the
/// shell reports a death by that signal. SIGPIPE is ignored, so a closed
/// pipe shows up as a failed write instead.

#include <functional>

namespace vantrell {

/// Call once at the start of main, before any other thread exists: the
/// signals are blocked in every thread and taken by the waiting one. A
/// signal ignored at start (nohup) stays ignored. Programs started later
/// inherit the blocked set: start them with their own signal mask.
void ExitCleanlyOnSignals();

/// Adds a step the exit runs, in the order added; returns its handle.
int AddInterruptStep(std::function<void()> step);
void RemoveInterruptStep(int handle);

/// The exit status for a death by `signal`: 128 + its number.
constexpr int ExitStatusForSignal(int signal) { return 128 + signal; }

}  // namespace vantrell
