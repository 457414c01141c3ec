// The eight 10x10 tiles: the snake's body, head and tail, and the field's
// cells. Each one has its own seed so that retuning one leaves the others
// unchanged.
#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include "assetgen.h"

namespace assetgen {
namespace {

constexpr int kTile = 10;
constexpr Rgb kBlack{0, 0, 0};

// Soft mottling in [0, 1]: white noise with the pixel-to-pixel jumps smoothed
// away, then stretched so both ends of the colour range really occur.
Field mottle(Rng& rng, int passes) {
  Field f = whiteNoise(rng, kTile, kTile);
  for (int i = 0; i < passes; ++i) f.blur();
  f.normalize();
  return f;
}

// The body and the head share one look: a lit upper left with a pale
// highlight, a shaded lower right.
struct GreenLook {
  Rgb lo, hi;            // the bulk of the tile
  Rgb highlight;         // the glint on the left of the third and fourth rows
  Rgb shadeLo, shadeHi;  // the lower-right corner
  bool dullTopRow;
  Rgb topLo, topHi;
};

// A tile whose every pixel lies between two colours, by the field's value there.
Image shade(const Field& f, Rgb from, Rgb to) {
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) img.at(x, y) = lerp(from, to, f.at(x, y));
  return img;
}

Image greenTile(Rng& rng, const GreenLook& look) {
  Field f = mottle(rng, 1);
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      double t = f.at(x, y);
      Rgb c = lerp(look.lo, look.hi, t);
      if (look.dullTopRow && y == 0) c = lerp(look.topLo, look.topHi, t);
      if ((y == 2 || y == 3) && x <= 2) {
        static constexpr std::array<double, 3> kFalloff{1.0, 0.62, 0.28};
        c = lerp(c, look.highlight, kFalloff[size_t(x)] * (y == 2 ? 1.0 : 0.85));
      }
      double shade = std::clamp((x + y - 12) / 5.0, 0.0, 1.0);
      if (shade > 0) c = lerp(c, lerp(look.shadeLo, look.shadeHi, t), shade);
      img.at(x, y) = c;
    }
  return img;
}

void fillRect(Image& img, int x0, int y0, int x1, int y1, Rgb c) {
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) img.at(x, y) = c;
}

// Shifts the pixels in `mask` so that their average becomes `target` exactly
// (up to rounding), keeping the mottling.
void matchAverage(Image& img, const std::vector<bool>& mask, Rgb target) {
  double sum[3] = {0, 0, 0};
  int n = 0;
  for (size_t i = 0; i < img.px.size(); ++i)
    if (mask[i]) {
      sum[0] += img.px[i].r;
      sum[1] += img.px[i].g;
      sum[2] += img.px[i].b;
      ++n;
    }
  const double want[3] = {double(target.r), double(target.g), double(target.b)};
  double shift[3];
  for (int c = 0; c < 3; ++c) shift[c] = want[c] - sum[c] / n;
  for (size_t i = 0; i < img.px.size(); ++i)
    if (mask[i]) {
      Rgb& p = img.px[i];
      p = Rgb{clampByte(p.r + shift[0]), clampByte(p.g + shift[1]), clampByte(p.b + shift[2])};
    }
}

}  // namespace

Image makeKrel() {
  Rng rng(101);
  return greenTile(rng, GreenLook{hex(0x7EFF77), hex(0xA4FF91), hex(0xE4FFD3), hex(0x76A76F),
                                  hex(0x6FB465), true, hex(0x90A379), hex(0x9AAF83)});
}

Image makeKrelGolova() {
  Rng rng(102);
  Image img = greenTile(rng, GreenLook{hex(0x7AE474),
                                       hex(0x9AE486),
                                       hex(0xD6F2C8),
                                       hex(0x6E9F68),
                                       hex(0x70B066),
                                       false,
                                       {},
                                       {}});
  fillRect(img, 2, 2, 3, 3, kBlack);  // eyes
  fillRect(img, 6, 2, 7, 3, kBlack);
  fillRect(img, 1, 7, 8, 7, kBlack);  // mouth
  return img;
}

Image makeExit() {
  Rng rng(103);
  Field f = mottle(rng, 1);
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      // Each leaf of the door is lit a little from its hinge side.
      double leaf = (x < 5 ? x : 9 - x) / 4.0;
      double t = 0.65 * f.at(x, y) + 0.35 * (1.0 - leaf);
      img.at(x, y) = lerp(hex(0xE4BC7E), hex(0xF8D696), t);
    }
  std::vector<bool> tan(img.px.size(), true);
  auto black = [&](int x0, int y0, int x1, int y1) {
    fillRect(img, x0, y0, x1, y1, kBlack);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) tan[size_t(y * kTile + x)] = false;
  };
  black(4, 0, 5, 9);  // the gap between the two leaves
  black(1, 4, 2, 5);  // knobs
  black(7, 4, 8, 5);
  matchAverage(img, tan, hex(0xEFC98A));
  return img;
}

Image makeMore() {
  Rng rng(104);
  Field f = whiteNoise(rng, kTile, kTile);
  f.blur();
  f.blur();
  const double phase = rng.range(0, 6.283);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      // Gently slanted swell bands with a little ripple on top.
      double wave = std::sin((y + 0.35 * x) * 1.25 + phase);
      f.at(x, y) = 0.75 * wave + 0.9 * (f.at(x, y) - 0.5);
    }
  f.normalize();
  return shade(f, hex(0x6BC6F8), hex(0x8CECF8));
}

Image makeMuxomor() {
  // Fixed counts make the cap look the same however it is tiled.
  constexpr int kWhite = 47;
  Rng rng(36);
  Field f(kTile, kTile);
  for (int blob = 0; blob < 7; ++blob) {
    double cx = rng.range(-0.5, 9.5), cy = rng.range(-0.5, 9.5);
    double r = rng.range(0.8, 1.6);
    double weight = rng.range(0.6, 1.0);
    for (int y = 0; y < kTile; ++y)
      for (int x = 0; x < kTile; ++x) {
        double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        f.at(x, y) += weight * std::exp(-d2 / (2 * r * r));
      }
  }
  for (double& v : f.v) v += 0.25 * rng.unit();
  std::vector<int> order(size_t(kTile * kTile));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return f.v[size_t(a)] > f.v[size_t(b)]; });
  Image img(kTile, kTile, hex(0xF79380));
  for (int i = 0; i < kWhite; ++i) img.px[size_t(order[size_t(i)])] = hex(0xF4F6F6);
  return img;
}

Image makePesok() {
  Rng rng(106);
  Field f = mottle(rng, 1);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      double light = (x + y) / 18.0;
      double edge = (x == 0 || y == 0) ? 0.25 : 0.0;  // the greyer rim on top and left
      f.at(x, y) = 0.6 * light + 0.4 * f.at(x, y) - edge;
    }
  f.normalize();
  return shade(f, hex(0xD0C3A1), hex(0xFDEEC4));
}

Image makeZemla() {
  Rng rng(107);
  Field f = mottle(rng, 1);
  return shade(f, hex(0xB09A79), hex(0xC1A885));
}

Image makeKrelXvost() {
  Rng rng(108);
  Field f = mottle(rng, 1);
  Field spots = whiteNoise(rng, kTile, kTile);
  spots.blur();
  // A fifth of the tail is lighter spots; they pull the average above the
  // darker mottled bulk.
  std::vector<double> sorted = spots.v;
  std::sort(sorted.begin(), sorted.end());
  const double spotLevel = sorted[80];
  Image img(kTile, kTile);
  for (int y = 0; y < kTile; ++y)
    for (int x = 0; x < kTile; ++x) {
      double t = f.at(x, y);
      Rgb c = lerp(hex(0xCA558A), hex(0xFE5BA5), 0.25 + 0.75 * t);
      if (spots.at(x, y) >= spotLevel) c = lerp(hex(0xFF80AC), hex(0xFFA4BC), t);
      img.at(x, y) = c;
    }
  img.at(0, 0) = hex(0xF546A8);  // the tip
  return img;
}

}  // namespace assetgen
