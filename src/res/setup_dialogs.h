#pragma once
// The set-up dialogs of File, Setup: the colours (132), the sounds (152) and
// the advanced options (145), with the ids of their controls.
#include <array>

#include "platform/dialog.h"

namespace vesk::res {

// The colour dialog. Its OK and Cancel are not the usual 1 and 2: button 2 is
// "Background".
inline constexpr int kIdColorOk = 3;
inline constexpr int kIdColorCancel = 13;
inline constexpr int kIdYellows = 14;
inline constexpr int kIdBlues = 15;
inline constexpr int kIdGreens = 16;

struct ColorButton {
  int button;
  int swatch;
  const char* text;
};
// In the order of the colour set: fore, back, currentday, hasappoint,
// dayplan1, dayplan2, toplite, botlite.
inline constexpr std::array<ColorButton, 8> kColorButtons{{
    {4, 1079, "Text"},
    {2, 1081, "Background"},
    {5, 1078, "Current day"},
    {10, 1080, "Has Appointment"},
    {11, 1082, "Day Planner 1"},
    {7, 1083, "Day Planner 2"},
    {12, 1084, "Top highlight"},
    {6, 1085, "Bottom highlight"},
}};

// The sounds dialog: one row per sound, in the order start, reminders, click.
struct SoundRow {
  int button;
  int none;
  int label;
  const char* text;
};
inline constexpr std::array<SoundRow, 3> kSoundRows{{
    {1068, 1070, 1079, "Start Sound"},
    {1069, 1072, 1080, "Reminder Sound"},
    {1067, 1071, 1081, "Click-on Sound"},
}};

// The advanced dialog.
inline constexpr int kIdAdvancedHelp = 3;
inline constexpr int kIdAge = 1055;
inline constexpr int kIdEarly = 1053;
inline constexpr int kIdAutomatic = 1033;
inline constexpr int kIdNoReminders = 1034;
inline constexpr int kIdMinAtStart = 1056;
inline constexpr int kIdFastPrinting = 1057;
inline constexpr int kIdStatusBar = 1058;
inline constexpr int kIdA24Hour = 1060;
inline constexpr int kIdEurope = 1059;
inline constexpr int kIdOnTop = 1061;

const DialogTemplate& ColorSetupDialogTemplate();
const DialogTemplate& SoundsDialogTemplate();
const DialogTemplate& AdvancedDialogTemplate();

}  // namespace vesk::res
