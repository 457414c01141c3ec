// Menu lettering: the face is looked up through fontconfig, rendered large
// with SDL2_ttf and then area-averaged down so the ink fills its box exactly,
// whatever the face's own metrics are.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "assetgen.h"

namespace assetgen {
namespace {

std::vector<uint32_t> decodeUtf8(const std::string& s) {
  std::vector<uint32_t> out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : 3;
    uint32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra && i + size_t(k) < s.size(); ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i + size_t(k)]) & 0x3F);
    out.push_back(cp);
    i += size_t(extra) + 1;
  }
  return out;
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

const char* const kFontHelp =
    "no bold sans-serif font with Cyrillic letters was found through fontconfig; "
    "install one (on Debian: apt-get install fonts-dejavu-core)";

// Box-filter weights taking `src` samples onto `dst` samples.
struct Tap {
  int src;
  double w;
};
std::vector<std::vector<Tap>> areaWeights(int src, int dst) {
  std::vector<std::vector<Tap>> taps(static_cast<size_t>(dst));
  const double scale = double(src) / dst;
  for (int i = 0; i < dst; ++i) {
    double lo = i * scale, hi = (i + 1) * scale;
    for (int s = int(std::floor(lo)); s < int(std::ceil(hi)) && s < src; ++s) {
      double overlap = std::min(hi, double(s + 1)) - std::max(lo, double(s));
      if (overlap > 1e-12) taps[size_t(i)].push_back({s, overlap / scale});
    }
  }
  return taps;
}

// Rendered at this many times the final size, so the downsampling does the
// antialiasing and the letters keep the same weight in both boxes.
constexpr int kOversample = 4;

}  // namespace

std::string findMenuFont(const std::string& text) {
  if (!FcInit()) throw std::runtime_error("fontconfig could not be initialised");
  PatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:bold:lang=ru")));
  if (!pattern) throw std::runtime_error("fontconfig rejected the font pattern");
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match || result != FcResultMatch) throw std::runtime_error(kFontHelp);

  FcChar8* file = nullptr;
  int weight = 0;
  FcCharSet* chars = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
    throw std::runtime_error(kFontHelp);
  // fontconfig always answers with something; a regular or Latin-only face
  // would quietly give a wrong menu, so it is refused here.
  if (FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight) != FcResultMatch ||
      weight < FC_WEIGHT_BOLD)
    throw std::runtime_error(std::string(kFontHelp) + " (best match " +
                             reinterpret_cast<const char*>(file) + " is not bold)");
  if (FcPatternGetCharSet(match.get(), FC_CHARSET, 0, &chars) != FcResultMatch)
    throw std::runtime_error(kFontHelp);
  for (uint32_t cp : decodeUtf8(text))
    if (cp != ' ' && !FcCharSetHasChar(chars, cp))
      throw std::runtime_error(std::string(kFontHelp) + " (best match " +
                               reinterpret_cast<const char*>(file) + " lacks some letters)");
  return reinterpret_cast<const char*>(file);
}

Coverage renderText(const std::string& fontFile, const std::string& utf8, int boxW, int boxH) {
  if (!TTF_WasInit() && TTF_Init() != 0)
    throw std::runtime_error(std::string("SDL2_ttf: ") + TTF_GetError());
  // Point size chosen so the lettering is about boxH tall before fitting.
  TTF_Font* font = TTF_OpenFont(fontFile.c_str(), boxH * kOversample);
  if (!font) throw std::runtime_error("cannot open font " + fontFile + ": " + TTF_GetError());
  TTF_SetFontHinting(font, TTF_HINTING_NONE);
  SDL_Surface* raw = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  TTF_CloseFont(font);
  if (!raw) throw std::runtime_error(std::string("SDL2_ttf cannot render: ") + TTF_GetError());
  SDL_Surface* s = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(raw);
  if (!s) throw std::runtime_error(std::string("SDL surface conversion: ") + SDL_GetError());

  auto alpha = [&](int x, int y) {
    const auto* row = static_cast<const uint8_t*>(s->pixels) + size_t(y) * size_t(s->pitch);
    uint32_t p;
    std::memcpy(&p, row + size_t(x) * 4, 4);
    return double(p >> 24) / 255.0;
  };
  int x0 = s->w, y0 = s->h, x1 = -1, y1 = -1;
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x)
      if (alpha(x, y) > 0) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
  if (x1 < 0) {
    SDL_FreeSurface(s);
    throw std::runtime_error("the font rendered no ink for \"" + utf8 + "\"");
  }
  const int inkW = x1 - x0 + 1, inkH = y1 - y0 + 1;
  const auto tapsX = areaWeights(inkW, boxW);
  const auto tapsY = areaWeights(inkH, boxH);

  // Horizontal pass, then vertical.
  std::vector<double> mid(size_t(boxW) * size_t(inkH), 0.0);
  for (int y = 0; y < inkH; ++y)
    for (int x = 0; x < boxW; ++x) {
      double sum = 0;
      for (const Tap& t : tapsX[size_t(x)]) sum += t.w * alpha(x0 + t.src, y0 + y);
      mid[size_t(y) * size_t(boxW) + size_t(x)] = sum;
    }
  SDL_FreeSurface(s);
  Coverage cov{boxW, boxH, std::vector<double>(size_t(boxW) * size_t(boxH), 0.0)};
  for (int y = 0; y < boxH; ++y)
    for (int x = 0; x < boxW; ++x) {
      double sum = 0;
      for (const Tap& t : tapsY[size_t(y)])
        sum += t.w * mid[size_t(t.src) * size_t(boxW) + size_t(x)];
      cov.a[size_t(y) * size_t(boxW) + size_t(x)] = std::clamp(sum, 0.0, 1.0);
    }
  return cov;
}

}  // namespace assetgen
