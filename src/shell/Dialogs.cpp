#include "shell/Dialogs.h"

#include <SDL.h>

#include <cstdio>

namespace krel {

std::string WithFullStop(const std::string& text) {
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') return text + ".";
  return text;
}

Answer SdlDialogs::Confirm(const std::string& text) {
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  const SDL_MessageBoxData box = {
      SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,  // no icon
      parent_,
      "Krel",
      text.c_str(),
      SDL_arraysize(buttons),
      buttons,
      nullptr,
  };
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) return Answer::No;
  return pressed == 1 ? Answer::Yes : Answer::No;
}

void SdlDialogs::ShowError(const std::string& text, const std::string& caption) {
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), parent_) != 0)
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

}  // namespace krel
