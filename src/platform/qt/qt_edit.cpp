#include "platform/qt/qt_edit.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/qt_text.h"

namespace vesk {
namespace {

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

QtWrapEdit::QtWrapEdit(QWidget* parent) : QtEditWidget<QPlainTextEdit>(parent) {
  setFrameShape(QFrame::NoFrame);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  document()->setDocumentMargin(0);
  // Never scrolls: the control keeps showing the text's first line, however
  // far the caret goes. The widget scrolls the caret into view once it has
  // moved, so the first line comes back after that.
  QObject::connect(
      this, &QPlainTextEdit::cursorPositionChanged, this,
      [this] {
        verticalScrollBar()->setValue(0);
        horizontalScrollBar()->setValue(0);
      },
      Qt::QueuedConnection);
}

bool QtWrapEdit::viewportEvent(QEvent* event) {
  if (edit() != nullptr && event->type() == QEvent::Wheel)
    return WheelEvent(static_cast<QWheelEvent&>(*event));
  return QPlainTextEdit::viewportEvent(event);
}

QtEdit::QtEdit(EditControl& control, QWidget& parentClient, const Rect& rect,
               const EditOptions& options, std::function<void()> uncovered)
    : uncovered_(std::move(uncovered)), control_(control), options_(options) {
  if (options.multiline) {
    wrap_ = new QtWrapEdit(&parentClient);
    QtWrapEdit* wrap = wrap_;
    QObject::connect(wrap->document(), &QTextDocument::contentsChange, wrap,
                     [wrap](int position, int /*removed*/, int added) {
                       if (QtEdit* edit = wrap->edit()) {
                         edit->insertedEnd_ = position + added;
                         edit->inserted_ = added;
                       }
                     });
    QObject::connect(wrap, &QPlainTextEdit::textChanged, wrap, [wrap] {
      if (QtEdit* edit = wrap->edit()) edit->EnforceLimit();
    });
    wrap->Attach(this);
  } else {
    line_ = new QtLineEdit(&parentClient);
    line_->setFrame(false);
    QtLineEdit* line = line_;
    QObject::connect(line, &QLineEdit::textChanged, line, [line] {
      if (QtEdit* edit = line->edit()) edit->TextChanged();
    });
    line_->Attach(this);
  }
  widget()->hide();
  widget()->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
  SetLimit(options.limit);
}

QtEdit::~QtEdit() { Destroy(); }

QWidget* QtEdit::widget() const {
  if (line_) return line_.data();
  return wrap_.data();
}

void QtEdit::Destroy() {
  QWidget* gone = widget();
  if (gone == nullptr) return;
  const bool wasVisible = gone->isVisible();
  if (line_) line_->Attach(nullptr);
  if (wrap_) wrap_->Attach(nullptr);
  gone->hide();
  gone->deleteLater();
  line_ = nullptr;
  wrap_ = nullptr;
  if (wasVisible && uncovered_) uncovered_();
}

void QtEdit::SetWindowRect(const Rect& rect) {
  if (QWidget* w = widget()) w->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
}

Rect QtEdit::WindowRect() const {
  const QWidget* w = widget();
  if (w == nullptr) return {};
  const QPoint origin = w->mapToGlobal(QPoint(0, 0));
  return Rect::FromSize(origin.x(), origin.y(), w->width(), w->height());
}

Rect QtEdit::ClientRect() const {
  const QWidget* w = widget();
  return w ? Rect{0, 0, w->width(), w->height()} : Rect{};
}

void QtEdit::Show(bool visible) {
  QWidget* w = widget();
  if (w == nullptr) return;
  if (!visible && w->hasFocus()) {
    // The focus leaves a control as it hides, so its loss is reported now.
    WindowRef ref = control_.Ref();
    w->clearFocus();
    if (ref.get() == nullptr || widget() == nullptr) return;
  }
  const bool hiding = !visible && w->isVisible();
  w->setVisible(visible);
  if (hiding && uncovered_) uncovered_();
}

bool QtEdit::IsVisible() const { return widget() && widget()->isVisible(); }

void QtEdit::BringToTop() {
  if (QWidget* w = widget()) w->raise();
}

void QtEdit::Enable(bool enabled) {
  if (QWidget* w = widget()) w->setEnabled(enabled);
}

bool QtEdit::IsEnabled() const { return widget() && widget()->isEnabled(); }

void QtEdit::Invalidate(bool /*erase*/) {
  if (QWidget* w = widget()) w->update();
}

void QtEdit::SetFocus() {
  if (QWidget* w = widget()) w->setFocus(Qt::OtherFocusReason);
}

std::unique_ptr<Canvas> QtEdit::ClientCanvas() {
  return std::make_unique<ScratchCanvas>(widget() ? widget()->font() : QApplication::font());
}

void QtEdit::SetText(std::string_view text) {
  if (line_) {
    {
      const QSignalBlocker blocker(line_.data());
      line_->setText(ToQString(text));
    }
    // The desktop's single-line control reports a text set by the program,
    // even the same text (owners keep their copy of the text by it).
    TextChanged();
  } else if (wrap_) {
    // The multi-line one does not.
    const QSignalBlocker blocker(wrap_.data());
    wrap_->setPlainText(ToQString(text));
    lastText_ = wrap_->toPlainText();
  }
}

std::string QtEdit::Text() const {
  if (line_) return ToStdString(line_->text());
  if (wrap_) return ToStdString(wrap_->toPlainText());
  return {};
}

void QtEdit::SetLimit(int characters) {
  limit_ = characters > 0 ? characters : kDefaultLimit;
  if (line_) line_->setMaxLength(limit_);
}

void QtEdit::EnforceLimit() {
  if (trimming_) return;
  const QString text = wrap_->toPlainText();
  const int excess = static_cast<int>(text.toUcs4().size()) - limit_;
  if (excess > 0 && inserted_ > 0) {
    // Back from the insertion's end by as many characters as are too many,
    // but no further than the insertion: typing past the limit is refused,
    // a paste is cut to fit.
    const int begin = insertedEnd_ - inserted_;
    int from = insertedEnd_;
    for (int n = 0; n < excess && from > begin; ++n) {
      from -= from - 1 > begin && text.at(from - 1).isLowSurrogate() ? 2 : 1;
    }
    QTextCursor cut(wrap_->document());
    cut.setPosition(from);
    cut.setPosition(insertedEnd_, QTextCursor::KeepAnchor);
    trimming_ = true;
    cut.joinPreviousEditBlock();
    cut.removeSelectedText();
    cut.endEditBlock();
    trimming_ = false;
  }
  inserted_ = 0;
  const QString now = wrap_->toPlainText();
  if (now == lastText_) return;  // the whole edit was refused
  lastText_ = now;
  TextChanged();
}

void QtEdit::GetSel(int& start, int& end) const {
  start = end = 0;
  if (line_) {
    const QString text = line_->text();
    int from = line_->cursorPosition();
    int to = from;
    if (line_->hasSelectedText()) {
      from = line_->selectionStart();
      to = line_->selectionEnd();
    }
    start = ToCodePoints(text, from);
    end = ToCodePoints(text, to);
  } else if (wrap_) {
    const QString text = wrap_->toPlainText();
    const QTextCursor cursor = wrap_->textCursor();
    start = ToCodePoints(text, cursor.selectionStart());
    end = ToCodePoints(text, cursor.selectionEnd());
  }
}

void QtEdit::SetSel(int start, int end) {
  if (line_) {
    const QString text = line_->text();
    if (start < 0) {
      line_->deselect();
      return;
    }
    const int from = ToUtf16(text, start);
    const int to = end < 0 ? static_cast<int>(text.size()) : ToUtf16(text, end);
    line_->setSelection(std::min(from, to), std::abs(to - from));
  } else if (wrap_) {
    const QString text = wrap_->toPlainText();
    QTextCursor cursor = wrap_->textCursor();
    if (start < 0) {
      cursor.clearSelection();
    } else {
      cursor.setPosition(ToUtf16(text, start));
      cursor.setPosition(end < 0 ? static_cast<int>(text.size()) : ToUtf16(text, end),
                         QTextCursor::KeepAnchor);
    }
    wrap_->setTextCursor(cursor);
  }
}

void QtEdit::Cut() {
  if (line_) line_->cut();
  if (wrap_) wrap_->cut();
}

void QtEdit::Copy() {
  if (line_) line_->copy();
  if (wrap_) wrap_->copy();
}

void QtEdit::Paste() {
  if (line_) line_->paste();
  if (wrap_) wrap_->paste();
}

void QtEdit::Undo() {
  if (line_) line_->undo();
  if (wrap_) wrap_->undo();
}

bool QtEdit::CanUndo() const {
  if (line_) return line_->isUndoAvailable();
  return wrap_ && wrap_->document()->isUndoAvailable();
}

void QtEdit::ScrollCaret() {
  // A QLineEdit scrolls its caret into view whenever the caret moves; the
  // multi-line control never scrolls.
}

void QtEdit::SetFont(const Font* font) {
  if (QWidget* w = widget()) {
    w->setFont(font != nullptr ? ToQFont(font->record(), QApplication::font())
                               : QApplication::font());
  }
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
