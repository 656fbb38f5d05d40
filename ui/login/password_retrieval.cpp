// getPwd: the password-retrieval window. Its content is its skin; the
// window only sets its title and handles the title-bar buttons.
#include "ui/login/login_win.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/paint_manager.h"

namespace {

class getPwd : public tk::WindowImplBase {
 public:
  std::u16string GetWindowClassName() const override { return u"getPwd"; }
  std::u16string GetSkinFolder() override { return u"Skins/"; }
  std::u16string GetSkinFile() override { return u"getPwd.xml"; }
  void OnFinalMessage(tk::HWND) override {}
  const char16_t* GetItemText(tk::CControlUI*, int, int) override { return nullptr; }

  tk::LRESULT HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) override {
    if (uMsg == tk::WM_NCLBUTTONDBLCLK) return 0;
    return tk::WindowImplBase::HandleMessage(uMsg, wParam, lParam);
  }

  void InitWindow() override {
    if (tk::CControlUI* title = m_PaintManager.FindControl(u"mainTitle")) title->SetText(u"找回密码");
  }

  void Notify(tk::TNotifyUI& msg) override {
    if (msg.sType != tk::kNotifyClick || msg.pSender == nullptr) return;
    const std::u16string& name = msg.pSender->GetName();
    tk::CControlUI* maxButton = m_PaintManager.FindControl(u"maxbtn");
    tk::CControlUI* restoreButton = m_PaintManager.FindControl(u"restorebtn");
    if (name == u"closebtn") {
      Close(1);
    } else if (name == u"minbtn") {
      SendMessage(tk::WM_SYSCOMMAND, tk::SC_MINIMIZE, 0);
    } else if (name == u"maxbtn") {
      SendMessage(tk::WM_SYSCOMMAND, tk::SC_MAXIMIZE, 0);
      if (maxButton != nullptr) maxButton->SetVisible(false);
      if (restoreButton != nullptr) restoreButton->SetVisible(true);
    } else if (name == u"restorebtn") {
      SendMessage(tk::WM_SYSCOMMAND, tk::SC_RESTORE, 0);
      if (maxButton != nullptr) maxButton->SetVisible(true);
      if (restoreButton != nullptr) restoreButton->SetVisible(false);
    }
  }
};

}  // namespace

void LoginWin::OpenPasswordRetrieval() {
  auto* window = KeepUntilExit(new getPwd());
  if (window->Create(nullptr, u"找回密码", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 0, 0, 300, 150) == nullptr) {
    return;
  }
  window->CenterWindow();
}
