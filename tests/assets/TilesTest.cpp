// The file format of every picture, and the look of the ten-pixel tiles.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

#include "AssetFiles.h"

namespace assets_test {
namespace {

struct PictureCase {
  const char* file;
  int w, h;
};
void PrintTo(const PictureCase& c, std::ostream* os) {
  *os << c.file;
}
const PictureCase kPictures[] = {
    {"krel.bmp", 10, 10},       {"exit.bmp", 10, 10},      {"more.bmp", 10, 10},
    {"muxomor.bmp", 10, 10},    {"pesok.bmp", 10, 10},     {"zemla.bmp", 10, 10},
    {"krelgolova.bmp", 10, 10}, {"krelxvost.bmp", 10, 10}, {"background.bmp", 800, 600},
    {"menu.bmp", 800, 600},     {"Mstart.bmp", 267, 30},   {"Mexit.bmp", 267, 30},
};

class PictureFile : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureFile, IsAnUncompressed24BitBitmapOfItsSize) {
  const PictureCase& c = GetParam();
  const std::vector<uint8_t> b = readBytes(assetPath(c.file));
  ASSERT_GE(b.size(), 54u) << c.file;
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(le32(b, 2), b.size());
  EXPECT_GE(le32(b, 14), 40u) << "info header";
  EXPECT_EQ(int32_t(le32(b, 18)), c.w);
  EXPECT_EQ(std::abs(int32_t(le32(b, 22))), c.h);
  EXPECT_EQ(le16(b, 28), 24) << "bits per pixel";
  EXPECT_EQ(le32(b, 30), 0u) << "compression";
  const size_t stride = (size_t(c.w) * 3 + 3) & ~size_t(3);
  EXPECT_EQ(le32(b, 10) + stride * size_t(c.h), b.size()) << "pixel data does not fill the file";

  SDL_Surface* s = SDL_LoadBMP(assetPath(c.file).c_str());
  ASSERT_NE(s, nullptr) << SDL_GetError();
  EXPECT_EQ(s->w, c.w);
  EXPECT_EQ(s->h, c.h);
  EXPECT_EQ(s->format->BitsPerPixel, 24);
  SDL_FreeSurface(s);
}

INSTANTIATE_TEST_SUITE_P(Assets, PictureFile, ::testing::ValuesIn(kPictures),
                         [](const auto& info) { return testName(info.param.file); });

struct Rect {
  int x0, y0, x1, y1;  // inclusive
  bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};
constexpr Rect kWholeTile{0, 0, 9, 9};
constexpr Rgb kBlack{0, 0, 0};

double luma(Rgb c) {
  return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

// Features drawn in pure black, and no stray black anywhere else.
struct FeatureCase {
  const char* file;
  std::vector<Rect> black;
};
void PrintTo(const FeatureCase& c, std::ostream* os) {
  *os << c.file;
}
const FeatureCase kFeatures[] = {
    // The gap between the two door leaves runs the full height; two knobs.
    {"exit.bmp", {{4, 0, 5, 9}, {1, 4, 2, 5}, {7, 4, 8, 5}}},
    // Two eyes and a mouth.
    {"krelgolova.bmp", {{2, 2, 3, 3}, {6, 2, 7, 3}, {1, 7, 8, 7}}},
    {"krel.bmp", {}},
    {"more.bmp", {}},
    {"muxomor.bmp", {}},
    {"pesok.bmp", {}},
    {"zemla.bmp", {}},
    {"krelxvost.bmp", {}},
};

class TileFeatures : public ::testing::TestWithParam<FeatureCase> {};

TEST_P(TileFeatures, AreBlackExactlyWhereDrawn) {
  const FeatureCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  ASSERT_EQ(pic.w, 10);
  ASSERT_EQ(pic.h, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool want = std::any_of(c.black.begin(), c.black.end(),
                                    [&](const Rect& r) { return r.contains(x, y); });
      EXPECT_EQ(pic.at(x, y) == kBlack, want)
          << c.file << " at (" << x << "," << y << ") is " << show(pic.at(x, y));
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, TileFeatures, ::testing::ValuesIn(kFeatures),
                         [](const auto& info) { return testName(info.param.file); });

// Share of an area's non-black pixels whose every channel lies in [lo, hi].
struct ColourCase {
  const char* file;
  const char* what;
  Rect area;
  Rgb lo, hi;
  double minShare;
};
void PrintTo(const ColourCase& c, std::ostream* os) {
  *os << c.file << " " << c.what;
}
const ColourCase kColours[] = {
    {"krel.bmp", "body", kWholeTile, hex(0x7EFF77), hex(0xA4FF91), 0.6},
    {"krel.bmp", "dull top row", {0, 0, 9, 0}, hex(0x8BA074), hex(0x9FB388), 1.0},
    {"krel.bmp", "highlight", {0, 2, 0, 3}, hex(0xC8F0B8), hex(0xE4FFD3), 1.0},
    {"krel.bmp", "shaded corner", {9, 9, 9, 9}, hex(0x6FA765), hex(0x76B46F), 1.0},
    {"krelgolova.bmp", "body", kWholeTile, hex(0x7AE474), hex(0x9AE486), 0.6},
    // Blue stays at F8 in every pixel.
    {"more.bmp", "water", kWholeTile, hex(0x6BC6F8), hex(0x8CECF8), 1.0},
    {"pesok.bmp", "sand", kWholeTile, hex(0xD0C3A1), hex(0xFDEEC4), 1.0},
    {"zemla.bmp", "earth", kWholeTile, hex(0xB09A79), hex(0xC1A885), 1.0},
    {"krelxvost.bmp", "tail", kWholeTile, hex(0xCA558A), hex(0xFE5BA5), 0.6},
    {"krelxvost.bmp", "tip", {0, 0, 0, 0}, hex(0xF546A8), hex(0xF546A8), 1.0},
};

class TileColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(TileColours, StayInTheirRange) {
  const ColourCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  ASSERT_EQ(pic.w, 10);
  int inside = 0, total = 0;
  std::string outliers;
  for (int y = c.area.y0; y <= c.area.y1; ++y)
    for (int x = c.area.x0; x <= c.area.x1; ++x) {
      const Rgb p = pic.at(x, y);
      if (p == kBlack) continue;
      ++total;
      if (p.r >= c.lo.r && p.r <= c.hi.r && p.g >= c.lo.g && p.g <= c.hi.g && p.b >= c.lo.b &&
          p.b <= c.hi.b)
        ++inside;
      else
        outliers += " " + show(p);
    }
  ASSERT_GT(total, 0);
  EXPECT_GE(double(inside) / total, c.minShare - 1e-9)
      << c.file << " " << c.what << ": " << inside << " of " << total << " in " << show(c.lo)
      << ".." << show(c.hi) << "; outside:" << outliers;
}

INSTANTIATE_TEST_SUITE_P(Assets, TileColours, ::testing::ValuesIn(kColours), [](const auto& info) {
  return testName(std::string(info.param.file) + "_" + info.param.what);
});

struct AverageCase {
  const char* file;
  Rgb mean;
  int tolerance;
};
void PrintTo(const AverageCase& c, std::ostream* os) {
  *os << c.file;
}
const AverageCase kAverages[] = {
    {"exit.bmp", hex(0xEFC98A), 3},  // over the door leaves, not the black gap and knobs
    {"krelxvost.bmp", hex(0xED649F), 4},
};

class TileAverage : public ::testing::TestWithParam<AverageCase> {};

TEST_P(TileAverage, MatchesItsColour) {
  const AverageCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  double sum[3] = {0, 0, 0};
  int n = 0;
  for (const Rgb& p : pic.px) {
    if (p == kBlack) continue;
    sum[0] += p.r;
    sum[1] += p.g;
    sum[2] += p.b;
    ++n;
  }
  ASSERT_GT(n, 0);
  EXPECT_NEAR(sum[0] / n, c.mean.r, c.tolerance) << c.file << " red";
  EXPECT_NEAR(sum[1] / n, c.mean.g, c.tolerance) << c.file << " green";
  EXPECT_NEAR(sum[2] / n, c.mean.b, c.tolerance) << c.file << " blue";
}

INSTANTIATE_TEST_SUITE_P(Assets, TileAverage, ::testing::ValuesIn(kAverages),
                         [](const auto& info) { return testName(info.param.file); });

// Where a tile is lit and where it is in shade.
struct ShadingCase {
  const char* file;
  const char* what;
  Rect lighter, darker;
};
void PrintTo(const ShadingCase& c, std::ostream* os) {
  *os << c.file << " " << c.what;
}
const ShadingCase kShading[] = {
    {"krel.bmp", "highlight over body", {0, 2, 1, 3}, {0, 4, 9, 6}},
    {"krel.bmp", "body over lower right", {0, 4, 9, 6}, {8, 8, 9, 9}},
    {"krelgolova.bmp", "highlight over body", {0, 2, 1, 3}, {0, 4, 9, 6}},
    {"krelgolova.bmp", "body over lower right", {0, 4, 9, 6}, {8, 8, 9, 9}},
    {"pesok.bmp", "lower right over upper left", {5, 5, 9, 9}, {0, 0, 4, 4}},
    {"pesok.bmp", "inside over top row", {1, 1, 9, 9}, {0, 0, 9, 0}},
    {"pesok.bmp", "inside over left column", {1, 1, 9, 9}, {0, 0, 0, 9}},
};

class TileShading : public ::testing::TestWithParam<ShadingCase> {};

TEST_P(TileShading, LightFallsWhereExpected) {
  const ShadingCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  auto meanLuma = [&](const Rect& r) {
    double sum = 0;
    int n = 0;
    for (int y = r.y0; y <= r.y1; ++y)
      for (int x = r.x0; x <= r.x1; ++x) {
        sum += luma(pic.at(x, y));
        ++n;
      }
    return sum / n;
  };
  EXPECT_GT(meanLuma(c.lighter), meanLuma(c.darker) + 2) << c.file << ": " << c.what;
}

INSTANTIATE_TEST_SUITE_P(Assets, TileShading, ::testing::ValuesIn(kShading), [](const auto& info) {
  return testName(std::string(info.param.file) + "_" + info.param.what);
});

// Mottled tiles are not flat; the earth is only slightly mottled.
struct SpreadCase {
  const char* file;
  double minSpread, maxSpread;  // of the luma over the non-black pixels
};
void PrintTo(const SpreadCase& c, std::ostream* os) {
  *os << c.file;
}
const SpreadCase kSpreads[] = {
    {"krel.bmp", 10, 255},  {"krelgolova.bmp", 8, 255}, {"more.bmp", 12, 255},
    {"pesok.bmp", 20, 255}, {"zemla.bmp", 4, 20},       {"krelxvost.bmp", 10, 255},
    {"exit.bmp", 4, 40},
};

class TileMottling : public ::testing::TestWithParam<SpreadCase> {};

TEST_P(TileMottling, VariesWithinLimits) {
  const SpreadCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  double lo = 255, hi = 0;
  for (const Rgb& p : pic.px) {
    if (p == kBlack) continue;
    lo = std::min(lo, luma(p));
    hi = std::max(hi, luma(p));
  }
  EXPECT_GE(hi - lo, c.minSpread) << c.file;
  EXPECT_LE(hi - lo, c.maxSpread) << c.file;
}

INSTANTIATE_TEST_SUITE_P(Assets, TileMottling, ::testing::ValuesIn(kSpreads),
                         [](const auto& info) { return testName(info.param.file); });

int components(const std::vector<bool>& mask) {
  std::vector<bool> seen(mask.size(), false);
  int count = 0;
  for (int start = 0; start < 100; ++start) {
    if (!mask[size_t(start)] || seen[size_t(start)]) continue;
    ++count;
    std::vector<int> todo{start};
    seen[size_t(start)] = true;
    while (!todo.empty()) {
      const int i = todo.back();
      todo.pop_back();
      const int x = i % 10, y = i / 10;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy, j = ny * 10 + nx;
        if (nx < 0 || ny < 0 || nx > 9 || ny > 9 || !mask[size_t(j)] || seen[size_t(j)]) continue;
        seen[size_t(j)] = true;
        todo.push_back(j);
      }
    }
  }
  return count;
}

TEST(Muxomor, IsSalmonWithOffWhiteSpots) {
  const Picture pic = loadPicture("muxomor.bmp");
  ASSERT_EQ(pic.px.size(), 100u);
  int salmon = 0, white = 0;
  std::vector<bool> spot(100, false);
  for (size_t i = 0; i < pic.px.size(); ++i) {
    if (pic.px[i] == hex(0xF79380)) ++salmon;
    if (pic.px[i] == hex(0xF4F6F6)) {
      ++white;
      spot[i] = true;
    }
  }
  EXPECT_EQ(salmon, 53);
  EXPECT_EQ(white, 47);
  // Blotches, not one patch or a stripe.
  EXPECT_GE(components(spot), 2);
  std::vector<bool> cap(100);
  for (size_t i = 0; i < 100; ++i) cap[i] = !spot[i];
  EXPECT_GE(components(cap), 2);
}

}  // namespace
}  // namespace assets_test
