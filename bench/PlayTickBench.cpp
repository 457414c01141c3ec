// The play frame composed headless, against a plain copy of one frame in the same
// run: how many frame copies a whole play frame costs.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "game/GameState.h"
#include "presentation/Catalogue.h"
#include "presentation/Screens.h"
#include "presentation/StatusPanel.h"
#include "shell/TDXDraw.h"

namespace {

double MedianMicros(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    const auto t1 = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

}  // namespace

int main() {
  using namespace krel;
  TDXImageList images;
  images.LoadFrom(KREL_ASSET_DIR);
  HeadlessDisplay display;
  StatusPanel panel(TimeFormatFromUserLocale(), &StatusPanel::SystemLocalTime);
  Screen screen{display, images, panel, [] { return 60; }};

  // The heaviest frame: every cell drawable, a 100-segment snake.
  G.Level = 10;
  G.Lives = 3;
  G.Pole = std::make_unique<Tpole>();
  for (int x = 1; x <= 40; ++x)
    for (int y = 1; y <= 40; ++y) G.Pole->Cell(x, y) = (x + y) % 6;
  G.Snake = std::make_unique<Tkrel>();

  std::vector<std::uint32_t> from(800 * 600, 0x123456), to(800 * 600);
  const int runs = 2001;
  const double copy = MedianMicros(runs, [&] {
    std::memcpy(to.data(), from.data(), from.size() * 4);
    asm volatile("" : : "r"(to.data()) : "memory");
  });
  const double field = MedianMicros(runs, [&] {
    display.Fill();
    images.DrawPicture(display.Surface(), "background", 0, 0);
  });
  const double cells = MedianMicros(runs, [&] {
    for (int x = 1; x <= 40; ++x)
      for (int y = 1; y <= 40; ++y)
        images.DrawPicture(display.Surface(), "zemla", 160 + 11 * x, 65 + 11 * y);
  });
  const double text = MedianMicros(runs, [&] { DrawStatusPanel(screen); });
  const double frame = MedianMicros(runs, [&] { DrawPlayScreen(screen); });

  std::printf("frame copy (800x600x4 memcpy): %8.1f us\n", copy);
  std::printf("fill + background:             %8.1f us  (%.2fx a frame copy)\n", field,
              field / copy);
  std::printf("1600 cells:                    %8.1f us  (%.2fx a frame copy)\n", cells,
              cells / copy);
  std::printf("status panel:                  %8.1f us  (%.2fx a frame copy)\n", text, text / copy);
  std::printf("whole play frame:              %8.1f us  (%.2fx a frame copy)\n", frame,
              frame / copy);
  return 0;
}
