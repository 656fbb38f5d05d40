#include "popup_menu.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace tk::qt {

UINT RunPopupMenu(const PopupMenuParams& params) {
  QMenu menu;
  menu.setObjectName(QStringLiteral("popupMenu"));
  for (const MenuItem& item : params.items) {
    if (item.flags & MF_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromStdU16String(item.text));
    action->setData(item.id);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
    if (item.flags & MF_CHECKED) {
      action->setCheckable(true);
      action->setChecked(true);
    }
  }
  if (menu.isEmpty()) return 0;
  const QSize size = menu.sizeHint();
  QPoint at(params.screenPt.x, params.screenPt.y);
  if (params.flags & TPM_RIGHTALIGN) at.rx() -= size.width();
  else if (params.flags & TPM_CENTERALIGN) at.rx() -= size.width() / 2;
  if (params.flags & TPM_BOTTOMALIGN) at.ry() -= size.height();
  else if (params.flags & TPM_VCENTERALIGN) at.ry() -= size.height() / 2;
  QAction* chosen = menu.exec(at);
  return chosen ? chosen->data().toUInt() : 0;
}

Point CursorPosition() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

}  // namespace tk::qt
