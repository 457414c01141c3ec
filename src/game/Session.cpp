#include "game/Session.h"

#include <memory>

#include "game/GameState.h"
#include "game/Platform.h"

namespace krel {

namespace {
constexpr std::int32_t kPauseScreenTick = 50000;
constexpr std::int32_t kPauseEndTick = 90000;
}  // namespace

void StartLevel(Platform& host) {
  ++G.Level;
  G.Pole = std::make_unique<Tpole>();
  G.Snake = std::make_unique<Tkrel>();
  host.SetTimerEnabled(true);
  host.HideCursor();
  // Last, so that a broken level file leaves the new field and snake in place.
  ReadLevelFile();
}

void PauseTick(Platform& host) {
  // The pause is counted in passes of the loop, not in time: kept as the game has
  // always had it.
  ++G.TickCount;
  if (G.TickCount == kPauseScreenTick) host.DrawPauseScreen();
  if (G.TickCount == kPauseEndTick) {
    if (G.Phase == 1) --G.Lives;
    if (G.Phase == 1 && G.Lives == -1) {
      G.MenuStart = 1;
      G.MenuMode = 1;
    }
    if (G.Phase == 1) --G.Level;
    G.Phase = 0;
    G.TickCount = 0;
    StartLevel(host);
  }
}

void NewGame(Platform& host) {
  G.MenuMode = 0;
  G.Lives = 3;
  G.Level = 0;
  StartLevel(host);
}

}  // namespace krel
