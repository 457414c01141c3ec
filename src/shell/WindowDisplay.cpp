#include "shell/WindowDisplay.h"

#include <cstring>

#include "game/Errors.h"

namespace krel {

namespace {
[[noreturn]] void DisplayFailed() {
  throw GameError("Display mode cannot be changed (800x600 32bit)");
}
}  // namespace

WindowDisplay::WindowDisplay() {
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  window_.reset(SDL_CreateWindow("Krel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 SurfaceWidth, SurfaceHeight,
                                 SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS));
  if (!window_) DisplayFailed();
  renderer_.reset(
      SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
  if (!renderer_) renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
  if (!renderer_) DisplayFailed();
  if (SDL_RenderSetLogicalSize(renderer_.get(), SurfaceWidth, SurfaceHeight) != 0) DisplayFailed();
  texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ARGB8888,
                                   SDL_TEXTUREACCESS_STREAMING, SurfaceWidth, SurfaceHeight));
  if (!texture_) DisplayFailed();

  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer_.get(), &info) == 0) {
    // The software renderer claims vsync it cannot give; only trust a real driver.
    vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
             (info.flags & SDL_RENDERER_SOFTWARE) == 0 && std::strcmp(info.name, "software") != 0;
  }
  SDL_DisplayMode mode;
  int refresh = 60;
  const int index = SDL_GetWindowDisplayIndex(window_.get());
  if (index >= 0 && SDL_GetCurrentDisplayMode(index, &mode) == 0 && mode.refresh_rate > 0)
    refresh = mode.refresh_rate;
  framePeriod_ = SDL_GetPerformanceFrequency() / static_cast<std::uint64_t>(refresh);

  Fill();
}

void WindowDisplay::Flip() {
  if (!vsync_) {
    // Wait for the next refresh as a vsync present would, without drifting.
    const std::uint64_t now = SDL_GetPerformanceCounter();
    if (nextFlip_ > now) {
      const std::uint64_t waitMs = (nextFlip_ - now) * 1000 / SDL_GetPerformanceFrequency();
      if (waitMs > 0) SDL_Delay(static_cast<std::uint32_t>(waitMs));
      while (SDL_GetPerformanceCounter() < nextFlip_) {
      }
      nextFlip_ += framePeriod_;
    } else {
      nextFlip_ = now + framePeriod_;
    }
  }
  SDL_Surface* s = Surface();
  SDL_UpdateTexture(texture_.get(), nullptr, s->pixels, s->pitch);
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, nullptr);
  SDL_RenderPresent(renderer_.get());
}

void WindowDisplay::HideCursor() {
  SDL_ShowCursor(SDL_DISABLE);
}

}  // namespace krel
