#include "platform/headless/headless_dialog.h"

#include <algorithm>
#include <utility>

#include "platform/headless/headless_ui.h"

namespace vesk {

HeadlessDialogControls::HeadlessDialogControls(HeadlessUi& ui, const DialogTemplate& tmpl)
    : ui_(ui), templateId_(tmpl.id), title_(tmpl.caption) {
  for (const ControlTemplate& c : tmpl.controls) {
    if (c.id == -1) continue;  // unnamed statics and frames
    Control control;
    control.kind = c.kind;
    control.text = c.text;
    control.enabled = !c.disabled;
    control.visible = !c.hidden;
    controls_[c.id] = control;
  }
}

const HeadlessDialogControls::Control* HeadlessDialogControls::Find(int id) const {
  auto it = controls_.find(id);
  return it != controls_.end() ? &it->second : nullptr;
}

HeadlessDialogControls::Control* HeadlessDialogControls::Find(int id) {
  auto it = controls_.find(id);
  return it != controls_.end() ? &it->second : nullptr;
}

const HeadlessDialogControls::Control* HeadlessDialogControls::Need(int id) const {
  const Control* c = Find(id);
  if (c == nullptr) {
    ui_.Fail("dialog " + std::to_string(templateId_) + " has no control " + std::to_string(id));
  }
  return c;
}

HeadlessDialogControls::Control* HeadlessDialogControls::Need(int id) {
  return const_cast<Control*>(std::as_const(*this).Need(id));
}

void HeadlessDialogControls::SetText(int id, std::string_view text) {
  if (Control* c = Need(id)) c->text = text;
}

std::string HeadlessDialogControls::Text(int id) const {
  const Control* c = Need(id);
  return c != nullptr ? c->text : std::string();
}

void HeadlessDialogControls::SetChecked(int id, bool checked) {
  if (Control* c = Need(id)) c->checked = checked;
}

bool HeadlessDialogControls::IsChecked(int id) const {
  const Control* c = Need(id);
  return c != nullptr && c->checked;
}

void HeadlessDialogControls::SetRange(int id, int min, int max) {
  if (Control* c = Need(id)) {
    c->min = min;
    c->max = std::max(min, max);
    c->pos = std::clamp(c->pos, c->min, c->max);
  }
}

void HeadlessDialogControls::SetPos(int id, int pos) {
  if (Control* c = Need(id)) c->pos = std::clamp(pos, c->min, c->max);
}

int HeadlessDialogControls::Pos(int id) const {
  const Control* c = Need(id);
  return c != nullptr ? c->pos : 0;
}

void HeadlessDialogControls::SetDateTime(int id, const DateTime& value) {
  if (Control* c = Need(id)) c->date = value;
}

std::optional<DateTime> HeadlessDialogControls::GetDateTime(int id) const {
  const Control* c = Need(id);
  return c != nullptr ? c->date : std::nullopt;
}

void HeadlessDialogControls::Enable(int id, bool enabled) {
  if (Control* c = Need(id)) c->enabled = enabled;
}

bool HeadlessDialogControls::IsEnabled(int id) const {
  const Control* c = Need(id);
  return c != nullptr && c->enabled;
}

void HeadlessDialogControls::Show(int id, bool visible) {
  if (Control* c = Need(id)) c->visible = visible;
}

bool HeadlessDialogControls::IsShown(int id) const {
  const Control* c = Need(id);
  return c != nullptr && c->visible;
}

void HeadlessDialogControls::SetFocus(int id) {
  if (Need(id) != nullptr) focus_ = id;
}

void HeadlessDialogControls::SetSwatch(int id, Color color) {
  if (Control* c = Need(id)) c->swatch = color;
}

std::optional<Color> HeadlessDialogControls::Swatch(int id) const {
  const Control* c = Need(id);
  return c != nullptr ? c->swatch : std::nullopt;
}

HeadlessDialog::HeadlessDialog(HeadlessUi& ui, Dialog& dialog)
    : ui_(ui), dialog_(dialog), controls_(ui, dialog.dialogTemplate()) {}

HeadlessDialogControls::Control* HeadlessDialog::Usable(int id,
                                                        std::initializer_list<ControlKind> kinds,
                                                        std::string_view action) {
  const std::string where = "dialog " + std::to_string(templateId()) + ": " + std::string(action) +
                            " control " + std::to_string(id);
  if (!dialog_.IsRunning()) {
    ui_.Fail(where + " after the dialog ended");
    return nullptr;
  }
  HeadlessDialogControls::Control* c = controls_.Find(id);
  if (c == nullptr) {
    ui_.Fail(where + ", which does not exist");
  } else if (std::find(kinds.begin(), kinds.end(), c->kind) == kinds.end()) {
    ui_.Fail(where + ", which is not of that kind");
  } else if (!c->enabled || !c->visible) {
    ui_.Fail(where + ", which is " + (c->enabled ? "hidden" : "disabled"));
  } else {
    return c;
  }
  return nullptr;
}

void HeadlessDialog::SetText(int id, std::string_view text) {
  HeadlessDialogControls::Control* c = Usable(id, {ControlKind::Edit}, "typing into");
  if (c == nullptr) return;
  c->text = text;
  dialog_.OnCommand(id, kEnChange);
  ui_.Pump();
}

void HeadlessDialog::Click(int id) {
  const bool key = (id == kIdOk || id == kIdCancel) && controls_.Find(id) == nullptr;
  if (key && !dialog_.IsRunning()) {
    ui_.Fail("dialog " + std::to_string(templateId()) + ": key " + std::to_string(id) +
             " after the dialog ended");
    return;
  }
  if (!key) {
    HeadlessDialogControls::Control* c = Usable(id,
                                                {ControlKind::Button, ControlKind::DefaultButton,
                                                 ControlKind::RadioButton, ControlKind::CheckBox},
                                                "clicking");
    if (c == nullptr) return;
    if (c->kind == ControlKind::CheckBox) {
      c->checked = !c->checked;
    } else if (c->kind == ControlKind::RadioButton) {
      for (int other : dialog_.dialogTemplate().RadioGroup(id)) {
        if (HeadlessDialogControls::Control* o = controls_.Find(other)) o->checked = other == id;
      }
    }
  }
  dialog_.OnCommand(id, 0);
  ui_.Pump();
}

bool HeadlessDialog::Running(std::string_view key) {
  if (dialog_.IsRunning()) return true;
  ui_.Fail("dialog " + std::to_string(templateId()) + ": " + std::string(key) +
           " after the dialog ended");
  return false;
}

void HeadlessDialog::PressEnter() {
  if (!Running("Enter")) return;
  for (const ControlTemplate& t : dialog_.dialogTemplate().controls) {
    const HeadlessDialogControls::Control* c = controls_.Find(t.id);
    if (t.kind == ControlKind::DefaultButton && c != nullptr && c->enabled && c->visible) {
      Click(t.id);
      return;
    }
  }
  dialog_.OnCommand(kIdOk, 0);
  ui_.Pump();
}

void HeadlessDialog::PressEscape() {
  if (!Running("Esc")) return;
  dialog_.OnDismiss();
  ui_.Pump();
}

void HeadlessDialog::Slide(int id, int pos) {
  HeadlessDialogControls::Control* c = Usable(id, {ControlKind::Slider}, "sliding");
  if (c == nullptr) return;
  c->pos = std::clamp(pos, c->min, c->max);
  dialog_.OnHScroll(id, c->pos);
  ui_.Pump();
}

void HeadlessDialog::SetDate(int id, const DateTime& value) {
  HeadlessDialogControls::Control* c =
      Usable(id, {ControlKind::DateTimePicker}, "picking a date in");
  if (c == nullptr) return;
  c->date = value;
  dialog_.OnDateTimeChange(id);
  ui_.Pump();
}

}  // namespace vesk
