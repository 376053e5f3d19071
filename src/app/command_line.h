#pragma once
// The command line's requests on the calendar's data: which option asks for
// what, read from argv.
#include <expected>
#include <filesystem>
#include <optional>
#include <string>

#include "interchange/protocol.h"

namespace vesk {

inline constexpr std::string_view kDataUsage =
    "  --agenda [YYYY-MM-DD [DAYS]]  print the entries of DAYS days (1) from the date (today),\n"
    "                          one line each: \"YYYY-MM-DD HH:MM  text\"\n"
    "  --next                  print what is next, as the tray icon's tooltip says it\n"
    "  --json                  with --agenda or --next: print JSON objects (date, time, text,\n"
    "                          repeat, reminder)\n"
    "  --add \"YYYY-MM-DD HH:MM\" TEXT [--remind MINUTES]\n"
    "                          add an entry on a half-hour line (exit status 2 if refused)\n"
    "  --import-ics FILE       import an iCalendar file (- for standard input) and report\n"
    "  --export-ics FILE       write the calendar as an iCalendar file (- for standard output)\n"
    "  --import-registry FILE  merge a REGEDIT4 file into the store\n"
    "  --restore FILE          merge a backup file (VeskAppoints.vsk) into the calendar\n";

// One request, as the user gave it.
struct DataCommand {
  Request request;
  std::string file;  // the file read (import) or written (export, "-" for standard output)
};

// The data command of argv; none when argv asks for none; the error when the
// option lacks what it needs. An iCalendar file to import is read when the
// command runs.
std::optional<std::expected<DataCommand, std::string>> ParseDataCommand(int argc, char** argv);

}  // namespace vesk
