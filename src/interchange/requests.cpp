#include "interchange/requests.h"

#include <algorithm>

#include "interchange/agenda.h"
#include "interchange/entry_reload.h"
#include "interchange/ics_export.h"
#include "interchange/ics_import.h"
#include "store/app_context.h"
#include "store/backup_file.h"
#include "store/options_store.h"
#include "store/registry_export.h"

namespace vesk {
namespace {

ReplyStep Done(Reply reply) {
  return [reply = std::move(reply)] { return reply; };
}

CalendarStep Immediate(Reply reply) {
  return [reply = std::move(reply)](AppContext&) { return Done(reply); };
}

Reply Printed(std::string text) { return Reply{0, std::move(text), {}, {}}; }

CalendarStep Agenda(const Request& r, LocalTime now) {
  auto range = ParseAgendaRange(r.args[0], r.args[1], now);
  if (!range) return Immediate(ErrorReply(range.error(), kRefused));
  const bool json = r.args[2] == "1";
  return [range = *range, json](AppContext& ctx) {
    return Done(Printed(AgendaText(ctx.entries, range, json)));
  };
}

CalendarStep ImportIcs(const Request& r, LocalTime now,
                       const std::function<void(double)>& progress) {
  auto plan = std::make_shared<ImportPlan>(PlanImport(r.args[1], now, progress));
  const std::string name = r.args[0];
  return [plan, name](AppContext& ctx) {
    const ImportResult result = ApplyImport(ctx, std::move(*plan));
    if (!result.ok) return Done(ErrorReply("cannot import " + name + ": " + result.report));
    return Done(Printed(result.report));
  };
}

CalendarStep ExportIcs(const Request& r) {
  const bool toOutput = r.args[0] == "1";
  return [toOutput](AppContext& ctx) -> ReplyStep {
    auto snapshot = std::make_shared<ExportSnapshot>(TakeSnapshot(ctx));
    return [snapshot, toOutput] {
      ExportResult result = WriteIcs(*snapshot);
      const auto count = [](int n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
      };
      const std::string summary = "Exported " + count(result.events, "event", "events") + " (" +
                                  std::to_string(result.series) + " series) holding " +
                                  count(result.entries, "entry", "entries") + ".\n";
      Reply reply;
      (toOutput ? reply.err : reply.out) = summary;
      reply.document = std::move(result.text);
      return reply;
    };
  };
}

CalendarStep ImportRegistryFile(const Request& r) {
  const std::filesystem::path file = r.args[0];
  return [file](AppContext& ctx) {
    const auto counts = ImportRegistry(ctx.registry, file);
    if (!counts) {
      const std::string where =
          counts.error().line > 0 ? ", line " + std::to_string(counts.error().line) : "";
      return Done(
          ErrorReply("cannot import " + file.string() + where + ": " + counts.error().message));
    }
    return Done(Printed("Imported " + std::to_string(counts->keys) + " keys and " +
                        std::to_string(counts->values) + " values from " + file.string() + " (" +
                        std::to_string(counts->skippedKeys) +
                        " keys outside the calendar skipped).\n"));
  };
}

CalendarStep Restore(const Request& r) {
  const std::filesystem::path file = r.args[0];
  return [file](AppContext& ctx) {
    const RestoreResult result = RestoreEntries(ctx, file, false);
    if (!result.opened || !result.error.empty()) {
      Reply reply = ErrorReply(result.error);
      if (result.restoredNew + result.merged > 0)
        reply.err += "veskcal: " + std::to_string(result.restoredNew) + " new entries and " +
                     std::to_string(result.merged) + " merged texts were restored before it.\n";
      return Done(reply);
    }
    return Done(Printed("Restored " + std::to_string(result.restoredNew) +
                        " new entries and merged " + std::to_string(result.merged) +
                        " texts from " + file.string() + ".\n"));
  };
}

}  // namespace

CalendarStep PrepareRequest(const Request& r, LocalTime now,
                            const std::function<void(double)>& progress) {
  switch (r.command) {
    case Command::Show:
      return Immediate({});
    case Command::Agenda:
      return Agenda(r, now);
    case Command::Next: {
      const bool json = r.args[0] == "1";
      return [json, now](AppContext& ctx) { return Done(Printed(NextText(ctx, now, json))); };
    }
    case Command::Add: {
      return [r](AppContext& ctx) {
        auto added = AddEntry(ctx, r.args[0], r.args[1], r.args[2]);
        if (!added)
          return Done(ErrorReply(added.error().message, added.error().failed ? kFailed : kRefused));
        return Done(Printed(*added));
      };
    }
    case Command::ImportIcs:
      return ImportIcs(r, now, progress);
    case Command::ExportIcs:
      return ExportIcs(r);
    case Command::ImportRegistry:
      return ImportRegistryFile(r);
    case Command::Restore:
      return Restore(r);
  }
  return Immediate(ErrorReply("the request is not understood"));
}

Reply RunRequest(AppContext& ctx, const Request& request,
                 const std::function<void(double)>& progress) {
  const LocalTime now = static_cast<LocalTime>(ctx.clock.Now());
  return PrepareRequest(request, now, progress)(ctx)();
}

bool ChangesData(Command command) {
  switch (command) {
    case Command::Add:
    case Command::ImportIcs:
    case Command::ImportRegistry:
    case Command::Restore:
      return true;
    default:
      return false;
  }
}

void LoadForRequest(AppContext& ctx, const Request&) {
  // The entry list reads the months a request looks at when it asks.
  LoadOptions(ctx.store, ctx.options);
}

}  // namespace vesk
