#include "url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace tk::qt {

bool OpenUrl(const std::u16string& url) {
  const QUrl parsed(QString::fromStdU16String(url));
  if (!parsed.isValid()) return false;
  const QString scheme = parsed.scheme().toLower();
  if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) return false;
  return QDesktopServices::openUrl(parsed);
}

}  // namespace tk::qt
