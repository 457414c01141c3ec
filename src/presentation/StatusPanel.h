#pragma once

#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "presentation/TimeFormat.h"
#include "shell/SdlHandles.h"

namespace krel {

inline constexpr SDL_Color PanelHeadingColour{243, 148, 185, 255};  // #F394B9
inline constexpr SDL_Color PanelValueColour{225, 186, 156, 255};    // #E1BA9C

// The font file of a sans-serif face with Cyrillic letters, as fontconfig picks it.
// Throws GameError when there is none.
std::string FindPanelFontFile();

// What the nine lines show.
struct PanelValues {
  std::int32_t FrameRate = 0;
  std::int32_t Level = 0;
  std::int32_t Points = 0;
  std::int32_t Lives = 0;
  std::int32_t Length = 0;
};

// The status panel's text: nine lines at x 670. A line is rasterised only when its
// text changes, so a play frame mostly copies pixels it already has.
class StatusPanel {
 public:
  static constexpr int X = 670;
  using LocalTime = std::function<std::tm()>;

  // Opens the panel font (10 points at 96 pixels per inch). Throws GameError.
  StatusPanel(TimeFormat format, LocalTime now);
  ~StatusPanel();
  StatusPanel(const StatusPanel&) = delete;
  StatusPanel& operator=(const StatusPanel&) = delete;

  void Draw(SDL_Surface* target, const PanelValues& values);

  // The texts of the nine lines as the panel would draw them now.
  std::array<std::string, 9> Lines(const PanelValues& values) const;

  static std::tm SystemLocalTime();

 private:
  struct Line {
    std::string text;
    SurfacePtr pixels;
  };
  TimeFormat format_;
  LocalTime now_;
  TTF_Font* font_ = nullptr;
  std::array<Line, 9> cache_;
};

}  // namespace krel
