#pragma once
// The text model of the headless edit control: text with a character limit,
// a selection, single-level undo (an undo undoes itself, as the desktop's
// does; a run of typed characters is one step) and the default key handling.
// Positions and the limit count characters (UTF-8 code points).
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

class EditModel {
 public:
  static constexpr int kDefaultLimit = 32767;

  explicit EditModel(bool multiline = false) : multiline_(multiline) {}

  bool multiline() const { return multiline_; }
  const std::string& text() const { return text_; }
  int Length() const;
  int limit() const { return limit_; }
  // 0 or less restores the default limit. Text already there is kept.
  void SetLimit(int chars) { limit_ = chars > 0 ? chars : kDefaultLimit; }

  // Replaces the text without regard to the limit; the caret goes to the
  // start and the undo step is forgotten.
  void SetText(std::string_view text);
  // start <= end; both equal when nothing is selected (the caret).
  void GetSel(int& start, int& end) const;
  // end -1 selects to the end; start -1 removes the selection, keeping the caret.
  void SetSel(int start, int end);
  std::string SelectedText() const;

  // The user's edits; each returns true when the text changed. An insertion
  // that would pass the limit is refused whole (typing) or cut to fit (paste).
  bool TypeText(std::string_view characters);
  // The default handling of a key that reached the control: Back and Delete
  // erase, Left, Right, Home and End move the caret, space, digits and letters
  // type themselves (letters in lower case, as the unshifted key); on a
  // multi-line control Enter types a line break and Tab a tab. Other keys do nothing.
  bool Key(int vk);
  bool Cut(std::string& clipboard);
  void Copy(std::string& clipboard) const;
  // A single-line control takes the clipboard's first line only.
  bool Paste(std::string_view clipboard);
  bool Undo();
  bool CanUndo() const { return undo_.has_value(); }
  // Insertions refused at the limit (the desktop beeps).
  int refused() const { return refused_; }

 private:
  struct Snapshot {
    std::string text;
    int selStart, selEnd;
  };
  void SaveUndo();
  void ReplaceSelection(std::string_view insert);
  void Collapse(int caret);

  bool multiline_;
  std::string text_;
  int limit_ = kDefaultLimit;
  int selStart_ = 0, selEnd_ = 0;
  std::optional<Snapshot> undo_;
  bool typing_ = false;  // the last edit was typing, which the next one joins
  int refused_ = 0;
};

}  // namespace vesk
