#pragma once
// What the store asks of the layers above it, reached through the context.

namespace vesk {

class CPlannerEntry;

// Arms (or disarms) the reminder timer of an entry after its time was computed.
class ReminderArmer {
 public:
  virtual ~ReminderArmer() = default;
  virtual void ArmReminder(CPlannerEntry& entry) = 0;
};

// Repaint requests for the month view.
class ViewNotifier {
 public:
  virtual ~ViewNotifier() = default;
  // Repaints the month view only when it shows (year, month).
  virtual void RepaintIfShowing(int year, int month) = 0;
};

}  // namespace vesk
