#include "Krel_Ver.h"

#include <exception>

#include "game/GameState.h"
#include "game/Session.h"

namespace krel {

namespace {
constexpr std::uint16_t kEscape = 27;
const char* const kTitle = "Krel";
}  // namespace

TForm1::TForm1(FormEnvironment env)
    : DXTimer1(env.Clock), DXInput1(env.Keyboard), env_(std::move(env)) {
  DXImageList1.LoadFrom(env_.AssetDir);
  DXWaveList1.LoadFrom(env_.AssetDir);
  panel_ = std::make_unique<StatusPanel>(env_.Time, env_.Now);
  Button1.OnClick = [this] { Button1Click(); };
  DXTimer1.OnTimer = [this](std::uint32_t lag) { DXTimer1Timer(lag); };
  // Loading has finished: the timer starts and the sound device opens itself.
  DXTimer1.Start();
  if (env_.OpenSound) DXSound1.Initialize();
  DXWaveList1.Attach(DXSound1);
}

void TForm1::Show() {
  DXDraw1 = env_.MakeDisplay();
  DXDraw1Initialize();
}

Screen TForm1::MakeScreen() {
  return Screen{*DXDraw1, DXImageList1, *panel_, [this] { return DXTimer1.FrameRate(); }};
}

void TForm1::DXTimer1Timer(std::uint32_t /*lagCount*/) {
  // The branch is chosen once, from the state at the start of the tick.
  Screen screen = MakeScreen();
  if (G.MenuMode == 1) {
    MenuTick(screen, *this);
  } else if (G.Phase == 1 || G.Phase == 2) {
    PauseTick(*this);
  } else {
    DrawPlayScreen(screen);
    PlayUpdate(*this);
  }
}

void TForm1::DXDraw1Initialize() {
  HideCursor();
  G.MenuStart = 1;
  G.MenuMode = 1;
}

void TForm1::FormKeyDown(std::uint16_t key) {
  if (key == kEscape && G.MenuMode == 0) {
    DXTimer1.SetEnabled(false);
    if (env_.Boxes->Confirm("Хотите выйти?") == Answer::Yes) {
      G.MenuStart = 1;
      G.MenuMode = 1;
    }
  }
  DXTimer1.SetEnabled(true);
}

void TForm1::Button1Click() {
  G.Snake->CompleteLevel();
}

void TForm1::IdlePass() {
  if (!DXTimer1.Hooked()) return;
  try {
    DXTimer1.IdleStep();
  } catch (const std::exception& e) {
    // An error ends its tick where it was raised; the game goes on afterwards.
    env_.Boxes->ShowError(WithFullStop(e.what()), kTitle);
  }
}

void TForm1::HideCursor() {
  if (DXDraw1) DXDraw1->HideCursor();
}

void TForm1::DrawPauseScreen() {
  Screen screen = MakeScreen();
  krel::DrawPauseScreen(screen);
}

}  // namespace krel
