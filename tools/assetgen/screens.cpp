// The play-field backdrop, the main menu and its two highlighted entries.
//
// Both screens share one wall of big spotted cubes: dim on the backdrop so
// the field and panel stay readable, bright on the menu where the cubes are
// the decoration.
#include <algorithm>
#include <array>
#include <cmath>

#include "assetgen.h"

namespace assetgen {
namespace {

constexpr int kW = 800, kH = 600;

struct Vec {
  double x, y;
};
Vec operator-(Vec a, Vec b) {
  return {a.x - b.x, a.y - b.y};
}
double cross(Vec a, Vec b) {
  return a.x * b.y - a.y * b.x;
}

// Where p lies in the quad a-b-c-d (c opposite a), as (u, v) in [0, 1]^2 when
// inside. Used both to decide which face a pixel belongs to and to place the
// spots on the face, so they follow its slant.
bool quadCoords(Vec p, Vec a, Vec b, Vec c, Vec d, double& u, double& v) {
  Vec e = b - a, f = d - a, g = {a.x - b.x + c.x - d.x, a.y - b.y + c.y - d.y}, h = p - a;
  double k2 = cross(g, f), k1 = cross(e, f) + cross(h, g), k0 = cross(h, e);
  auto uFor = [&](double vv) {
    double dx = e.x + g.x * vv, dy = e.y + g.y * vv;
    return std::fabs(dx) > std::fabs(dy) ? (h.x - f.x * vv) / dx : (h.y - f.y * vv) / dy;
  };
  auto inside = [](double t) { return t >= -1e-9 && t <= 1 + 1e-9; };
  if (std::fabs(k2) < 1e-9) {
    v = -k0 / k1;
    u = uFor(v);
    return inside(u) && inside(v);
  }
  double disc = k1 * k1 - 4 * k0 * k2;
  if (disc < 0) return false;
  disc = std::sqrt(disc);
  for (double sign : {-1.0, 1.0}) {
    v = (-k1 + sign * disc) / (2 * k2);
    u = uFor(v);
    if (inside(u) && inside(v)) return true;
  }
  return false;
}

// Smooth value noise on [0, 1]^2 with `cells` lattice cells a side.
class SpotNoise {
 public:
  SpotNoise(Rng& rng, int cells) : n_(cells), lattice_(size_t((cells + 1) * (cells + 1))) {
    for (double& v : lattice_) v = rng.unit();
  }
  double at(double u, double v) const {
    double fx = std::clamp(u, 0.0, 1.0) * n_, fy = std::clamp(v, 0.0, 1.0) * n_;
    int ix = std::min(int(fx), n_ - 1), iy = std::min(int(fy), n_ - 1);
    double tx = smooth(fx - ix), ty = smooth(fy - iy);
    auto l = [&](int x, int y) { return lattice_[size_t(y * (n_ + 1) + x)]; };
    double top = l(ix, iy) + (l(ix + 1, iy) - l(ix, iy)) * tx;
    double bottom = l(ix, iy + 1) + (l(ix + 1, iy + 1) - l(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
  }

 private:
  static double smooth(double t) { return t * t * (3 - 2 * t); }
  int n_;
  std::vector<double> lattice_;
};

struct Palette {
  Rgb backdrop;
  Rgb face;  // the top face; the sides are in shade
  Rgb spot;
};

constexpr std::array<double, 3> kFaceLight{1.0, 0.94, 0.86};  // top, left, right

Rgb lit(Rgb c, double k) {
  return Rgb{clampByte(c.r * k), clampByte(c.g * k), clampByte(c.b * k)};
}

struct CubeBox {
  int x0, x1, y0, y1;  // inclusive bounding box of the outline, may leave the screen
};

// Three staggered rows; the outer ones are cut by the screen edges. The boxes
// vary a little from cube to cube, as cubes seen in perspective do.
constexpr std::array<CubeBox, 10> kCubes{{
    {-40, 183, -24, 183},
    {288, 503, -24, 183},
    {600, 823, -24, 183},
    {-192, 31, 212, 419},
    {128, 351, 212, 419},
    {448, 671, 212, 419},
    {768, 991, 212, 419},
    {-40, 179, 452, 659},
    {280, 499, 452, 659},
    {600, 819, 452, 659},
}};

// Which face (0 top, 1 left, 2 right) each pixel of the wall shows, and
// whether a spot covers it; -1 where the backdrop shows.
struct Wall {
  std::vector<int8_t> face = std::vector<int8_t>(size_t(kW * kH), -1);
  std::vector<uint8_t> spot = std::vector<uint8_t>(size_t(kW * kH), 0);
};

Wall buildWall() {
  Wall wall;
  Rng rng(201);
  for (const CubeBox& box : kCubes) {
    const double x0 = box.x0, x1 = box.x1 + 1.0, y0 = box.y0, y1 = box.y1 + 1.0;
    const double cx = (x0 + x1) / 2, q = (y1 - y0) / 4;
    // The near vertical edge leans towards the middle of the screen, so the
    // cubes to either side show more of the face turned to the viewer.
    const double lean = 0.1 * (x1 - x0) * (cx - kW / 2.0) / (kW / 2.0);
    const Vec top{cx, y0}, ul{x0, y0 + q}, ll{x0, y1 - q}, bottom{cx + lean, y1}, lr{x1, y1 - q},
        ur{x1, y0 + q}, centre{cx + lean, y0 + 2 * q};
    const std::array<std::array<Vec, 4>, 3> faces{{
        {ul, top, ur, centre},
        {ul, centre, bottom, ll},
        {centre, ur, lr, bottom},
    }};
    std::array<SpotNoise, 3> coarse{SpotNoise(rng, 3), SpotNoise(rng, 3), SpotNoise(rng, 3)};
    std::array<SpotNoise, 3> fine{SpotNoise(rng, 7), SpotNoise(rng, 7), SpotNoise(rng, 7)};
    for (int y = std::max(0, box.y0); y <= std::min(kH - 1, box.y1); ++y)
      for (int x = std::max(0, box.x0); x <= std::min(kW - 1, box.x1); ++x) {
        const Vec p{x + 0.5, y + 0.5};
        for (size_t f = 0; f < faces.size(); ++f) {
          double u, v;
          const auto& k = faces[f];
          if (!quadCoords(p, k[0], k[1], k[2], k[3], u, v)) continue;
          const size_t i = size_t(y * kW + x);
          wall.face[i] = int8_t(f);
          wall.spot[i] = 0.72 * coarse[f].at(u, v) + 0.28 * fine[f].at(u, v) > 0.5;
          break;
        }
      }
  }
  return wall;
}

Image paintWall(const Wall& wall, const Palette& pal) {
  Image img(kW, kH, pal.backdrop);
  for (size_t i = 0; i < img.px.size(); ++i) {
    if (wall.face[i] < 0) continue;
    const double k = kFaceLight[size_t(wall.face[i])];
    img.px[i] = lit(wall.spot[i] ? pal.spot : pal.face, k);
  }
  return img;
}

const Wall& sharedWall() {
  static const Wall wall = buildWall();
  return wall;
}

// The menu panel, inclusive.
constexpr int kPanelX0 = 212, kPanelX1 = 595, kPanelY0 = 155, kPanelY1 = 438;
constexpr int kTileRows = 10, kTilePitch = 11;
constexpr int kPanelFloor = 0x56;          // what the panel shows over black
constexpr double kPanelShowThrough = 0.3;  // how much of the wall shows through it

struct Entry {
  const char* text;
  int x0, y0, x1, y1;  // the box the ink fills, inclusive
  int cutX, cutY;      // where the highlighted version is cut from the menu
};
const Entry kStart{"Начать новую игру", 277, 252, 531, 273, 271, 248};
const Entry kExit{"Выход в ОС", 326, 324, 481, 344, 273, 319};
constexpr int kCutW = 267, kCutH = 30;
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kHighlight = hex(0xF8937F);

// Letters are laid over what is beneath with their coverage as opacity, the
// same for black and for the highlight colour, so the highlight replaces the
// black letter pixel for pixel.
void drawText(Image& img, const Coverage& cov, int x0, int y0, Rgb ink) {
  for (int y = 0; y < cov.h; ++y)
    for (int x = 0; x < cov.w; ++x) {
      // Coverage goes through 8 bits like any alpha mask, and what is all but
      // solid is made solid: otherwise a pixel can round to pure black in the
      // menu yet fall just short of pure salmon in the highlight.
      const long a8 = std::lround(cov.at(x, y) * 255.0);
      const double a = a8 >= 253 ? 1.0 : double(a8) / 255.0;
      Rgb& p = img.at(x0 + x, y0 + y);
      p = Rgb{clampByte(p.r * (1 - a) + ink.r * a), clampByte(p.g * (1 - a) + ink.g * a),
              clampByte(p.b * (1 - a) + ink.b * a)};
    }
}

}  // namespace

Image makeBackground() {
  return paintWall(sharedWall(), Palette{hex(0x282828), hex(0x414141), hex(0x413735)});
}

MenuPictures makeMenu(const Image& muxomor, const std::string& fontFile) {
  Image base = paintWall(sharedWall(), Palette{hex(0x000000), hex(0xB0C0C0), hex(0xC07060)});
  for (int y = kPanelY0; y <= kPanelY1; ++y)
    for (int x = kPanelX0; x <= kPanelX1; ++x) {
      Rgb& p = base.at(x, y);
      const int edgeY = y - kPanelY0 < kTileRows   ? y - kPanelY0
                        : kPanelY1 - y < kTileRows ? y - (kPanelY1 - kTileRows + 1)
                                                   : -1;
      if (edgeY >= 0) {
        // A border of toadstool caps, each separated by a black seam.
        const int tx = (x - kPanelX0) % kTilePitch;
        p = tx < muxomor.w ? muxomor.at(tx, edgeY) : Rgb{0, 0, 0};
        continue;
      }
      auto dim = [](uint8_t c) { return clampByte(kPanelFloor + c * kPanelShowThrough); };
      p = Rgb{dim(p.r), dim(p.g), dim(p.b)};
    }

  MenuPictures out;
  out.menu = base;
  Image highlighted = base;
  for (const Entry* e : {&kStart, &kExit}) {
    Coverage cov = renderText(fontFile, e->text, e->x1 - e->x0 + 1, e->y1 - e->y0 + 1);
    drawText(out.menu, cov, e->x0, e->y0, kInk);
    drawText(highlighted, cov, e->x0, e->y0, kHighlight);
  }
  out.start = highlighted.crop(kStart.cutX, kStart.cutY, kCutW, kCutH);
  out.exit = highlighted.crop(kExit.cutX, kExit.cutY, kCutW, kCutH);
  return out;
}

std::string menuText() {
  return std::string(kStart.text) + kExit.text;
}

}  // namespace assetgen
