#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/Tkrel.h"
#include "game/Tpole.h"

namespace krel {

// The whole state of a running game, shared by the frame tick's branches. It lives
// as long as the program; everything starts at zero. Pole and Snake live from one
// level start to the next.
struct GameState {
  std::uint8_t MenuMode = 0;
  std::uint8_t MenuStart = 0;
  std::uint8_t MenuExit = 0;
  std::int32_t Phase = 0;  // 0 play, 1 death pause, 2 level-complete pause
  std::int32_t TickCount = 0;
  std::int32_t Level = 0;
  std::int32_t Lives = 0;
  std::uint8_t CanTurn = 0;
  std::unique_ptr<Tpole> Pole;
  std::unique_ptr<Tkrel> Snake;
  std::int32_t StartX = 0;
  std::int32_t StartY = 0;
  std::int32_t LayoutFlip = 0;
  std::string LevelFileName;
};

extern GameState G;

// Back to the state of a freshly started program (for tests).
void ResetGameState();

}  // namespace krel
