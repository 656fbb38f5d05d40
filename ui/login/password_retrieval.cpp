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
    if (name == u"closebtn") {
      Close(1);
    } else {
      HandleSizeButton(name);
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
