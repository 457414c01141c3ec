#pragma once

#include <cstdint>

#include "shell/SdlHandles.h"

namespace krel {

// The display: an 800 x 600 32-bit back surface that keeps its pixels between
// frames, and the flip that shows it. The window-backed kind lives in
// WindowDisplay; the headless kind only counts its flips.
class TDXDraw {
 public:
  static constexpr int SurfaceWidth = 800;
  static constexpr int SurfaceHeight = 600;

  TDXDraw();
  virtual ~TDXDraw() = default;
  TDXDraw(const TDXDraw&) = delete;
  TDXDraw& operator=(const TDXDraw&) = delete;

  SDL_Surface* Surface() const { return surface_.get(); }
  // Every pixel to device colour 0, black.
  void Fill();
  virtual void Flip() = 0;
  virtual void HideCursor() = 0;

 private:
  SurfacePtr surface_;
};

class HeadlessDisplay final : public TDXDraw {
 public:
  void Flip() override { ++Flips; }
  void HideCursor() override { CursorHidden = true; }

  int Flips = 0;
  bool CursorHidden = false;
};

}  // namespace krel
