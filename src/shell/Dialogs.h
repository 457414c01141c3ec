#pragma once

#include <string>

struct SDL_Window;

namespace krel {

enum class Answer { Yes, No };

// The modal boxes of the game. The real ones are SDL's; tests answer them by script.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A question with the buttons "Yes" (Enter) and "No" (Esc); closing it answers No.
  virtual Answer Confirm(const std::string& text) = 0;
  // An error box with one OK button.
  virtual void ShowError(const std::string& text, const std::string& caption) = 0;
};

class SdlDialogs final : public Dialogs {
 public:
  void SetParent(SDL_Window* parent) { parent_ = parent; }
  Answer Confirm(const std::string& text) override;
  void ShowError(const std::string& text, const std::string& caption) override;

 private:
  SDL_Window* parent_ = nullptr;
};

// The error box's text: a full stop is added unless the text is empty or already
// ends in a character that sorts at or below ".".
std::string WithFullStop(const std::string& text);

}  // namespace krel
