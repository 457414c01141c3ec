#pragma once

#include <cstdint>

#include "shell/TDXDraw.h"

namespace krel {

// The real display: one borderless full-screen window showing the back surface
// scaled to the screen with its aspect ratio kept.
class WindowDisplay final : public TDXDraw {
 public:
  // Throws GameError("Display mode cannot be changed (800x600 32bit)") when no such
  // window can be had.
  WindowDisplay();

  void Flip() override;
  void HideCursor() override;
  SDL_Window* Window() const { return window_.get(); }

 private:
  WindowPtr window_;
  RendererPtr renderer_;
  TexturePtr texture_;
  // Without a vsync present the flip paces itself to the display's refresh.
  bool vsync_ = false;
  std::uint64_t framePeriod_ = 0;  // in performance-counter units
  std::uint64_t nextFlip_ = 0;
};

}  // namespace krel
