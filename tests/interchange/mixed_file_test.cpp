// A file of a thousand events as calendars really write them: zones by
// Olson and by Windows names, UTC and floating times, all-day and multi-day
// events, rules with counts, until dates, exceptions and moved occurrences,
// alarms, folded lines, and the odd broken event.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "interchange/interchange_fixture.h"

namespace vesk::test {
namespace {

// The words of every stored entry's text by its line.
std::map<std::string, std::multiset<std::string>> StoredWords(TestApp& app) {
  std::map<std::string, std::multiset<std::string>> out;
  app.ctx.entries.ForEach([&](const CPlannerEntry& e) {
    if (!app.registry.OpenKey(
            CRegistryStore::EntryPath(e.year(), e.month(), e.day(), e.hour(), e.minute())))
      return;
    char line[32];
    std::snprintf(line, sizeof line, "%04d-%02d-%02d %02d:%02d", e.year(), e.month(), e.day(),
                  e.hour(), e.minute());
    std::istringstream words(e.notes);
    for (std::string w; words >> w;) out[line].insert(w);
  });
  return out;
}

TEST(MixedFileTest, AThousandEventsAreAllAccountedForAndSurviveARoundTrip) {
  TestApp app(2024, 6, 1, 9, 0);
  const Reply reply = Ask(app, Command::ImportIcs, {"mix1000.ics", DataFile("mix1000.ics")});
  ASSERT_EQ(reply.status, 0) << reply.err;
  std::smatch m;
  const std::string headline = reply.out.substr(0, reply.out.find('\n'));
  ASSERT_TRUE(std::regex_match(headline, m,
                               std::regex(R"(Imported (\d+) events: (\d+) series, (\d+) one-off )"
                                          R"(entries, (\d+) expanded occurrences; (\d+) skipped)")))
      << reply.out;
  // Every event is imported or counted as skipped, nothing silently.
  EXPECT_EQ(std::stoi(m[1]) + std::stoi(m[5]), 1000) << reply.out;
  EXPECT_EQ(std::stoi(m[5]), 30) << reply.out;
  EXPECT_GT(std::stoi(m[2]), 0);
  EXPECT_NE(reply.out.find("  5 to-dos, journals and other items left out\n"), std::string::npos);
  EXPECT_NE(reply.out.find("all-day events put on the 8:00 line"), std::string::npos);
  EXPECT_NE(reply.out.find("with a rule the calendar cannot repeat by laid out as one-off entries"),
            std::string::npos);

  // What was imported goes out and comes back to the same lines with every
  // word. Where two series met on a line, which of them holds it follows the
  // order they are imported in, so a text may come back twice.
  const Reply exported = Ask(app, Command::ExportIcs, {"0"});
  TestApp copy(2024, 6, 1, 9, 0);
  const Reply again = Ask(copy, Command::ImportIcs, {"again.ics", exported.document});
  ASSERT_EQ(again.status, 0) << again.err;
  const auto before = StoredWords(app);
  const auto after = StoredWords(copy);
  EXPECT_EQ(before.size(), after.size());
  for (const auto& [line, words] : before) {
    auto it = after.find(line);
    ASSERT_NE(it, after.end()) << line;
    EXPECT_TRUE(std::includes(it->second.begin(), it->second.end(), words.begin(), words.end()))
        << line;
  }
}

}  // namespace
}  // namespace vesk::test
