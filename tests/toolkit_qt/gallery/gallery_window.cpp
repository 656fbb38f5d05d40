#include "gallery_window.h"

#include "storage/text.h"

namespace gallery {

std::u16string SkinFile() { return qv::Widen(QV_GALLERY_SKIN); }

void GalleryWindow::InitWindow() {}

void GalleryWindow::Notify(tk::TNotifyUI& msg) {
  const std::u16string name = msg.pSender ? msg.pSender->GetName() : std::u16string();
  if (msg.sType != tk::kNotifyTimer) {
    m_notes.push_back({msg.sType, name, msg.wParam});
    Log("notify " + qv::ToUtf8(msg.sType) + " " + qv::ToUtf8(name) + " " + std::to_string(msg.wParam));
  }
  if (msg.sType == tk::kNotifySelectChanged) {
    auto* tabs = m_PaintManager.Find<tk::CTabLayoutUI>(u"tabs");
    auto* option = dynamic_cast<tk::COptionUI*>(msg.pSender);
    if (tabs && option && option->IsSelected()) {
      if (name == u"tab_text") tabs->SelectItem(0);
      if (name == u"tab_web") tabs->SelectItem(1);
    }
  } else if (msg.sType == tk::kNotifyClick) {
    if (name == u"gallery_btn") {
      if (auto* label = m_PaintManager.FindControl(u"label")) label->SetText(u"按钮按了" + qv::IntText(++m_presses) + u"次");
    }
    if (name == u"msgbox_btn") AskQuestion();
    if (name == u"rebuild_btn") RebuildList(++m_rebuilds % 2 ? 5 : 2);
    if (name == u"minbtn") SendMessage(tk::WM_SYSCOMMAND, tk::SC_MINIMIZE, 0);
    if (name == u"closebtn" && quitOnClose) tk::CPaintManagerUI::PostQuit(0);
  }
}

void GalleryWindow::AskQuestion() {
  m_lastAnswer = tk::MessageBox(GetHWND(), u"确定要继续吗？", u"提示", tk::MB_YESNO);
  Log("answer " + std::to_string(m_lastAnswer));
}

void GalleryWindow::RebuildList(int count) {
  auto* list = m_PaintManager.Find<tk::CListUI>(u"list");
  if (!list) return;
  list->RemoveAll();
  for (int i = 0; i < count; ++i) {
    auto* item = new tk::CListContainerElementUI;
    item->SetName(u"item");
    item->ApplyAttributeList(u"height=\"30\"");
    auto* row = new tk::CHorizontalLayoutUI;
    row->ApplyAttributeList(u"inset=\"10,3,6,3\"");
    auto* label = new tk::CLabelUI;
    label->SetName(u"item_name");
    label->ApplyAttributeList(u"showhtml=\"true\" font=\"1\"");
    label->SetText(u"{b}联系人" + qv::IntText(i + 1) + u"{/b} 1390000000" + qv::IntText(i));
    auto* button = new tk::CButtonUI;
    button->SetName(u"item_btn");
    button->ApplyAttributeList(u"width=\"24\" height=\"24\" style=\"btn-icon\" foreimage=\"ic_call_small.png\" tooltip=\"拨打\"");
    row->Add(label);
    row->Add(button);
    item->Add(row);
    list->Add(item);
  }
  Log("rebuilt " + std::to_string(count));
}

tk::LRESULT GalleryWindow::HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) {
  switch (uMsg) {
    case tk::WM_KEYDOWN:
    case tk::WM_NCLBUTTONDBLCLK:
    case tk::WM_ACTIVATE:
    case tk::WM_USER + 1:
      m_messages.push_back({uMsg, wParam, lParam});
      Log("message " + std::to_string(uMsg) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
      break;
    default:
      break;
  }
  return tk::WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace gallery
