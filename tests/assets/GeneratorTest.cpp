// Runs the generator itself: it must repeat itself exactly, and refuse to
// make a menu without the right font.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "AssetFiles.h"

namespace assets_test {
namespace {

namespace fs = std::filesystem;

const char* const kAllFiles[] = {
    "krel.bmp",       "exit.bmp",      "more.bmp",       "muxomor.bmp", "pesok.bmp",  "zemla.bmp",
    "krelgolova.bmp", "krelxvost.bmp", "background.bmp", "menu.bmp",    "Mstart.bmp", "Mexit.bmp",
    "worm.wav",       "boom.wav",      "eat.wav",        "Menu.wav",
};

class ScratchDir {
 public:
  ScratchDir() {
    std::string tmpl = (fs::temp_directory_path() / "krel_assets_XXXXXX").string();
    if (mkdtemp(tmpl.data())) path_ = tmpl;
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

struct GeneratorRun {
  int status = -1;
  std::string output;
};

// fontconfig's caches would be reported as leaks by a sanitized generator.
GeneratorRun runGenerator(const fs::path& out, const std::string& env = "") {
  const std::string cmd =
      "env ASAN_OPTIONS=detect_leaks=0 " + env + " '" KREL_ASSETGEN "' '" + out.string() + "' 2>&1";
  GeneratorRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return run;
  char buf[512];
  while (size_t n = fread(buf, 1, sizeof buf, p)) run.output.append(buf, n);
  const int status = pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(Generator, GivesTheSameBytesEveryRun) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  const GeneratorRun run = runGenerator(dir.path() / "out");
  ASSERT_EQ(run.status, 0) << run.output;
  for (const char* name : kAllFiles) {
    const auto built = readBytes(assetPath(name));
    const auto again = readBytes((dir.path() / "out" / name).string());
    ASSERT_FALSE(built.empty()) << name;
    EXPECT_TRUE(built == again) << name << " differs between runs";
  }
}

void writeFontConfig(const fs::path& file, const fs::path& fontDir) {
  std::ofstream f(file);
  f << "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
  if (!fontDir.empty()) f << "<dir>" << fontDir.string() << "</dir>\n";
  f << "<cachedir>" << (file.parent_path() / "cache").string() << "</cachedir>\n</fontconfig>\n";
}

struct MissingFontCase {
  const char* what;
  const char* onlyFont;  // the one font fontconfig may see; none when empty
};
void PrintTo(const MissingFontCase& c, std::ostream* os) {
  *os << c.what;
}
const MissingFontCase kMissingFonts[] = {
    {"NoFontsAtAll", ""},
    {"OnlyARegularFace", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
};

class GeneratorWithoutFont : public ::testing::TestWithParam<MissingFontCase> {};

TEST_P(GeneratorWithoutFont, FailsWithAClearMessageAndWritesNothing) {
  const MissingFontCase& c = GetParam();
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  fs::path fontDir;
  if (*c.onlyFont) {
    if (!fs::exists(c.onlyFont)) GTEST_SKIP() << c.onlyFont << " is not installed";
    fontDir = dir.path() / "fonts";
    fs::create_directories(fontDir);
    fs::create_symlink(c.onlyFont, fontDir / fs::path(c.onlyFont).filename());
  }
  writeFontConfig(dir.path() / "fonts.conf", fontDir);
  const GeneratorRun run = runGenerator(
      dir.path() / "out", "FONTCONFIG_FILE='" + (dir.path() / "fonts.conf").string() + "'");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.output.find("font"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(dir.path() / "out")) << "left a partial set of assets behind";
}

INSTANTIATE_TEST_SUITE_P(Assets, GeneratorWithoutFont, ::testing::ValuesIn(kMissingFonts),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(Generator, RefusesToRunWithoutAnOutputFolder) {
  const std::string cmd = "env ASAN_OPTIONS=detect_leaks=0 '" KREL_ASSETGEN "' >/dev/null 2>&1";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace assets_test
