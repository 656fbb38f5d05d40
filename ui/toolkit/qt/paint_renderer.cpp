#include "paint_renderer.h"

#include <QFontMetrics>
#include <QHash>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <QtWidgets/qdrawutil.h>

#include <algorithm>
#include <map>
#include <tuple>

namespace tk::qt {
namespace {

QColor ToQColor(Color c) {
  return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c), ColorAlpha(c));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

using FontKey = std::tuple<std::u16string, int, bool, bool, bool>;

QPainterPath RoundedPath(const QRectF& r, Size round) {
  QPainterPath path;
  const qreal rx = std::min<qreal>(round.cx, r.width() / 2);
  const qreal ry = std::min<qreal>(round.cy, r.height() / 2);
  if (rx > 0 && ry > 0)
    path.addRoundedRect(r, rx, ry);
  else
    path.addRect(r);
  return path;
}

bool IsRound(Size round) { return round.cx > 0 && round.cy > 0; }

void Fill(QPainter& p, const DrawOp& op) {
  if (ColorAlpha(op.color) == 0 || op.rect.IsEmpty()) return;
  if (!IsRound(op.round)) {
    p.fillRect(ToQRect(op.rect), ToQColor(op.color));
    return;
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.fillPath(RoundedPath(ToQRect(op.rect), op.round), ToQColor(op.color));
  p.restore();
}

void Border(QPainter& p, const DrawOp& op) {
  if (ColorAlpha(op.color) == 0 || op.rect.IsEmpty() || op.width <= 0) return;
  const int w = std::min({op.width, op.rect.Width() / 2, op.rect.Height() / 2});
  if (w <= 0) return;
  const QRectF outer = ToQRect(op.rect);
  const QRectF inner = outer.adjusted(w, w, -w, -w);
  QPainterPath path = RoundedPath(outer, op.round);
  path.addPath(RoundedPath(inner, {std::max(0, op.round.cx - w), std::max(0, op.round.cy - w)}));
  path.setFillRule(Qt::OddEvenFill);
  p.save();
  p.setRenderHint(QPainter::Antialiasing, IsRound(op.round));
  p.fillPath(path, ToQColor(op.color));
  p.restore();
}

void Line(QPainter& p, const DrawOp& op) {
  if (ColorAlpha(op.color) == 0) return;
  p.save();
  QPen pen(ToQColor(op.color), std::max(1, op.width));
  pen.setCapStyle(Qt::FlatCap);
  p.setPen(pen);
  const bool straight = op.rect.left == op.rect.right || op.rect.top == op.rect.bottom;
  p.setRenderHint(QPainter::Antialiasing, !straight);
  // Pixel-centred so a one-pixel line covers exactly one row or column.
  const qreal off = (std::max(1, op.width) % 2) ? 0.5 : 0.0;
  p.drawLine(QPointF(op.rect.left + off, op.rect.top + off), QPointF(op.rect.right + off, op.rect.bottom + off));
  p.restore();
}

void Image(QPainter& p, const DrawOp& op) {
  if (op.rect.IsEmpty() || op.image.empty() || op.fade == 0) return;
  const QPixmap pm = ImageFor(op.image);
  if (pm.isNull()) return;
  QRect source = op.source.IsEmpty() ? pm.rect() : ToQRect(op.source).intersected(pm.rect());
  if (source.isEmpty()) return;
  p.save();
  if (op.fade < 255) p.setOpacity(op.fade / 255.0);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  const QRect target = ToQRect(op.rect);
  const Rect& c = op.corner;
  if (c.left > 0 || c.top > 0 || c.right > 0 || c.bottom > 0) {
    // Edges no wider than half of the image part or of the target.
    const int w = std::min(source.width(), target.width()) / 2;
    const int h = std::min(source.height(), target.height()) / 2;
    const QMargins margins(std::clamp(c.left, 0, w), std::clamp(c.top, 0, h), std::clamp(c.right, 0, w),
                           std::clamp(c.bottom, 0, h));
    qDrawBorderPixmap(&p, target, margins, pm, source, margins, QTileRules());
  } else {
    p.drawPixmap(target, pm, source);
  }
  p.restore();
}

Qt::Alignment Alignment(UINT format) {
  Qt::Alignment a;
  if (format & DT_CENTER) a |= Qt::AlignHCenter;
  else if (format & DT_RIGHT) a |= Qt::AlignRight;
  else a |= Qt::AlignLeft;
  if (format & DT_VCENTER) a |= Qt::AlignVCenter;
  else if (format & DT_BOTTOM) a |= Qt::AlignBottom;
  else a |= Qt::AlignTop;
  return a;
}

// Lays the text out in lines of `width`; when they do not fit in `height`
// and `ellipsis` is set, the last line that fits ends with "…".
QStringList WrapLines(const QString& text, const QFont& font, int width, int height, bool ellipsis) {
  QStringList lines;
  const QFontMetrics fm(font);
  const int lineHeight = fm.lineSpacing();
  const int maxLines = std::max(1, height / std::max(1, lineHeight));
  const QStringList paragraphs = QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                     .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                                     .split(QLatin1Char('\n'));
  for (const QString& para : paragraphs) {
    if (para.isEmpty()) {
      lines << QString();
      continue;
    }
    QTextLayout layout(para, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      lines << para.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
  }
  if (ellipsis && lines.size() > maxLines) {
    QString last = lines[maxLines - 1];
    for (int i = maxLines; i < lines.size(); ++i) last += lines[i];
    lines = lines.mid(0, maxLines);
    lines.back() = fm.elidedText(last, Qt::ElideRight, width);
  }
  return lines;
}

void Text(QPainter& p, const PaintList& list, const DrawOp& op) {
  if (op.text.empty() || op.rect.IsEmpty()) return;
  const QFont& font = FontFor(list.Font(op.font));
  // A text colour of "none" still has to be readable.
  const QColor color = op.color == kNoColor ? QColor(Qt::black) : ToQColor(op.color);
  if (color.alpha() == 0) return;
  p.save();
  p.setFont(font);
  p.setPen(color);
  const QRect rect = ToQRect(op.rect);
  p.setClipRect(rect, Qt::IntersectClip);
  QString text = ToQString(op.text);
  const Qt::Alignment align = Alignment(op.format);
  if ((op.format & DT_SINGLELINE) || !(op.format & DT_WORDBREAK)) {
    if (op.format & DT_SINGLELINE) {
      text.replace(QLatin1String("\r\n"), QLatin1String(" "));
      text.replace(QLatin1Char('\n'), QLatin1Char(' '));
      text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    if (op.format & DT_END_ELLIPSIS) {
      QStringList lines = text.split(QLatin1Char('\n'));
      const QFontMetrics fm(font);
      for (QString& l : lines) l = fm.elidedText(l, Qt::ElideRight, rect.width());
      text = lines.join(QLatin1Char('\n'));
    }
    p.drawText(rect, static_cast<int>(align) | Qt::TextDontClip, text);
  } else {
    const QStringList lines = WrapLines(text, font, rect.width(), rect.height(), op.format & DT_END_ELLIPSIS);
    p.drawText(rect, static_cast<int>(align) | Qt::TextDontClip, lines.join(QLatin1Char('\n')));
  }
  p.restore();
}

}  // namespace

const QFont& FontFor(const FontSpec& spec) {
  static std::map<FontKey, QFont> cache;
  FontKey key{spec.family, spec.size, spec.bold, spec.italic, spec.underline};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  QFont font(spec.family.empty() ? QStringLiteral("WenQuanYi Micro Hei") : ToQString(spec.family));
  font.setPixelSize(std::clamp(spec.size, 1, 400));
  font.setBold(spec.bold);
  font.setItalic(spec.italic);
  font.setUnderline(spec.underline);
  font.setStyleHint(QFont::SansSerif);
  return cache.emplace(key, font).first->second;
}

int TextWidth(const FontSpec& spec, std::u16string_view text) {
  return QFontMetrics(FontFor(spec)).horizontalAdvance(ToQString(text));
}

// The advance from one line to the next, as drawText uses it.
int LineHeight(const FontSpec& spec) { return QFontMetrics(FontFor(spec)).lineSpacing(); }

namespace {
QHash<QString, QPixmap>& ImageCache() {
  static QHash<QString, QPixmap> cache;
  return cache;
}
}  // namespace

QPixmap ImageFor(const std::u16string& path) {
  const QString key = ToQString(path);
  auto& cache = ImageCache();
  auto it = cache.find(key);
  if (it != cache.end()) return *it;
  QImageReader reader(key);
  reader.setAutoTransform(false);
  QPixmap pm;
  // A broken or huge file draws nothing rather than stalling the window.
  const QSize size = reader.size();
  if (size.isValid() && size.width() <= 8192 && size.height() <= 8192) {
    const QImage image = reader.read();
    if (!image.isNull()) pm = QPixmap::fromImage(image);
  }
  if (cache.size() >= 1024) cache.clear();  // a skin with endless images stays bounded
  cache.insert(key, pm);
  return pm;
}

void ClearImageCache() { ImageCache().clear(); }

void DrawPaintList(QPainter& painter, const PaintList& list) {
  int clipDepth = 0;
  for (const DrawOp& op : list.ops) {
    switch (op.kind) {
      case DrawKind::kFill: Fill(painter, op); break;
      case DrawKind::kBorder: Border(painter, op); break;
      case DrawKind::kImage: Image(painter, op); break;
      case DrawKind::kText: Text(painter, list, op); break;
      case DrawKind::kLine: Line(painter, op); break;
      case DrawKind::kCaret: {
        const QColor c = op.color == kNoColor ? QColor(Qt::black) : ToQColor(op.color);
        painter.fillRect(ToQRect(op.rect), c);
        break;
      }
      case DrawKind::kPushClip:
        painter.save();
        ++clipDepth;
        if (IsRound(op.round))
          painter.setClipPath(RoundedPath(ToQRect(op.rect), op.round), Qt::IntersectClip);
        else
          painter.setClipRect(ToQRect(op.rect), Qt::IntersectClip);
        break;
      case DrawKind::kPopClip:
        if (clipDepth > 0) {
          painter.restore();
          --clipDepth;
        }
        break;
    }
  }
  while (clipDepth-- > 0) painter.restore();
}

Rect CaretRect(const PaintList& list) {
  for (auto it = list.ops.rbegin(); it != list.ops.rend(); ++it)
    if (it->kind == DrawKind::kCaret) return it->rect;
  return {};
}

}  // namespace tk::qt
