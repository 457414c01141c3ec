#include <gtest/gtest.h>

#include <vector>

#include "game/Platform.h"
#include "shell/Dialogs.h"
#include "shell/TDXInput.h"
#include "shell/TDXTimer.h"

namespace krel {
namespace {

// The timer driven by a clock the test sets; counts the ticks it raises.
struct TimerRig {
  std::uint32_t now = 0;
  int ticks = 0;
  TDXTimer timer{[this] { return now; }};
  TimerRig() {
    timer.OnTimer = [this](std::uint32_t) { ++ticks; };
    timer.Start();
  }
  // One idle pass at each of the given clock readings.
  void PassesAt(std::initializer_list<std::uint32_t> readings) {
    for (std::uint32_t t : readings) {
      now = t;
      timer.IdleStep();
    }
  }
};

TEST(FrameTimerTest, RateIsZeroUntilTheFirstWindowCloses) {
  TimerRig rig;
  for (std::uint32_t t = 16; t < 1000; t += 16) {
    rig.PassesAt({t});
    ASSERT_EQ(rig.timer.FrameRate(), 0) << t;
  }
  rig.PassesAt({1000});
  EXPECT_EQ(rig.timer.FrameRate(), 63);  // 63 ticks over exactly 1000 ms
  EXPECT_EQ(rig.ticks, 63);
}

TEST(FrameTimerTest, MeasuredRatesAsATable) {
  struct Case {
    const char* name;
    std::uint32_t start;  // clock when the timer starts
    int frames;           // ticks in the window, the last at `end`
    std::uint32_t end;
    std::int32_t rate;
  };
  const Case cases[] = {
      {"sixty", 0, 60, 1000, 60},
      {"long window", 0, 60, 2000, 30},
      {"half rounds to even (down)", 0, 5, 2000, 2},  // 2.5
      {"half rounds to even (up)", 0, 7, 2000, 4},    // 3.5
      {"above half rounds up", 0, 61, 1001, 61},      // 60.94
      {"clock wraps", 0xFFFFFF00u, 60, 0xFFFFFF00u + 1000, 60},
  };
  for (const Case& c : cases) {
    TimerRig rig;
    rig.now = c.start;
    rig.timer.Start();
    for (int i = 1; i < c.frames; ++i) rig.PassesAt({c.start + static_cast<std::uint32_t>(i)});
    rig.PassesAt({c.end});
    EXPECT_EQ(rig.timer.FrameRate(), c.rate) << c.name;
  }
}

TEST(FrameTimerTest, StopAndRestartKeepTheCounterButNotTheWindow) {
  TimerRig rig;
  for (std::uint32_t t = 1; t <= 30; ++t) rig.PassesAt({t * 10});  // 30 ticks, 300 ms
  rig.timer.SetEnabled(false);
  EXPECT_FALSE(rig.timer.Hooked());
  rig.PassesAt({400, 500});
  EXPECT_EQ(rig.ticks, 30) << "no ticks while off";
  rig.now = 5000;
  rig.timer.SetEnabled(true);
  EXPECT_TRUE(rig.timer.Hooked());
  // The window starts again at 5000, but the 30 ticks from before still count.
  for (std::uint32_t t = 1; t <= 30; ++t) rig.PassesAt({5000 + t * 33});
  rig.PassesAt({6000});
  EXPECT_EQ(rig.timer.FrameRate(), 61);
}

TEST(FrameTimerTest, InactiveApplicationHasNoTicks) {
  TimerRig rig;
  rig.PassesAt({10});
  rig.timer.SetApplicationActive(false);
  EXPECT_FALSE(rig.timer.Hooked());
  rig.PassesAt({20, 30});
  rig.timer.SetApplicationActive(true);
  EXPECT_TRUE(rig.timer.Hooked());
  rig.PassesAt({40});
  EXPECT_EQ(rig.ticks, 2);

  // Disabled while inactive: coming back does not hook it in.
  rig.timer.SetApplicationActive(false);
  rig.timer.SetEnabled(false);
  rig.timer.SetApplicationActive(true);
  EXPECT_FALSE(rig.timer.Hooked());
}

TEST(FrameTimerTest, IntervalSkipsEarlyPasses) {
  TimerRig rig;
  rig.timer.SetInterval(10);
  rig.PassesAt({5, 9, 10, 15, 20});
  EXPECT_EQ(rig.ticks, 2);
}

// A keyboard snapshot the test fills.
struct KeyboardRig {
  std::vector<std::uint8_t> keys = std::vector<std::uint8_t>(SDL_NUM_SCANCODES, 0);
  bool focused = true;
  TDXInput input{[this]() -> const std::uint8_t* { return focused ? keys.data() : nullptr; }};
  std::uint8_t Poll(std::initializer_list<SDL_Scancode> held) {
    std::fill(keys.begin(), keys.end(), 0);
    for (SDL_Scancode sc : held) keys[sc] = 1;
    input.Poll();
    return input.States();
  }
};

TEST(InputStatesTest, KeysByTheirPlace) {
  struct Case {
    std::vector<SDL_Scancode> held;
    std::uint8_t states;
  };
  const Case cases[] = {
      {{SDL_SCANCODE_W}, isUp},
      {{SDL_SCANCODE_UP}, isUp},
      {{SDL_SCANCODE_KP_8}, isUp},
      {{SDL_SCANCODE_S}, isDown},
      {{SDL_SCANCODE_DOWN}, isDown},
      {{SDL_SCANCODE_KP_2}, isDown},
      {{SDL_SCANCODE_A}, isLeft},
      {{SDL_SCANCODE_LEFT}, isLeft},
      {{SDL_SCANCODE_KP_4}, isLeft},
      {{SDL_SCANCODE_D}, isRight},
      {{SDL_SCANCODE_RIGHT}, isRight},
      {{SDL_SCANCODE_KP_6}, isRight},
      {{SDL_SCANCODE_RETURN}, isButton1},
      {{SDL_SCANCODE_KP_ENTER}, isButton1},
      {{SDL_SCANCODE_SPACE}, isButton1},
      {{SDL_SCANCODE_W, SDL_SCANCODE_UP}, isUp},
      {{SDL_SCANCODE_UP, SDL_SCANCODE_LEFT}, isUp | isLeft},
      {{SDL_SCANCODE_ESCAPE, SDL_SCANCODE_F1, SDL_SCANCODE_Q, SDL_SCANCODE_KP_5,
        SDL_SCANCODE_LSHIFT},
       0},
  };
  KeyboardRig rig;
  for (const Case& c : cases) {
    std::fill(rig.keys.begin(), rig.keys.end(), 0);
    for (SDL_Scancode sc : c.held) rig.keys[sc] = 1;
    rig.input.Poll();
    EXPECT_EQ(rig.input.States(), c.states) << SDL_GetScancodeName(c.held.front());
  }
}

TEST(InputStatesTest, NothingIsOnWithoutFocusAndEachPollIsASnapshot) {
  KeyboardRig rig;
  EXPECT_EQ(rig.Poll({SDL_SCANCODE_W}), isUp);
  rig.focused = false;
  EXPECT_EQ(rig.Poll({SDL_SCANCODE_W, SDL_SCANCODE_RETURN}), 0);
  rig.focused = true;
  rig.keys[SDL_SCANCODE_RETURN] = 1;
  EXPECT_EQ(rig.input.States(), 0) << "states change only at a poll";
  rig.input.Poll();
  EXPECT_EQ(rig.input.States(), isUp | isButton1);
  EXPECT_EQ(rig.Poll({}), 0);
}

TEST(InputStatesTest, KeyTableRowsAndEscapeCode) {
  EXPECT_EQ(kKeyAssigns[0], (KeyRow{0x57, 0x26, 0x68}));
  EXPECT_EQ(kKeyAssigns[4], (KeyRow{0x0D, 0x20, 0}));
  for (std::size_t row = 5; row < kInputStateCount; ++row)
    EXPECT_EQ(kKeyAssigns[row], (KeyRow{0, 0, 0})) << row;
  EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_ESCAPE), 27);
  EXPECT_EQ(VirtualKeyForScancode(SDL_SCANCODE_KP_ENTER), 0x0D);
}

TEST(ErrorTextTest, FullStopAddedByTheRuntimeRule) {
  const std::pair<std::string, std::string> cases[] = {
      {"File not found", "File not found."},
      {"Done.", "Done."},
      {"", ""},
      {"Odd,", "Odd,"},  // ',' sorts below '.'
      {"I/O error 21", "I/O error 21."},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(WithFullStop(in), out) << in;
}

}  // namespace
}  // namespace krel
