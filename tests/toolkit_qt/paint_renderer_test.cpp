// Drawing the paint list: what it draws where, and that odd operations
// (empty or inverted rectangles, huge corners, missing or broken images,
// unbalanced clips, absurd fonts) draw nothing wrong and never crash.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "qt_test_env.h"
#include "ui/toolkit/qt/paint_renderer.h"

namespace {

tk::DrawOp Op(tk::DrawKind kind, tk::Rect r, tk::Color c = 0xFF112233) {
  tk::DrawOp op;
  op.kind = kind;
  op.rect = r;
  op.color = c;
  return op;
}

QImage Draw(const tk::PaintList& list, QSize size = {100, 60}) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter p(&image);
  tk::qt::DrawPaintList(p, list);
  return image;
}

TEST(PaintRenderer, FillsBordersClipsAndText) {
  qttest::QtBackend();
  tk::PaintList list;
  list.fonts.push_back({u"WenQuanYi Micro Hei", 13});
  list.ops.push_back(Op(tk::DrawKind::kFill, {10, 10, 30, 30}, 0xFFFF0000));
  auto border = Op(tk::DrawKind::kBorder, {40, 10, 60, 30}, 0xFF0000FF);
  border.width = 2;
  list.ops.push_back(border);
  // Only the part inside the clip is drawn.
  list.ops.push_back(Op(tk::DrawKind::kPushClip, {70, 10, 80, 20}));
  list.ops.push_back(Op(tk::DrawKind::kFill, {70, 10, 90, 30}, 0xFF00FF00));
  list.ops.push_back(Op(tk::DrawKind::kPopClip, {}));
  auto text = Op(tk::DrawKind::kText, {0, 40, 100, 60}, 0xFF000000);
  text.text = u"电话";
  text.format = tk::DT_CENTER | tk::DT_VCENTER | tk::DT_SINGLELINE;
  list.ops.push_back(text);
  const QImage image = Draw(list);
  EXPECT_EQ(image.pixelColor(20, 20), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(40, 20), QColor(Qt::blue));  // the border's inner edge
  EXPECT_EQ(image.pixelColor(41, 20), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(42, 20), QColor(Qt::white));  // inside it
  EXPECT_EQ(image.pixelColor(75, 15), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(75, 25), QColor(Qt::white));  // clipped away
  EXPECT_EQ(image.pixelColor(85, 15), QColor(Qt::white));
  int dark = 0;
  for (int y = 40; y < 60; ++y)
    for (int x = 30; x < 70; ++x) dark += image.pixelColor(x, y).lightness() < 128;
  EXPECT_GT(dark, 10) << "the text was not drawn";
}

TEST(PaintRenderer, EllipsisAndMetricsAgree) {
  qttest::QtBackend();
  const tk::FontSpec font{u"WenQuanYi Micro Hei", 13};
  const int w = tk::qt::TextWidth(font, u"13800000000");
  EXPECT_GT(w, 50);
  EXPECT_LT(w, 120);
  EXPECT_EQ(tk::qt::TextWidth(font, u""), 0);
  EXPECT_GT(tk::qt::LineHeight(font), 12);
  // Elided text stays inside its rectangle.
  tk::PaintList list;
  list.fonts.push_back(font);
  auto text = Op(tk::DrawKind::kText, {0, 0, 40, 20}, 0xFF000000);
  text.text = u"一段很长很长很长的文字";
  text.format = tk::DT_LEFT | tk::DT_VCENTER | tk::DT_SINGLELINE | tk::DT_END_ELLIPSIS;
  list.ops.push_back(text);
  const QImage image = Draw(list);
  for (int y = 0; y < 60; ++y)
    for (int x = 40; x < 100; ++x) ASSERT_EQ(image.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
}

TEST(PaintRenderer, OddOperationsDrawNothingWrong) {
  qttest::QtBackend();
  QTemporaryDir dir;
  const QString broken = dir.filePath(QStringLiteral("broken.png"));
  {
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\x89PNG\r\n\x1a\n not really a picture");
  }
  const QString small = dir.filePath(QStringLiteral("small.png"));
  QImage(4, 4, QImage::Format_ARGB32).save(small);
  tk::PaintList list;  // no fonts at all
  list.ops.push_back(Op(tk::DrawKind::kPopClip, {}));  // nothing to pop
  list.ops.push_back(Op(tk::DrawKind::kFill, {50, 50, 10, 10}));  // inverted
  list.ops.push_back(Op(tk::DrawKind::kFill, {-100000, -100000, 100000, 100000}, 0));  // no colour
  auto border = Op(tk::DrawKind::kBorder, {0, 0, 100, 60});
  border.width = 1000000;
  border.round = {1000000, -5};
  list.ops.push_back(border);
  for (const QString& file : {broken, small, dir.filePath(QStringLiteral("missing.png")), QString()}) {
    auto image = Op(tk::DrawKind::kImage, {0, 0, 100, 60});
    image.image = file.toStdU16String();
    image.source = {-5, -5, 1000, 1000};
    image.corner = {500, 500, 500, 500};
    list.ops.push_back(image);
  }
  auto text = Op(tk::DrawKind::kText, {0, 0, 100, 60}, 0);
  text.text = std::u16string(20000, u'长');
  text.font = 99;  // no such font
  text.format = tk::DT_WORDBREAK | tk::DT_END_ELLIPSIS;
  list.ops.push_back(text);
  list.ops.push_back(Op(tk::DrawKind::kPushClip, {0, 0, 10, 10}));  // never popped
  list.ops.push_back(Op(tk::DrawKind::kLine, {0, 0, 100000, 100000}));
  list.ops.push_back(Op(tk::DrawKind::kCaret, {5, 5, 6, 20}, 0));
  QImage image(100, 60, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter p(&image);
  const QTransform before = p.transform();
  tk::qt::DrawPaintList(p, list);
  // The painter comes back as it was given (no clip left behind).
  EXPECT_FALSE(p.hasClipping());
  EXPECT_EQ(p.transform(), before);
  p.end();
  EXPECT_TRUE(tk::qt::ImageFor(broken.toStdU16String()).isNull());
}

}  // namespace
