#pragma once
// The options record: ten integers under the "reminders" key, and beside them
// the switch for desktop notifications. The run-time copies live in the
// application context, where every window reads them.

namespace vesk {

struct Options {
  int age = 60;           // months after which stored months are purged at exit
  int early = 2;          // default reminder lead in minutes
  int reminders = 0;      // 0 = "Automatic", 1 = "No Reminders"
  int splash = 1;         // carried only
  int minatstart = 0;     // start with the main window off screen
  int fastprinting = 1;   // print black text without colour fills
  int statusbar = 1;      // carried only
  int a24hour = 0;        // 24-hour times
  int europe = 0;         // weeks start on Monday
  int ontop = 0;          // main window always on top
  int notifications = 1;  // reminders also go to the desktop's notification centre
};

}  // namespace vesk
