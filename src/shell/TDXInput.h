#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace krel {

// Rows of the key table: up, down, left, right, button 1, then buttons 2 to 32. Each
// row holds three virtual-key codes (0 for none); only the first five rows hold keys.
using KeyRow = std::array<std::int32_t, 3>;
inline constexpr std::size_t kInputStateCount = 36;
extern const std::array<KeyRow, kInputStateCount> kKeyAssigns;

// The key positions that count as a virtual-key code. Keys are taken by their place
// on the keyboard, whatever the layout says: both Enter keys count as Enter, the
// numeric pad's digits count as themselves whatever Num Lock says.
std::vector<SDL_Scancode> ScancodesForVirtualKey(std::int32_t vk);

// The virtual-key code of a key position, or 0 for keys the game has no name for.
std::uint16_t VirtualKeyForScancode(SDL_Scancode sc);

// The keyboard read as the five input states. The snapshot source returns the
// keyboard's state array, or nullptr while our window does not have the keyboard
// focus (then no state is on).
class TDXInput {
 public:
  using Snapshot = std::function<const std::uint8_t*()>;

  explicit TDXInput(Snapshot snapshot);

  void Poll();
  // Bits of InputBit (Platform.h) in the first byte.
  std::uint8_t States() const { return states_; }

 private:
  Snapshot snapshot_;
  std::array<std::vector<SDL_Scancode>, kInputStateCount * 3> scancodes_;
  std::uint8_t states_ = 0;
};

}  // namespace krel
