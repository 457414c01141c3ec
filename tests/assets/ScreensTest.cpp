// The backdrop, the menu and the two highlighted menu entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "AssetFiles.h"

namespace assets_test {
namespace {

struct Rect {
  int x0, y0, x1, y1;  // inclusive
  bool contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

const Picture& background() {
  static const Picture p = loadPicture("background.bmp");
  return p;
}
const Picture& menu() {
  static const Picture p = loadPicture("menu.bmp");
  return p;
}

constexpr Rgb kCharcoal = hex(0x282828);
constexpr Rgb kBlack{0, 0, 0};
constexpr Rect kPanel{212, 155, 595, 438};
constexpr Rect kPanelInside{212, 165, 595, 428};  // between the two rows of caps
constexpr Rgb kPanelOverBlack = hex(0x565656);
constexpr Rgb kSalmon = hex(0xF8937F);
constexpr Rect kStartInk{277, 252, 531, 273};
constexpr Rect kExitInk{326, 324, 481, 344};

// The cubes are where the backdrop's charcoal is not; the menu must have the
// very same ones.
bool isCube(int x, int y) {
  return !(background().at(x, y) == kCharcoal);
}

double luma(Rgb c) {
  return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

TEST(Background, IsDarkOverall) {
  const Picture& bg = background();
  ASSERT_EQ(bg.w, 800);
  double sum[3] = {0, 0, 0};
  for (const Rgb& p : bg.px) {
    sum[0] += p.r;
    sum[1] += p.g;
    sum[2] += p.b;
  }
  const double n = double(bg.px.size());
  EXPECT_NEAR(sum[0] / n, 0x32, 2);
  EXPECT_NEAR(sum[1] / n, 0x30, 2);
  EXPECT_NEAR(sum[2] / n, 0x30, 2);
}

// Each window holds one cube (or the part of it on screen); its extent is
// checked against where that cube belongs.
struct CubeCase {
  const char* where;
  Rect window, expected;
  bool checkHeight;  // slivers at the side edges show only part of their height
};
void PrintTo(const CubeCase& c, std::ostream* os) {
  *os << c.where;
}
const CubeCase kCubes[] = {
    {"top left", {0, 0, 239, 197}, {0, 0, 183, 183}, true},
    {"top middle", {240, 0, 559, 197}, {288, 0, 503, 183}, true},
    {"top right", {560, 0, 799, 197}, {600, 0, 799, 183}, true},
    {"middle left sliver", {0, 198, 79, 435}, {0, 212, 31, 419}, false},
    {"middle left", {80, 198, 399, 435}, {128, 212, 351, 419}, true},
    {"middle right", {400, 198, 719, 435}, {448, 212, 671, 419}, true},
    {"middle right sliver", {720, 198, 799, 435}, {768, 212, 799, 419}, false},
    {"bottom left", {0, 436, 239, 599}, {0, 452, 179, 599}, true},
    {"bottom middle", {240, 436, 559, 599}, {280, 452, 499, 599}, true},
    {"bottom right", {560, 436, 799, 599}, {600, 452, 799, 599}, true},
};

class BackgroundCube : public ::testing::TestWithParam<CubeCase> {};

TEST_P(BackgroundCube, SitsInItsPlace) {
  const CubeCase& c = GetParam();
  ASSERT_EQ(background().w, 800);
  Rect box{800, 600, -1, -1};
  for (int y = c.window.y0; y <= c.window.y1; ++y)
    for (int x = c.window.x0; x <= c.window.x1; ++x)
      if (isCube(x, y)) {
        box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x), std::max(box.y1, y)};
      }
  ASSERT_GE(box.x1, 0) << "no cube " << c.where;
  constexpr int kSlack = 4;
  EXPECT_NEAR(box.x0, c.expected.x0, kSlack) << c.where;
  EXPECT_NEAR(box.x1, c.expected.x1, kSlack) << c.where;
  if (c.checkHeight) {
    EXPECT_NEAR(box.y0, c.expected.y0, kSlack) << c.where;
    EXPECT_NEAR(box.y1, c.expected.y1, kSlack) << c.where;
  } else {
    EXPECT_GE(box.y0, c.expected.y0) << c.where;
    EXPECT_LE(box.y1, c.expected.y1) << c.where;
  }
}

INSTANTIATE_TEST_SUITE_P(Assets, BackgroundCube, ::testing::ValuesIn(kCubes),
                         [](const auto& info) { return testName(info.param.where); });

// The cube faces: plain colour with spots, shaded a little per face.
struct WallCase {
  const char* file;
  Rgb backdrop, face, spot;
  int tolerance;
};
void PrintTo(const WallCase& c, std::ostream* os) {
  *os << c.file;
}
const WallCase kWalls[] = {
    {"background.bmp", kCharcoal, hex(0x414141), hex(0x413735), 0x0C},
    {"menu.bmp", kBlack, hex(0xB0C0C0), hex(0xC07060), 0x20},
};

class Wall : public ::testing::TestWithParam<WallCase> {};

TEST_P(Wall, HasSpottedCubesOnItsBackdrop) {
  const WallCase& c = GetParam();
  const Picture pic = loadPicture(c.file);
  ASSERT_EQ(pic.w, 800);
  ASSERT_EQ(pic.h, 600);
  // Spots are told from the plain face by how much redder than green they are.
  const double split = ((c.face.r - c.face.g) + (c.spot.r - c.spot.g)) / 2.0;
  int spots = 0, cubes = 0, wrong = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      if (kPanel.contains(x, y)) continue;
      const Rgb p = pic.at(x, y);
      if (!isCube(x, y)) {
        if (!(p == c.backdrop) && wrong++ < 5)
          ADD_FAILURE() << c.file << " (" << x << "," << y << ") should be backdrop: " << show(p);
        continue;
      }
      ++cubes;
      const bool spot = p.r - p.g > split;
      spots += spot;
      const Rgb ref = spot ? c.spot : c.face;
      if ((std::abs(p.r - ref.r) > c.tolerance || std::abs(p.g - ref.g) > c.tolerance ||
           std::abs(p.b - ref.b) > c.tolerance) &&
          wrong++ < 5)
        ADD_FAILURE() << c.file << " (" << x << "," << y << ") " << show(p) << " is too far from "
                      << show(ref);
    }
  EXPECT_EQ(wrong, 0);
  ASSERT_GT(cubes, 0);
  EXPECT_GT(double(spots) / cubes, 0.3) << c.file;
  EXPECT_LT(double(spots) / cubes, 0.7) << c.file;
}

INSTANTIATE_TEST_SUITE_P(Assets, Wall, ::testing::ValuesIn(kWalls),
                         [](const auto& info) { return testName(info.param.file); });

bool inInkBox(int x, int y) {
  return kStartInk.contains(x, y) || kExitInk.contains(x, y);
}

TEST(MenuPanel, IsFlatGreyOverBlackAndDimsTheCubes) {
  const Picture& m = menu();
  ASSERT_EQ(m.w, 800);
  double panelCubes = 0, openCubes = 0;
  int panelCubeCount = 0, openCubeCount = 0, wrong = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const Rgb p = m.at(x, y);
      if (!kPanelInside.contains(x, y)) {
        if (isCube(x, y) && !kPanel.contains(x, y)) {
          openCubes += luma(p);
          ++openCubeCount;
        }
        continue;
      }
      if (inInkBox(x, y)) continue;
      if (!isCube(x, y)) {
        if (!(p == kPanelOverBlack) && wrong++ < 5)
          ADD_FAILURE() << "panel over black at (" << x << "," << y << ") is " << show(p);
        continue;
      }
      if (std::min({p.r, p.g, p.b}) < kPanelOverBlack.r && wrong++ < 5)
        ADD_FAILURE() << "panel over a cube at (" << x << "," << y
                      << ") darker than over black: " << show(p);
      panelCubes += luma(p);
      ++panelCubeCount;
    }
  EXPECT_EQ(wrong, 0);
  ASSERT_GT(panelCubeCount, 0) << "the cubes should show through the panel";
  ASSERT_GT(openCubeCount, 0);
  const double under = panelCubes / panelCubeCount, open = openCubes / openCubeCount;
  EXPECT_GT(under, kPanelOverBlack.r + 10) << "cubes barely show through the panel";
  EXPECT_LT(under, open - 10) << "cubes are not dimmed under the panel";
}

struct CapRowCase {
  const char* where;
  int y;
};
void PrintTo(const CapRowCase& c, std::ostream* os) {
  *os << c.where;
}
const CapRowCase kCapRows[] = {{"top", 155}, {"bottom", 429}};

class MenuPanelEdge : public ::testing::TestWithParam<CapRowCase> {};

TEST_P(MenuPanelEdge, IsARowOfCapsWithBlackSeams) {
  const CapRowCase& c = GetParam();
  const Picture cap = loadPicture("muxomor.bmp");
  const Picture& m = menu();
  ASSERT_EQ(cap.w, 10);
  ASSERT_EQ(m.w, 800);
  for (int tile = 0; tile < 35; ++tile) {
    const int x0 = kPanel.x0 + 11 * tile;
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 10; ++x) {
        ASSERT_EQ(m.at(x0 + x, c.y + y), cap.at(x, y))
            << c.where << " cap " << tile << " pixel (" << x << "," << y << ")";
      }
      // The last cap ends flush with the panel's right edge, with no seam.
      if (tile < 34) {
        ASSERT_EQ(m.at(x0 + 10, c.y + y), kBlack) << c.where << " seam " << tile;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Assets, MenuPanelEdge, ::testing::ValuesIn(kCapRows),
                         [](const auto& info) { return testName(info.param.where); });

// Inside the panel nothing but letters can be darker than the panel over
// black, so those pixels show where the lettering is.
TEST(MenuText, IsBlackAndFillsItsBoxes) {
  const Picture& m = menu();
  ASSERT_EQ(m.w, 800);
  Rect found[2] = {{800, 600, -1, -1}, {800, 600, -1, -1}};
  int solid[2] = {0, 0}, stray = 0;
  for (int y = kPanelInside.y0; y <= kPanelInside.y1; ++y)
    for (int x = kPanelInside.x0; x <= kPanelInside.x1; ++x) {
      const Rgb p = m.at(x, y);
      if (std::max({p.r, p.g, p.b}) >= kPanelOverBlack.r) continue;
      const int which = kStartInk.contains(x, y) ? 0 : kExitInk.contains(x, y) ? 1 : -1;
      if (which < 0) {
        if (stray++ < 5) ADD_FAILURE() << "ink outside the boxes at (" << x << "," << y << ")";
        continue;
      }
      Rect& f = found[which];
      f = {std::min(f.x0, x), std::min(f.y0, y), std::max(f.x1, x), std::max(f.y1, y)};
      solid[which] += p == kBlack;
    }
  const Rect boxes[2] = {kStartInk, kExitInk};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "start entry" : "exit entry");
    EXPECT_GT(solid[i], 100) << "letters should be solid black at their core";
    EXPECT_NEAR(found[i].x0, boxes[i].x0, 2);
    EXPECT_NEAR(found[i].x1, boxes[i].x1, 2);
    EXPECT_NEAR(found[i].y0, boxes[i].y0, 2);
    EXPECT_NEAR(found[i].y1, boxes[i].y1, 2);
  }
}

// A highlighted entry is a piece of the menu with its letters recoloured.
struct HighlightCase {
  const char* file;
  int cutX, cutY;
  Rect ink;
};
void PrintTo(const HighlightCase& c, std::ostream* os) {
  *os << c.file;
}
const HighlightCase kHighlights[] = {
    {"Mstart.bmp", 271, 248, kStartInk},
    {"Mexit.bmp", 273, 319, kExitInk},
};

class MenuHighlight : public ::testing::TestWithParam<HighlightCase> {};

TEST_P(MenuHighlight, RecoloursOnlyTheLetters) {
  const HighlightCase& c = GetParam();
  const Picture hl = loadPicture(c.file);
  const Picture& m = menu();
  ASSERT_EQ(hl.w, 267);
  ASSERT_EQ(hl.h, 30);
  ASSERT_EQ(m.w, 800);
  Rect found{800, 600, -1, -1};
  int solid = 0, wrong = 0;
  for (int y = 0; y < hl.h; ++y)
    for (int x = 0; x < hl.w; ++x) {
      const int mx = c.cutX + x, my = c.cutY + y;
      const Rgb h = hl.at(x, y), p = m.at(mx, my);
      if (h == p) {
        if (p == kBlack && wrong++ < 5)
          ADD_FAILURE() << "black letter left black at (" << mx << "," << my << ")";
        continue;
      }
      found = {std::min(found.x0, mx), std::min(found.y0, my), std::max(found.x1, mx),
               std::max(found.y1, my)};
      if (!c.ink.contains(mx, my) && wrong++ < 5)
        ADD_FAILURE() << "changed outside the lettering at (" << mx << "," << my << ")";
      if (p == kBlack) {
        ++solid;
        if (!(h == kSalmon) && wrong++ < 5)
          ADD_FAILURE() << "solid letter pixel at (" << mx << "," << my << ") is " << show(h);
        continue;
      }
      // Black at coverage a leaves the backdrop times (1 - a); salmon at the
      // same coverage adds a * salmon on top of that.
      const double a = double(h.r - p.r) / kSalmon.r;
      const bool blended = a > 0 && a <= 1 && std::abs(h.g - p.g - a * kSalmon.g) <= 2.5 &&
                           std::abs(h.b - p.b - a * kSalmon.b) <= 2.5;
      if (!blended && wrong++ < 5)
        ADD_FAILURE() << "edge pixel at (" << mx << "," << my << "): menu " << show(p)
                      << ", highlight " << show(h) << " is not salmon blended the same way";
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(solid, 100);
  EXPECT_NEAR(found.x0, c.ink.x0, 2);
  EXPECT_NEAR(found.x1, c.ink.x1, 2);
  EXPECT_NEAR(found.y0, c.ink.y0, 2);
  EXPECT_NEAR(found.y1, c.ink.y1, 2);
}

INSTANTIATE_TEST_SUITE_P(Assets, MenuHighlight, ::testing::ValuesIn(kHighlights),
                         [](const auto& info) { return testName(info.param.file); });

}  // namespace
}  // namespace assets_test
