#pragma once
// Calendars built as the user builds them (typed lines, the repeat dialog,
// ditto lines), and what the tests compare them by.
#include <string>
#include <vector>

#include "interchange/protocol.h"
#include "support/test_app.h"

namespace vesk::test {

// A line typed into the day planner and stored.
CPlannerEntry& Type(TestApp& app, int year, int month, int day, int hour, int minute,
                    const std::string& text);
// The repeat dialog's OK for the entry: the code, until at the entry's time of day.
void Repeat(TestApp& app, CPlannerEntry& entry, int code, int untilYear, int untilMonth,
            int untilDay);
// A ditto mark typed into the line after an entry, as the day planner makes it.
CPlannerEntry& Ditto(TestApp& app, int year, int month, int day, int hour, int minute);

// The automatic backup file's records without their timer ids.
std::string BackupWithoutTimers(TestApp& app);

// The text of a file under tests/interchange/data.
std::string DataFile(const std::string& name);

// Runs a request on the app's calendar.
Reply Ask(TestApp& app, Command command, std::vector<std::string> args);

// "YYYY-MM-DD HH:MM text" of every entry in list order, with " [r<code>]" for
// repeating ones and " (<lead>)" for a reminder.
std::vector<std::string> Lines(TestApp& app);

}  // namespace vesk::test
