#include "platform/qt/qt_edit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_keys.h"
#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

constexpr int kWheelNotch = 120;
// The standard edit control's limit when none is set.
constexpr int kDefaultLimit = 30000;

// Character offsets of the program (code points) to and from QString offsets.
int ToCodePoints(const QString& text, int utf16) {
  return static_cast<int>(text.left(utf16).toUcs4().size());
}

int ToUtf16(const QString& text, int codePoints) {
  int offset = 0;
  for (int n = 0; n < codePoints && offset < text.size(); ++n) {
    offset += text.at(offset).isHighSurrogate() && offset + 1 < text.size() ? 2 : 1;
  }
  return offset;
}

// Drawing on an edit control goes to an image nobody shows: the control draws itself.
struct ScratchPainter {
  ScratchPainter() : image(1, 1, QImage::Format_RGB32), painter(&image) {}
  QImage image;
  QPainter painter;
};

class ScratchCanvas : private ScratchPainter, public QtCanvas {
 public:
  explicit ScratchCanvas(const QFont& font) : QtCanvas(painter, false, font) {}
};

}  // namespace

bool QtLineEdit::event(QEvent* event) {
  if (edit_ == nullptr) return QLineEdit::event(event);
  switch (event->type()) {
    case QEvent::KeyPress: {
      const int vk = VirtualKeyOf(static_cast<QKeyEvent&>(*event));
      // Tab moves nothing and inserts nothing in the control.
      if (vk != 0 && edit_->KeyDown(vk)) return true;
      if (edit_ == nullptr || vk == kVkTab) return true;
      break;
    }
    case QEvent::Wheel: {
      auto& wheel = static_cast<QWheelEvent&>(*event);
      wheelRemainder_ += wheel.angleDelta().y();
      const int notches = wheelRemainder_ / kWheelNotch;
      if (notches == 0) return true;
      wheelRemainder_ -= notches * kWheelNotch;
      // Declined, it goes on to the parent window.
      wheel.setAccepted(edit_->Wheel(notches * kWheelNotch));
      return true;
    }
    case QEvent::FocusOut: {
      const bool result = QLineEdit::event(event);
      // A menu opening takes the focus for a moment only.
      if (edit_ != nullptr && static_cast<QFocusEvent&>(*event).reason() != Qt::PopupFocusReason) {
        edit_->FocusLost();
      }
      return result;
    }
    default:
      break;
  }
  return QLineEdit::event(event);
}

QtEdit::QtEdit(EditControl& control, QWidget& parentClient, const Rect& rect,
               const EditOptions& options, std::function<void()> uncovered)
    : uncovered_(std::move(uncovered)),
      control_(control),
      options_(options),
      line_(new QtLineEdit(&parentClient)) {
  line_->hide();
  line_->setFrame(false);
  line_->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  SetLimit(options.limit);
  QtLineEdit* line = line_;
  QObject::connect(line, &QLineEdit::textChanged, line, [line] {
    if (QtEdit* edit = line->edit()) edit->TextChanged();
  });
  line_->Attach(this);
}

QtEdit::~QtEdit() { Destroy(); }

void QtEdit::Destroy() {
  if (!line_) return;
  const bool wasVisible = line_->isVisible();
  line_->Attach(nullptr);
  line_->hide();
  line_->deleteLater();
  line_ = nullptr;
  if (wasVisible && uncovered_) uncovered_();
}

void QtEdit::SetWindowRect(const Rect& rect) {
  if (line_) line_->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

Rect QtEdit::WindowRect() const {
  if (!line_) return {};
  const QPoint origin = line_->mapToGlobal(QPoint(0, 0));
  return Rect::FromSize(origin.x(), origin.y(), line_->width(), line_->height());
}

Rect QtEdit::ClientRect() const {
  return line_ ? Rect{0, 0, line_->width(), line_->height()} : Rect{};
}

void QtEdit::Show(bool visible) {
  if (!line_) return;
  if (!visible && line_->hasFocus()) {
    // The focus leaves a control as it hides, so its loss is reported now.
    WindowRef ref = control_.Ref();
    line_->clearFocus();
    if (ref.get() == nullptr || !line_) return;
  }
  const bool hiding = !visible && line_->isVisible();
  line_->setVisible(visible);
  if (hiding && uncovered_) uncovered_();
}

bool QtEdit::IsVisible() const { return line_ && line_->isVisible(); }

void QtEdit::BringToTop() {
  if (line_) line_->raise();
}

void QtEdit::Enable(bool enabled) {
  if (line_) line_->setEnabled(enabled);
}

bool QtEdit::IsEnabled() const { return line_ && line_->isEnabled(); }

void QtEdit::Invalidate(bool /*erase*/) {
  if (line_) line_->update();
}

void QtEdit::SetFocus() {
  if (line_) line_->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<Canvas> QtEdit::ClientCanvas() {
  return std::make_unique<ScratchCanvas>(line_ ? line_->font() : QApplication::font());
}

void QtEdit::SetText(std::string_view text) {
  if (!line_) return;
  {
    const QSignalBlocker blocker(line_.data());
    line_->setText(ToQString(text));
  }
  // The desktop's single-line control reports a text set by the program, even
  // the same text (owners keep their copy of the text by it); the multi-line
  // one does not.
  if (!options_.multiline) TextChanged();
}

std::string QtEdit::Text() const { return line_ ? ToStdString(line_->text()) : std::string(); }

void QtEdit::SetLimit(int characters) {
  if (line_) line_->setMaxLength(characters > 0 ? characters : kDefaultLimit);
}

void QtEdit::GetSel(int& start, int& end) const {
  start = end = 0;
  if (!line_) return;
  const QString text = line_->text();
  int from = line_->cursorPosition();
  int to = from;
  if (line_->hasSelectedText()) {
    from = line_->selectionStart();
    to = line_->selectionEnd();
  }
  start = ToCodePoints(text, from);
  end = ToCodePoints(text, to);
}

void QtEdit::SetSel(int start, int end) {
  if (!line_) return;
  const QString text = line_->text();
  if (start < 0) {
    line_->deselect();
    return;
  }
  const int from = ToUtf16(text, start);
  const int to = end < 0 ? static_cast<int>(text.size()) : ToUtf16(text, end);
  line_->setSelection(std::min(from, to), std::abs(to - from));
}

void QtEdit::Cut() {
  if (line_) line_->cut();
}

void QtEdit::Copy() {
  if (line_) line_->copy();
}

void QtEdit::Paste() {
  if (line_) line_->paste();
}

void QtEdit::Undo() {
  if (line_) line_->undo();
}

bool QtEdit::CanUndo() const { return line_ && line_->isUndoAvailable(); }

void QtEdit::ScrollCaret() {
  // A QLineEdit scrolls its caret into view whenever the caret moves.
}

void QtEdit::SetFont(const Font* font) {
  if (!line_) return;
  line_->setFont(font != nullptr ? ToQFont(font->record(), QApplication::font())
                                 : QApplication::font());
}

bool QtEdit::KeyDown(int vk) { return Attached() && control_.OnKeyDown(vk); }

bool QtEdit::Wheel(int delta) { return Attached() && control_.OnMouseWheel(delta); }

void QtEdit::FocusLost() {
  if (Attached()) control_.NotifyParent(kEnKillFocus);
}

void QtEdit::TextChanged() {
  if (Attached()) control_.NotifyParent(kEnChange);
}

}  // namespace vesk
