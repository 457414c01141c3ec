#include <SDL.h>
#include <gtest/gtest.h>

#include <deque>

#include "Krel_Ver.h"
#include "game/GameState.h"
#include "game/Session.h"
#include "support/FakePlatform.h"

namespace krel {
namespace {

using test::LevelGrid;

class ScriptedDialogs final : public Dialogs {
 public:
  Answer Confirm(const std::string& text) override {
    Questions.push_back(text);
    if (Answers.empty()) return Answer::No;
    const Answer a = Answers.front();
    Answers.pop_front();
    return a;
  }
  void ShowError(const std::string& text, const std::string& caption) override {
    Errors.push_back(caption + ": " + text);
  }
  std::deque<Answer> Answers;
  std::vector<std::string> Questions;
  std::vector<std::string> Errors;
};

// The whole game headless: the real form and its tick, a clock, keys, boxes and a
// display set by the test, in a working directory of the test's own.
class Game : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    FormEnvironment env;
    env.AssetDir = KREL_ASSET_DIR;
    env.Clock = [this] { return now; };
    env.Keyboard = [this]() -> const std::uint8_t* { return focused ? keys.data() : nullptr; };
    env.Boxes = &boxes;
    env.MakeDisplay = [this] {
      auto d = std::make_unique<HeadlessDisplay>();
      display = d.get();
      return d;
    };
    env.OpenSound = false;
    env.Time = TimeFormatFromLocaleData("%H:%M:%S", "", "", "");
    env.Now = [] { return std::tm{}; };
    form = std::make_unique<TForm1>(std::move(env));
    form->DXWaveList1.OnPlay = [this](const std::string& n) { sounds.push_back(n); };
    form->Show();
  }
  void TearDown() override {
    form.reset();
    ResetGameState();
  }

  // Idle passes, the clock moving `ms` each (16 ms: about 62 frames a second).
  void Tick(int n = 1, std::uint32_t ms = 16) {
    for (int i = 0; i < n; ++i) {
      now += ms;
      form->IdlePass();
    }
  }
  void Hold(std::uint8_t states) {
    std::fill(keys.begin(), keys.end(), 0);
    const SDL_Scancode first[] = {SDL_SCANCODE_UP, SDL_SCANCODE_DOWN, SDL_SCANCODE_LEFT,
                                  SDL_SCANCODE_RIGHT, SDL_SCANCODE_RETURN};
    for (int bit = 0; bit < 5; ++bit)
      if (states & (1 << bit)) keys[first[bit]] = 1;
  }
  bool Shows(const char* picture, int x, int y) const {
    const SDL_Surface* p = form->DXImageList1.Find(picture);
    const SDL_Surface* s = display->Surface();
    for (int py = 0; py < p->h; ++py)
      for (int px = 0; px < p->w; ++px) {
        const auto sp = static_cast<const std::uint32_t*>(s->pixels)[(y + py) * s->w + x + px];
        const auto pp = static_cast<const std::uint32_t*>(p->pixels)[py * p->w + px];
        if ((sp & 0xFFFFFF) != (pp & 0xFFFFFF)) return false;
      }
    return true;
  }
  // The field's area holds nothing but the background picture.
  bool FieldShowsBackground() const {
    const SDL_Surface* p = form->DXImageList1.Find("background");
    const auto* sp = static_cast<const std::uint32_t*>(display->Surface()->pixels);
    const auto* pp = static_cast<const std::uint32_t*>(p->pixels);
    for (int y = 76; y <= 514; ++y)
      for (int x = 171; x <= 609; ++x)
        if ((sp[y * 800 + x] & 0xFFFFFF) != (pp[y * 800 + x] & 0xFFFFFF)) return false;
    return true;
  }
  std::vector<std::uint32_t> Frame() const {
    const auto* px = static_cast<const std::uint32_t*>(display->Surface()->pixels);
    return {px, px + 800 * 600};
  }
  void WriteLevel(int n, const LevelGrid& grid) {
    test::WriteLevel(dir.File(std::to_string(n) + ".lev"), grid);
  }
  // A level whose snake eats on its first step and dies on its second.
  LevelGrid DeadlyLevel(int level) {
    LevelGrid g = test::EarthLevel();
    const StartRow& row = kStartTable[level - 1];
    const int headX = row.StartX + 1, headY = row.StartY - 10;
    g[headX - 1][headY - 2] = Food;
    g[headX - 1][headY - 3] = Water;
    return g;
  }
  // From the menu: Enter for one tick starts a new game.
  void StartNewGame() {
    Hold(isButton1);
    Tick();
    Hold(0);
  }
  // Plays until the snake's step has ended play, as a player would wait.
  void PlayUntilPause() {
    for (int i = 0; i < 600 && G.Phase == 0 && G.MenuMode == 0; ++i) Tick();
    ASSERT_NE(G.Phase, 0);
  }
  void Pause(int ticks) { Tick(ticks, 0); }

  test::TempDir dir;
  test::InDir in{dir.Path()};
  std::uint32_t now = 5000;
  std::vector<std::uint8_t> keys = std::vector<std::uint8_t>(SDL_NUM_SCANCODES, 0);
  bool focused = true;
  ScriptedDialogs boxes;
  HeadlessDisplay* display = nullptr;
  std::vector<std::string> sounds;
  std::unique_ptr<TForm1> form;
};

TEST_F(Game, OpensOnTheMenuWithTheStartEntryHighlighted) {
  EXPECT_EQ(G.MenuMode, 1);
  EXPECT_TRUE(display->CursorHidden);
  Tick();
  EXPECT_EQ(display->Flips, 1);
  EXPECT_TRUE(Shows("mstart", 271, 248));
  EXPECT_FALSE(Shows("mexit", 273, 320));
  EXPECT_FALSE(G.Pole) << "no play tick before a new game";
}

TEST_F(Game, MenuHighlightFollowsUpAndDownFromTheNextTick) {
  Tick();
  Hold(isDown);
  Tick();
  EXPECT_TRUE(Shows("mstart", 271, 248)) << "drawn before the keys are read";
  Tick();
  EXPECT_TRUE(Shows("mexit", 273, 320));
  EXPECT_FALSE(Shows("mstart", 271, 248));
  Hold(isUp | isDown);
  Tick(2);
  EXPECT_TRUE(Shows("mexit", 273, 320)) << "down is read last";
  Hold(isUp);
  Tick(2);
  EXPECT_TRUE(Shows("mstart", 271, 248));
  Hold(0);
  const std::uint32_t kEsc = 27;
  form->FormKeyDown(kEsc);
  EXPECT_TRUE(boxes.Questions.empty()) << "Esc does nothing in the menu";
  EXPECT_TRUE(sounds.empty());
}

TEST_F(Game, DownWithEnterEndsTheProgramWithoutAFlip) {
  Tick();
  Hold(isDown | isButton1);
  Tick();
  EXPECT_TRUE(form->Ended());
  EXPECT_EQ(display->Flips, 1);
  EXPECT_EQ(sounds, std::vector<std::string>{"Menu"});
}

TEST_F(Game, EnterHeldAtTheFirstMenuStartsLevelOne) {
  WriteLevel(1, test::EarthLevel());
  StartNewGame();
  EXPECT_EQ(sounds, std::vector<std::string>{"Menu"});
  EXPECT_EQ(display->Flips, 1) << "the tick that starts a game still flips the menu";
  EXPECT_EQ(G.MenuMode, 0);
  EXPECT_EQ(G.Level, 1);
  EXPECT_EQ(G.Lives, 3);
  EXPECT_EQ(G.LevelFileName, "1.lev");
  Tick();
  EXPECT_EQ(display->Flips, 2);
  EXPECT_TRUE(Shows("krelgolova", 160 + 11 * 25, 65 + 11 * 25));
  EXPECT_TRUE(Shows("zemla", 182, 87));
  EXPECT_TRUE(boxes.Errors.empty());
}

TEST_F(Game, DeathPauseKeepsTheFrameThenShowsThePanelThenRepeatsTheLevel) {
  WriteLevel(1, test::EarthLevel());
  WriteLevel(4, DeadlyLevel(4));
  StartNewGame();
  G.Level = 3;
  StartLevel(*form);
  PlayUntilPause();
  EXPECT_EQ(G.Phase, 1);
  EXPECT_EQ(G.Pole->Points, 9);
  const int flips = display->Flips;
  const auto lastFrame = Frame();
  Pause(49999);
  EXPECT_EQ(display->Flips, flips);
  EXPECT_EQ(Frame(), lastFrame);
  Pause(1);
  EXPECT_EQ(display->Flips, flips + 1);
  EXPECT_EQ(G.Lives, 3) << "the panel still shows three lives";
  EXPECT_TRUE(FieldShowsBackground());
  Pause(40000);
  EXPECT_EQ(G.Lives, 2);
  EXPECT_EQ(G.Level, 4);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(G.Pole->Cell(2, 27), Food) << "eaten food is back";
  EXPECT_EQ(G.Snake->Segments[1], (Tkrel::Segment{2, 28}));
}

TEST_F(Game, FourthDeathEndsTheGameInTheMenu) {
  WriteLevel(1, DeadlyLevel(1));
  StartNewGame();
  for (int life = 3; life >= 0; --life) {
    ASSERT_EQ(G.Lives, life);
    ASSERT_EQ(G.MenuMode, 0);
    PlayUntilPause();
    Pause(90000);
  }
  EXPECT_EQ(G.Lives, -1);
  EXPECT_EQ(G.MenuMode, 1);
  EXPECT_EQ(G.MenuStart, 1);
  EXPECT_EQ(G.MenuExit, 0);
  EXPECT_EQ(G.Level, 1);
  Tick();
  EXPECT_TRUE(Shows("mstart", 271, 248));
}

TEST_F(Game, CompletingLevelTenReturnsToTheMenu) {
  for (bool withEleven : {false, true}) {
    SCOPED_TRACE(withEleven ? "with 11.lev" : "without 11.lev");
    boxes.Errors.clear();
    if (withEleven) WriteLevel(11, test::EarthLevel());
    WriteLevel(1, test::EarthLevel());
    WriteLevel(10, test::EarthLevel());
    StartNewGame();
    G.Level = 9;
    StartLevel(*form);
    Tick();
    form->Button1Click();
    Pause(90000);
    EXPECT_EQ(G.Level, 11);
    EXPECT_EQ(G.MenuMode, 1);
    if (withEleven) {
      EXPECT_TRUE(boxes.Errors.empty());
    } else {
      EXPECT_EQ(boxes.Errors, std::vector<std::string>{"Krel: File not found."});
    }
    Tick();
    EXPECT_TRUE(Shows("mstart", 271, 248));
  }
}

TEST_F(Game, EscDuringPlayAsksAndYesShowsTheMenu) {
  const std::uint16_t kEsc = 27;
  WriteLevel(1, test::EarthLevel());
  StartNewGame();
  Tick(5);
  const auto head = G.Snake->Segments[1];
  for (Answer a : {Answer::No}) {
    boxes.Answers.push_back(a);
    form->FormKeyDown(kEsc);
    EXPECT_TRUE(form->DXTimer1.Enabled());
    EXPECT_EQ(G.MenuMode, 0);
  }
  form->FormKeyDown(kEsc);  // the box closed without an answer
  EXPECT_EQ(G.MenuMode, 0);
  EXPECT_EQ(boxes.Questions, (std::vector<std::string>{"Хотите выйти?", "Хотите выйти?"}));
  EXPECT_EQ(G.Snake->Segments[1], head);
  boxes.Answers.push_back(Answer::Yes);
  form->FormKeyDown(kEsc);
  EXPECT_EQ(G.MenuMode, 1);
  EXPECT_EQ(G.MenuStart, 1);
  Tick();
  EXPECT_TRUE(Shows("mstart", 271, 248));
  form->FormKeyDown('W');
  EXPECT_EQ(boxes.Questions.size(), 3u) << "other keys ask nothing";
}

TEST_F(Game, EscYesDuringADeathPauseCarriesThePauseIntoTheNewGame) {
  WriteLevel(1, DeadlyLevel(1));
  StartNewGame();
  PlayUntilPause();
  Pause(30000);
  boxes.Answers.push_back(Answer::Yes);
  form->FormKeyDown(27);
  Tick();  // a menu tick
  StartNewGame();
  EXPECT_EQ(G.Level, 1);
  EXPECT_EQ(G.Phase, 1);
  const int flips = display->Flips;
  Pause(19999);  // the menu's ticks do not count
  EXPECT_EQ(display->Flips, flips);
  Pause(1);
  EXPECT_EQ(display->Flips, flips + 1) << "pause screen at 50000";
  Pause(40000);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(G.Level, 1);
  EXPECT_EQ(G.Lives, 2);
}

TEST_F(Game, EscYesDuringALevelCompletePauseGoesOnToLevelTwo) {
  WriteLevel(1, test::EarthLevel());
  WriteLevel(2, test::EarthLevel());
  StartNewGame();
  Tick();
  form->Button1Click();
  Pause(10);
  boxes.Answers.push_back(Answer::Yes);
  form->FormKeyDown(27);
  StartNewGame();
  Pause(90000);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(G.Level, 2);
  EXPECT_EQ(G.Lives, 3);
}

TEST_F(Game, MissingLevelFileIsReportedAndPlayGoesOn) {
  WriteLevel(1, test::EarthLevel());
  StartNewGame();
  G.Level = 4;
  form->Button1Click();
  Pause(90000);  // the pause ends by starting level 5, which is missing
  EXPECT_EQ(boxes.Errors, std::vector<std::string>{"Krel: File not found."});
  EXPECT_EQ(G.Level, 5);
  EXPECT_EQ(G.Phase, 0);
  EXPECT_EQ(G.Pole->Cell(1, 1), Food);
  const int flips = display->Flips;
  Tick();
  EXPECT_EQ(display->Flips, flips + 1) << "play goes on";
  EXPECT_TRUE(Shows("krel", 171, 76));
}

TEST_F(Game, NoTicksWhileTheApplicationIsInactive) {
  Tick();
  form->SetApplicationActive(false);
  EXPECT_FALSE(form->TimerHooked());
  Tick(10);
  EXPECT_EQ(display->Flips, 1);
  form->SetApplicationActive(true);
  Tick();
  EXPECT_EQ(display->Flips, 2);
}

}  // namespace
}  // namespace krel
