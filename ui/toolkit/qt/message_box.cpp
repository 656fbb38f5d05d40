#include "message_box.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include <memory>

namespace tk::qt {
namespace {

QMessageBox::Icon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox* MakeBox(QWidget* owner, const std::u16string& caption, const std::u16string& text, UINT type) {
  auto* box = new QMessageBox(owner);
  box->setObjectName(QStringLiteral("messageBox"));
  box->setIcon(IconOf(type));
  box->setWindowTitle(QString::fromStdU16String(caption));
  box->setText(QString::fromStdU16String(text));
  box->setTextFormat(Qt::PlainText);
  box->setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
  QPushButton* yes = nullptr;
  QPushButton* ok = nullptr;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
      ok = box->addButton(QMessageBox::Ok);
      box->setEscapeButton(box->addButton(QMessageBox::Cancel));
      box->setDefaultButton(ok);
      break;
    case MB_YESNO:
    case MB_YESNOCANCEL:
      yes = box->addButton(QMessageBox::Yes);
      box->setEscapeButton(box->addButton(QMessageBox::No));
      box->setDefaultButton(yes);
      break;
    default:
      ok = box->addButton(QMessageBox::Ok);
      box->setEscapeButton(ok);
      box->setDefaultButton(ok);
      break;
  }
  box->setProperty("qvYes", QVariant::fromValue<QObject*>(yes));
  box->setProperty("qvOk", QVariant::fromValue<QObject*>(ok));
  return box;
}

int AnswerOf(QMessageBox* box, UINT type) {
  QAbstractButton* clicked = box->clickedButton();
  if (!clicked) return RefusingAnswer(type);
  if (clicked == box->property("qvYes").value<QObject*>()) return IDYES;
  if (clicked == box->property("qvOk").value<QObject*>()) return IDOK;
  return RefusingAnswer(type);
}

void Present(QMessageBox* box) {
  box->show();
  box->raise();
  box->activateWindow();
}

}  // namespace

int RefusingAnswer(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO: case MB_YESNOCANCEL: return IDNO;
    default: return IDOK;
  }
}

int RunMessageBox(QWidget* owner, const std::u16string& caption, const std::u16string& text, UINT type) {
  QPointer<QMessageBox> box = MakeBox(owner, caption, text, type);
  // A loop of our own rather than exec(): exec() would make a box without
  // owner modal to the whole application.
  QEventLoop loop;
  QObject::connect(box, &QDialog::finished, &loop, &QEventLoop::quit);
  QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
  Present(box);
  if (box->isVisible()) loop.exec(QEventLoop::DialogExec);
  if (!box) return RefusingAnswer(type);  // its owner went away
  const int answer = AnswerOf(box, type);
  box->hide();
  box->deleteLater();
  return answer;
}

QMessageBox* OpenMessageBox(QWidget* owner, const std::u16string& caption, const std::u16string& text,
                            UINT type, std::function<void(int)> done) {
  QMessageBox* box = MakeBox(owner, caption, text, type);
  // Exactly one answer, also when the owner takes the box with it.
  auto answered = std::make_shared<bool>(false);
  auto finish = [answered, done = std::move(done)](int answer) {
    if (*answered) return;
    *answered = true;
    if (done) done(answer);
  };
  QObject::connect(box, &QDialog::finished, box, [box, type, finish] {
    finish(AnswerOf(box, type));
    box->hide();
    box->deleteLater();
  });
  QObject::connect(box, &QObject::destroyed, [type, finish] { finish(RefusingAnswer(type)); });
  Present(box);
  return box;
}

}  // namespace tk::qt
