#pragma once

#include <chrono>
#include <functional>
#include <optional>

// Whether the monitors are on, from a query of the display's power saving
// that is asked at most once a second: the answer changes seldom, and each
// question is a round trip to the display.
class MonitorPower {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr Clock::duration kPollInterval = std::chrono::seconds(1);

  // query: whether the monitors are on now.
  explicit MonitorPower(std::function<bool()> query) : query_(std::move(query)) {}

  // The query's latest answer, asking it again when it is a second old.
  bool on(Clock::time_point now);

 private:
  std::function<bool()> query_;
  std::optional<Clock::time_point> asked_;
  bool on_ = true;
};
