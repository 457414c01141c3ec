// krel_assetgen OUTDIR: writes the game's pictures and sounds into OUTDIR.
// Run by the build; the output depends on nothing but this source and the
// menu font, so every run gives the same bytes.
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assetgen.h"

int main(int argc, char** argv) {
  using namespace assetgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argc > 0 ? argv[0] : "krel_assetgen");
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  try {
    // Looked up first so a machine without the font fails before writing
    // anything, rather than leaving half a set of assets behind.
    const std::string font = findMenuFont(menuText());
    std::filesystem::create_directories(dir);
    auto bmp = [&](const char* name, const Image& img) { writeBmp((dir / name).string(), img); };
    auto wav = [&](const char* name, const Sound& snd) { writeWav((dir / name).string(), snd); };

    const Image muxomor = makeMuxomor();
    bmp("krel.bmp", makeKrel());
    bmp("exit.bmp", makeExit());
    bmp("more.bmp", makeMore());
    bmp("muxomor.bmp", muxomor);
    bmp("pesok.bmp", makePesok());
    bmp("zemla.bmp", makeZemla());
    bmp("krelgolova.bmp", makeKrelGolova());
    bmp("krelxvost.bmp", makeKrelXvost());
    bmp("background.bmp", makeBackground());
    const MenuPictures menu = makeMenu(muxomor, font);
    bmp("menu.bmp", menu.menu);
    bmp("Mstart.bmp", menu.start);
    bmp("Mexit.bmp", menu.exit);

    wav("worm.wav", makeWorm());
    wav("boom.wav", makeBoom());
    wav("eat.wav", makeEat());
    wav("Menu.wav", makeMenuClick());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "krel_assetgen: error: %s\n", e.what());
    if (TTF_WasInit()) TTF_Quit();
    return 1;
  }
  TTF_Quit();
  return 0;
}
