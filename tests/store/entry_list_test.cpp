#include <gtest/gtest.h>

#include "platform/sqlite/sqlite_registry.h"
#include "store/registry_store.h"
#include "support/test_app.h"

namespace vesk::test {
namespace {

const std::string kGymQuestion =
    "You have deleted a datebook entry which repeats.\n Delete the other \"Gym\" repeating "
    "entries in this time slot as well?";

class EntryListTest : public ::testing::Test {
 protected:
  void TearDown() override { ExpectScriptDone(app.boxes); }

  CPlannerEntry& Timed(LocalTime t) {
    CPlannerEntry& e = list().Create();
    e.SetTime(t);
    return e;
  }
  CEntryList& list() { return app.ctx.entries; }
  bool Stored(int y, int m, int d, int h, int min) {
    return app.registry.OpenKey(CRegistryStore::EntryPath(y, m, d, h, min));
  }
  std::vector<LocalTime> Times() {
    std::vector<LocalTime> out;
    for (auto* e : list().Entries()) out.push_back(e->time());
    return out;
  }

  TestApp app;
};

TEST_F(EntryListTest, SortKeepsEqualTimesInTheirEarlierOrder) {
  CPlannerEntry& ten = Timed(10);
  CPlannerEntry& gone1 = Timed(99);
  CPlannerEntry& five = Timed(5);
  CPlannerEntry& gone2 = Timed(98);
  CPlannerEntry& fiveAgain = Timed(5);
  list().Discard(gone1);
  list().Discard(gone2);
  list().SortByTime();
  auto entries = list().Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], &five);
  EXPECT_EQ(entries[1], &fiveAgain);
  EXPECT_EQ(entries[2], &ten);

  // A changed time is placed among equal times by its position before the sort.
  ten.SetTime(5);
  list().SortByTime();
  entries = list().Entries();
  EXPECT_EQ(entries[0], &five);
  EXPECT_EQ(entries[1], &fiveAgain);
  EXPECT_EQ(entries[2], &ten);
  five.SetTime(7);
  list().SortByTime();
  EXPECT_EQ(list().Entries().back(), &five);
}

TEST_F(EntryListTest, SortMatchesAStableSortOfManyRandomChanges) {
  std::vector<CPlannerEntry*> all;
  unsigned seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 16) % 50; };
  for (int i = 0; i < 200; ++i) all.push_back(&Timed(static_cast<LocalTime>(next())));
  for (int round = 0; round < 20; ++round) {
    // Mostly a few changes between sorts, now and then very many.
    const int changes = round % 4 == 3 ? 150 : 1 + round % 7;
    for (int k = 0; k < changes; ++k)
      all[next() % all.size()]->SetTime(static_cast<LocalTime>(next()));
    if (round % 5 == 4) all.push_back(&Timed(static_cast<LocalTime>(next())));
    std::vector<CPlannerEntry*> expected = list().Entries();
    std::stable_sort(expected.begin(), expected.end(),
                     [](auto* a, auto* b) { return a->time() < b->time(); });
    list().SortByTime();
    EXPECT_EQ(list().Entries(), expected) << "round " << round;
  }
}

TEST_F(EntryListTest, FindsBySlotDateAndTime) {
  CPlannerEntry& a = app.AddEntry(2000, 3, 15, 9, 30, "Dentist");
  CPlannerEntry& b = app.AddEntry(2000, 3, 15, 14, 0, "Lunch");
  CPlannerEntry& c = app.AddEntry(2000, 3, 16, 9, 30, "Gym");
  list().SortByTime();
  EXPECT_EQ(list().FindAt(2000, 3, 15, 9, 30), &a);
  EXPECT_EQ(list().FindAt(2000, 3, 15, 9, 30, &a), nullptr);
  EXPECT_EQ(list().FindAt(2000, 3, 15, 9, 0), nullptr);
  EXPECT_TRUE(list().HasEntryOn(2000, 3, 16));
  EXPECT_FALSE(list().HasEntryOn(2000, 3, 17));
  EXPECT_EQ(list().FindOnDay(2000, 3, 15, false), &a);
  EXPECT_EQ(list().FindOnDay(2000, 3, 15, true), &b);
  EXPECT_EQ(list().FindAfter(a.time()), &b);
  EXPECT_EQ(list().FindAfter(c.time()), nullptr);

  // Moving an entry moves it in the indexes too.
  c.SetDate(2000, 3, 17);
  EXPECT_FALSE(list().HasEntryOn(2000, 3, 16));
  EXPECT_EQ(list().FindAt(2000, 3, 17, 9, 30), &c);
}

TEST_F(EntryListTest, PreviousEntryIsTheOneBeforeInTime) {
  CPlannerEntry& a = app.AddEntry(2000, 3, 15, 9, 0, "a");
  CPlannerEntry& b = app.AddEntry(2000, 3, 15, 10, 0, "b");
  CPlannerEntry& c = app.AddEntry(2000, 3, 14, 10, 0, "c");
  EXPECT_EQ(list().PreviousEntry(c), nullptr);
  EXPECT_EQ(list().PreviousEntry(a), &c);
  EXPECT_EQ(list().PreviousEntry(b), &a);
}

TEST_F(EntryListTest, DeleteTakesTheContinuedEntriesThatFollow) {
  CPlannerEntry& lunch = app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  app.AddEntry(2000, 3, 15, 12, 30, "Lunch (continued)");
  app.AddEntry(2000, 3, 15, 13, 0, "Lunch (continued)");
  app.AddEntry(2000, 3, 15, 13, 30, "Meeting");
  int removed = 0;
  list().DeleteEntry(lunch, true, &removed);
  EXPECT_EQ(removed, 3);
  ASSERT_EQ(list().size(), 1u);
  EXPECT_EQ(list().Entries()[0]->notes, "Meeting");
  EXPECT_FALSE(Stored(2000, 3, 15, 12, 30));
  EXPECT_TRUE(Stored(2000, 3, 15, 13, 30));
}

TEST_F(EntryListTest, ContinuedMustStandAtIndexTwoOrLater) {
  CPlannerEntry& lunch = app.AddEntry(2000, 3, 15, 12, 0, "Lunch");
  app.AddEntry(2000, 3, 15, 12, 30, "(continued)");
  int removed = 0;
  list().DeleteEntry(lunch, true, &removed);
  EXPECT_EQ(removed, 1);
  EXPECT_EQ(list().size(), 1u);
}

TEST_F(EntryListTest, DeleteRepeatsRemovesIdenticalAndCutsContainingTexts) {
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  CPlannerEntry& other = app.AddEntry(2000, 3, 22, 18, 0, "Gym");
  CPlannerEntry& swim = app.AddEntry(2000, 3, 29, 18, 0, "Gym and swim");
  CPlannerEntry& otherHour = app.AddEntry(2000, 3, 22, 19, 0, "Gym");
  for (CPlannerEntry* e : {&gym, &other, &swim, &otherHour}) {
    e->repeats = 2;
    app.ctx.store.SaveEntry(*e);
  }
  app.boxes.Expect(kGymQuestion, MbResult::Yes);
  list().DeleteEntry(gym, true);
  EXPECT_EQ(list().FindAt(2000, 3, 22, 18, 0), nullptr);
  EXPECT_FALSE(Stored(2000, 3, 22, 18, 0));
  ASSERT_EQ(list().FindAt(2000, 3, 29, 18, 0), &swim);
  EXPECT_EQ(swim.notes, "and swim");
  EXPECT_EQ(swim.repeats, 0);
  EXPECT_EQ(list().FindAt(2000, 3, 22, 19, 0), &otherHour);
}

TEST_F(EntryListTest, DeleteRepeatsOfAnEmptyTextTakesOnlyEmptyTexts) {
  CPlannerEntry& empty = app.AddEntry(2000, 3, 15, 18, 0, "");
  CPlannerEntry& emptyToo = app.AddEntry(2000, 3, 16, 18, 0, "");
  CPlannerEntry& text = app.AddEntry(2000, 3, 17, 18, 0, "Yoga");
  for (CPlannerEntry* e : {&empty, &emptyToo, &text}) e->repeats = 1;
  app.boxes.Expect(
      "You have deleted a datebook entry which repeats.\n Delete the other \"\" repeating "
      "entries in this time slot as well?",
      MbResult::Yes);
  list().DeleteEntry(empty, true);
  EXPECT_EQ(list().FindAt(2000, 3, 16, 18, 0), nullptr);
  ASSERT_EQ(list().FindAt(2000, 3, 17, 18, 0), &text);
  EXPECT_EQ(text.notes, "Yoga");
  EXPECT_EQ(text.repeats, 1);
}

TEST_F(EntryListTest, AnsweringNoKeepsTheOtherOccurrences) {
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  CPlannerEntry& other = app.AddEntry(2000, 3, 22, 18, 0, "Gym");
  gym.repeats = other.repeats = 2;
  app.boxes.Expect(kGymQuestion, MbResult::No);
  list().DeleteEntry(gym, true);
  EXPECT_EQ(list().FindAt(2000, 3, 22, 18, 0), &other);
  EXPECT_EQ(list().size(), 1u);
}

// The question comes before any write: another connection writes while it is
// on screen, as a window move or a reminder would.
TEST(DeleteEntryOnDiskTest, NoWriteWaitsForTheRepeatQuestion) {
  TempDir dir;
  const std::filesystem::path file = std::filesystem::path(dir.path()) / "veskcal.db";
  auto store = SqliteRegistry::Open(file, 0);
  auto other = SqliteRegistry::Open(file, 0);
  ASSERT_TRUE(store && other);
  TestApp app(**store);
  CPlannerEntry& gym = app.AddEntry(2000, 3, 15, 18, 0, "Gym");
  CPlannerEntry& next = app.AddEntry(2000, 3, 22, 18, 0, "Gym");
  for (CPlannerEntry* e : {&gym, &next}) {
    e->repeats = 2;
    app.ctx.store.SaveEntry(*e);
  }
  app.boxes.Expect(kGymQuestion, MbResult::Yes);
  OpenResult elsewhere = OpenResult::Failed;
  app.boxes.whileShown = [&](std::string_view) { elsewhere = (*other)->CreateKey("Elsewhere"); };
  app.ctx.entries.DeleteEntry(gym, true);
  EXPECT_EQ(elsewhere, OpenResult::Created);
  EXPECT_EQ(app.ctx.entries.size(), 0u);
  ExpectScriptDone(app.boxes);
}

TEST_F(EntryListTest, DeleteDayRemovesEveryEntryOfTheDateAndItsKeys) {
  app.AddEntry(2000, 3, 15, 9, 0, "a").repeats = 1;
  app.AddEntry(2000, 3, 15, 23, 30, "b");
  app.AddEntry(2000, 3, 16, 9, 0, "c");
  list().DeleteDay(2000, 3, 15);
  EXPECT_FALSE(list().HasEntryOn(2000, 3, 15));
  EXPECT_FALSE(Stored(2000, 3, 15, 9, 0));
  EXPECT_FALSE(Stored(2000, 3, 15, 23, 30));
  EXPECT_TRUE(list().HasEntryOn(2000, 3, 16));
}

TEST_F(EntryListTest, MergeOntoFoldsTheOtherTextIn) {
  app.AddEntry(2000, 3, 15, 9, 0, "Standup");
  CPlannerEntry& generated = list().Create();
  generated.SetSlot(2000, 3, 15, 9, 0, "Gym");
  list().MergeOnto(generated);
  EXPECT_EQ(generated.notes, "Gym Standup");
  EXPECT_EQ(list().size(), 1u);

  app.AddEntry(2000, 3, 16, 9, 0, "Gym and more");
  CPlannerEntry& contained = list().Create();
  contained.SetSlot(2000, 3, 16, 9, 0, "Gym");
  list().MergeOnto(contained);
  EXPECT_EQ(contained.notes, "Gym");
}

TEST_F(EntryListTest, MergingOntoAnEntryKeepsTheLinesContinuingIt) {
  app.AddEntry(2000, 3, 22, 10, 0, "Dentist");
  app.AddEntry(2000, 3, 22, 10, 30, "Dentist (continued)");
  app.AddEntry(2000, 3, 22, 11, 0, "Dentist (continued)");
  CPlannerEntry& generated = list().Create();
  generated.SetSlot(2000, 3, 22, 10, 0, "Gym");
  list().MergeOnto(generated);
  EXPECT_EQ(generated.notes, "Gym Dentist");
  EXPECT_EQ(list().size(), 3u);
  EXPECT_FALSE(Stored(2000, 3, 22, 10, 0));
  for (int minute : {30, 60}) {
    const CPlannerEntry* line = list().FindAt(2000, 3, 22, 10 + minute / 60, minute % 60);
    ASSERT_NE(line, nullptr) << minute;
    EXPECT_EQ(line->notes, "Dentist (continued)");
    EXPECT_TRUE(Stored(2000, 3, 22, 10 + minute / 60, minute % 60));
  }
}

TEST_F(EntryListTest, UpdateNotesOfAnUnstoredEntryStoresItWhole) {
  CPlannerEntry& e = list().Create();
  e.SetSlot(2001, 6, 1, 10, 0, "Far away");
  e.Schedule(false);
  e.UpdateNotes("Edited");
  auto notes = app.registry.QueryValue(CRegistryStore::EntryPath(2001, 6, 1, 10, 0), "notes");
  ASSERT_TRUE(notes);
  EXPECT_EQ(notes->AsString(), "Edited");
  auto year = app.registry.QueryValue(CRegistryStore::EntryPath(2001, 6, 1, 10, 0), "year");
  ASSERT_TRUE(year);
  EXPECT_EQ(year->AsDword(), 2001);
}

TEST_F(EntryListTest, ScheduleComputesLocalTimeAcrossDaylightSaving) {
  // 2 April 2000 was the spring-forward day in New York.
  ScopedTimeZone tz("America/New_York");
  CPlannerEntry& before = app.AddEntry(2000, 4, 1, 10, 0, "before");
  CPlannerEntry& after = app.AddEntry(2000, 4, 2, 10, 0, "after");
  EXPECT_EQ(after.time() - before.time(), 23 * 3600);
  EXPECT_EQ(before.started, before.time());
}

}  // namespace
}  // namespace vesk::test
