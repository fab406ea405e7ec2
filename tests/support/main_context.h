#pragma once

#include <glib.h>

#include <chrono>
#include <functional>
#include <thread>

// Runs GLib's default main context, as the idle host does between frames,
// until done() answers true or the timeout passes; whether done() did.
inline bool runMainContextUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) {
      return false;
    }
    if (!g_main_context_iteration(nullptr, FALSE)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  return true;
}

// Runs it for a while, whatever comes.
inline void runMainContextFor(std::chrono::milliseconds time) {
  runMainContextUntil([] { return false; }, time);
}
