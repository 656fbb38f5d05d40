// One full repaint of a 300 x 550 window: the core's paint list plus
// drawing it with QPainter, into an image (offscreen) and through the
// widget's own repaint (on the display when there is one).
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "gallery/gallery_window.h"
#include "ui/toolkit/qt/paint_renderer.h"
#include "ui/toolkit/qt/qt_backend.h"
#include "ui/toolkit/toolkit.h"
#include "skin_window.h"

namespace {

using qvbench::SkinWindow;

tk::CWindowWnd* Window(const std::u16string& skin) {
  static std::map<std::u16string, tk::CWindowWnd*> windows;
  auto& w = windows[skin];
  if (!w) {
    tk::CWindowWnd* made = skin.empty() ? static_cast<tk::CWindowWnd*>(new gallery::GalleryWindow)
                                        : new SkinWindow(skin);
    made->Create(nullptr, u"bench", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 60, 60, 300, 550);
    w = made;
    QApplication::processEvents();
  }
  return w;
}

void PaintListAndDraw(benchmark::State& state, const std::u16string& skin) {
  tk::CWindowWnd* w = Window(skin);
  QImage image(300, 550, QImage::Format_ARGB32_Premultiplied);
  tk::PaintList list;
  size_t ops = 0;
  for (auto _ : state) {
    list.ops.clear();
    w->GetPaintManager()->Render(list, {0, 0, 300, 550});
    QPainter p(&image);
    p.fillRect(image.rect(), QColor::fromRgba(list.background));
    tk::qt::DrawPaintList(p, list);
    ops = list.ops.size();
  }
  state.counters["ops"] = static_cast<double>(ops);
}

void PaintListOnly(benchmark::State& state, const std::u16string& skin) {
  tk::CWindowWnd* w = Window(skin);
  tk::PaintList list;
  for (auto _ : state) {
    list.ops.clear();
    w->GetPaintManager()->Render(list, {0, 0, 300, 550});
    benchmark::DoNotOptimize(list.ops.data());
  }
}

void WidgetRepaint(benchmark::State& state, const std::u16string& skin) {
  tk::CWindowWnd* w = Window(skin);
  QWidget* widget = tk::qt::WidgetOf(w->GetHWND());
  for (auto _ : state) {
    widget->repaint();  // synchronous: paint event, drawing, flush to the window
  }
}

BENCHMARK_CAPTURE(PaintListOnly, gallery, u"");
BENCHMARK_CAPTURE(PaintListAndDraw, gallery, u"")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintListAndDraw, main_window, u"quova.xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PaintListAndDraw, login_window, u"LoginWin.xml")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WidgetRepaint, gallery, u"")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(WidgetRepaint, main_window, u"quova.xml")->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tk::CPaintManagerUI::SetInstancePath(u"" QV_BIN_DIR "/");
  tk::qt::InstallQtPlatform();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::_Exit(0);  // skip tearing Qt down
}
