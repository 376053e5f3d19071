#pragma once
// Modal dialogs built from templates in dialog units, with data exchange and
// the standard validation messages.
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace vesk {

class Ui;
class Window;

enum class ControlKind {
  Button,
  DefaultButton,
  RadioButton,  // automatic; groupStart begins a group
  CheckBox,
  Edit,
  Static,
  GroupBox,
  Slider,
  DateTimePicker,  // long date format, limited to kFirstPickerYear..kLastPickerYear
  Bitmap,          // a small picture; text names the bitmap resource id
};

// The years a date picker offers: those the program's 32-bit local time holds
// whole, which is also the range user dates are kept to.
inline constexpr int kFirstPickerYear = 1990;
inline constexpr int kLastPickerYear = 2036;

struct ControlTemplate {
  ControlKind kind = ControlKind::Static;
  int id = -1;
  std::string text;
  Rect dlu;  // x, y, x + width, y + height in dialog units
  bool groupStart = false;
  bool numbersOnly = false;
  bool autoHScroll = false;
  bool hidden = false;
  bool disabled = false;
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0, height = 0;  // dialog units
  std::string fontFace = "MS Sans Serif";
  int fontPoints = 8;
  bool centered = false;
  std::vector<ControlTemplate> controls;

  const ControlTemplate* Find(int controlId) const;
  // Ids of the radio buttons in the group that holds controlId, in template
  // order: from the group's first button (groupStart, or the first radio
  // button of a run) up to the next group start or a control of another kind.
  std::vector<int> RadioGroup(int controlId) const;
};

inline constexpr const char* kEnterInteger = "Please enter an integer.";
inline constexpr const char* kEnterIntegerBetween = "Please enter an integer between %1 and %2.";
inline constexpr const char* kEnterNoMoreThan = "Please enter no more than %1 characters.";

// The live controls of a running dialog, as the backend provides them. Values
// set here notify nothing; only the user's changes reach Dialog::OnCommand,
// OnHScroll and OnDateTimeChange.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void SetText(int id, std::string_view text) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsChecked(int id) const = 0;
  virtual void SetRange(int id, int min, int max) = 0;
  virtual void SetPos(int id, int pos) = 0;
  virtual int Pos(int id) const = 0;
  virtual void SetDateTime(int id, const DateTime& value) = 0;
  // Nothing when the shown date cannot be represented.
  virtual std::optional<DateTime> GetDateTime(int id) const = 0;
  virtual void Enable(int id, bool enabled) = 0;
  virtual bool IsEnabled(int id) const = 0;
  virtual void Show(int id, bool visible) = 0;
  virtual void SetFocus(int id) = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void SetIcon(int iconId) = 0;
  // Paints a colour swatch on a static control (the colour dialog's samples).
  virtual void SetSwatch(int id, Color color) = 0;
  virtual void Invalidate() = 0;
};

class DataExchange;

class Dialog {
 public:
  Dialog(Ui& ui, const DialogTemplate& tmpl) : ui_(ui), template_(tmpl) {}
  virtual ~Dialog() = default;

  // Runs the dialog modally; returns the value given to EndDialog.
  int DoModal(Window* owner);

  virtual bool OnInitDialog();
  // A button click or a control notification (code: kEnChange for edits, 0 for clicks).
  virtual void OnCommand(int id, int code);
  virtual void OnOK();
  virtual void OnCancel();
  // Esc or the close box. A dialog whose button 2 is not Cancel (the colour
  // dialog's "Background") says here what closing it means; by default it is
  // the Cancel command.
  virtual void OnDismiss();
  virtual void DoDataExchange(DataExchange&) {}
  // A slider moved to pos.
  virtual void OnHScroll(int /*sliderId*/, int /*pos*/) {}
  // The date picker changed.
  virtual void OnDateTimeChange(int /*id*/) {}

  // Reads the controls into the fields (save) or writes the fields to them;
  // false when a validation message was shown.
  bool UpdateData(bool save);
  void EndDialog(int result);

  Ui& ui() const { return ui_; }
  const DialogTemplate& dialogTemplate() const { return template_; }
  DialogControls& controls() const { return *controls_; }
  bool IsRunning() const { return controls_ != nullptr && !ended_; }
  int result() const { return result_; }

 private:
  friend class Ui;
  Ui& ui_;
  const DialogTemplate& template_;
  DialogControls* controls_ = nullptr;
  bool ended_ = false;
  int result_ = kIdCancel;
};

// Moves values between fields and controls; a failed validation shows its
// message once, puts the focus back on the control and stops the exchange
// (later calls do nothing). Int accepts blanks around an optional sign and
// digits; a number beyond the int range is taken as the nearest int. IntRange
// and Text with maxChars take the value into the field before reporting it.
// Date fails without a message when the picker's date cannot be represented,
// so that the dialog can say so in its own words.
class DataExchange {
 public:
  DataExchange(Dialog& dialog, bool save) : dialog_(dialog), save_(save) {}
  bool saving() const { return save_; }
  bool failed() const { return failed_; }

  void Int(int id, int& value);
  void IntRange(int id, int& value, int min, int max);
  void Text(int id, std::string& value, int maxChars = -1);
  void Check(int id, int& value);
  // value is the index of the checked radio button of the group starting at firstId.
  void Radio(int firstId, int& value);
  void SliderPos(int id, int& value);
  void Date(int id, DateTime& value);

 private:
  void Fail(const std::string& message, int id);
  Dialog& dialog_;
  bool save_;
  bool failed_ = false;
};

}  // namespace vesk
