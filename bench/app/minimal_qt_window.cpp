// The yardstick of the start-up figures: the smallest Qt window of the same
// size and colour, started the same way as the phone.
#include <QApplication>
#include <QPalette>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QString::fromUtf8("登录"));
  window.setWindowFlags(Qt::FramelessWindowHint);
  QPalette palette = window.palette();
  palette.setColor(QPalette::Window, QColor(0x1f, 0x6f, 0xeb));
  window.setPalette(palette);
  window.setAutoFillBackground(true);
  window.resize(300, 550);
  window.show();
  return app.exec();
}
