#include "platform/headless/edit_model.h"

#include <algorithm>

#include "platform/types.h"
#include "platform/utf8.h"

namespace vesk {

int EditModel::Length() const { return static_cast<int>(Utf8Length(text_)); }

void EditModel::SetText(std::string_view text) {
  text_ = text;
  selStart_ = selEnd_ = 0;
  undo_.reset();
  typing_ = false;
}

void EditModel::GetSel(int& start, int& end) const {
  start = selStart_;
  end = selEnd_;
}

void EditModel::SetSel(int start, int end) {
  typing_ = false;
  const int length = Length();
  if (start < 0) {
    Collapse(selEnd_);
    return;
  }
  if (end < 0 || end > length) end = length;
  start = std::min(start, length);
  selStart_ = std::min(start, end);
  selEnd_ = std::max(start, end);
}

std::string EditModel::SelectedText() const {
  const std::size_t from = Utf8Offset(text_, selStart_);
  return text_.substr(from, Utf8Offset(text_, selEnd_) - from);
}

void EditModel::SaveUndo() { undo_ = Snapshot{text_, selStart_, selEnd_}; }

void EditModel::ReplaceSelection(std::string_view insert) {
  const std::size_t from = Utf8Offset(text_, selStart_);
  text_.replace(from, Utf8Offset(text_, selEnd_) - from, insert);
  Collapse(selStart_ + static_cast<int>(Utf8Length(insert)));
}

void EditModel::Collapse(int caret) { selStart_ = selEnd_ = std::clamp(caret, 0, Length()); }

bool EditModel::TypeText(std::string_view characters) {
  const int added = static_cast<int>(Utf8Length(characters));
  if (Length() - (selEnd_ - selStart_) + added > limit_) {
    ++refused_;
    return false;
  }
  if (!typing_) SaveUndo();
  ReplaceSelection(characters);
  typing_ = true;
  return true;
}

bool EditModel::Key(int vk) {
  if (vk == ' ' || (vk >= '0' && vk <= '9')) return TypeText(std::string(1, static_cast<char>(vk)));
  if (vk >= 'A' && vk <= 'Z') return TypeText(std::string(1, static_cast<char>(vk - 'A' + 'a')));
  if (multiline_ && vk == kVkReturn) return TypeText("\r\n");
  if (multiline_ && vk == kVkTab) return TypeText("\t");
  const bool selected = selStart_ != selEnd_;
  switch (vk) {
    case kVkBack:
    case kVkDelete:
      if (!selected && vk == kVkBack) {
        if (selStart_ == 0) return false;
        --selStart_;  // the character before the caret
      } else if (!selected) {
        if (selEnd_ == Length()) return false;
        ++selEnd_;  // the character after the caret
      }
      typing_ = false;
      SaveUndo();
      ReplaceSelection({});
      return true;
    case kVkLeft:
      typing_ = false;
      Collapse(selected ? selStart_ : selStart_ - 1);
      return false;
    case kVkRight:
      typing_ = false;
      Collapse(selected ? selEnd_ : selEnd_ + 1);
      return false;
    case kVkHome:
      typing_ = false;
      Collapse(0);
      return false;
    case kVkEnd:
      typing_ = false;
      Collapse(Length());
      return false;
    default:
      return false;
  }
}

bool EditModel::Cut(std::string& clipboard) {
  if (selStart_ == selEnd_) return false;
  clipboard = SelectedText();
  typing_ = false;
  SaveUndo();
  ReplaceSelection({});
  return true;
}

void EditModel::Copy(std::string& clipboard) const {
  if (selStart_ != selEnd_) clipboard = SelectedText();
}

bool EditModel::Paste(std::string_view clipboard) {
  if (!multiline_) clipboard = clipboard.substr(0, clipboard.find_first_of("\r\n"));
  if (clipboard.empty()) return false;
  const int room = std::max(0, limit_ - (Length() - (selEnd_ - selStart_)));
  const std::string_view fits = clipboard.substr(0, Utf8Offset(clipboard, room));
  if (fits.size() < clipboard.size()) ++refused_;
  if (fits.empty()) return false;
  typing_ = false;
  SaveUndo();
  ReplaceSelection(fits);
  return true;
}

bool EditModel::Undo() {
  if (!undo_) return false;
  Snapshot current{text_, selStart_, selEnd_};
  text_ = std::move(undo_->text);
  selStart_ = undo_->selStart;
  selEnd_ = undo_->selEnd;
  undo_ = std::move(current);
  typing_ = false;
  return true;
}

}  // namespace vesk
