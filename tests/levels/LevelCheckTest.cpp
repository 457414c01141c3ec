// The level checker and compiler on small broken fields: each broken rule is caught
// on its own and says where.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "LevelCheck.h"
#include "LevelFile.h"
#include "LevelSource.h"

namespace krel::levelc {
namespace {

// Level 1's start: the head at (25, 25), the body down column 25 to row 34.
constexpr StartRow kStart{10, 24, 35};

// A small valid level: water ring, earth inside, ten food away from the start,
// the exit at the top.
std::vector<std::string> ValidRows() {
  std::vector<std::string> rows(kFieldSize, std::string(kFieldSize, '.'));
  for (int i = 0; i < kFieldSize; ++i) {
    rows[0][i] = rows[kFieldSize - 1][i] = '~';
    rows[i][0] = rows[i][kFieldSize - 1] = '~';
  }
  for (int i = 0; i < 10; ++i) rows[4 + 2 * i][5] = '*';  // column 6, rows 5..23
  rows[1][19] = 'E';                                      // (20, 2)
  return rows;
}

void Set(std::vector<std::string>& rows, int x, int y, char c) {
  rows[y - 1][x - 1] = c;
}

std::string Source(const std::vector<std::string>& rows, const std::string& header = "") {
  std::string text = "# a test field\n" + header + "\n";
  for (const std::string& r : rows) text += r + "\n";
  return text;
}

constexpr int kHeaderLines = 2;  // the comment and the blank line before the rows

std::string Messages(const std::vector<Problem>& problems) {
  std::string out;
  for (const Problem& p : problems) out += std::string(RuleTag(p.Kind)) + ": " + p.Message + "\n";
  return out;
}

std::vector<Problem> Check(const std::vector<std::string>& rows, StartRow start = kStart) {
  const ParseResult parsed = ParseLevelSource(Source(rows));
  EXPECT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().Message;
  return CheckLevel(parsed.Level, start);
}

struct AcceptedCase {
  const char* Name;
  void (*Change)(std::vector<std::string>&);
};

// Close calls the rules must let through.
const AcceptedCase kAccepted[] = {
    {"TheFixtureAsItIs", [](auto&) {}},
    {"FoodInABayTwoWide",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 30, 2, '*');
       for (int y = 2; y <= 5; ++y) {
         Set(r, 28, y, 'M');
         Set(r, 31, y, 'M');
       }
     }},
    {"FoodInTheAlleyToTheExit",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 20, 3, '*');
       for (int y = 2; y <= 5; ++y) {
         Set(r, 19, y, '~');
         Set(r, 21, y, '~');
       }
     }},
    {"AnyValueAsLongAsItIsDeadly",
     [](auto& r) {
       for (int x = 1; x <= kFieldSize; ++x) Set(r, x, kFieldSize, '?');
     }},
};

class AcceptedLevel : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedLevel, HasNoProblem) {
  std::vector<std::string> rows = ValidRows();
  GetParam().Change(rows);
  const ParseResult parsed = ParseLevelSource(Source(rows, "define ? 77\n"));
  ASSERT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().Message;
  const std::vector<Problem> problems = CheckLevel(parsed.Level, kStart);
  EXPECT_TRUE(problems.empty()) << Messages(problems);
}

INSTANTIATE_TEST_SUITE_P(Rules, AcceptedLevel, ::testing::ValuesIn(kAccepted),
                         [](const auto& info) { return std::string(info.param.Name); });

struct BrokenCase {
  const char* Name;
  void (*Break)(std::vector<std::string>&);
  Rule Expected;
  int X;  // 0: a problem of the whole level
  int Y;
  const char* Says;
};

const BrokenCase kBroken[] = {
    {"NineFood", [](auto& r) { Set(r, 6, 5, '.'); }, Rule::FoodCount, 0, 0, "has 9 food"},
    {"ElevenFood", [](auto& r) { Set(r, 30, 10, '*'); }, Rule::FoodCount, 0, 0, "has 11 food"},
    {"GapInTheRing", [](auto& r) { Set(r, 40, 17, '.'); }, Rule::RingGap, 40, 17, "ring is open"},
    {"GapAtACorner",
     [](auto& r) {
       Set(r, 1, 1, '.');
       Set(r, 2, 1, '.');
     },
     Rule::RingGap, 1, 1, "(and 1 more)"},
    {"FoodUnderTheStart",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 25, 31, '*');
     },
     Rule::StartNotEarth, 25, 31, "segment 7 starts here on food"},
    {"HeadInWater", [](auto& r) { Set(r, 25, 25, '~'); }, Rule::StartNotEarth, 25, 25,
     "head starts here on water"},
    {"NoRoomAboveTheHead", [](auto& r) { Set(r, 25, 22, 'M'); }, Rule::StartNoRoom, 25, 22,
     "3 cells above its head"},
    {"NoExit", [](auto& r) { Set(r, 20, 2, '.'); }, Rule::ExitCount, 0, 0, "no exit"},
    {"TwoExits", [](auto& r) { Set(r, 30, 30, 'E'); }, Rule::ExitCount, 30, 30, "second exit"},
    {"ExitWalledIn",
     [](auto& r) {
       Set(r, 19, 2, 's');
       Set(r, 21, 2, 's');
       Set(r, 20, 3, 's');
     },
     Rule::ExitUnreachable, 20, 2, "exit can't be reached"},
    {"FoodOnAnIsland",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 35, 35, '*');
       for (const auto& [x, y] : {std::pair{34, 35}, {36, 35}, {35, 34}, {35, 36}})
         Set(r, x, y, '~');
     },
     Rule::FoodUnreachable, 35, 35, "food can't be reached"},
    {"FoodInAPocket",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 30, 2, '*');
       Set(r, 29, 2, 'M');
       Set(r, 31, 2, 'M');
     },
     Rule::FoodInDeadEnd, 30, 2, "dead end one cell wide"},
    {"FoodDeepInABlindAlley",
     [](auto& r) {
       Set(r, 6, 5, '.');
       Set(r, 30, 2, '*');
       for (int y = 2; y <= 5; ++y) {
         Set(r, 29, y, 's');
         Set(r, 31, y, 's');
       }
     },
     Rule::FoodInDeadEnd, 30, 2, "can't turn back"},
};

class BrokenLevel : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenLevel, GivesItsOwnProblem) {
  const BrokenCase& c = GetParam();
  std::vector<std::string> rows = ValidRows();
  c.Break(rows);
  const std::vector<Problem> problems = Check(rows);
  ASSERT_EQ(problems.size(), 1u) << Messages(problems);
  const Problem& p = problems.front();
  EXPECT_EQ(p.Kind, c.Expected) << RuleTag(p.Kind);
  EXPECT_EQ(p.X, c.X);
  EXPECT_EQ(p.Y, c.Y);
  EXPECT_EQ(p.Line, c.X > 0 ? kHeaderLines + c.Y : 0);
  EXPECT_NE(p.Message.find(c.Says), std::string::npos) << p.Message;
}

INSTANTIATE_TEST_SUITE_P(Rules, BrokenLevel, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(LevelChecker, RefusesAStartTooLongForTheFood) {
  // 101 segments would need 111 once all ten food are eaten.
  const std::vector<Problem> problems = Check(ValidRows(), {101, 24, 35});
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].Kind, Rule::SnakeTooLong);
  EXPECT_NE(problems[0].Message.find("111"), std::string::npos) << problems[0].Message;
}

TEST(LevelChecker, AsksNothingOfTheFieldAfterTheLastLevel) {
  const ParseResult parsed =
      ParseLevelSource(Source(std::vector<std::string>(kFieldSize, std::string(kFieldSize, '.'))));
  ASSERT_TRUE(parsed.Problems.empty());
  EXPECT_TRUE(CheckLevel(parsed.Level, StartRowFor(11)).empty());
  EXPECT_TRUE(StartRowFor(10).has_value());
}

TEST(LevelChecker, LaysTheStartOutAsTheGameDoes) {
  // Ten columns of ten: down the first from the head, up the second, and so on.
  const std::vector<FieldCell> cells = StartLayout({30, 1, 38});
  ASSERT_EQ(cells.size(), 30u);
  EXPECT_EQ(cells[0], (FieldCell{2, 28}));
  EXPECT_EQ(cells[9], (FieldCell{2, 37}));
  EXPECT_EQ(cells[10], (FieldCell{3, 37}));
  EXPECT_EQ(cells[19], (FieldCell{3, 28}));
  EXPECT_EQ(cells[20], (FieldCell{4, 28}));
  EXPECT_EQ(cells[29], (FieldCell{4, 37}));
}

struct SyntaxCase {
  const char* Name;
  std::string Text;
  int Line;
  const char* Says;
};

std::string Rows(int count, const std::string& row = std::string(kFieldSize, '.')) {
  std::string text;
  for (int i = 0; i < count; ++i) text += row + "\n";
  return text;
}

const std::string kRow(kFieldSize, '.');

class BrokenSource : public ::testing::TestWithParam<SyntaxCase> {};

TEST_P(BrokenSource, IsRefusedWithItsLine) {
  const SyntaxCase& c = GetParam();
  const ParseResult parsed = ParseLevelSource(c.Text);
  ASSERT_EQ(parsed.Problems.size(), 1u);
  EXPECT_EQ(parsed.Problems[0].Kind, Rule::Syntax);
  EXPECT_EQ(parsed.Problems[0].Line, c.Line);
  EXPECT_NE(parsed.Problems[0].Message.find(c.Says), std::string::npos)
      << parsed.Problems[0].Message;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, BrokenSource,
    ::testing::Values(
        SyntaxCase{"ShortRow", "# x\n" + Rows(3) + kRow.substr(1) + "\n" + Rows(36), 5,
                   "row 4 has 39 characters"},
        SyntaxCase{"LongRow", Rows(39) + kRow + ".\n", 40, "row 40 has 41"},
        SyntaxCase{"TooFewRows", Rows(39), 39, "39 rows"},
        SyntaxCase{"TextAfterTheField", Rows(40) + "\n~~~\n", 42, "after the 40th row"},
        SyntaxCase{"UnknownCharacter", Rows(7) + "..x" + kRow.substr(3) + "\n" + Rows(32), 8,
                   "'x' is neither in the legend"},
        SyntaxCase{"DefineATakenCharacter", "define ~ 9\n" + Rows(40), 1, "already taken"},
        SyntaxCase{"DefineWithoutANumber", "define x many\n" + Rows(40), 1, "32-bit"},
        SyntaxCase{"DefineOutOfRange", "define x 2147483648\n" + Rows(40), 1, "32-bit"},
        SyntaxCase{"DefineTwice", "define x 9\ndefine x 10\n" + Rows(40), 2, "defined twice"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LevelSource, ReadsDefinedValuesAndWindowsLineEnds) {
  std::string rows;
  for (int y = 1; y <= kFieldSize; ++y) rows += (y == 3 ? "..?" + kRow.substr(3) : kRow) + "\r\n";
  const ParseResult parsed = ParseLevelSource("# odd\r\ndefine ? -7\r\n\r\n" + rows);
  ASSERT_TRUE(parsed.Problems.empty()) << parsed.Problems.front().Message;
  EXPECT_EQ(parsed.Level.Grid.At(3, 3), -7);
  EXPECT_EQ(parsed.Level.Grid.At(3, 2), Earth);
  EXPECT_EQ(parsed.Level.RowLine[1], 4);
}

TEST(LevelSource, FormatsAProblemLikeACompiler) {
  const Problem p{Rule::RingGap, 12, 40, 9, "the deadly ring is open"};
  EXPECT_EQ(FormatProblem(p, "levels/03.txt", 3),
            "levels/03.txt:12:40: error: level 3, cell (40, 9): the deadly ring is open [ring]");
  const Problem whole{Rule::FoodCount, 0, 0, 0, "the level has 9 food cells"};
  EXPECT_EQ(FormatProblem(whole, "levels/03.txt", 3),
            "levels/03.txt: error: level 3: the level has 9 food cells [food-count]");
}

TEST(LevelFile, PutsEachCellWhereTheGameReadsIt) {
  LevelGrid grid;
  grid.At(2, 3) = 0x01020304;
  grid.At(40, 40) = -2;
  const std::vector<unsigned char> bytes = EncodeLevel(grid);
  ASSERT_EQ(bytes.size(), 6400u);
  const std::size_t at = ((2 - 1) * 40 + (3 - 1)) * 4;
  EXPECT_EQ(bytes[at], 0x04);
  EXPECT_EQ(bytes[at + 1], 0x03);
  EXPECT_EQ(bytes[at + 2], 0x02);
  EXPECT_EQ(bytes[at + 3], 0x01);
  EXPECT_EQ(bytes[6396], 0xfe);
  EXPECT_EQ(bytes[6399], 0xff);
}

// The compiler as the build runs it: exit code, messages and the file it leaves.
class Compiler : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        std::filesystem::temp_directory_path() / ("krel_levelc_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  struct Run {
    int Status;
    std::string Output;
  };

  Run Compile(const std::string& text, int level) {
    const auto source = dir_ / "level.txt";
    std::ofstream(source) << text;
    const std::string command = std::string(KREL_LEVELC) + " --level " + std::to_string(level) +
                                " --out " + (dir_ / "out.lev").string() + " " + source.string() +
                                " 2>&1";
    Run run{-1, {}};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.Output += buffer;
    const int status = ::pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  bool Wrote() const { return std::filesystem::exists(dir_ / "out.lev"); }

  std::filesystem::path dir_;
};

TEST_F(Compiler, WritesAValidLevel) {
  const Run run = Compile(Source(ValidRows()), 1);
  EXPECT_EQ(run.Status, 0) << run.Output;
  EXPECT_EQ(run.Output, "");
  ASSERT_TRUE(Wrote());
  EXPECT_EQ(std::filesystem::file_size(dir_ / "out.lev"), kLevelFileBytes);
}

TEST_F(Compiler, FailsOnABrokenLevelSayingWhereAndWritesNothing) {
  std::vector<std::string> rows = ValidRows();
  Set(rows, 6, 5, '.');
  Set(rows, 1, 12, '.');
  const Run run = Compile(Source(rows), 1);
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("level.txt:14:1: error: level 1, cell (1, 12): the deadly ring"),
            std::string::npos)
      << run.Output;
  EXPECT_NE(run.Output.find("the level has 9 food cells"), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("not compiled: 2 problems"), std::string::npos) << run.Output;
  EXPECT_FALSE(Wrote());
}

TEST_F(Compiler, ChecksTheFieldAgainstTheLevelsOwnStart) {
  // Sand just above where level 4's head starts, nowhere near level 1's snake.
  std::vector<std::string> rows = ValidRows();
  Set(rows, 2, 26, 's');
  EXPECT_EQ(Compile(Source(rows), 1).Status, 0);
  const Run run = Compile(Source(rows), 4);
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("cell (2, 26): the snake sets off upwards from (2, 28)"),
            std::string::npos)
      << run.Output;
  // Past the last level nothing is played, so nothing is asked of the field.
  EXPECT_EQ(Compile(Source(std::vector<std::string>(kFieldSize, kRow)), 11).Status, 0);
}

}  // namespace
}  // namespace krel::levelc
