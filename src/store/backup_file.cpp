#include "store/backup_file.h"

#include <cstdio>
#include <system_error>

#include "calendar/calendar.h"
#include "store/app_context.h"
#include "store/backup_record.h"
#include "store/whole_file.h"

namespace vesk {
namespace {

constexpr int kFirstBackupYear = 1980;
constexpr int kLastBackupYear = 2035;
// What the backup gathers before it writes.
constexpr std::size_t kBackupPieceBytes = 1 << 20;
// Entries a restore may hold in memory before it lets finished months go.
constexpr std::size_t kRestoreHeldEntries = 50000;

constexpr std::string_view kReplaceQuestion = "Do you wish to replace the current backup file?";
constexpr std::string_view kRestoreDone = "Restore successful.";

std::string WroteText(int count) {
  char text[128];
  std::snprintf(text, sizeof text, "%s %d %s \"VeskAppoints.vsk\"", "Wrote", count,
                "entries to the backup file");
  return text;
}

std::string ShortenedText(int count) {
  if (count == 1)
    return "The text of 1 entry was too long for the backup file and was written shortened.";
  return "The texts of " + std::to_string(count) +
         " entries were too long for the backup file and were written shortened.";
}

std::string NotFoundText(const std::filesystem::path& file) {
  return "The file " + file.filename().string() + " was not found!";
}

std::string StoppedText(int record, const std::string& reason) {
  return "Restore stopped at record " + std::to_string(record) + ": " + reason + "." +
         (record == 1 ? " Nothing was restored." : " The records before it were restored.");
}

// A record for a free slot becomes a new entry; on a taken slot its text is
// added to the entry's unless the entry holds it already.
void MergeRecord(AppContext& ctx, const BackupRecord& rec, RestoreResult& result) {
  if (CPlannerEntry* at = ctx.entries.FindAt(rec.year, rec.month, rec.day, rec.hour, rec.minute)) {
    if (at->notes.find(rec.notes) != std::string::npos) return;
    at->notes += ' ';
    at->notes += rec.notes;
    ctx.store.SaveEntry(*at);
    ++result.merged;
    return;
  }
  // The fields SetSlot and SetRepeat would set, without their sorts: the
  // list is sorted once after the whole file, which orders it the same way.
  CPlannerEntry& e = ctx.entries.Create();
  e.SetDate(rec.year, rec.month, rec.day);
  e.SetTimeOfDay(rec.hour, rec.minute);
  e.notes = rec.notes;
  e.repeats = rec.repeats;
  e.nthweek = rec.nthweek;
  e.sday = rec.sday;
  e.nthday = rec.nthday;
  if (rec.early == -1) {
    e.reminder = 0;
    e.early = 0;
  } else {
    e.reminder = 1;
    e.xreminder = 0;
    e.early = rec.early;
  }
  e.Schedule(true);
  ++result.restoredNew;
}

}  // namespace

std::filesystem::path BackupPath(const AppContext& ctx, std::string_view name) {
  return ctx.dataDir / name;
}

void RemoveUnfinishedBackups(const std::filesystem::path& dataDir) {
  RemoveUnfinishedWrites(dataDir, {"backup.", kBackupFileName});
}

std::string AutoBackupName(int month) {
  // A month outside 1..12 names no month; the name is then just "backup.".
  return "backup." + std::string(MonthShortName(month).value_or(""));
}

BackupResult BackupEntries(AppContext& ctx, const std::filesystem::path& file, bool interactive) {
  BackupResult result;
  std::error_code ec;
  if (interactive && std::filesystem::exists(file, ec) &&
      ctx.messages.Show(kReplaceQuestion, MbButtons::OkCancel) != MbResult::Ok) {
    result.cancelled = true;
    return result;
  }

  // Written as it is made, a piece at a time, so that memory never holds
  // the whole file.
  AtomicFile out(file);
  std::string content;
  int count = 0;
  ctx.entries.VisitAllMonths([&](const CPlannerEntry& e) {
    if (e.year() < kFirstBackupYear || e.year() > kLastBackupYear ||
        !IsCalendarSlot(e.year(), e.month(), e.day(), e.hour(), e.minute()))
      return;
    if (AppendBackupRecord(content, e)) ++result.shortened;
    ++count;
    if (content.size() >= kBackupPieceBytes) {
      out.Write(content);
      content.clear();
    }
  });
  out.Write(content);

  if (auto written = out.Commit(); !written) {
    result.error = "Could not write the backup file \"" + file.string() + "\": " + written.error() +
                   ". Any earlier backup file is unchanged.";
    if (interactive) ctx.messages.Show(result.error, MbButtons::Ok);
    return result;
  }
  result.ok = true;
  result.written = count;
  if (interactive) {
    ctx.messages.Show(WroteText(count), MbButtons::Ok);
    if (result.shortened > 0) ctx.messages.Show(ShortenedText(result.shortened), MbButtons::Ok);
  }
  return result;
}

RestoreResult RestoreEntries(AppContext& ctx, const std::filesystem::path& file, bool interactive) {
  RestoreResult result;
  auto content = ReadWholeFile(file);
  if (!content) {
    result.opened = !content.error().notFound;
    result.error = result.opened ? "The file " + file.filename().string() +
                                       " could not be read: " + content.error().reason + "."
                                 : NotFoundText(file);
    if (interactive) ctx.messages.Show(result.error, MbButtons::Ok);
    return result;
  }
  result.opened = true;
  // An empty file restores nothing and says nothing.
  if (content->empty()) return result;

  {
    Registry::Transaction transaction(ctx.registry);
    std::string_view rest = *content;
    // Records come month by month; in a large restore a month done is let
    // go, so memory holds it a month at a time.
    YearMonth month{};
    for (int record = 1; !rest.empty(); ++record) {
      auto line = TakeBackupLine(rest);
      auto parsed = line ? ParseBackupLine(*line)
                         : std::expected<BackupRecord, std::string>(std::unexpect, line.error());
      if (!parsed) {
        result.stoppedAtRecord = record;
        result.error = StoppedText(record, parsed.error());
        break;
      }
      if (parsed->year != month.year || parsed->month != month.month) {
        if (ctx.entries.size() > kRestoreHeldEntries) ctx.entries.Release(month.year, month.month);
        month = {parsed->year, parsed->month};
      }
      MergeRecord(ctx, *parsed, result);
    }
    if (result.restoredNew > 0) ctx.entries.SortByTime();
    transaction.Commit();
  }

  if (interactive)
    ctx.messages.Show(result.stoppedAtRecord ? std::string_view(result.error) : kRestoreDone,
                      MbButtons::Ok);
  return result;
}

}  // namespace vesk
