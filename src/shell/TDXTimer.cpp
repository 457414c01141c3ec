#include "shell/TDXTimer.h"

#include <algorithm>

namespace krel {

std::int32_t RoundedFrameRate(std::int32_t frames, std::int32_t ms) {
  const std::int64_t num = static_cast<std::int64_t>(frames) * 1000;
  std::int64_t q = num / ms;
  const std::int64_t twiceRest = (num % ms) * 2;
  if (twiceRest > ms || (twiceRest == ms && (q % 2) != 0)) ++q;
  return static_cast<std::int32_t>(q);
}

void TDXTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled_)
    Start();
  else
    Stop();
}

void TDXTimer::SetInterval(std::uint32_t ms) {
  interval_ = ms;
  intervalDivisor_ = std::max<std::uint32_t>(ms, 1);
}

void TDXTimer::Start() {
  Stop();
  if (!activeOnly_ || appActive_) Hook();
  running_ = true;
}

void TDXTimer::Stop() {
  if (!running_) return;
  hooked_ = false;
  running_ = false;
}

void TDXTimer::Hook() {
  lastTickTime_ = windowStart_ = clock_();
  hooked_ = true;
}

void TDXTimer::SetApplicationActive(bool active) {
  if (active == appActive_) return;
  appActive_ = active;
  if (!running_ || !activeOnly_) return;
  if (active)
    Hook();
  else
    hooked_ = false;
}

void TDXTimer::IdleStep() {
  if (!hooked_) return;
  const std::uint32_t t = clock_();
  const std::uint32_t d = t - lastTickTime_;  // modulo 2^32: the clock wraps
  if (d < interval_) return;
  lastTickTime_ = t;
  const std::uint32_t lagCount = std::max<std::uint32_t>(d / intervalDivisor_, 1);
  ++frameCounter_;
  const std::int32_t e = std::max<std::int32_t>(static_cast<std::int32_t>(t - windowStart_), 1);
  if (e >= 1000) {
    frameRate_ = RoundedFrameRate(frameCounter_, e);
    frameCounter_ = 0;
    windowStart_ = t;
  }
  if (OnTimer) OnTimer(lagCount);
}

}  // namespace krel
