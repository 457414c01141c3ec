#include <gtest/gtest.h>

#include "game/GameState.h"
#include "support/FakePlatform.h"

namespace krel {
namespace {

using Seg = Tkrel::Segment;
using test::FakePlatform;

// A fresh game state with level `level`'s field (all earth unless changed) and snake.
class SnakeTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetGameState(); }
  void TearDown() override { ResetGameState(); }

  Tkrel& Start(int level, std::int32_t fill = Earth) {
    G.Level = level;
    G.Pole = std::make_unique<Tpole>();
    for (int x = 1; x <= 40; ++x)
      for (int y = 1; y <= 40; ++y) G.Pole->Cell(x, y) = fill;
    G.Snake = std::make_unique<Tkrel>();
    return *G.Snake;
  }
  // Runs ticks until the next step has been taken (frame rate 60: every 20th tick).
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) PlayUpdate(host);
  }
  // Level 1's field with a snake laid out by hand, head first.
  Tkrel& Shaped(std::initializer_list<Seg> segments, const char* direction) {
    Tkrel& snake = Start(1);
    snake.Length = 0;
    for (const Seg& seg : segments) snake.Segments[++snake.Length] = seg;
    snake.Direction = direction;
    return snake;
  }
  int Count(const std::string& sound) const {
    return static_cast<int>(std::count(host.Sounds.begin(), host.Sounds.end(), sound));
  }

  FakePlatform host;
};

TEST_F(SnakeTest, LayoutOfTheStartTable) {
  struct Case {
    int level;
    int length;
    std::vector<std::pair<int, Seg>> entries;
  };
  const Case cases[] = {
      {1,
       10,
       {{1, {25, 25}},
        {2, {25, 26}},
        {10, {25, 34}},
        {11, {26, 34}},
        {20, {26, 25}},
        {21, {27, 25}},
        {100, {34, 25}},
        {101, {0, 0}},
        {110, {0, 0}}}},
      {2, 20, {{1, {4, 18}}, {10, {4, 27}}, {11, {5, 27}}, {20, {5, 18}}}},
      {10, 100, {{1, {28, 29}}, {100, {37, 29}}}},
  };
  for (const Case& c : cases) {
    ResetGameState();
    Tkrel& snake = Start(c.level);
    EXPECT_EQ(snake.Length, c.length) << "level " << c.level;
    EXPECT_EQ(snake.Direction, "up");
    EXPECT_EQ(snake.StepTicks, 0);
    for (const auto& [index, seg] : c.entries)
      EXPECT_EQ(snake.Segments[index], seg) << "level " << c.level << " entry " << index;
    EXPECT_EQ(G.LayoutFlip, 0) << "ten lines flip it back";
  }
}

TEST_F(SnakeTest, LevelElevenSendsTheGameToTheMenuAndKeepsTheLastStart) {
  Start(10);
  ResetGameState();
  G.StartX = 27;
  G.StartY = 39;
  G.Level = 11;
  G.Pole = std::make_unique<Tpole>();
  G.Snake = std::make_unique<Tkrel>();
  EXPECT_EQ(G.Snake->Length, 0);
  EXPECT_EQ(G.MenuStart, 1);
  EXPECT_EQ(G.MenuMode, 1);
  EXPECT_EQ(G.Snake->Direction, "up");
  EXPECT_EQ(G.StartX, 27);
  EXPECT_EQ(G.StartY, 39);
}

TEST_F(SnakeTest, TurnArbitration) {
  struct Case {
    const char* name;
    const char* direction;
    std::uint8_t held;
    std::uint8_t canTurn;
    const char* expect;
    std::uint8_t canTurnAfter;
  };
  const Case cases[] = {
      {"left beats up", "up", isLeft | isUp, 1, "left", 0},
      {"reversal refused", "up", isDown, 1, "up", 1},
      {"own key takes the turn", "left", isLeft | isUp, 1, "left", 0},
      {"right key blocks up and down", "right", isRight | isDown, 1, "right", 0},
      {"own key up does not block left", "up", isUp | isLeft, 1, "left", 0},
      {"no turn without CanTurn", "up", isLeft, 0, "up", 0},
      {"right then down: right wins", "up", isRight | isDown, 1, "right", 0},
  };
  for (const Case& c : cases) {
    ResetGameState();
    Start(1);
    G.Snake->Direction = c.direction;
    G.CanTurn = c.canTurn;
    host.Held = c.held;
    host.Rate = 2;  // no step, so only the turn shows
    PlayUpdate(host);
    EXPECT_EQ(G.Snake->Direction, c.expect) << c.name;
    EXPECT_EQ(G.CanTurn, c.canTurnAfter) << c.name;
  }
}

TEST_F(SnakeTest, SecondTurnWaitsForTheNextStep) {
  Start(1);
  G.CanTurn = 1;
  host.Held = isLeft;
  PlayUpdate(host);
  host.Held = isUp;
  PlayUpdate(host);
  EXPECT_EQ(G.Snake->Direction, "left");
  Ticks(18);  // the 20th tick steps, and CanTurn comes back
  EXPECT_EQ(G.CanTurn, 1);
  EXPECT_EQ(G.Snake->Segments[1], (Seg{24, 25}));
  PlayUpdate(host);
  EXPECT_EQ(G.Snake->Direction, "up");
}

TEST_F(SnakeTest, StepTimingFollowsTheFrameRate) {
  struct Case {
    std::int32_t rate;
    int stepTicks;
  };
  for (const Case& c : {Case{60, 20}, Case{85, 28}, Case{100, 33}}) {
    ResetGameState();
    host.Sounds.clear();
    Start(1);
    host.Rate = c.rate;
    Ticks(c.stepTicks - 1);
    EXPECT_EQ(G.TickCount, c.stepTicks - 1);
    EXPECT_EQ(G.Snake->Segments[1], (Seg{25, 25})) << c.rate;
    Ticks(1);
    EXPECT_EQ(G.Snake->StepTicks, c.stepTicks);
    EXPECT_EQ(G.TickCount, 0);
    EXPECT_EQ(G.Snake->Segments[1], (Seg{25, 24})) << c.rate;
    EXPECT_EQ(G.Snake->Segments[10], (Seg{25, 33}));
    EXPECT_EQ(host.Sounds, std::vector<std::string>{"worm"});
  }
}

TEST_F(SnakeTest, NoStepAndNoChecksWhileStepTicksIsZero) {
  Start(1, Water);  // deadly under the head, but nothing may look
  for (std::int32_t rate : {0, 2}) {
    host.Rate = rate;
    Ticks(50);
    EXPECT_EQ(G.Snake->StepTicks, 0);
    EXPECT_EQ(G.Phase, 0);
    EXPECT_TRUE(host.Sounds.empty());
  }
  EXPECT_EQ(G.TickCount, 100);
  // The first tick with a step period steps at once: TickCount is far past it.
  host.Rate = 60;
  Ticks(1);
  EXPECT_EQ(host.Sounds, (std::vector<std::string>{"worm", "boom"}));
  EXPECT_EQ(G.Phase, 1);
}

TEST_F(SnakeTest, StartCellIsExaminedOnTheFirstCheckedTick) {
  Start(1);
  G.Pole->Cell(25, 25) = Food;
  host.Rate = 60;
  Ticks(1);
  EXPECT_EQ(host.Sounds, std::vector<std::string>{"eat"});
  EXPECT_EQ(G.Snake->Length, 11);

  ResetGameState();
  host.Sounds.clear();
  Start(1);
  G.Pole->Cell(25, 25) = 1000;
  Ticks(1);
  EXPECT_EQ(host.Sounds, std::vector<std::string>{"boom"});
  EXPECT_EQ(G.Phase, 1);
}

TEST_F(SnakeTest, EatingGrowsAtTheTail) {
  Start(1);
  G.Pole->Cell(25, 24) = Food;
  Ticks(20);
  const Tkrel& s = *G.Snake;
  EXPECT_EQ(G.Pole->Cell(25, 24), Earth);
  EXPECT_EQ(s.Length, 11);
  EXPECT_EQ(G.Pole->Points, 9);
  EXPECT_EQ(s.Segments[11], (Seg{100, 100}));
  EXPECT_EQ(host.Sounds, (std::vector<std::string>{"worm", "eat"}));
  Ticks(20);
  EXPECT_EQ(s.Segments[11], (Seg{25, 33})) << "the old tail's cell";
  EXPECT_EQ(s.Segments[10], (Seg{25, 32}));
  EXPECT_EQ(G.Phase, 0);
}

TEST_F(SnakeTest, LengthStopsAtTheStoreButFoodStillCounts) {
  Start(10);  // 100 segments
  G.Snake->Length = 110;
  for (int i = 1; i <= 10; ++i) G.Snake->Segments[100 + i] = {i, 20};
  G.Pole->Cell(28, 28) = Food;
  Ticks(20);
  EXPECT_EQ(G.Snake->Length, 110);
  EXPECT_EQ(G.Pole->Cell(28, 28), Earth);
  EXPECT_EQ(G.Pole->Points, 9);
  EXPECT_EQ(Count("eat"), 1);
}

TEST_F(SnakeTest, HeadIntoTheLeavingTailIsSafeButNotRightAfterEating) {
  // A 4-segment ring: head (5,5) moving down into (5,6), where the tail sits.
  const std::initializer_list<Seg> ring = {{5, 5}, {6, 5}, {6, 6}, {5, 6}};
  Tkrel& s = Shaped(ring, "down");
  Ticks(20);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(s.Segments[1], (Seg{5, 6}));

  // Same ring, but the head has just eaten: the parked tail follows the old tail's
  // cell, so that cell is still occupied when the head arrives.
  ResetGameState();
  host.Sounds.clear();
  Tkrel& t = Shaped(ring, "down");
  G.Pole->Cell(5, 5) = Food;  // eaten on the first checked tick, before any step
  Ticks(1);
  ASSERT_EQ(t.Length, 5);
  Ticks(19);
  EXPECT_EQ(G.Phase, 1);
  EXPECT_EQ(Count("boom"), 2);
}

TEST_F(SnakeTest, CellRules) {
  struct Case {
    std::int32_t cell;
    std::int32_t points;
    std::int32_t phase;
    int booms;
  };
  const Case cases[] = {
      {Exit, 1, 0, 0},  {Exit, 0, 2, 0}, {Water, 10, 1, 1}, {Mushroom, 10, 1, 1},
      {Sand, 10, 1, 1}, {6, 10, 1, 1},   {-1, 10, 1, 1},    {Earth, 10, 0, 0},
  };
  for (const Case& c : cases) {
    ResetGameState();
    host.Sounds.clear();
    Start(1);
    G.Pole->Cell(25, 24) = c.cell;
    G.Pole->Points = c.points;
    Ticks(20);
    EXPECT_EQ(G.Phase, c.phase) << "cell " << c.cell;
    EXPECT_EQ(Count("boom"), c.booms) << "cell " << c.cell;
    if (c.phase != 0) {
      EXPECT_EQ(G.TickCount, 0);
    }
  }
}

TEST_F(SnakeTest, SelfCollisionBoomsTwiceAndBeatsTheOpenExit) {
  // Moving right into (6,5), which segment 4 moves onto as well.
  Shaped({{5, 5}, {5, 6}, {6, 6}, {6, 5}, {6, 4}}, "right");
  G.Snake->Segments[6] = {5, 4};  // beyond Length: not part of the snake
  G.Pole->Cell(6, 5) = Exit;
  G.Pole->Points = 0;
  Ticks(20);
  EXPECT_EQ(Count("boom"), 2);
  EXPECT_EQ(G.Phase, 1) << "the later Die decides";
}

TEST_F(SnakeTest, HeadLeavingTheStoreDiesInsteadOfReadingBeyondIt) {
  Tkrel& s = Shaped({{25, 1}, {25, 2}, {25, 3}, {25, 4}}, "up");
  Ticks(20);  // up from row 1 to row 0
  EXPECT_EQ(s.Segments[1], (Seg{25, 0}));
  EXPECT_EQ(G.Phase, 1);
  EXPECT_EQ(Count("boom"), 1);
}

TEST_F(SnakeTest, DieAndCompleteLevel) {
  Start(1);
  G.TickCount = 17;
  G.Snake->Die();
  EXPECT_EQ(G.Phase, 1);
  EXPECT_EQ(G.TickCount, 0);
  G.TickCount = 5;
  G.Snake->CompleteLevel();
  EXPECT_EQ(G.Phase, 2);
  EXPECT_EQ(G.TickCount, 0);
}

}  // namespace
}  // namespace krel
