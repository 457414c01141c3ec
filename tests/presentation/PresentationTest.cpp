#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "game/Errors.h"
#include "game/GameState.h"
#include "presentation/Catalogue.h"
#include "presentation/Screens.h"
#include "presentation/StatusPanel.h"
#include "presentation/TimeFormat.h"
#include "shell/TDXDraw.h"

namespace krel {
namespace {

std::uint32_t PixelAt(const SDL_Surface* s, int x, int y) {
  return static_cast<const std::uint32_t*>(s->pixels)[y * (s->pitch / 4) + x] & 0xFFFFFF;
}

// True when the picture's pixels stand at (x, y) of the surface.
bool PictureAt(const SDL_Surface* surface, const SDL_Surface* picture, int x, int y) {
  for (int py = 0; py < picture->h; ++py)
    for (int px = 0; px < picture->w; ++px)
      if (PixelAt(surface, x + px, y + py) != PixelAt(picture, px, py)) return false;
  return true;
}

class CatalogueTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    images = new TDXImageList;
    images->LoadFrom(KREL_ASSET_DIR);
  }
  static void TearDownTestSuite() { delete images; }
  static TDXImageList* images;
};
TDXImageList* CatalogueTest::images = nullptr;

TEST_F(CatalogueTest, NamesIgnoreLetterCase) {
  EXPECT_EQ(images->Find("mstart"), images->Find("Mstart"));
  EXPECT_EQ(images->Find("MSTART"), images->Find("Mstart"));
  EXPECT_NE(images->Find("mexit"), images->Find("mstart"));
  EXPECT_EQ(images->Find("menu")->w, 800);
  EXPECT_EQ(images->Find("mexit")->w, 267);
  EXPECT_EQ(images->Find("KREL")->h, 10);
  try {
    images->Find("Snake");
    FAIL() << "no error";
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Image 'Snake' not found");
  }

  TDXWaveList waves;
  waves.LoadFrom(KREL_ASSET_DIR);
  std::vector<std::string> played;
  waves.OnPlay = [&](const std::string& n) { played.push_back(n); };
  waves.PlaySound("menu");
  waves.PlaySound("WORM");
  EXPECT_EQ(played, (std::vector<std::string>{"Menu", "worm"}));
  try {
    waves.PlaySound("menux");
    FAIL() << "no error";
  } catch (const GameError& e) {
    EXPECT_STREQ(e.what(), "Wave 'menux' not found");
  }
}

TEST_F(CatalogueTest, DrawingIsOpaqueAndClipped) {
  struct Case {
    int x, y;
    int covered;  // pixels of the 10 x 10 tile that land on the surface
  };
  const Case cases[] = {
      {0, 0, 100}, {790, 590, 100}, {795, 0, 50}, {0, 595, 50}, {-5, -5, 25}, {-10, 0, 0},
      {800, 0, 0}, {0, 600, 0},     {801, 5, 0},  {5, 601, 0},  {-9, 595, 5},
  };
  auto surface = MakeArgbSurface(800, 600);
  for (const Case& c : cases) {
    SDL_FillRect(surface.get(), nullptr, 0x123456);
    images->DrawPicture(surface.get(), "krel", c.x, c.y);
    int changed = 0;
    for (int y = 0; y < 600; ++y)
      for (int x = 0; x < 800; ++x) changed += PixelAt(surface.get(), x, y) != 0x123456;
    EXPECT_EQ(changed, c.covered) << c.x << "," << c.y;
  }
  // Opaque: black pixels of a picture replace what lies below (the exit's door bar).
  SDL_FillRect(surface.get(), nullptr, 0xFFFFFF);
  images->DrawPicture(surface.get(), "exit", 10, 10);
  EXPECT_EQ(PixelAt(surface.get(), 14, 12), 0u);
}

TEST(SoundTest, PlayCopiesSoundTogetherAndAreReused) {
  ASSERT_EQ(SDL_setenv("SDL_AUDIODRIVER", "dummy", 1), 0);
  TDXSound device;
  device.Initialize();
  ASSERT_TRUE(device.Initialized()) << SDL_GetError();
  TDXWaveList waves;
  waves.LoadFrom(KREL_ASSET_DIR);
  waves.Attach(device);

  waves.PlaySound("worm");
  waves.PlaySound("worm");  // the first still sounds: a second copy
  EXPECT_EQ(waves.CopyCount("worm"), 2u);
  waves.PlaySound("boom");
  waves.PlaySound("boom");
  waves.PlaySound("boom");
  EXPECT_EQ(waves.CopyCount("boom"), 3u);
  EXPECT_EQ(Mix_Playing(-1), 5);

  // Once they have finished, later plays reuse the copies.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (Mix_Playing(-1) > 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(Mix_Playing(-1), 0);
  waves.PlaySound("worm");
  waves.PlaySound("Boom");
  EXPECT_EQ(waves.CopyCount("worm"), 2u);
  EXPECT_EQ(waves.CopyCount("boom"), 3u);
}

TEST(SoundTest, NoDeviceIsSilentButNamesStillCount) {
  TDXSound device;  // never opened
  TDXWaveList waves;
  waves.LoadFrom(KREL_ASSET_DIR);
  waves.Attach(device);
  EXPECT_NO_THROW(waves.PlaySound("eat"));
  EXPECT_EQ(waves.CopyCount("eat"), 0u);
  EXPECT_THROW(waves.PlaySound("bang"), GameError);
}

TEST(TimeFormatTest, LocaleDataToTexts) {
  struct Case {
    const char* name;
    const char* tFmt;
    const char* ampm;
    const char* am;
    const char* pm;
    int h, m, s;
    const char* text;
  };
  const Case cases[] = {
      {"24h leading zero", "%H:%M:%S", "", "", "", 9, 15, 7, "09:15:07"},
      {"24h no leading zero", "%k:%M:%S", "", "", "", 9, 15, 7, "9:15:07"},
      {"24h via %T", "%T", "", "", "", 23, 5, 0, "23:05:00"},
      {"dotted separator", "%H.%M.%S", "", "", "", 9, 15, 7, "09.15.07"},
      {"no separator", "%H%M%S", "", "", "", 9, 15, 7, "09:15:07"},
      {"12h after", "%I:%M:%S %p", "", "AM", "PM", 0, 0, 1, "12:00:01 AM"},
      {"12h noon", "%r", "%I:%M:%S %p", "AM", "PM", 12, 0, 0, "12:00:00 PM"},
      {"12h afternoon no zero", "%l:%M:%S %p", "", "AM", "PM", 13, 30, 59, "1:30:59 PM"},
      {"12h morning end", "%I:%M:%S %p", "", "AM", "PM", 11, 59, 59, "11:59:59 AM"},
      {"12h before", "%p %I:%M:%S", "", "오전", "오후", 15, 4, 5, "오후 03:04:05"},
      {"12h without designators", "%I:%M:%S %p", "", "", "", 18, 0, 0, "06:00:00 pm"},
  };
  for (const Case& c : cases) {
    const TimeFormat f = TimeFormatFromLocaleData(c.tFmt, c.ampm, c.am, c.pm);
    EXPECT_EQ(FormatTime(f, c.h, c.m, c.s), c.text) << c.name;
  }
}

// Field, snake and panel drawn headless on the back surface.
class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGameState();
    images.LoadFrom(KREL_ASSET_DIR);
    G.Level = 1;
    G.Lives = 3;
    G.Pole = std::make_unique<Tpole>();
    for (int x = 1; x <= 40; ++x)
      for (int y = 1; y <= 40; ++y) G.Pole->Cell(x, y) = Earth;
    G.Snake = std::make_unique<Tkrel>();
  }
  void TearDown() override { ResetGameState(); }

  static std::tm Noon() {
    std::tm t{};
    t.tm_hour = 9;
    t.tm_min = 15;
    t.tm_sec = 7;
    return t;
  }
  SDL_Surface* S() const { return display.Surface(); }
  SDL_Surface* Pic(const char* name) const { return images.Find(name); }
  bool CellShows(int x, int y, const char* name) const {
    return PictureAt(S(), Pic(name), 160 + 11 * x, 65 + 11 * y);
  }
  bool CellShowsBackground(int x, int y) const {
    for (int py = 0; py < 10; ++py)
      for (int px = 0; px < 10; ++px) {
        const int sx = 160 + 11 * x + px, sy = 65 + 11 * y + py;
        if (PixelAt(S(), sx, sy) != PixelAt(Pic("background"), sx, sy)) return false;
      }
    return true;
  }

  HeadlessDisplay display;
  TDXImageList images;
  StatusPanel panel{TimeFormatFromLocaleData("%H:%M:%S", "", "", ""), &Noon};
  std::int32_t rate = 0;
  Screen screen{display, images, panel, [this] { return rate; }};
};

TEST_F(ScreenTest, FieldOfEarthWithSeams) {
  G.Snake->Length = 1;
  G.Snake->Segments[1] = {100, 100};
  DrawPlayScreen(screen);
  EXPECT_EQ(display.Flips, 1);
  for (int x = 1; x <= 40; ++x)
    for (int y = 1; y <= 40; ++y) ASSERT_TRUE(CellShows(x, y, "zemla")) << x << "," << y;
  EXPECT_TRUE(PictureAt(S(), Pic("zemla"), 171, 76));
  EXPECT_TRUE(PictureAt(S(), Pic("zemla"), 600, 505));
  // Seams of the background between cells and around the field.
  for (auto [x, y] : {std::pair{181, 80}, {300, 86}, {170, 76}, {610, 514}, {400, 515}})
    EXPECT_EQ(PixelAt(S(), x, y), PixelAt(Pic("background"), x, y)) << x << "," << y;
}

TEST_F(ScreenTest, EveryKindHasItsPictureAndOthersShowTheBackground) {
  const std::pair<std::int32_t, const char*> kinds[] = {{Food, "krel"},  {Exit, "exit"},
                                                        {Water, "more"}, {Mushroom, "muxomor"},
                                                        {Sand, "pesok"}, {Earth, "zemla"}};
  for (int i = 0; i < 6; ++i) G.Pole->Cell(1 + i, 1) = kinds[i].first;
  G.Pole->Cell(10, 1) = 6;
  G.Pole->Cell(11, 1) = -1;
  DrawPlayScreen(screen);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(CellShows(1 + i, 1, kinds[i].second)) << kinds[i].second;
  EXPECT_TRUE(CellShowsBackground(10, 1));
  EXPECT_TRUE(CellShowsBackground(11, 1));
}

TEST_F(ScreenTest, SnakePiecesByLength) {
  // Level 1: head at (25, 25), body down to the tail at (25, 34).
  DrawPlayScreen(screen);
  EXPECT_TRUE(CellShows(25, 25, "krelgolova"));
  for (int y = 26; y <= 33; ++y) EXPECT_TRUE(CellShows(25, y, "krel")) << y;
  EXPECT_TRUE(CellShows(25, 34, "krelxvost"));
  EXPECT_TRUE(CellShows(25, 35, "zemla"));

  G.Snake->Length = 2;
  DrawPlayScreen(screen);
  EXPECT_TRUE(CellShows(25, 25, "krelgolova"));
  EXPECT_TRUE(CellShows(25, 26, "krelxvost"));
  EXPECT_TRUE(CellShows(25, 27, "zemla"));

  G.Snake->Length = 1;
  DrawPlayScreen(screen);
  EXPECT_TRUE(CellShows(25, 25, "krelxvost")) << "the tail covers the head";

  // Right after eating the tail is parked off the field: nothing is drawn for it.
  G.Snake->Length = 11;
  G.Snake->Segments[11] = {100, 100};
  DrawPlayScreen(screen);
  EXPECT_TRUE(CellShows(25, 34, "krel"));
}

TEST_F(ScreenTest, PanelLinesAndTheirPlaces) {
  G.Snake->Length = 10;
  EXPECT_EQ(panel.Lines({0, 1, 10, 3, 10}),
            (std::array<std::string, 9>{"Система:", "Fps: 0", "Время: 09:15:07",
                                        "Уровень:", "Номер: 1/10", "Точки: 10/10",
                                        "Крел:", "Жизни: 3/3", "Размер: 10/110"}));
  EXPECT_EQ(panel.Lines({-5, 11, -1, -1, 0})[5], "Точки: -1/10");
  EXPECT_EQ(panel.Lines({-5, 11, -1, -1, 0})[7], "Жизни: -1/3");

  // Each line's letters lie in its own box and in its own colour.
  SDL_FillRect(S(), nullptr, 0);
  DrawStatusPanel(screen);
  const int ys[] = {75, 95, 115, 165, 185, 205, 255, 275, 295};
  const bool heading[] = {true, false, false, true, false, false, true, false, false};
  for (int i = 0; i < 9; ++i) {
    const std::uint32_t want = heading[i] ? 0xF394B9 : 0xE1BA9C;
    int exact = 0, lit = 0;
    for (int y = ys[i]; y < ys[i] + 17; ++y)
      for (int x = 670; x < 800; ++x) {
        const std::uint32_t p = PixelAt(S(), x, y);
        lit += p != 0;
        exact += p == want;
      }
    EXPECT_GT(exact, 5) << "line " << i + 1;
    EXPECT_GT(lit, 20) << "line " << i + 1;
    // The first letter starts at the line's x (give a pixel for the letter's side bearing).
    bool leftEdge = false;
    for (int y = ys[i]; y < ys[i] + 17; ++y)
      for (int x = 670; x < 673; ++x) leftEdge |= PixelAt(S(), x, y) != 0;
    EXPECT_TRUE(leftEdge) << "line " << i + 1;
  }
  // Nothing outside the panel's column, and no background box: pixels between lines
  // stay as they were.
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 670; ++x) ASSERT_EQ(PixelAt(S(), x, y), 0u) << x << "," << y;
  for (int x = 670; x < 800; ++x) EXPECT_EQ(PixelAt(S(), x, 140), 0u);
  // Letters stand within 13 pixels of cell height plus descenders.
  for (int x = 670; x < 800; ++x) EXPECT_EQ(PixelAt(S(), x, 74), 0u);
}

TEST_F(ScreenTest, PauseScreenIsBackgroundAndPanel) {
  DrawPlayScreen(screen);
  DrawPauseScreen(screen);
  EXPECT_EQ(display.Flips, 2);
  EXPECT_TRUE(CellShowsBackground(25, 25));
  EXPECT_TRUE(CellShowsBackground(1, 1));
}

}  // namespace
}  // namespace krel
