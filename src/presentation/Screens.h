#pragma once

#include <cstdint>
#include <functional>

namespace krel {

class Platform;
class StatusPanel;
class TDXDraw;
class TDXImageList;

// What the screens draw with: the display, the pictures, the panel's text, and the
// frame timer's measured rate.
struct Screen {
  TDXDraw& Display;
  const TDXImageList& Images;
  StatusPanel& Panel;
  std::function<std::int32_t()> FrameRate;
};

// One play frame: background, field, snake, panel, flip.
void DrawPlayScreen(Screen& screen);
// Background and panel, flipped: shown once in the middle of a pause.
void DrawPauseScreen(Screen& screen);
void DrawStatusPanel(Screen& screen);

// One tick of the menu: draw, read the keys, act, flip.
void MenuTick(Screen& screen, Platform& host);

}  // namespace krel
