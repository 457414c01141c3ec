// Every shipped level is won by a program playing it through the game's own play
// update, tick by tick, with the keys a player would hold.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "LevelCheck.h"
#include "LevelFile.h"
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

// The game reads "<Level>.lev" from the folder it runs in.
class RunIn {
 public:
  explicit RunIn(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~RunIn() { std::filesystem::current_path(previous_); }
  RunIn(const RunIn&) = delete;
  RunIn& operator=(const RunIn&) = delete;

 private:
  std::filesystem::path previous_;
};

struct PlayResult {
  bool Won = false;
  std::string Failure;  // why not, with the field as it was
  int Steps = 0;
  int Ticks = 0;
  int Eaten = 0;
};

// Starts `level` from the level files in `dir` as the game does after the level
// before it, then lets the planner play it tick by tick.
PlayResult PlayLevel(int level, const std::filesystem::path& dir, int maxSteps) {
  const RunIn run(dir);
  ResetGameState();
  HeldKeys host;
  G.Level = level - 1;
  StartLevel(host);

  // KREL_LEVELS_TRACE=1 shows every plan the player makes, for whoever designs a
  // level the player can't win.
  const bool trace = std::getenv("KREL_LEVELS_TRACE") != nullptr;
  SnakePlanner planner;
  std::vector<Move> plan;
  std::size_t next = 0;
  PlayResult r;
  auto fail = [&](const std::string& why) {
    r.Failure = "level " + std::to_string(level) + ": " + why + "\n" + Picture();
    return r;
  };
  while (G.Phase == 0) {
    if (r.Steps >= maxSteps) return fail("not won within " + std::to_string(maxSteps) + " steps");
    // The first step always goes up: turns open only once the snake has moved.
    const bool planned = r.Steps > 0;
    if (planned && next == plan.size()) {
      plan = planner.Plan(ReadSituation());
      next = 0;
      if (trace) {
        std::cout << "step " << r.Steps << ", " << G.Pole->Points << " food left, plan of "
                  << plan.size() << " moves\n"
                  << Picture();
      }
      if (plan.empty()) return fail("every move dies after step " + std::to_string(r.Steps));
    }
    host.keys = planned ? KeyFor(plan[next]) : 0;
    const Spot before = HeadNow();
    const std::int32_t points = G.Pole->Points;
    PlayUpdate(host);
    ++r.Ticks;
    if (G.Pole->Points < points) ++r.Eaten;
    if (G.Phase == 1) return fail("the snake died at step " + std::to_string(r.Steps + 1));
    if (HeadNow() == before) continue;

    ++r.Steps;
    if (planned) {
      if (HeadNow() != Moved(before, plan[next])) {
        return fail(std::string("the game did not move ") + MoveName(plan[next]) + " at step " +
                    std::to_string(r.Steps));
      }
      ++next;
    }
  }
  r.Won = G.Phase == 2;
  return r;
}

class LevelPlay : public ::testing::TestWithParam<int> {
 protected:
  void TearDown() override { ResetGameState(); }
};

TEST_P(LevelPlay, IsWonByThePlayer) {
  const int level = GetParam();
  const PlayResult r = PlayLevel(level, KREL_RUN_DIR, kMaxSteps);
  ASSERT_TRUE(r.Won) << r.Failure;
  EXPECT_EQ(r.Eaten, 10);
  EXPECT_EQ(G.Pole->Points, 0);
  EXPECT_EQ(G.Snake->Length, 10 * level + 10);
  std::cout << "[ level " << level << " ] won in " << r.Steps << " steps (" << r.Ticks
            << " ticks at " << kFrameRate << " frames/s)\n";
  RecordProperty("steps", r.Steps);
}

// Keeps every rule the build checks and still can't be won: one food lies in a room
// of nine cells behind a corridor one cell wide. A snake of ten or more can't fit in
// the room to turn round, so its own body blocks the way out. The player must come
// back without a win rather than claim one.
TEST(LevelPlayer, DoesNotWinALevelThatCannotBeWon) {
  std::vector<std::string> rows(levelc::kFieldSize, std::string(levelc::kFieldSize, '.'));
  auto set = [&](int x, int y, char c) { rows[y - 1][x - 1] = c; };
  for (int i = 1; i <= levelc::kFieldSize; ++i) {
    set(i, 1, '~');
    set(i, levelc::kFieldSize, '~');
    set(1, i, '~');
    set(levelc::kFieldSize, i, '~');
  }
  for (int y = 5; y <= 21; y += 2) set(6, y, '*');  // nine in the open
  set(20, 2, 'E');
  for (int x = 29; x <= 33; ++x)
    for (int y = 3; y <= 7; ++y)
      if (x == 29 || x == 33 || y == 3 || y == 7) set(x, y, 'M');
  for (int y = 7; y <= 10; ++y) {
    set(30, y, 'M');
    set(31, y, '.');
    set(32, y, 'M');
  }
  set(31, 4, '*');  // the tenth, at the back of the room

  std::string text;
  for (const std::string& r : rows) text += r + "\n";
  const levelc::ParseResult parsed = levelc::ParseLevelSource(text);
  ASSERT_TRUE(parsed.Problems.empty());
  ASSERT_TRUE(levelc::CheckLevel(parsed.Level, levelc::StartRowFor(1)).empty());

  const auto dir = std::filesystem::temp_directory_path() /
                   ("krel_levels_unwinnable_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  ASSERT_EQ(levelc::WriteLevelFile((dir / "1.lev").string(), parsed.Level.Grid), "");
  const PlayResult r = PlayLevel(1, dir, 300);
  std::filesystem::remove_all(dir);

  EXPECT_FALSE(r.Won);
  EXPECT_EQ(r.Eaten, 9) << r.Failure;
  EXPECT_NE(r.Failure.find("not won within 300 steps"), std::string::npos) << r.Failure;
  ResetGameState();
}

INSTANTIATE_TEST_SUITE_P(Shipped, LevelPlay, ::testing::Range(1, kPlayedLevels + 1),
                         [](const auto& info) { return "Level" + std::to_string(info.param); });

}  // namespace
}  // namespace krel::levels_test
