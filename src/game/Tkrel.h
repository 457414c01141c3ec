#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace krel {

class Platform;

// The snake. Segment 1 is the head, segment Length the tail.
class Tkrel {
 public:
  static constexpr std::int32_t MaxSegments = 110;

  struct Segment {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const Segment&, const Segment&) = default;
  };

  // Lays the snake out for the current Level (from the game state).
  Tkrel();

  // Both only set game-state globals: they end play and start a pause.
  void Die();
  void CompleteLevel();

  std::int32_t Length = 0;
  std::int32_t StepTicks = 0;
  std::string Direction;
  // Index 0 is unused so that segments keep their 1-based numbers.
  std::array<Segment, MaxSegments + 1> Segments{};
};

// Where each level's snake starts: Length, StartX, StartY. Level 11 has no row.
struct StartRow {
  std::int32_t Length;
  std::int32_t StartX;
  std::int32_t StartY;
};
inline constexpr std::array<StartRow, 10> kStartTable{{
    {10, 24, 35},
    {20, 3, 28},
    {30, 34, 35},
    {40, 1, 38},
    {50, 30, 38},
    {60, 30, 38},
    {70, 28, 35},
    {80, 29, 38},
    {90, 20, 28},
    {100, 27, 39},
}};

// The second half of a play tick: poll, turn, step, and the rules of the cell
// under the head.
void PlayUpdate(Platform& host);

}  // namespace krel
