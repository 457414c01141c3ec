#include "game/GameState.h"

namespace krel {

GameState G;

void ResetGameState() {
  G = GameState{};
}

}  // namespace krel
