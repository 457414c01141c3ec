#pragma once

#include <SDL.h>

#include <memory>

namespace krel {

// Every SDL handle is owned by one of these, so nothing is released twice or leaked
// on an early return or an error.
struct SdlDeleter {
  void operator()(SDL_Window* p) const { SDL_DestroyWindow(p); }
  void operator()(SDL_Renderer* p) const { SDL_DestroyRenderer(p); }
  void operator()(SDL_Texture* p) const { SDL_DestroyTexture(p); }
  void operator()(SDL_Surface* p) const { SDL_FreeSurface(p); }
};

using WindowPtr = std::unique_ptr<SDL_Window, SdlDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, SdlDeleter>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlDeleter>;

// An 800 x 600 back surface and the like: 32-bit ARGB, no blending when drawn from.
SurfacePtr MakeArgbSurface(int width, int height);

}  // namespace krel
