#include "presentation/StatusPanel.h"

#include <fontconfig/fontconfig.h>

#include "game/Errors.h"

namespace krel {

namespace {

struct PanelLine {
  int y;
  bool heading;
};
constexpr std::array<PanelLine, 9> kLines{{
    {75, true},
    {95, false},
    {115, false},
    {165, true},
    {185, false},
    {205, false},
    {255, true},
    {275, false},
    {295, false},
}};

}  // namespace

std::string FindPanelFontFile() {
  std::string file;
  // A configuration of our own, released again: nothing of fontconfig's stays behind.
  if (FcConfig* config = FcInitLoadConfigAndFonts()) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif:lang=ru"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcChar8* path = nullptr;
    FcCharSet* charset = nullptr;
    // Fontconfig falls back to any face at all; insist on Cyrillic letters.
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
        FcCharSetHasChar(charset, 0x0416) && FcCharSetHasChar(charset, 0x044F))
      file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
  }
  if (file.empty()) throw GameError("No sans-serif font with Cyrillic letters found");
  return file;
}

StatusPanel::StatusPanel(TimeFormat format, LocalTime now)
    : format_(std::move(format)), now_(std::move(now)) {
  const std::string file = FindPanelFontFile();
  if (!TTF_WasInit() && TTF_Init() != 0) throw GameError(std::string("TTF: ") + TTF_GetError());
  // 10 points at 96 pixels per inch: 13 pixels from the top of the letters' cell.
  font_ = TTF_OpenFontDPI(file.c_str(), 10, 96, 96);
  if (!font_) throw GameError("Cannot open font " + file + ": " + TTF_GetError());
}

StatusPanel::~StatusPanel() {
  for (Line& l : cache_) l.pixels.reset();
  TTF_CloseFont(font_);
}

std::tm StatusPanel::SystemLocalTime() {
  const std::time_t t = std::time(nullptr);
  std::tm out{};
  localtime_r(&t, &out);
  return out;
}

std::array<std::string, 9> StatusPanel::Lines(const PanelValues& v) const {
  const std::tm t = now_();
  auto n = [](std::int32_t value) { return std::to_string(value); };
  return {
      "Система:",
      "Fps: " + n(v.FrameRate),
      "Время: " + FormatTime(format_, t.tm_hour, t.tm_min, t.tm_sec),
      "Уровень:",
      "Номер: " + n(v.Level) + "/10",
      "Точки: " + n(v.Points) + "/10",
      "Крел:",
      "Жизни: " + n(v.Lives) + "/3",
      "Размер: " + n(v.Length) + "/110",
  };
}

void StatusPanel::Draw(SDL_Surface* target, const PanelValues& values) {
  const std::array<std::string, 9> texts = Lines(values);
  for (std::size_t i = 0; i < kLines.size(); ++i) {
    Line& line = cache_[i];
    if (!line.pixels || line.text != texts[i]) {
      const SDL_Color colour = kLines[i].heading ? PanelHeadingColour : PanelValueColour;
      line.pixels.reset(TTF_RenderUTF8_Blended(font_, texts[i].c_str(), colour));
      if (!line.pixels) throw GameError(std::string("Cannot draw text: ") + TTF_GetError());
      // No background box: the letters are blended over what is already there.
      SDL_SetSurfaceBlendMode(line.pixels.get(), SDL_BLENDMODE_BLEND);
      line.text = texts[i];
    }
    SDL_Rect to{X, kLines[i].y, 0, 0};
    SDL_BlitSurface(line.pixels.get(), nullptr, target, &to);
  }
}

}  // namespace krel
