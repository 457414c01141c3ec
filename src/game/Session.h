#pragma once

namespace krel {

class Platform;

// Starts the level after Level: the next one, or the same one again after a death
// (the death pause lowers Level first).
void StartLevel(Platform& host);

// One tick of the pause after a death or a completed level.
void PauseTick(Platform& host);

// A new game from the menu: three lives, level 1. Phase and TickCount are left as
// they are.
void NewGame(Platform& host);

}  // namespace krel
