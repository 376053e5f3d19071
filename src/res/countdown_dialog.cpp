#include "res/countdown_dialog.h"

#include "res/command_ids.h"
#include "res/template_parts.h"

namespace vesk::res {

const DialogTemplate& CountdownDialogTemplate() {
  static const DialogTemplate countdown = [] {
    DialogTemplate t;
    t.id = kDlgCountdown;
    t.caption = "Countdown Timer";
    // Room for the text edit (7 + 195) and the buttons (163 + 39).
    t.width = 209;
    t.height = 71;
    ControlTemplate minutes = Control(ControlKind::Edit, kIdCountdownMinutes, "", 7, 19, 19, 12);
    minutes.numbersOnly = true;
    ControlTemplate text = Control(ControlKind::Edit, kIdCountdownText, "", 7, 52, 195, 12);
    text.autoHScroll = true;
    t.controls = {
        Control(ControlKind::DefaultButton, kIdOk, "OK", 163, 4, 39, 13),
        Control(ControlKind::Button, kIdCancel, "Cancel", 163, 22, 39, 13),
        minutes,
        Control(ControlKind::Slider, kIdCountdownSlider, "", 29, 19, 127, 12),
        Label(" Minutes until timer expires (1 - 300):", 32, 6, 128),
        Label(" Text to display when the timer expires (optional):", 7, 38, 195),
        text,
    };
    return t;
  }();
  return countdown;
}

}  // namespace vesk::res
