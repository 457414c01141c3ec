#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace krel::levels_test {

inline constexpr int kSide = 40;

enum class Move : std::uint8_t { Up, Down, Left, Right };

struct Spot {
  std::int8_t X = 0;
  std::int8_t Y = 0;
  friend bool operator==(const Spot&, const Spot&) = default;
};

Spot Moved(Spot s, Move m);
const char* MoveName(Move m);

// What the planner knows of a level in play, read back from the game after every
// plan so that the planner never drifts from what the game really did.
struct Situation {
  std::array<std::array<std::int32_t, kSide + 1>, kSide + 1> Cells{};
  std::vector<Spot> Body;  // head first
  bool Growing = false;    // food was just eaten: the tail stays put on the next step
  Move Heading = Move::Up;
  std::int32_t Points = 0;
};

// Chooses the snake's next moves by the game's rules: a best-first search over whole
// snake states (the body moves with every step) for the next food that leaves the
// head a way back to its own tail, then the exit once all food is eaten. When no
// such plan exists it makes one move that keeps the tail in reach and tries again.
class SnakePlanner {
 public:
  explicit SnakePlanner(std::size_t searchBudget = 20000) : budget_(searchBudget) {}

  // Empty only when every move dies at once.
  std::vector<Move> Plan(const Situation& now);

 private:
  std::optional<std::vector<Move>> Search(const Situation& now) const;
  std::optional<Move> Wander(const Situation& now) const;

  std::size_t budget_;
  // After a failed search the body needs a while to move out of the way; searching
  // again at once would only fail again.
  int failures_ = 0;
  int wait_ = 0;
};

// Whether the head can still reach the cell its tail leaves, counting every body
// cell as free from the step it is vacated. The usual test that a snake is not
// boxed in by its own body.
bool TailInReach(const Situation& s);

}  // namespace krel::levels_test
