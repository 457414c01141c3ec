// Krel: the program's entry.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "Krel_Ver.h"
#include "game/Errors.h"
#include "shell/WindowDisplay.h"

namespace {

// The pictures and sounds live beside the executable, never in the working
// directory, which belongs to the level files.
std::string AssetDir() {
  char* base = SDL_GetBasePath();
  std::string dir = base ? std::string(base) + "assets" : "assets";
  SDL_free(base);
  return dir;
}

}  // namespace

int main() {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "Krel: cannot open the display: %s\n", SDL_GetError());
    return 1;
  }
  // With no window system SDL falls back to drawing off screen, where nobody could
  // see or play the game; only take that when asked for by name.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && !SDL_getenv("SDL_VIDEODRIVER") &&
      (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0)) {
    std::fprintf(stderr, "Krel: no window system to open the display on (is DISPLAY set?)\n");
    SDL_Quit();
    return 1;
  }
  if (TTF_Init() != 0) {
    std::fprintf(stderr, "Krel: cannot start the font renderer: %s\n", TTF_GetError());
    SDL_Quit();
    return 1;
  }

  int exitCode = 0;
  {
    krel::SdlDialogs boxes;
    std::unique_ptr<krel::TForm1> form;
    krel::FormEnvironment env;
    env.AssetDir = AssetDir();
    env.Clock = [] { return static_cast<std::uint32_t>(SDL_GetTicks64()); };
    SDL_Window* window = nullptr;
    // Keys count only while our window has the keyboard.
    env.Keyboard = [&window]() -> const std::uint8_t* {
      if (!window || SDL_GetKeyboardFocus() != window) return nullptr;
      return SDL_GetKeyboardState(nullptr);
    };
    env.Boxes = &boxes;
    env.MakeDisplay = [&boxes, &window] {
      auto display = std::make_unique<krel::WindowDisplay>();
      window = display->Window();
      boxes.SetParent(window);
      return display;
    };
    env.Time = krel::TimeFormatFromUserLocale();

    try {
      form = std::make_unique<krel::TForm1>(std::move(env));
    } catch (const std::exception& e) {
      // Nothing can run without the form's pictures, sounds and font.
      boxes.ShowError("Exception in module krel.\n" + krel::WithFullStop(e.what()),
                      "Application Error");
      exitCode = 1;
    }
    if (form) {
      try {
        form->Show();
        krel::RunMessageLoop(*form);
      } catch (const krel::GameError& e) {
        boxes.SetParent(nullptr);
        boxes.ShowError(krel::WithFullStop(e.what()), "Krel");
        exitCode = 1;
      }
    }
  }
  TTF_Quit();
  SDL_Quit();
  return exitCode;
}
