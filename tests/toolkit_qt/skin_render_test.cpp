// skin-render: any skin file to a PNG without a display; bad files give a
// message and a failure, never a crash.
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct RenderRun {
  int code;
  QString errors;
};

RenderRun SkinRender(const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(QV_BIN_DIR "/skin-render"), args);
  if (!p.waitForFinished(60000)) return {-1, QStringLiteral("timed out")};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, QString::fromUtf8(p.readAllStandardError())};
}

TEST(SkinRender, WindowSkinsAndPiecesBecomePictures) {
  QTemporaryDir dir;
  struct Case {
    QString skin;
    QStringList extra;
    QSize size;
  };
  const QString skins = QStringLiteral(QV_BIN_DIR "/Skins/");
  const QList<Case> cases = {
      {QStringLiteral(QV_GALLERY_SKIN_COPY), {QStringLiteral("--skins=") + skins}, QSize(300, 550)},
      {skins + QStringLiteral("LoginWin.xml"), {}, QSize(300, 550)},
      {skins + QStringLiteral("quova.xml"), {QStringLiteral("--set=tabs:selectedid=2")}, QSize(300, 550)},
      {skins + QStringLiteral("calledsortLayout.xml"), {QStringLiteral("--size=280x60")}, QSize(280, 60)},
  };
  for (const Case& c : cases) {
    if (!QFile::exists(c.skin)) continue;  // a window's skin not written yet
    const QString out = dir.filePath(QStringLiteral("out.png"));
    QFile::remove(out);
    const RenderRun run = SkinRender(c.extra + QStringList{c.skin, out});
    EXPECT_EQ(run.code, 0) << c.skin.toStdString() << ": " << run.errors.toStdString();
    QImage image(out);
    EXPECT_EQ(image.size(), c.size) << c.skin.toStdString();
    // Something is drawn: more than one colour.
    QRgb first = image.isNull() ? 0 : image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 3)
      for (int x = 0; x < image.width() && !varied; x += 3) varied = image.pixel(x, y) != first;
    EXPECT_TRUE(varied) << c.skin.toStdString() << " " << c.extra.join(QLatin1Char(' ')).toStdString();
  }
}

TEST(SkinRender, BadInputFailsWithAMessage) {
  QTemporaryDir dir;
  const QString broken = dir.filePath(QStringLiteral("broken.xml"));
  QFile f(broken);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("<Window size=\"300,550\"><VerticalLayout><Button name=\"a\"</Window>");
  f.close();
  const QString out = dir.filePath(QStringLiteral("out.png"));
  for (const QStringList& args : {QStringList{broken, out}, QStringList{dir.filePath(QStringLiteral("missing.xml")), out},
                                   QStringList{broken}, QStringList{QStringLiteral("--size=0x0"), broken, out},
                                   QStringList{QStringLiteral("--set=nocolon"), broken, out},
                                   QStringList{QStringLiteral("--skins=/nonexistent"), broken, out}}) {
    const RenderRun run = SkinRender(args);
    EXPECT_GT(run.code, 0) << args.join(QLatin1Char(' ')).toStdString();
    EXPECT_FALSE(run.errors.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
