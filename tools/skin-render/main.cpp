// skin-render: draws a skin file as the phone would show it and writes a
// PNG, without a display (Qt's offscreen platform). For reviewing skins and
// for the pictures of the README.
//
//   skin-render [--size=WxH] [--skins=DIR] [--set=NAME:ATTR=VALUE ...] SKIN.xml OUT.png
//
// A window skin (<Window> root) is drawn at its own size; a piece of a
// window (any other root) is drawn inside an empty window of --size
// (default 300x550). The skin folder (its "theme.xml" is merged first, and
// images are looked up there) is the skin file's folder, or --skins.
// --set applies an attribute to a named control before drawing (e.g.
// --set=tabs:selectedid=2).
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ui/toolkit/qt/qt_backend.h"
#include "ui/toolkit/toolkit.h"

namespace {

class SkinWindow : public tk::WindowImplBase {
 public:
  SkinWindow(std::u16string folder, std::u16string file) : m_folder(std::move(folder)), m_file(std::move(file)) {}
  std::u16string GetWindowClassName() const override { return u"SkinRender"; }
  std::u16string GetSkinFolder() override { return m_folder; }
  std::u16string GetSkinFile() override { return m_file; }

 private:
  std::u16string m_folder;
  std::u16string m_file;
};

struct Setting {
  std::u16string control, attribute, value;
};

int Usage() {
  std::fprintf(stderr, "usage: skin-render [--size=WxH] [--skins=DIR] [--set=NAME:ATTR=VALUE ...] SKIN.xml OUT.png\n");
  return 2;
}

// The name of the skin's root element ("" when it is not XML).
QString RootElement(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement) return xml.name().toString();
  }
  return {};
}

std::u16string U16(const QString& s) { return s.toStdU16String(); }

}  // namespace

int main(int argc, char** argv) {
  int width = 300, height = 550;
  std::vector<Setting> settings;
  std::vector<std::string> files;
  std::string skinsDir;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strncmp(a, "--size=", 7) == 0) {
      if (std::sscanf(a + 7, "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0 || width > 4000 ||
          height > 4000)
        return Usage();
    } else if (std::strncmp(a, "--set=", 6) == 0) {
      const QString spec = QString::fromUtf8(a + 6);
      const int colon = spec.indexOf(QLatin1Char(':'));
      const int eq = spec.indexOf(QLatin1Char('='), colon + 1);
      if (colon <= 0 || eq <= colon + 1) return Usage();
      settings.push_back({U16(spec.left(colon)), U16(spec.mid(colon + 1, eq - colon - 1)), U16(spec.mid(eq + 1))});
    } else if (std::strncmp(a, "--skins=", 8) == 0) {
      skinsDir = a + 8;
    } else if (a[0] == '-' && a[1] == '-') {
      return Usage();
    } else {
      files.emplace_back(a);
    }
  }
  if (files.size() != 2) return Usage();

  // No display needed; the fonts and look are the same as on screen.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  auto& platform = tk::qt::InstallQtPlatform();
  (void)platform;

  const QFileInfo skin(QString::fromLocal8Bit(files[0].c_str()));
  if (!skin.isFile()) {
    std::fprintf(stderr, "skin-render: no such file: %s\n", files[0].c_str());
    return 1;
  }
  const QString skinsPath = skinsDir.empty() ? skin.absolutePath() : QFileInfo(QString::fromLocal8Bit(skinsDir.c_str())).absoluteFilePath();
  if (!QFileInfo(skinsPath).isDir()) {
    std::fprintf(stderr, "skin-render: no such folder: %s\n", skinsPath.toLocal8Bit().constData());
    return 1;
  }
  std::u16string folder = U16(skinsPath + QLatin1Char('/'));
  std::u16string file = U16(skinsDir.empty() ? skin.fileName() : skin.absoluteFilePath());
  bool whole = RootElement(skin.absoluteFilePath()) == QLatin1String("Window");

  // A piece is drawn inside a window of its own, made up here.
  QTemporaryDir tmp;
  if (!whole) {
    if (!tmp.isValid()) return 1;
    const QString wrapper = tmp.filePath(QStringLiteral("piece-window.xml"));
    QFile out(wrapper);
    if (!out.open(QIODevice::WriteOnly)) return 1;
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Window size=\"%1,%2\">"
                                 "<VerticalLayout bkcolor=\"#FFFFFFFF\"><Include source=\"%3\"/></VerticalLayout></Window>\n")
                      .arg(width)
                      .arg(height)
                      .arg(skin.absoluteFilePath().toHtmlEscaped());
    out.write(xml.toUtf8());
    out.close();
    file = U16(wrapper);
  }

  tk::CPaintManagerUI::SetInstancePath(folder);
  auto* window = new SkinWindow(folder, file);
  const int cx = whole ? tk::CW_USEDEFAULT : width;
  const int cy = whole ? tk::CW_USEDEFAULT : height;
  if (!window->Create(nullptr, u"skin-render", 0, 0, 0, 0, cx, cy)) {
    std::fprintf(stderr, "skin-render: the window could not be made\n");
    return 1;
  }
  if (!window->GetSkinError().empty()) {
    std::fprintf(stderr, "skin-render: %s\n", QString::fromStdU16String(window->GetSkinError()).toLocal8Bit().constData());
    return 1;
  }
  for (const Setting& s : settings) {
    tk::CControlUI* control = window->GetPaintManager()->FindControl(s.control);
    if (!control || !control->SetAttribute(s.attribute, s.value)) {
      std::fprintf(stderr, "skin-render: cannot set %s on %s\n", QString::fromStdU16String(s.attribute).toLocal8Bit().constData(),
                   QString::fromStdU16String(s.control).toLocal8Bit().constData());
      return 1;
    }
  }
  const std::u16string outPath = U16(QFileInfo(QString::fromLocal8Bit(files[1].c_str())).absoluteFilePath());
  if (!tk::qt::RenderWindowToPng(window->GetHWND(), outPath)) {
    std::fprintf(stderr, "skin-render: cannot write %s\n", files[1].c_str());
    return 1;
  }
  window->DestroyWindow();
  delete window;
  return 0;
}
