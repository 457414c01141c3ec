#pragma once

#include <optional>
#include <vector>

#include "LevelSource.h"
#include "game/Tkrel.h"

namespace krel::levelc {

// How many cells straight above the head must be safe: the snake sets off upwards
// before the player can turn it.
inline constexpr int kStartRoom = 3;

struct FieldCell {
  int X = 0;
  int Y = 0;
  friend bool operator==(const FieldCell&, const FieldCell&) = default;
};

// The cells of the live segments as the game lays the snake out, head first.
std::vector<FieldCell> StartLayout(const StartRow& start);

// The start table's row for a played level; nothing for the field read after the
// last one.
std::optional<StartRow> StartRowFor(int level);

// Every rule a played level breaks, in a stable order. Without a start row the field
// is never played and any well-formed grid will do.
std::vector<Problem> CheckLevel(const SourceLevel& level, const std::optional<StartRow>& start);

}  // namespace krel::levelc
