// Compiles one level source into the file the game reads, refusing levels that
// break a rule.
#include <charconv>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelSource.h"

namespace {

using namespace krel::levelc;

int Usage() {
  std::cerr << "usage: krel_levelc --level N [--out FILE.lev] SOURCE\n"
               "  Checks the level source for level N and, with --out, writes the level file.\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int level = 0;
  std::string out;
  std::string source;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--level" && i + 1 < argc) {
      const std::string_view n = argv[++i];
      const auto [end, ec] = std::from_chars(n.data(), n.data() + n.size(), level);
      if (ec != std::errc{} || end != n.data() + n.size() || level < 1) return Usage();
    } else if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (!arg.starts_with("-") && source.empty()) {
      source = arg;
    } else {
      return Usage();
    }
  }
  if (level == 0 || source.empty()) return Usage();

  std::ifstream in(source, std::ios::binary);
  if (!in) {
    std::cerr << source << ": error: level " << level << ": can't read the level source\n";
    return 2;
  }
  std::stringstream text;
  text << in.rdbuf();

  const ParseResult parsed = ParseLevelSource(text.str());
  std::vector<Problem> problems = parsed.Problems;
  // Rules about the field mean little while the drawing itself is broken.
  if (problems.empty()) problems = CheckLevel(parsed.Level, StartRowFor(level));
  for (const Problem& p : problems) std::cerr << FormatProblem(p, source, level) << "\n";
  if (!problems.empty()) {
    std::cerr << source << ": level " << level << " not compiled: " << problems.size()
              << (problems.size() == 1 ? " problem\n" : " problems\n");
    return 1;
  }

  if (!out.empty()) {
    if (const std::string err = WriteLevelFile(out, parsed.Level.Grid); !err.empty()) {
      std::cerr << source << ": error: level " << level << ": " << err << "\n";
      return 2;
    }
  }
  return 0;
}
