// Draws the core's paint list with QPainter, and measures text the way it
// is drawn (the core lays out and places the caret with these metrics).
#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

#include <string>
#include <string_view>

#include "ui/toolkit/paint.h"

class QPainter;

namespace tk::qt {

// The QFont of a font of the paint list (cached).
const QFont& FontFor(const FontSpec& spec);
int TextWidth(const FontSpec& spec, std::u16string_view text);
int LineHeight(const FontSpec& spec);

// An image file, loaded once (null pixmap when unreadable).
QPixmap ImageFor(const std::u16string& path);
// Forgets cached images (they are reloaded on the next paint).
void ClearImageCache();

// Draws every operation of the list. The painter's clip is left as found.
void DrawPaintList(QPainter& painter, const PaintList& list);

// The caret rectangle of the list (kCaret), or an empty rect.
Rect CaretRect(const PaintList& list);

}  // namespace tk::qt
