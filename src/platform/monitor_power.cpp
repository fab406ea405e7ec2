#include "platform/monitor_power.h"

bool MonitorPower::on(Clock::time_point now) {
  if (!asked_ || now - *asked_ >= kPollInterval) {
    on_ = query_();
    asked_ = now;
  }
  return on_;
}
