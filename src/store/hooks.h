#pragma once
// What the store asks of the layers above it, reached through the context.

namespace vesk {

class CPlannerEntry;

// The reminder timers: arming (or disarming) an entry's timer after its time
// was computed, and keeping the reminders true to the wall clock.
class ReminderArmer {
 public:
  virtual ~ReminderArmer() = default;
  virtual void ArmReminder(CPlannerEntry& entry) = 0;
  // The entry's reminder comes back minutes from now; its lead stays as it is.
  virtual void Snooze(CPlannerEntry& entry, int minutes) = 0;
  // Start-up, once every entry is read: the reminders that fell due while the
  // program did not run (within the last day), shown once.
  virtual void CatchUpAtStart() = 0;
  // Every minute: a jump of the wall clock is caught up as a wake-up is.
  virtual void CheckClock() = 0;
  // The machine woke from sleep: what fell due meanwhile shows at once, and
  // every reminder is armed again from the wall clock.
  virtual void CatchUpAfterSleep() = 0;
};

// Repaint requests for the month view.
class ViewNotifier {
 public:
  virtual ~ViewNotifier() = default;
  // Repaints the month view only when it shows (year, month).
  virtual void RepaintIfShowing(int year, int month) = 0;
};

}  // namespace vesk
