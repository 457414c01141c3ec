// Every shipped level is won by a program playing it through the game's own play
// update, tick by tick, with the keys a player would hold.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "LevelPaths.h"
#include "SnakePlanner.h"
#include "game/GameState.h"
#include "game/Platform.h"
#include "game/Session.h"
#include "game/Tkrel.h"
#include "game/Tpole.h"

namespace krel::levels_test {
namespace {

constexpr std::int32_t kFrameRate = 60;
// Far more than any level needs; a planner going round in circles ends here.
constexpr int kMaxSteps = 4000;

class HeldKeys final : public Platform {
 public:
  void PollInputStates() override {}
  std::uint8_t InputStates() const override { return keys; }
  void PlaySound(const std::string&) override {}
  std::int32_t FrameRate() const override { return kFrameRate; }
  void SetTimerEnabled(bool) override {}
  void HideCursor() override {}
  void DrawPauseScreen() override {}
  void EndProgram() override {}

  std::uint8_t keys = 0;
};

std::uint8_t KeyFor(Move m) {
  switch (m) {
    case Move::Up:
      return isUp;
    case Move::Down:
      return isDown;
    case Move::Left:
      return isLeft;
    case Move::Right:
      return isRight;
  }
  return 0;
}

Move Heading(const std::string& direction) {
  if (direction == "down") return Move::Down;
  if (direction == "left") return Move::Left;
  if (direction == "right") return Move::Right;
  return Move::Up;
}

Spot HeadNow() {
  const Tkrel::Segment& h = G.Snake->Segments[1];
  return {static_cast<std::int8_t>(h.X), static_cast<std::int8_t>(h.Y)};
}

Situation ReadSituation() {
  Situation s;
  for (int x = 1; x <= kSide; ++x)
    for (int y = 1; y <= kSide; ++y) s.Cells[x][y] = G.Pole->Cells[x][y];
  const Tkrel& snake = *G.Snake;
  for (int i = 1; i <= snake.Length; ++i) {
    const Tkrel::Segment& seg = snake.Segments[i];
    // The segment added by food waits off the field until the next step.
    if (i == snake.Length && seg.X == 100 && seg.Y == 100) {
      s.Growing = true;
      break;
    }
    s.Body.push_back({static_cast<std::int8_t>(seg.X), static_cast<std::int8_t>(seg.Y)});
  }
  s.Heading = Heading(snake.Direction);
  s.Points = G.Pole->Points;
  return s;
}

std::string Picture() {
  std::ostringstream out;
  for (int y = 1; y <= kSide; ++y) {
    for (int x = 1; x <= kSide; ++x) {
      char c = '?';
      switch (G.Pole->Cells[x][y]) {
        case Food:
          c = '*';
          break;
        case Exit:
          c = 'E';
          break;
        case Water:
          c = '~';
          break;
        case Mushroom:
          c = 'M';
          break;
        case Sand:
          c = 's';
          break;
        case Earth:
          c = '.';
          break;
        default:
          break;
      }
      for (int i = G.Snake->Length; i >= 1; --i)
        if (G.Snake->Segments[i].X == x && G.Snake->Segments[i].Y == y) c = i == 1 ? '@' : 'o';
      out << c;
    }
    out << '\n';
  }
  return out.str();
}

class LevelPlay : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    // The game reads "<Level>.lev" from the folder it runs in.
    std::filesystem::current_path(KREL_RUN_DIR);
    ResetGameState();
  }
  void TearDown() override {
    std::filesystem::current_path(previous_);
    ResetGameState();
  }

 private:
  std::filesystem::path previous_;
};

TEST_P(LevelPlay, IsWonByThePlayer) {
  const int level = GetParam();
  HeldKeys host;
  G.Level = level - 1;
  StartLevel(host);
  ASSERT_EQ(G.Level, level);
  ASSERT_EQ(G.Snake->Length, 10 * level);
  ASSERT_EQ(G.CanTurn, 0);  // no turn before the first step

  // KREL_LEVELS_TRACE=1 shows every plan the player makes, for whoever designs a
  // level the player can't win.
  const bool trace = std::getenv("KREL_LEVELS_TRACE") != nullptr;
  SnakePlanner planner;
  std::vector<Move> plan;
  std::size_t next = 0;
  int steps = 0;
  int ticks = 0;
  int eaten = 0;
  while (G.Phase == 0 && steps < kMaxSteps) {
    // The first step always goes up: turns open only once the snake has moved.
    if (steps > 0 && next == plan.size()) {
      plan = planner.Plan(ReadSituation());
      next = 0;
      if (trace) {
        std::cout << "step " << steps << ", " << G.Pole->Points << " food left, plan of "
                  << plan.size() << " moves\n"
                  << Picture();
      }
      ASSERT_FALSE(plan.empty()) << "level " << level << ": every move dies after " << steps
                                 << " steps\n"
                                 << Picture();
    }
    const bool planned = steps > 0;
    host.keys = planned ? KeyFor(plan[next]) : 0;
    const Spot before = HeadNow();
    const std::int32_t points = G.Pole->Points;
    PlayUpdate(host);
    ++ticks;
    if (G.Pole->Points < points) ++eaten;
    if (HeadNow() == before) continue;

    ++steps;
    if (planned) {
      const Spot expected = Moved(before, plan[next]);
      ASSERT_EQ(HeadNow(), expected) << "level " << level << ": the game did not move "
                                     << MoveName(plan[next]) << " at step " << steps << "\n"
                                     << Picture();
      ++next;
    }
    ASSERT_NE(G.Phase, 1) << "level " << level << ": the snake died at step " << steps << "\n"
                          << Picture();
  }

  EXPECT_EQ(eaten, 10) << Picture();
  EXPECT_EQ(G.Pole->Points, 0);
  EXPECT_EQ(G.Snake->Length, 10 * level + 10);
  ASSERT_EQ(G.Phase, 2) << "level " << level << ": not won within " << kMaxSteps << " steps\n"
                        << Picture();
  std::cout << "[ level " << level << " ] won in " << steps << " steps (" << ticks << " ticks at "
            << kFrameRate << " frames/s)\n";
  RecordProperty("steps", steps);
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelPlay, ::testing::Range(1, kPlayedLevels + 1),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

}  // namespace
}  // namespace krel::levels_test
