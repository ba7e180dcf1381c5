// Deadline polling: the only way the end-to-end checks wait for the program under test.
#pragma once

#include <chrono>
#include <string>
#include <thread>
#include <utility>

#include <gtest/gtest.h>

#include "text_util.h"

namespace tkd::e2e {

using namespace std::chrono_literals;
using Ms = std::chrono::milliseconds;

// Short enough to see every one-second tick, long enough not to starve the program under Wine.
inline constexpr Ms kPollInterval = 25ms;

// True as soon as `condition()` holds; false if it still does not hold at the deadline. The
// condition is always evaluated once more at the deadline, so a slow poll cannot miss it.
template <class Condition>
bool WaitUntil(Condition&& condition, Ms timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    std::this_thread::sleep_for(kPollInterval);
  }
}

// Polls `read()` until it equals `expected`; on failure the message names the last value seen,
// which is what makes a failing end-to-end check diagnosable.
template <class Read, class T>
testing::AssertionResult Becomes(Read&& read, const T& expected, Ms timeout) {
  auto last = read();
  if (WaitUntil([&] { return (last = read()) == expected; }, timeout))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "still " << Show(last) << " instead of " << Show(expected)
                                     << " after " << timeout.count() << " ms";
}

template <class Read>
testing::AssertionResult Becomes(Read&& read, const wchar_t* expected, Ms timeout) {
  return Becomes(std::forward<Read>(read), std::wstring(expected), timeout);
}

// Polls until `accept(read())` holds; the message names the last value seen.
template <class Read, class Accept>
testing::AssertionResult Satisfies(Read&& read, Accept&& accept, const std::string& what,
                                   Ms timeout) {
  auto last = read();
  if (WaitUntil([&] { return accept(last = read()); }, timeout))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "expected " << what << ", last seen " << Show(last)
                                     << " after " << timeout.count() << " ms";
}

}  // namespace tkd::e2e
