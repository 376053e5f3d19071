#include "platform/dialog.h"

#include <cctype>
#include <climits>
#include <string_view>

#include "platform/ui.h"
#include "platform/utf8.h"

namespace vesk {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole number with optional blanks around it and an optional sign; values
// beyond the int range become the nearest int, as the C library's strtol does.
std::optional<int> ParseInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    if (value <= INT_MAX) value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// Replaces %1, %2, ... with the arguments, as the framework's message formatting does.
std::string FormatMessage(std::string_view pattern, std::initializer_list<int> args) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
        static_cast<std::size_t>(pattern[i + 1] - '1') < args.size()) {
      out += std::to_string(*(args.begin() + (pattern[i + 1] - '1')));
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

const ControlTemplate* DialogTemplate::Find(int controlId) const {
  for (const ControlTemplate& c : controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

std::vector<int> DialogTemplate::RadioGroup(int controlId) const {
  std::vector<int> group;
  bool found = false;
  for (const ControlTemplate& c : controls) {
    if (c.kind != ControlKind::RadioButton || c.groupStart) {
      if (found) break;
      group.clear();
    }
    if (c.kind != ControlKind::RadioButton) continue;
    group.push_back(c.id);
    found = found || c.id == controlId;
  }
  if (!found) group.clear();
  return group;
}

int Dialog::DoModal(Window* owner) { return ui_.RunDialog(*this, owner); }

bool Dialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void Dialog::OnCommand(int id, int /*code*/) {
  if (id == kIdOk) {
    OnOK();
  } else if (id == kIdCancel) {
    OnCancel();
  }
}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(kIdOk);
}

void Dialog::OnCancel() { EndDialog(kIdCancel); }

void Dialog::OnDismiss() { OnCommand(kIdCancel, 0); }

bool Dialog::UpdateData(bool save) {
  if (controls_ == nullptr) return false;
  DataExchange dx(*this, save);
  DoDataExchange(dx);
  return !dx.failed();
}

void Dialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
}

void DataExchange::Fail(const std::string& message, int id) {
  failed_ = true;
  if (!message.empty()) dialog_.ui().Show(message, MbButtons::Ok);
  dialog_.controls().SetFocus(id);
}

void DataExchange::Int(int id, int& value) {
  if (failed_) return;
  if (!save_) {
    dialog_.controls().SetText(id, std::to_string(value));
    return;
  }
  const std::optional<int> parsed = ParseInteger(dialog_.controls().Text(id));
  if (!parsed) {
    Fail(kEnterInteger, id);
    return;
  }
  value = *parsed;
}

void DataExchange::IntRange(int id, int& value, int min, int max) {
  Int(id, value);
  if (failed_ || !save_) return;
  if (value < min || value > max) Fail(FormatMessage(kEnterIntegerBetween, {min, max}), id);
}

void DataExchange::Text(int id, std::string& value, int maxChars) {
  if (failed_) return;
  if (!save_) {
    dialog_.controls().SetText(id, value);
    return;
  }
  value = dialog_.controls().Text(id);
  if (maxChars >= 0 && Utf8Length(value) > static_cast<std::size_t>(maxChars)) {
    Fail(FormatMessage(kEnterNoMoreThan, {maxChars}), id);
  }
}

void DataExchange::Check(int id, int& value) {
  if (failed_) return;
  if (save_) {
    value = dialog_.controls().IsChecked(id) ? 1 : 0;
  } else {
    dialog_.controls().SetChecked(id, value != 0);
  }
}

void DataExchange::Radio(int firstId, int& value) {
  if (failed_) return;
  const std::vector<int> group = dialog_.dialogTemplate().RadioGroup(firstId);
  if (save_) {
    value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (dialog_.controls().IsChecked(group[i])) {
        value = static_cast<int>(i);
        break;
      }
    }
  } else {
    for (std::size_t i = 0; i < group.size(); ++i) {
      dialog_.controls().SetChecked(group[i], static_cast<int>(i) == value);
    }
  }
}

void DataExchange::SliderPos(int id, int& value) {
  if (failed_) return;
  if (save_) {
    value = dialog_.controls().Pos(id);
  } else {
    dialog_.controls().SetPos(id, value);
  }
}

void DataExchange::Date(int id, DateTime& value) {
  if (failed_) return;
  if (!save_) {
    dialog_.controls().SetDateTime(id, value);
    return;
  }
  const std::optional<DateTime> shown = dialog_.controls().GetDateTime(id);
  if (!shown) {
    Fail({}, id);
    return;
  }
  value = *shown;
}

}  // namespace vesk
