#include "shell/TDXInput.h"

namespace krel {

const std::array<KeyRow, kInputStateCount> kKeyAssigns{{
    {0x57, 0x26, 0x68},  // up: W, Up arrow, numeric pad 8
    {0x53, 0x28, 0x62},  // down: S, Down arrow, numeric pad 2
    {0x41, 0x25, 0x64},  // left: A, Left arrow, numeric pad 4
    {0x44, 0x27, 0x66},  // right: D, Right arrow, numeric pad 6
    {0x0D, 0x20, 0x00},  // button 1: Enter, Space
}};

namespace {

struct KeyName {
  std::int32_t vk;
  SDL_Scancode sc;
};

// Keys without a simple range below.
constexpr KeyName kNamedKeys[] = {
    {0x08, SDL_SCANCODE_BACKSPACE}, {0x09, SDL_SCANCODE_TAB},    {0x0D, SDL_SCANCODE_RETURN},
    {0x0D, SDL_SCANCODE_KP_ENTER},  {0x1B, SDL_SCANCODE_ESCAPE}, {0x20, SDL_SCANCODE_SPACE},
    {0x25, SDL_SCANCODE_LEFT},      {0x26, SDL_SCANCODE_UP},     {0x27, SDL_SCANCODE_RIGHT},
    {0x28, SDL_SCANCODE_DOWN},
};

}  // namespace

std::vector<SDL_Scancode> ScancodesForVirtualKey(std::int32_t vk) {
  std::vector<SDL_Scancode> out;
  if (vk >= 'A' && vk <= 'Z') out.push_back(static_cast<SDL_Scancode>(SDL_SCANCODE_A + vk - 'A'));
  if (vk >= '1' && vk <= '9') out.push_back(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + vk - '1'));
  if (vk == '0') out.push_back(SDL_SCANCODE_0);
  if (vk >= 0x61 && vk <= 0x69)
    out.push_back(static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + vk - 0x61));
  if (vk == 0x60) out.push_back(SDL_SCANCODE_KP_0);
  for (const KeyName& k : kNamedKeys)
    if (k.vk == vk) out.push_back(k.sc);
  return out;
}

std::uint16_t VirtualKeyForScancode(SDL_Scancode sc) {
  for (std::int32_t vk = 1; vk <= 255; ++vk)
    for (SDL_Scancode s : ScancodesForVirtualKey(vk))
      if (s == sc) return static_cast<std::uint16_t>(vk);
  return 0;
}

TDXInput::TDXInput(Snapshot snapshot) : snapshot_(std::move(snapshot)) {
  // Translated once, so a poll only looks keys up.
  for (std::size_t row = 0; row < kInputStateCount; ++row)
    for (std::size_t k = 0; k < 3; ++k)
      if (kKeyAssigns[row][k] != 0)
        scancodes_[row * 3 + k] = ScancodesForVirtualKey(kKeyAssigns[row][k]);
}

void TDXInput::Poll() {
  std::uint64_t on = 0;
  if (const std::uint8_t* keys = snapshot_()) {
    for (std::size_t row = 0; row < kInputStateCount; ++row) {
      for (std::size_t k = 0; k < 3 && !(on >> row & 1); ++k)
        for (SDL_Scancode sc : scancodes_[row * 3 + k])
          if (keys[sc]) on |= std::uint64_t{1} << row;
    }
  }
  states_ = static_cast<std::uint8_t>(on & 0xFF);
}

}  // namespace krel
