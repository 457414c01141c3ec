#include <gtest/gtest.h>

#include "game/Errors.h"
#include "game/GameState.h"
#include "game/Session.h"
#include "support/FakePlatform.h"

namespace krel {
namespace {

using test::FakePlatform;

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    for (int level = 1; level <= 4; ++level) {
      auto grid = test::EarthLevel();
      grid[9][9] = level;  // tells the levels apart: cell (10, 10)
      test::WriteLevel(dir.File(std::to_string(level) + ".lev"), grid);
    }
  }
  void TearDown() override { ResetGameState(); }
  void Pause(int ticks) {
    for (int i = 0; i < ticks; ++i) PauseTick(host);
  }

  test::TempDir dir;
  test::InDir in{dir.Path()};
  FakePlatform host;
};

TEST_F(SessionTest, NewGameStartsLevelOneWithThreeLives) {
  G.MenuMode = 1;
  G.Phase = 2;
  G.TickCount = 123;
  NewGame(host);
  EXPECT_EQ(G.MenuMode, 0);
  EXPECT_EQ(G.Lives, 3);
  EXPECT_EQ(G.Level, 1);
  EXPECT_EQ(G.LevelFileName, "1.lev");
  EXPECT_EQ(G.Pole->Cell(10, 10), 1);
  EXPECT_EQ(G.Snake->Length, 10);
  EXPECT_TRUE(host.TimerEnabled);
  EXPECT_EQ(host.CursorHides, 1);
  EXPECT_EQ(G.Phase, 2) << "a new game leaves the pause state alone";
  EXPECT_EQ(G.TickCount, 123);
}

TEST_F(SessionTest, BrokenLevelFileLeavesTheStartDone) {
  G.Level = 4;  // asks for 5.lev, which is missing
  try {
    StartLevel(host);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_EQ(G.Level, 5);
  ASSERT_TRUE(G.Pole && G.Snake);
  EXPECT_EQ(G.Snake->Length, 50);
  EXPECT_EQ(G.Pole->Cell(20, 20), Food);
  EXPECT_TRUE(host.TimerEnabled);
  EXPECT_EQ(host.CursorHides, 1);
}

TEST_F(SessionTest, DeathPauseCostsALifeAndRepeatsTheLevel) {
  G.Lives = 3;
  G.Level = 3;
  StartLevel(host);              // level 4
  G.Pole->Cell(10, 11) = Water;  // something play changed
  const Tpole* old = G.Pole.get();
  G.Snake->Die();
  Pause(49999);
  EXPECT_EQ(host.PauseScreens, 0);
  Pause(1);
  EXPECT_EQ(host.PauseScreens, 1);
  EXPECT_EQ(G.Lives, 3) << "the life is counted at the end";
  Pause(39999);
  EXPECT_EQ(G.Phase, 1);
  EXPECT_EQ(G.Pole.get(), old);
  Pause(1);
  EXPECT_EQ(G.Lives, 2);
  EXPECT_EQ(G.Level, 4);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(G.TickCount, 0);
  EXPECT_EQ(G.Pole->Cell(10, 11), Earth) << "the field is read again";
  EXPECT_EQ(G.Pole->Cell(10, 10), 4);
  EXPECT_EQ(G.MenuMode, 0);
  EXPECT_EQ(host.Polls, 0) << "a pause reads no keys";
}

TEST_F(SessionTest, FourthDeathEndsTheGame) {
  G.Lives = 0;
  G.Level = 3;
  StartLevel(host);
  G.Snake->Die();
  Pause(90000);
  EXPECT_EQ(G.Lives, -1);
  EXPECT_EQ(G.MenuMode, 1);
  EXPECT_EQ(G.MenuStart, 1);
  EXPECT_EQ(G.Level, 4) << "the level reached is kept";
}

TEST_F(SessionTest, CompletedLevelLeadsToTheNext) {
  G.Lives = 1;
  G.Level = 2;
  StartLevel(host);
  G.Snake->CompleteLevel();
  Pause(90000);
  EXPECT_EQ(G.Level, 4);
  EXPECT_EQ(G.Lives, 1);
  EXPECT_EQ(G.Pole->Cell(10, 10), 4);
  EXPECT_EQ(G.Phase, 0);
}

}  // namespace
}  // namespace krel
