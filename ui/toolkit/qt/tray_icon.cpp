#include "tray_icon.h"

#include <QFile>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRect>
#include <QSystemTrayIcon>

#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/win32.h"

namespace tk::qt {
namespace {

// The pair of messages Windows sends for each kind of click.
std::pair<unsigned, unsigned> MouseMessages(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: return {WM_LBUTTONDOWN, WM_LBUTTONUP};
    case QSystemTrayIcon::Context: return {WM_RBUTTONDOWN, WM_RBUTTONUP};
    case QSystemTrayIcon::DoubleClick: return {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    case QSystemTrayIcon::MiddleClick: return {WM_MBUTTONDOWN, WM_MBUTTONUP};
    default: return {0, 0};
  }
}

}  // namespace

QIcon DefaultAppIcon() {
  // The program's icon: the skin folder's app_*.png when installed, else
  // one drawn here.
  static QIcon cached;
  if (!cached.isNull()) return cached;
  const QString skins = QString::fromStdU16String(tk::CPaintManagerUI::GetInstancePath()) + QStringLiteral("Skins/");
  QIcon fromSkins;
  for (const char* name : {"app_32.png", "app_64.png", "app_256.png"})
    if (QFile::exists(skins + QLatin1String(name))) fromSkins.addFile(skins + QLatin1String(name));
  if (!fromSkins.isNull()) return cached = fromSkins;
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x6f, 0xeb));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size * 0.24, size * 0.24);
    // A handset: a thick arc with rounded ends.
    QPen pen(Qt::white, size * 0.16, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal m = size * 0.28;
    p.drawArc(QRectF(m, m, size - 2 * m, size - 2 * m), 200 * 16, 140 * 16);
    p.end();
    icon.addPixmap(pm);
  }
  return cached = icon;
}

TrayIcon::TrayIcon(std::function<void(unsigned)> onMouse) : onMouse_(std::move(onMouse)) {}

void TrayIcon::Activate(int reason) {
  const auto [down, up] = MouseMessages(static_cast<QSystemTrayIcon::ActivationReason>(reason));
  if (!down) return;
  // A copy: the handler may replace or remove this icon.
  auto onMouse = onMouse_;
  if (onMouse) onMouse(down);
  if (onMouse) onMouse(up);
}

TrayIcon::~TrayIcon() { Hide(); }

void TrayIcon::Show(const std::u16string& iconPath, const std::u16string& tip) {
  if (!icon_) {
    icon_ = new QSystemTrayIcon();
    QObject::connect(icon_, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) { Activate(reason); });
  }
  const QString path = QString::fromStdU16String(iconPath);
  QIcon icon;
  if (!path.isEmpty() && QFile::exists(path)) icon = QIcon(path);
  if (icon.isNull()) icon = DefaultAppIcon();
  icon_->setIcon(icon);
  icon_->setToolTip(QString::fromStdU16String(tip));
  icon_->show();
}

void TrayIcon::SetTip(const std::u16string& tip) {
  if (icon_) icon_->setToolTip(QString::fromStdU16String(tip));
}

void TrayIcon::Hide() {
  if (!icon_) return;
  QObject::disconnect(icon_, nullptr, nullptr, nullptr);
  icon_->hide();  // out of the tray at once
  icon_->deleteLater();
  icon_ = nullptr;
}

QRect TrayIcon::Geometry() const { return icon_ ? icon_->geometry() : QRect(); }

bool TrayIcon::IsShown() const { return icon_ && icon_->isVisible(); }

bool TrayIcon::TrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

}  // namespace tk::qt
