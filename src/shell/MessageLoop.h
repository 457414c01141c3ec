#pragma once

#include <cstdint>

namespace krel {

// What the message loop drives: the main form, seen from the shell.
class LoopClient {
 public:
  virtual bool TimerHooked() const = 0;
  virtual void IdlePass() = 0;
  virtual void KeyDown(std::uint16_t virtualKey) = 0;
  virtual void SetApplicationActive(bool active) = 0;
  virtual bool Ended() const = 0;

 protected:
  ~LoopClient() = default;
};

// Drains SDL's event queue and makes an idle pass each time it is empty; sleeps in
// SDL_WaitEvent while the frame timer is not hooked in. Returns when the client has
// ended or the window system asks the program to quit.
void RunMessageLoop(LoopClient& client);

}  // namespace krel
