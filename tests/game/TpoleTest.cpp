#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game/Errors.h"
#include "game/GameState.h"
#include "support/FakePlatform.h"

namespace krel {
namespace {

using test::TempDir;

// A distinct value per cell shows the order of the records.
std::int32_t Marker(int x, int y) {
  return x * 100 + y;
}

std::vector<unsigned char> MarkedFile(std::size_t bytes) {
  std::vector<unsigned char> out;
  for (int x = 1; x <= 40; ++x)
    for (int y = 1; y <= 40; ++y)
      for (int b = 0; b < 4; ++b)
        out.push_back(static_cast<unsigned char>(Marker(x, y) >> (8 * b)));
  out.resize(bytes, 0xEE);
  return out;
}

TEST(TpoleTest, NewFieldIsFoodEverywhereWithItsFixedGeometry) {
  Tpole pole;
  EXPECT_EQ(pole.Width, 40);
  EXPECT_EQ(pole.Height, 40);
  EXPECT_EQ(pole.Points, 10);
  EXPECT_EQ(pole.OffsetX, 160);
  EXPECT_EQ(pole.OffsetY, 65);
  for (auto [x, y] : {std::pair{1, 1}, {40, 40}, {41, 1}, {1, 41}, {100, 100}})
    EXPECT_EQ(pole.Cell(x, y), Food) << x << "," << y;
}

TEST(TpoleTest, HeadOutsideTheStoreReadsDeadlyButTheUnusedStoreReadsAsFood) {
  Tpole pole;
  for (auto [x, y] : {std::pair{0, 5}, {5, 0}, {101, 5}, {5, 101}, {-7, -7}})
    EXPECT_FALSE(IsSafeCell(pole.CellUnderHead(x, y))) << x << "," << y;
  EXPECT_EQ(pole.CellUnderHead(41, 1), Food);
  EXPECT_EQ(pole.CellUnderHead(100, 100), Food);
}

struct ReadCase {
  const char* name;
  std::size_t bytes;  // file length, of MarkedFile
  const char* error;  // nullptr: no error
  int cellsFromFile;  // how many cells, in file order, hold the file's value
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.name;
}

class ReadLevelTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadLevelTest, StoresWhatWasReadAndReportsTheRuntimeText) {
  const ReadCase& c = GetParam();
  TempDir dir;
  test::WriteBytes(dir.File("1.lev"), MarkedFile(c.bytes));
  Tpole pole;
  if (c.error) {
    try {
      LoadLevelCells(pole, dir.File("1.lev"));
      FAIL() << "no error";
    } catch (const EInOutError& e) {
      EXPECT_STREQ(e.what(), c.error);
      EXPECT_EQ(e.Code, 100);
    }
  } else {
    LoadLevelCells(pole, dir.File("1.lev"));
  }
  int index = 0;
  for (int x = 1; x <= 40; ++x) {
    for (int y = 1; y <= 40; ++y, ++index) {
      if (index < c.cellsFromFile) {
        ASSERT_EQ(pole.Cell(x, y), Marker(x, y)) << x << "," << y;
      } else if (index > c.cellsFromFile) {
        ASSERT_EQ(pole.Cell(x, y), 0) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(pole.Points, 10);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReadLevelTest,
                         ::testing::Values(ReadCase{"exact", 6400, nullptr, 1600},
                                           ReadCase{"extraBytesIgnored", 6404, nullptr, 1600},
                                           ReadCase{"short6000", 6000, "Read beyond end of file",
                                                    1500},
                                           ReadCase{"empty", 0, "Read beyond end of file", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadLevelFileTest, ColumnByColumnLittleEndian) {
  TempDir dir;
  std::vector<unsigned char> bytes(6400, 0);
  bytes[0] = 5;     // (1, 1)
  bytes[4] = 1;     // (1, 2): the cell below
  bytes[160] = 3;   // (2, 1): top of the second column
  bytes[6396] = 2;  // (40, 40)
  bytes[8] = 0xFF, bytes[9] = 0xFF, bytes[10] = 0xFF, bytes[11] = 0xFF;  // (1, 3) = -1
  bytes[12] = 0xE8, bytes[13] = 0x03;                                    // (1, 4) = 1000
  bytes[16] = 6;                                                         // (1, 5) = 6
  test::WriteBytes(dir.File("7.lev"), bytes);

  ResetGameState();
  G.Level = 7;
  G.Pole = std::make_unique<Tpole>();
  test::InDir in(dir.Path());
  ReadLevelFile();
  EXPECT_EQ(G.LevelFileName, "7.lev");
  const Tpole& p = *G.Pole;
  EXPECT_EQ(p.Cell(1, 1), 5);
  EXPECT_EQ(p.Cell(1, 2), 1);
  EXPECT_EQ(p.Cell(2, 1), 3);
  EXPECT_EQ(p.Cell(40, 40), 2);
  EXPECT_EQ(p.Cell(1, 3), -1);
  EXPECT_EQ(p.Cell(1, 4), 1000);
  EXPECT_EQ(p.Cell(1, 5), 6);
}

TEST(ReadLevelFileTest, PartialLastRecordFillsTheLowOrderBytes) {
  TempDir dir;
  test::WriteBytes(dir.File("1.lev"), {4, 0, 0, 0, 0x34, 0x12});
  Tpole pole;
  try {
    LoadLevelCells(pole, dir.File("1.lev"));
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Read beyond end of file");
  }
  EXPECT_EQ(pole.Cell(1, 1), 4);
  EXPECT_EQ(pole.Cell(1, 2), 0x1234);
  EXPECT_EQ(pole.Cell(1, 3), 0);
}

TEST(ReadLevelFileTest, OpeningFailuresGiveTheirTexts) {
  TempDir dir;
  struct Case {
    std::string path;
    const char* text;
    int code;
  };
  const Case cases[] = {
      {dir.File("3.lev"), "File not found", 2},
      {dir.File("nowhere/3.lev"), "Invalid filename", 3},
      {dir.Path(), "File access denied", 5},  // a directory cannot be read as a level
  };
  for (const Case& c : cases) {
    Tpole pole;
    try {
      LoadLevelCells(pole, c.path);
      ADD_FAILURE() << c.path << ": no error";
    } catch (const EInOutError& e) {
      EXPECT_STREQ(e.what(), c.text) << c.path;
      EXPECT_EQ(e.Code, c.code) << c.path;
    }
    EXPECT_EQ(pole.Cell(1, 1), Food);
  }
}

TEST(ReadLevelFileTest, ReadOnlyLevelLoads) {
  TempDir dir;
  test::WriteLevel(dir.File("1.lev"), test::FilledGrid(Earth));
  ASSERT_EQ(chmod(dir.File("1.lev").c_str(), 0444), 0);
  Tpole pole;
  LoadLevelCells(pole, dir.File("1.lev"));
  EXPECT_EQ(pole.Cell(40, 40), Earth);
}

TEST(ReadLevelFileTest, UnreadableLevelIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root may read any file, so the refusal cannot be staged";
  TempDir dir;
  test::WriteLevel(dir.File("1.lev"), test::FilledGrid(Earth));
  ASSERT_EQ(chmod(dir.File("1.lev").c_str(), 0), 0);
  Tpole pole;
  try {
    LoadLevelCells(pole, dir.File("1.lev"));
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "File access denied");
  }
}

}  // namespace
}  // namespace krel
