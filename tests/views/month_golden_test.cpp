// The whole drawing of one month compared line by line with a checked dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "views/view_fixture.h"

namespace vesk::test {
namespace {

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::filesystem::path GoldenDir() {
  return std::filesystem::path(VESKCAL_TESTS_DIR) / "views" / "golden";
}

class MonthGoldenTest : public ViewTest {};

// March 2000, Sunday first, today the 15th, entries on the 15th and the 20th.
TEST_F(MonthGoldenTest, March2000) {
  app.AddEntry(2000, 3, 20, 9, 0, "Dentist");
  app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  StartView();
  const std::vector<std::string> actual = DumpLines(Paint());
  const std::filesystem::path golden = GoldenDir() / "month_march_2000.txt";
  const std::vector<std::string> expected = ReadLines(golden);
  if (actual != expected) {
    const std::filesystem::path out =
        std::filesystem::path(::testing::TempDir()) / "month_march_2000.actual.txt";
    std::ofstream(out) << Dump(Paint());
    ADD_FAILURE() << "drawing differs from " << golden << "; this run's drawing is in " << out;
  }
  const std::size_t n = std::min(actual.size(), expected.size());
  for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  EXPECT_EQ(actual.size(), expected.size());
}

}  // namespace
}  // namespace vesk::test
