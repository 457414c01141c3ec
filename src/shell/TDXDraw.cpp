#include "shell/TDXDraw.h"

#include <stdexcept>
#include <string>

namespace krel {

SurfacePtr MakeArgbSurface(int width, int height) {
  SurfacePtr s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!s) throw std::runtime_error(std::string("Out of memory: ") + SDL_GetError());
  SDL_SetSurfaceBlendMode(s.get(), SDL_BLENDMODE_NONE);
  return s;
}

TDXDraw::TDXDraw() : surface_(MakeArgbSurface(SurfaceWidth, SurfaceHeight)) {}

void TDXDraw::Fill() {
  SDL_FillRect(surface_.get(), nullptr, 0);
}

}  // namespace krel
