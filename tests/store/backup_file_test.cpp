#include "store/backup_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "store/backup_record.h"
#include "store/registry_store.h"
#include "store/text_encoding.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

namespace fs = std::filesystem;

const std::string kWrote0 = "Wrote 0 entries to the backup file \"VeskAppoints.vsk\"";
const std::string kReplace = "Do you wish to replace the current backup file?";
const std::string kDone = "Restore successful.";

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A record as the writer frames it.
std::string Framed(std::string_view line) {
  char prefix[8];
  std::snprintf(prefix, sizeof prefix, "%04d|", static_cast<int>(line.size()));
  return prefix + std::string(line);
}

std::vector<std::string> DirListing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class BackupFileTest : public ::testing::Test {
 protected:
  // The clock stands far from the entries, so no reminder timer is armed and
  // field 8 stays 0.
  BackupFileTest() : app(2001, 6, 1, 8, 0) { app.ctx.dataDir = dir.path(); }
  void TearDown() override { ExpectScriptDone(app.boxes); }

  fs::path File() const { return BackupPath(app.ctx, kBackupFileName); }
  std::string Notes(TestApp& a, int y, int m, int d, int h, int min) {
    CPlannerEntry* e = a.ctx.entries.FindAt(y, m, d, h, min);
    return e ? e->notes : "<none>";
  }
  std::optional<std::string> StoredNotes(TestApp& a, int y, int m, int d, int h, int min) {
    auto v = a.registry.QueryValue(CRegistryStore::EntryPath(y, m, d, h, min), "notes");
    return v ? v->AsString() : std::nullopt;
  }

  TempDir dir;
  TestApp app;
};

TEST(BackupNames, AutomaticBackupIsNamedAfterTheMonth) {
  EXPECT_EQ(AutoBackupName(1), "backup.Jan");
  EXPECT_EQ(AutoBackupName(3), "backup.March");
  EXPECT_EQ(AutoBackupName(9), "backup.Sept");
  EXPECT_EQ(AutoBackupName(12), "backup.Dec");
}

// A kill during a backup leaves its temporary file; the next start removes
// those, and nothing else.
TEST(BackupNames, UnfinishedBackupsAreRemovedAndOtherFilesKept) {
  TempDir dir;
  const std::filesystem::path d = dir.path();
  const std::vector<std::string> gone = {".backup.Dec.a1B2c3", ".VeskAppoints.vsk.Zz9x0Q",
                                         ".backup..QWErty"};
  const std::vector<std::string> kept = {"backup.Dec", "VeskAppoints.vsk", ".backup.Dec.abc",
                                         ".veskcal.db.a1B2c3", "notes.txt"};
  for (const auto& names : {gone, kept})
    for (const std::string& n : names) std::ofstream(d / n) << "x";
  RemoveUnfinishedBackups(d);
  for (const std::string& n : gone) EXPECT_FALSE(std::filesystem::exists(d / n)) << n;
  for (const std::string& n : kept) EXPECT_TRUE(std::filesystem::exists(d / n)) << n;
}

TEST_F(BackupFileTest, EmptyListWritesAnEmptyFileAndSaysSo) {
  app.boxes.Expect(kWrote0);
  BackupResult r = BackupEntries(app.ctx, File(), true);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.written, 0);
  ASSERT_TRUE(fs::exists(File()));
  EXPECT_EQ(fs::file_size(File()), 0u);
}

TEST_F(BackupFileTest, RecordLayoutAndYearLimits) {
  ScopedTimeZone utc("UTC");
  TestApp local(2001, 6, 1, 8, 0);
  local.ctx.dataDir = dir.path();
  CPlannerEntry& dentist = local.AddEntry(2000, 3, 15, 9, 30, "Dentist");
  dentist.early = 15;
  local.AddEntry(1979, 12, 31, 23, 30, "too early");
  local.AddEntry(1980, 1, 1, 0, 0, "first year");
  local.AddEntry(2035, 12, 31, 23, 30, "last year");
  local.AddEntry(2036, 1, 1, 0, 0, "too late");
  CPlannerEntry& impossible = local.ctx.entries.Create();  // only a damaged store holds these
  impossible.SetDate(2000, 4, 31);
  impossible.notes = "31 April";
  CPlannerEntry& quiet = local.AddEntry(2000, 3, 16, 10, 0, "Quiet");
  quiet.reminder = 0;
  quiet.early = 5;
  local.ctx.entries.SortByTime();

  local.boxes.Expect("Wrote 4 entries to the backup file \"VeskAppoints.vsk\"");
  EXPECT_EQ(BackupEntries(local.ctx, File(), true).written, 4);
  ExpectScriptDone(local.boxes);
  const std::string first = Framed("1980|1|1|0|0|0|0|0|315532800|2|||first year\n");
  const std::string dentistRecord = "0044|2000|3|15|9|30|0|0|0|953112600|15|||Dentist\n";
  const std::string quietRecord = Framed("2000|3|16|10|0|0|0|0|953200800|-1|||Quiet\n");
  const std::string last = Framed("2035|12|31|23|30|0|0|0|2082756600|2|||last year\n");
  EXPECT_EQ(ReadFile(File()), first + dentistRecord + quietRecord + last);
}

TEST_F(BackupFileTest, RoundTripRecreatesEveryFieldTheFileCarries) {
  CPlannerEntry& weekly =
      app.AddEntry(2000, 3, 21, 14, 30, "Team | room 4 \xE2\x98\x95 caf\xC3\xA9");
  weekly.SetRepeat(5, "3rd", "every Tuesday", 21);
  weekly.early = 30;
  weekly.xreminder = 1;
  weekly.highlight = 1;
  weekly.until = 960000000;
  CPlannerEntry& off = app.AddEntry(2000, 3, 15, 9, 0, "No reminder");
  off.reminder = 0;
  off.early = 10;
  app.AddEntry(2000, 3, 15, 9, 30, "Line\nbreak");
  app.AddEntry(2000, 3, 15, 10, 0, "");
  // 2:30 on 2 April 2000 does not exist in New York and counts as 3:30: two
  // slots with one time keep their order.
  app.AddEntry(2000, 4, 2, 2, 30, "gap");
  app.AddEntry(2000, 4, 2, 3, 30, "after gap");
  app.ctx.entries.SortByTime();
  ASSERT_TRUE(BackupEntries(app.ctx, File(), false).ok);
  const std::string written = ReadFile(File());

  TestApp fresh(2001, 6, 1, 8, 0);
  fresh.ctx.dataDir = dir.path();
  fresh.boxes.Expect(kDone);
  RestoreResult r = RestoreEntries(fresh.ctx, File(), true);
  ExpectScriptDone(fresh.boxes);
  EXPECT_EQ(r.restoredNew, 6);
  EXPECT_EQ(r.stoppedAtRecord, 0);

  std::vector<CPlannerEntry*> got = fresh.ctx.entries.Entries();
  std::vector<CPlannerEntry*> want = app.ctx.entries.Entries();
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(want[i]->notes);
    const CPlannerEntry& g = *got[i];
    const CPlannerEntry& w = *want[i];
    EXPECT_EQ(std::tuple(g.year(), g.month(), g.day(), g.hour(), g.minute(), g.time()),
              std::tuple(w.year(), w.month(), w.day(), w.hour(), w.minute(), w.time()));
    EXPECT_EQ(g.notes, w.notes);
    EXPECT_EQ(std::tuple(g.repeats, g.nthweek, g.sday, g.nthday),
              std::tuple(w.repeats, w.nthweek, w.sday, w.nthday));
    EXPECT_EQ(g.reminder, w.reminder);
    EXPECT_EQ(g.early, w.reminder ? w.early : 0);
    EXPECT_EQ(std::tuple(g.xreminder, g.highlight, g.until), std::tuple(0, 0, 0));
    EXPECT_EQ(g.started, g.time());
    auto stored = fresh.registry.QueryValue(
        CRegistryStore::EntryPath(g.year(), g.month(), g.day(), g.hour(), g.minute()), "notes");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->AsString(), w.notes);
  }

  // The restored list backs up to the same bytes.
  const fs::path again = BackupPath(fresh.ctx, "again.vsk");
  ASSERT_TRUE(BackupEntries(fresh.ctx, again, false).ok);
  EXPECT_EQ(ReadFile(again), written);
}

TEST_F(BackupFileTest, RestoringTheSameFileTwiceChangesNothing) {
  app.AddEntry(2000, 3, 15, 9, 0, "Gym");
  app.AddEntry(2000, 3, 16, 9, 0, "Dentist");
  ASSERT_TRUE(BackupEntries(app.ctx, File(), false).ok);
  for (int pass = 0; pass < 2; ++pass) {
    RestoreResult r = RestoreEntries(app.ctx, File(), false);
    EXPECT_EQ(r.restoredNew + r.merged, 0);
  }
  EXPECT_EQ(app.ctx.entries.size(), 2u);
  EXPECT_EQ(Notes(app, 2000, 3, 15, 9, 0), "Gym");
  EXPECT_EQ(Notes(app, 2000, 3, 16, 9, 0), "Dentist");
}

TEST_F(BackupFileTest, TextIsAddedOnlyWhenTheEntryDoesNotHoldItAlready) {
  struct Case {
    std::string existing, record, result;
    int merged;
  };
  const Case cases[] = {
      {"Lunch with Ann", "Lunch", "Lunch with Ann", 0},
      {"Lunch", "Lunch with Ann", "Lunch Lunch with Ann", 1},
      {"Lunch", "", "Lunch", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.existing + " <- " + c.record);
    TestApp a(2001, 6, 1, 8, 0);
    a.AddEntry(2000, 3, 15, 12, 0, c.existing);
    WriteFile(File(), Framed("2000|3|15|12|0|0|0|0|0|5|||" + c.record + "\n"));
    RestoreResult r = RestoreEntries(a.ctx, File(), false);
    EXPECT_EQ(r.merged, c.merged);
    EXPECT_EQ(r.restoredNew, 0);
    EXPECT_EQ(Notes(a, 2000, 3, 15, 12, 0), c.result);
    EXPECT_EQ(StoredNotes(a, 2000, 3, 15, 12, 0), c.result);
    EXPECT_EQ(a.ctx.entries.size(), 1u);
  }
}

TEST_F(BackupFileTest, RestoredEntriesAreSortedArmedAndWrittenInOneCommit) {
  TestApp a(2000, 3, 15, 8, 0);
  a.AddEntry(2000, 3, 15, 12, 0, "Existing");
  WriteFile(File(), Framed("2000|3|20|9|0|0|0|0|0|5|||Later\n") +
                        Framed("2000|3|15|9|30|0|0|0|0|15|||Soon\n") +
                        Framed("2000|3|15|9|30|0|0|0|0|15|||Soon again\n"));
  const int commits = a.memory.commits();
  RestoreResult r = RestoreEntries(a.ctx, File(), false);
  EXPECT_EQ(a.memory.commits(), commits + 1);
  EXPECT_EQ(r.restoredNew, 2);
  EXPECT_EQ(r.merged, 1);
  std::vector<std::string> order;
  for (auto* e : a.ctx.entries.Entries()) order.push_back(e->notes);
  EXPECT_EQ(order, (std::vector<std::string>{"Soon Soon again", "Existing", "Later"}));
  CPlannerEntry* soon = a.ctx.entries.FindAt(2000, 3, 15, 9, 30);
  ASSERT_NE(soon, nullptr);
  EXPECT_NE(soon->timer, 0);  // due within the day: armed
  EXPECT_EQ(StoredNotes(a, 2000, 3, 15, 9, 30), "Soon Soon again");
}

TEST_F(BackupFileTest, MissingOrEmptyFile) {
  app.boxes.Expect("The file VeskAppoints.vsk was not found!");
  RestoreResult missing = RestoreEntries(app.ctx, File(), true);
  EXPECT_FALSE(missing.opened);
  EXPECT_FALSE(RestoreEntries(app.ctx, File(), false).error.empty());

  WriteFile(File(), "");
  RestoreResult empty = RestoreEntries(app.ctx, File(), true);  // no box at all
  EXPECT_TRUE(empty.opened);
  EXPECT_TRUE(empty.error.empty());
  EXPECT_EQ(app.ctx.entries.size(), 0u);
}

TEST_F(BackupFileTest, DamagedRecordStopsTheRestoreAndSaysWhere) {
  const std::string good = Framed("2000|3|15|9|0|0|0|0|0|5|||Good\n");
  const std::string line = "2000|3|16|9|0|0|0|0|0|5|||Next\n";
  struct Case {
    std::string tail, reason;
  };
  const Case cases[] = {
      {Framed(line).substr(0, 20), "the record is cut short"},
      {"00", "the record is cut short"},
      {"9999|" + line, "the record is cut short"},
      {"00x4|" + line, "its length prefix is not a number"},
      {"-044|" + line, "its length prefix is not a number"},
      {"0032 " + line, "its length prefix is not a number"},
      {"0000|" + line, "its length prefix is zero"},
      {"0033|" + line + "0000", "the record does not end where its length prefix says"},
      {Framed("1|2|3|4|5\n"), "the line has fewer than 13 fields"},
      {Framed("2000|3|x|9|0|0|0|0|0|5|||Bad\n"), "field 3 is not a number"},
      {Framed("2000|3|16|9|0|0|0|0|0||||Bad\n"), "field 10 is not a number"},
      {Framed("2000|4|31|9|0|0|0|0|0|5|||Bad\n"), "the date or time is not valid"},
      {Framed("2000|3|16|24|0|0|0|0|0|5|||Bad\n"), "the date or time is not valid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tail);
    TestApp a(2001, 6, 1, 8, 0);
    WriteFile(File(), good + c.tail);
    a.boxes.Expect("Restore stopped at record 2: " + c.reason +
                   ". The records before it were restored.");
    RestoreResult r = RestoreEntries(a.ctx, File(), true);
    ExpectScriptDone(a.boxes);
    EXPECT_EQ(r.stoppedAtRecord, 2);
    EXPECT_EQ(r.restoredNew, 1);
    EXPECT_EQ(Notes(a, 2000, 3, 15, 9, 0), "Good");
    EXPECT_EQ(a.ctx.entries.size(), 1u);
  }
}

TEST_F(BackupFileTest, GarbageRestoresNothingAndSaysSo) {
  std::mt19937 rng(20000315);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  for (const std::string& bytes : {noise, std::string("abc")}) {
    WriteFile(File(), bytes);
    app.boxes.Expect("Restore stopped at record 1: " +
                     std::string(bytes.size() < 5 ? "the record is cut short"
                                                  : "its length prefix is not a number") +
                     ". Nothing was restored.");
    RestoreResult r = RestoreEntries(app.ctx, File(), true);
    EXPECT_EQ(r.stoppedAtRecord, 1);
    EXPECT_EQ(app.ctx.entries.size(), 0u);
  }
}

TEST_F(BackupFileTest, BarInTheNotesIsReadWholeAndOldFilesStayReadable) {
  WriteFile(File(), Framed("2000|3|15|9|0|0|0|0|0|5|||a|b||c|\n") +
                        Framed("2000|3|15|9|30|0|0|0|0|5|||plain\n"));
  EXPECT_EQ(RestoreEntries(app.ctx, File(), false).restoredNew, 2);
  EXPECT_EQ(Notes(app, 2000, 3, 15, 9, 0), "a|b||c|");
  EXPECT_EQ(Notes(app, 2000, 3, 15, 9, 30), "plain");
}

TEST_F(BackupFileTest, TextThatIsNotUtf8IsReadAsWindows1252) {
  WriteFile(File(), Framed("2000|3|15|9|0|0|2|0|0|5||every Mittwoch \x96 \xFC|Caf\xE9 \x80 5\n"));
  EXPECT_EQ(RestoreEntries(app.ctx, File(), false).restoredNew, 1);
  CPlannerEntry* e = app.ctx.entries.FindAt(2000, 3, 15, 9, 0);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->notes, "Caf\xC3\xA9 \xE2\x82\xAC 5");
  EXPECT_EQ(e->sday, "every Mittwoch \xE2\x80\x93 \xC3\xBC");
}

TEST_F(BackupFileTest, OverlongTextsAreCutAtACharacterToFitTheLine) {
  std::string longNotes;
  while (longNotes.size() < 12000) longNotes += "\xC3\xA9";  // é
  // Two lines of equal layout whose texts are out of step by one byte, so
  // one of the cuts falls inside a character.
  app.AddEntry(2000, 3, 15, 10, 0, longNotes);
  app.AddEntry(2000, 3, 15, 11, 0, "x" + longNotes);
  CPlannerEntry& both = app.AddEntry(2000, 3, 15, 9, 30, std::string(6000, 'n'));
  both.SetRepeat(2, "2nd", "every|Tuesday" + std::string(6000, ' '), 0);
  app.AddEntry(2000, 3, 15, 12, 0, "short");
  app.ctx.entries.SortByTime();
  app.boxes.Expect("Wrote 4 entries to the backup file \"VeskAppoints.vsk\"");
  app.boxes.Expect(
      "The texts of 3 entries were too long for the backup file and were written shortened.");
  BackupResult b = BackupEntries(app.ctx, File(), true);
  EXPECT_EQ(b.shortened, 3);

  const std::string file = ReadFile(File());
  std::string_view rest = file;
  for (int i = 0; i < 3; ++i) {
    auto line = TakeBackupLine(rest);
    ASSERT_TRUE(line.has_value());
    EXPECT_GE(line->size() + 1, kMaxBackupLine - 1);  // filled to the last whole character
  }

  TestApp fresh(2001, 6, 1, 8, 0);
  RestoreResult r = RestoreEntries(fresh.ctx, File(), false);
  EXPECT_EQ(r.restoredNew, 4);
  EXPECT_EQ(r.stoppedAtRecord, 0);
  for (int hour : {10, 11}) {
    const std::string cut = Notes(fresh, 2000, 3, 15, hour, 0);
    EXPECT_TRUE(IsValidUtf8(cut)) << hour;
    EXPECT_TRUE((hour == 10 ? longNotes : "x" + longNotes).starts_with(cut)) << hour;
    EXPECT_GT(cut.size(), 9000u);
  }
  CPlannerEntry* other = fresh.ctx.entries.FindAt(2000, 3, 15, 9, 30);
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->sday, "every Tuesday" + std::string(6000, ' '));
  EXPECT_EQ(other->nthweek, "2nd");
  EXPECT_LT(other->notes.size(), 6000u);
  EXPECT_EQ(Notes(fresh, 2000, 3, 15, 12, 0), "short");
}

TEST_F(BackupFileTest, CancelKeepsTheExistingFile) {
  WriteFile(File(), "old");
  app.AddEntry(2000, 3, 15, 9, 0, "Gym");
  app.boxes.Expect(kReplace, MbResult::Cancel);
  BackupResult r = BackupEntries(app.ctx, File(), true);
  EXPECT_TRUE(r.cancelled);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(ReadFile(File()), "old");
}

TEST_F(BackupFileTest, TargetThatIsADirectoryIsReportedAndLeftAlone) {
  fs::create_directory(File());
  app.boxes.Expect(kReplace);
  app.boxes.Expect("Could not write the backup file \"" + File().string() +
                   "\": Is a directory. Any earlier backup file is unchanged.");
  BackupResult r = BackupEntries(app.ctx, File(), true);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.written, 0);
  EXPECT_TRUE(fs::is_directory(File()));
  EXPECT_EQ(DirListing(dir.path()), std::vector<std::string>{"VeskAppoints.vsk"});

  app.boxes.Expect("The file VeskAppoints.vsk could not be read: Is a directory.");
  EXPECT_TRUE(RestoreEntries(app.ctx, File(), true).opened);
}

TEST_F(BackupFileTest, MissingDirectoryFailsWithoutAMessageWhenNotInteractive) {
  app.ctx.dataDir = fs::path(dir.path()) / "gone";
  BackupResult r = BackupEntries(app.ctx, BackupPath(app.ctx, AutoBackupName(3)), false);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("No such file or directory"), std::string::npos) << r.error;
}

// Makes writes beyond `bytes` fail with "File too large", as a full disk would.
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  void (*oldHandler_)(int);
};

TEST_F(BackupFileTest, FailedWriteKeepsThePreviousBackup) {
  for (int d = 1; d <= 28; ++d) app.AddEntry(2000, 2, d, 9, 0, "Daily stand-up meeting");
  const std::string previous = "previous backup";
  WriteFile(File(), previous);
  BackupResult r;
  {
    ScopedFileSizeLimit limit(512);
    r = BackupEntries(app.ctx, File(), false);
  }
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.error.find("File too large"), std::string::npos) << r.error;
  EXPECT_EQ(ReadFile(File()), previous);
  EXPECT_EQ(DirListing(dir.path()), std::vector<std::string>{"VeskAppoints.vsk"});
}

}  // namespace
}  // namespace vesk::test
