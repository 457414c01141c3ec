// Shared pieces of the asset generator: pixels, pictures, sounds and the one
// random source everything draws from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

constexpr Rgb hex(uint32_t v) {
  return Rgb{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
}

uint8_t clampByte(double v);
// t = 0 gives a, t = 1 gives b; t outside [0, 1] is clamped.
Rgb lerp(Rgb a, Rgb b, double t);

struct Image {
  int w = 0, h = 0;
  std::vector<Rgb> px;

  Image() = default;
  Image(int width, int height, Rgb fill = {})
      : w(width), h(height), px(size_t(width) * size_t(height), fill) {}
  Rgb& at(int x, int y) { return px[size_t(y) * size_t(w) + size_t(x)]; }
  const Rgb& at(int x, int y) const { return px[size_t(y) * size_t(w) + size_t(x)]; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  Image crop(int x0, int y0, int cw, int ch) const;
};

// Interleaved 16-bit stereo at 44100 Hz.
struct Sound {
  std::vector<int16_t> samples;
  size_t frames() const { return samples.size() / 2; }
};

// A small PCG generator. Standard library distributions are avoided on
// purpose: their output may change between library versions, and the assets
// must come out byte-identical everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed * 2862933555777941757ULL + 3037000493ULL) { next(); }
  uint32_t next() {
    uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
    uint32_t xorshifted = uint32_t(((old >> 18u) ^ old) >> 27u);
    uint32_t rot = uint32_t(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
  }
  // Uniform in [0, 1).
  double unit() { return next() * (1.0 / 4294967296.0); }
  // Uniform in [-1, 1).
  double signedUnit() { return unit() * 2.0 - 1.0; }
  double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

 private:
  uint64_t state_;
};

// A w*h grid of values, used for mottling and blotches.
struct Field {
  int w = 0, h = 0;
  std::vector<double> v;
  Field(int width, int height) : w(width), h(height), v(size_t(width) * size_t(height), 0.0) {}
  double& at(int x, int y) { return v[size_t(y) * size_t(w) + size_t(x)]; }
  double at(int x, int y) const { return v[size_t(y) * size_t(w) + size_t(x)]; }
  void normalize();  // stretches the values onto exactly [0, 1]
  void blur();       // one pass of a 3x3 weighted average
};

Field whiteNoise(Rng& rng, int w, int h);

// Tiles, all 10x10.
Image makeKrel();
Image makeExit();
Image makeMore();
Image makeMuxomor();
Image makePesok();
Image makeZemla();
Image makeKrelGolova();
Image makeKrelXvost();

// 800x600 screens and the two highlighted menu entries cut from the menu.
struct MenuPictures {
  Image menu, start, exit;
};
Image makeBackground();
MenuPictures makeMenu(const Image& muxomor, const std::string& fontFile);
// Every letter the menu shows, for checking that a face covers them.
std::string menuText();

// Text coverage: 0..1 per pixel, exactly filling a w*h box.
struct Coverage {
  int w = 0, h = 0;
  std::vector<double> a;
  double at(int x, int y) const { return a[size_t(y) * size_t(w) + size_t(x)]; }
};
// Returns the path of a bold sans-serif face covering every character of
// `text`, or throws with an explanation.
std::string findMenuFont(const std::string& text);
Coverage renderText(const std::string& fontFile, const std::string& utf8, int boxW, int boxH);

Sound makeWorm();
Sound makeBoom();
Sound makeEat();
Sound makeMenuClick();

void writeBmp(const std::string& path, const Image& img);
void writeWav(const std::string& path, const Sound& snd);

}  // namespace assetgen
