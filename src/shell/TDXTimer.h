#pragma once

#include <cstdint>
#include <functional>

namespace krel {

// The frame timer: one tick per idle pass of the loop while it is hooked in, and the
// frame rate measured over windows of at least a second. Knows nothing of SDL: the
// millisecond clock is handed in.
class TDXTimer {
 public:
  using Clock = std::function<std::uint32_t()>;

  explicit TDXTimer(Clock clock) : clock_(std::move(clock)) {}

  std::function<void(std::uint32_t lagCount)> OnTimer;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // The application gained or lost activation (our window's focus).
  void SetApplicationActive(bool active);
  void SetInterval(std::uint32_t ms);

  // Starts the timer once the form has loaded, when Enabled.
  void Start();

  // True while idle passes tick; false means the loop may sleep until the next event.
  bool Hooked() const { return hooked_; }
  // One idle pass: maybe raises OnTimer.
  void IdleStep();

  std::int32_t FrameRate() const { return frameRate_; }

 private:
  void Stop();
  void Hook();

  Clock clock_;
  bool enabled_ = true;
  bool activeOnly_ = true;
  bool appActive_ = true;
  std::uint32_t interval_ = 0;
  std::uint32_t intervalDivisor_ = 1;
  std::uint32_t lastTickTime_ = 0;
  std::uint32_t windowStart_ = 0;
  std::int32_t frameCounter_ = 0;
  std::int32_t frameRate_ = 0;
  bool running_ = false;
  bool hooked_ = false;
};

// frames * 1000 / ms, rounded to the nearest whole number with halves to even.
std::int32_t RoundedFrameRate(std::int32_t frames, std::int32_t ms);

}  // namespace krel
