#pragma once
// A Canvas over a QPainter: a window's backing image or a printer page.
#include <QFont>

#include "platform/canvas.h"

class QPainter;

namespace vesk {

class QtCanvas : public Canvas {
 public:
  // painter stays owned by the caller and must outlive the canvas; defaultFont
  // is what SelectFont(nullptr) selects.
  QtCanvas(QPainter& painter, bool printer, const QFont& defaultFont);

  bool IsPrinter() const override { return printer_; }
  int ColorCount() const override;
  const Font* SelectFont(const Font* font) override;
  Size TextExtent(std::string_view text) override;
  Color SetTextColor(Color c) override;
  Color SetBkColor(Color c) override;
  Color TextColor() const override { return text_; }
  Color BkColor() const override { return bk_; }
  void SetBkMode(BkMode mode) override { mode_ = mode; }
  void TextOut(int x, int y, std::string_view text) override;
  void FillSolidRect(const Rect& r, Color c) override;
  void Line(int x1, int y1, int x2, int y2, Color c) override;
  void Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) override;
  void Rectangle(const Rect& r, Color fill) override;
  void FitOnPage(Size content) override;

 private:
  QPainter& painter_;
  bool printer_;
  QFont defaultFont_;
  const Font* font_ = nullptr;
  // A device context starts with black text on white, opaque.
  Color text_ = 0x000000;
  Color bk_ = 0xFFFFFF;
  BkMode mode_ = BkMode::Opaque;
};

}  // namespace vesk
