#pragma once

#include <cstdint>
#include <string>

namespace krel {

// Input state bits of the first byte of InputStates.
enum InputBit : std::uint8_t {
  isUp = 0x01,
  isDown = 0x02,
  isLeft = 0x04,
  isRight = 0x08,
  isButton1 = 0x10,
};

// What the game logic needs from the machine it runs on. The main form provides
// the real one; tests provide one that records and scripts.
class Platform {
 public:
  virtual void PollInputStates() = 0;
  virtual std::uint8_t InputStates() const = 0;
  virtual void PlaySound(const std::string& name) = 0;
  virtual std::int32_t FrameRate() const = 0;
  virtual void SetTimerEnabled(bool enabled) = 0;
  virtual void HideCursor() = 0;
  virtual void DrawPauseScreen() = 0;
  // Ends the program with exit code 0 once the current tick returns; the caller
  // must return at once.
  virtual void EndProgram() = 0;

 protected:
  ~Platform() = default;
};

}  // namespace krel
