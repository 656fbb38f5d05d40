// LoginWin: the first window a subscriber sees, and the one shown again
// after a change of user. It remembers the number and, when "check_pwd"
// is ticked, the scrambled password in the settings file; a login runs the
// "/reg" request on a thread of its own, and a one-second timer of the
// window (1124 from the start, 1125 from each attempt) picks up the
// success on the user-interface thread and hands the account over to the
// main window.
//
// The same window switches to a registration view, asks whether to update
// when the service names a newer client, and opens the password-retrieval
// window.
//
// The object is not deleted when its window closes (threads it started may
// still hand results to it; they are dropped once the window is gone).
#pragma once

#include <atomic>
#include <string>

#include "ui/toolkit/button.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/window.h"
#include "web/sign.h"

class QVUI;

class LoginWin : public tk::WindowImplBase {
 public:
  static constexpr std::u16string_view kTitleText = u"Velto电话-登录1.2";
  static constexpr tk::UINT kStartTimerId = 1124;
  static constexpr tk::UINT kLoginTimerId = 1125;

  LoginWin();
  ~LoginWin() override;

  // Creates, centres and shows a login window the way start-up and the
  // change of user do (title "登录", 300 x 550).
  static LoginWin* Open(QVUI* mainWindow, bool userChanged);

  // ---- WindowImplBase ----
  std::u16string GetWindowClassName() const override;
  std::u16string GetSkinFolder() override;
  std::u16string GetSkinFile() override;
  void InitWindow() override;
  void OnFinalMessage(tk::HWND hWnd) override;
  tk::LRESULT HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) override;
  void Notify(tk::TNotifyUI& msg) override;
  const char16_t* GetItemText(tk::CControlUI* list, int item, int subItem) override;

  // ---- Login ----
  void LoginClick();
  void StartLogin();
  void TimerTick();
  void FinishLogin();
  // Applies the result of the login request (user-interface thread).
  void OnLoginReply(const std::u16string& reply);

  // ---- Registration view ----
  void ShowRegisterView();
  void ShowLoginView();
  void Register();

  // ---- Members, in declaration order ----
  std::u16string viewMode = u"1";
  tk::CControlUI* loginButton = nullptr;
  tk::CControlUI* registerButton = nullptr;
  tk::CControlUI* confirmBox = nullptr;
  tk::CControlUI* userEdit = nullptr;
  tk::CControlUI* passwordEdit = nullptr;
  tk::CControlUI* password2Edit = nullptr;
  std::u16string salt{qv::kSignSalt};
  bool userChanged = false;
  QVUI* mainWindow = nullptr;
  std::u16string sign;
  std::u16string phone;
  std::u16string password;
  std::u16string uid;
  bool loginSucceeded = false;
  std::atomic<bool> updateWanted{false};

 private:
  void OpenPasswordRetrieval();
  void EnableLoginButton();
};

// The login request's URL for a number, a scrambled password and the
// number signature.
std::string LoginUrl(std::u16string_view phone, std::u16string_view scrambledPassword,
                     std::u16string_view sign);

// The message a login result code shows (empty for "0").
std::u16string_view LoginResultMessage(std::u16string_view result);

// Asks the message server whether a newer client exists (its own thread).
void UpdateNoticeThread(LoginWin* window);
