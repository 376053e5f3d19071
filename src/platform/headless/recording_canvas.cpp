#include "platform/headless/recording_canvas.h"

#include <cstdio>

namespace vesk {
namespace {

std::string RectText(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Quoted, with quotes, backslashes and line breaks escaped so a dump stays one line per op.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

}  // namespace

std::string ColorText(Color c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
  return buf;
}

std::string CanvasOp::ToString() const {
  switch (kind) {
    case Kind::Text:
      return "text " + std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
             Quoted(text) + " fg=" + ColorText(color) +
             (opaque ? " bg=" + ColorText(color2) + " opaque" : std::string(" transparent"));
    case Kind::Fill:
      return "fill " + RectText(rect) + " " + ColorText(color);
    case Kind::Line:
      return "line " + RectText(rect) + " " + ColorText(color);
    case Kind::Frame3d:
      return "frame3d " + RectText(rect) + " " + ColorText(color) + " " + ColorText(color2);
    case Kind::Rectangle:
      return "rect " + RectText(rect) + " " + ColorText(color);
    case Kind::Fit:
      return "fit " + RectText(rect);
    case Kind::Font: {
      if (!font) return "font default";
      std::string s = "font " + Quoted(font->faceName) + " " + std::to_string(font->height) + " " +
                      std::to_string(font->weight);
      if (font->italic) s += " italic";
      if (font->underline) s += " underline";
      if (font->strikeOut) s += " strikeout";
      return s;
    }
  }
  return {};
}

std::vector<std::string> DumpLines(const std::vector<CanvasOp>& ops) {
  std::vector<std::string> lines;
  lines.reserve(ops.size());
  for (const CanvasOp& op : ops) lines.push_back(op.ToString());
  return lines;
}

std::string Dump(const std::vector<CanvasOp>& ops) {
  std::string out;
  for (const CanvasOp& op : ops) out += op.ToString() + "\n";
  return out;
}

const CanvasOp* TextAt(const std::vector<CanvasOp>& ops, Point origin) {
  for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
    if (it->kind == CanvasOp::Kind::Text && it->rect.left == origin.x && it->rect.top == origin.y) {
      return &*it;
    }
  }
  return nullptr;
}

const CanvasOp* FindText(const std::vector<CanvasOp>& ops, std::string_view text) {
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Text && op.text == text) return &op;
  }
  return nullptr;
}

const CanvasOp* FillAt(const std::vector<CanvasOp>& ops, Point p) {
  for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
    const bool filled = it->kind == CanvasOp::Kind::Fill || it->kind == CanvasOp::Kind::Rectangle;
    if (filled && p.x >= it->rect.left && p.x < it->rect.right && p.y >= it->rect.top &&
        p.y < it->rect.bottom) {
      return &*it;
    }
  }
  return nullptr;
}

std::vector<const CanvasOp*> OpsOfKind(const std::vector<CanvasOp>& ops, CanvasOp::Kind kind) {
  std::vector<const CanvasOp*> found;
  for (const CanvasOp& op : ops) {
    if (op.kind == kind) found.push_back(&op);
  }
  return found;
}

RecordingCanvas::RecordingCanvas(bool printer, int colorCount, std::vector<CanvasOp>* sink)
    : printer_(printer), colorCount_(colorCount), ops_(sink != nullptr ? sink : &own_) {}

FontMetrics RecordingCanvas::Metrics() const {
  if (font_ != nullptr) return MetricsOf(font_->record());
  return printer_ ? kPrinterDefaultFont : kScreenDefaultFont;
}

CanvasOp& RecordingCanvas::Add(CanvasOp::Kind kind, const Rect& rect, Color color) {
  CanvasOp& op = ops_->emplace_back();
  op.kind = kind;
  op.rect = rect;
  op.color = color;
  return op;
}

const Font* RecordingCanvas::SelectFont(const Font* font) {
  const Font* previous = font_;
  font_ = font;
  CanvasOp& op = Add(CanvasOp::Kind::Font, {}, 0);
  if (font != nullptr) op.font = font->record();
  return previous;
}

Size RecordingCanvas::TextExtent(std::string_view text) { return TextExtentOf(Metrics(), text); }

Color RecordingCanvas::SetTextColor(Color c) {
  const Color previous = textColor_;
  textColor_ = c;
  return previous;
}

Color RecordingCanvas::SetBkColor(Color c) {
  const Color previous = bkColor_;
  bkColor_ = c;
  return previous;
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text) {
  const Size extent = TextExtent(text);
  CanvasOp& op = Add(CanvasOp::Kind::Text, Rect::FromSize(x, y, extent.cx, extent.cy), textColor_);
  op.text = text;
  op.color2 = bkColor_;
  op.opaque = bkMode_ == BkMode::Opaque;
}

void RecordingCanvas::FillSolidRect(const Rect& r, Color c) {
  bkColor_ = c;
  Add(CanvasOp::Kind::Fill, r, c);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, Color c) {
  Add(CanvasOp::Kind::Line, {x1, y1, x2, y2}, c);
}

void RecordingCanvas::Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) {
  Add(CanvasOp::Kind::Frame3d, r, topLeft).color2 = bottomRight;
}

void RecordingCanvas::Rectangle(const Rect& r, Color fill) {
  Add(CanvasOp::Kind::Rectangle, r, fill);
}

void RecordingCanvas::FitOnPage(Size content) {
  if (printer_) Add(CanvasOp::Kind::Fit, {0, 0, content.cx, content.cy}, 0);
}

}  // namespace vesk
