#include "presentation/Screens.h"

#include <array>

#include "game/GameState.h"
#include "game/Platform.h"
#include "game/Session.h"
#include "presentation/Catalogue.h"
#include "presentation/StatusPanel.h"
#include "shell/TDXDraw.h"

namespace krel {

namespace {

// Pictures of the cell kinds 0 to 5.
constexpr std::array<const char*, 6> kCellPictures{"krel",    "exit",  "more",
                                                   "muxomor", "pesok", "zemla"};

void DrawAt(Screen& s, const char* name, const Tpole& pole, const Tkrel::Segment& seg) {
  s.Images.DrawPicture(s.Display.Surface(), name, pole.OffsetX + 11 * seg.X,
                       pole.OffsetY + 11 * seg.Y);
}

}  // namespace

void DrawStatusPanel(Screen& s) {
  PanelValues v;
  v.FrameRate = s.FrameRate();
  v.Level = G.Level;
  v.Points = G.Pole->Points;
  v.Lives = G.Lives;
  v.Length = G.Snake->Length;
  s.Panel.Draw(s.Display.Surface(), v);
}

void DrawPlayScreen(Screen& s) {
  const Tpole& pole = *G.Pole;
  const Tkrel& snake = *G.Snake;
  SDL_Surface* surface = s.Display.Surface();

  s.Display.Fill();
  s.Images.DrawPicture(surface, "background", 0, 0);
  for (std::int32_t x = 1; x <= pole.Width; ++x) {
    for (std::int32_t y = 1; y <= pole.Height; ++y) {
      const std::int32_t kind = pole.Cell(x, y);
      if (kind >= 0 && kind <= 5)
        s.Images.DrawPicture(surface, kCellPictures[kind], pole.OffsetX + 11 * x,
                             pole.OffsetY + 11 * y);
    }
  }
  DrawAt(s, "krelgolova", pole, snake.Segments[1]);
  for (std::int32_t i = 2; i <= snake.Length - 1; ++i) DrawAt(s, "krel", pole, snake.Segments[i]);
  // The tail is drawn even when it is also the head (a length of 1).
  if (snake.Length >= 1) DrawAt(s, "krelxvost", pole, snake.Segments[snake.Length]);
  DrawStatusPanel(s);
  s.Display.Flip();
}

void DrawPauseScreen(Screen& s) {
  s.Display.Fill();
  s.Images.DrawPicture(s.Display.Surface(), "background", 0, 0);
  DrawStatusPanel(s);
  s.Display.Flip();
}

void MenuTick(Screen& s, Platform& host) {
  SDL_Surface* surface = s.Display.Surface();
  s.Display.Fill();
  s.Images.DrawPicture(surface, "menu", 0, 0);
  // The highlight drawn is the one from before this tick's keys.
  if (G.MenuStart == 1) s.Images.DrawPicture(surface, "mstart", 271, 248);
  if (G.MenuExit == 1) s.Images.DrawPicture(surface, "mexit", 273, 320);
  host.PollInputStates();
  const std::uint8_t states = host.InputStates();
  if (states & isUp) {
    G.MenuStart = 1;
    G.MenuExit = 0;
  }
  if (states & isDown) {
    G.MenuStart = 0;
    G.MenuExit = 1;
  }
  if (states & isButton1) {
    host.PlaySound("Menu");
    if (G.MenuStart == 1) {
      NewGame(host);
    } else {
      host.EndProgram();
      return;
    }
  }
  s.Display.Flip();
}

}  // namespace krel
