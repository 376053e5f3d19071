#pragma once
// A device context: the screen (a window being painted) or a printer page.
#include <string_view>

#include "platform/font.h"
#include "platform/types.h"

namespace vesk {

enum class BkMode { Opaque, Transparent };

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual bool IsPrinter() const = 0;
  // Colours the device can show; more than 20 means no palette is needed.
  virtual int ColorCount() const = 0;

  // Selects a font (none selects the context's default font); returns the previous one.
  virtual const Font* SelectFont(const Font* font) = 0;
  virtual Size TextExtent(std::string_view text) = 0;

  virtual Color SetTextColor(Color c) = 0;
  virtual Color SetBkColor(Color c) = 0;
  virtual Color TextColor() const = 0;
  virtual Color BkColor() const = 0;
  virtual void SetBkMode(BkMode mode) = 0;
  // Text with its top-left at (x, y); in opaque mode on the background colour.
  virtual void TextOut(int x, int y, std::string_view text) = 0;

  // Solid fill; also makes c the background colour of following text, as a
  // solid-brush fill of the original does through ExtTextOut.
  virtual void FillSolidRect(const Rect& r, Color c) = 0;
  // A one-pixel line in colour c from (x1, y1) up to but not including (x2, y2).
  virtual void Line(int x1, int y1, int x2, int y2, Color c) = 0;
  // One-pixel frame of r: topLeft on the top and left edges, bottomRight on the others.
  virtual void Draw3dRect(const Rect& r, Color topLeft, Color bottomRight) = 0;
  // A rectangle outlined in black and filled with c.
  virtual void Rectangle(const Rect& r, Color fill) = 0;

  // On a printer page, shrinks what is drawn from now on evenly, so that
  // content of this size (from 0,0, in the canvas's units) fits the printable
  // area; content that fits keeps its size. The screen ignores it.
  virtual void FitOnPage(Size content) = 0;
};

}  // namespace vesk
