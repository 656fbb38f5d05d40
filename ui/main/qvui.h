// QVUI: the main window the subscriber works in after logging in. Its
// members are the shared data model of the main window: the dial pad,
// call placement and progress, call records, contacts and the balance
// panel all read and write them.
//
// One object per login. Start-up constructs it without a window; the login
// window fills phone, uid, password and sign and then creates the window
// (InitWindow runs during Create). A change of user closes the window and
// leaves the object alone: it is never deleted while the process runs,
// so worker threads that still hold it never see freed memory.
//
// Threads: everything here runs on the user-interface thread. Worker
// threads reach the window only through theMainWindow and hand their
// effects over with tk::PostToUiThread.
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/label.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/shell.h"
#include "ui/toolkit/window.h"
#include "web/sign.h"

class QVUI;

// The main window object of the current login; null after a change of
// user until the next login constructs a new one.
extern std::atomic<QVUI*> theMainWindow;

// Per call line, the texts of lineInfo.
enum LineInfoField { kLineNumber = 0, kLineName = 1, kLineStatus = 2, kLineType = 3, kLineLocation = 4 };
// Per call line, the parts of lineTime.
enum LineTimeField { kHours = 0, kMinutes = 1, kSeconds = 2 };

// One call record of the call log, as the records view groups them.
struct CallRecordFields {
  std::u16string phone, calledUser, time, timeLen, calledType, state, index;
};
struct CallRecordGroup {
  std::u16string number, name;  // header: first record of the number
  std::vector<CallRecordFields> records;
};

class QVUI : public tk::WindowImplBase {
 public:
  // Identity of the window and its tray icon.
  static constexpr std::u16string_view kClassName = u"Velto网络电话";
  static constexpr std::u16string_view kTitleText = u"Velto网络电话1.2";
  static constexpr tk::UINT kTrayIconId = 2024;
  static constexpr tk::UINT kTrayMessage = tk::WM_USER + 1;
  static constexpr tk::UINT kPollTimerId = 1030;
  // Tray menu commands.
  static constexpr tk::UINT kMenuWebSite = 1027;
  static constexpr tk::UINT kMenuExit = 1028;
  static constexpr tk::UINT kMenuSettings = 1029;
  // The longest number the dial pad accepts.
  static constexpr int kMaxNumberLength = 22;

  QVUI();
  ~QVUI() override;

  // ---- WindowImplBase ----
  std::u16string GetWindowClassName() const override;
  std::u16string GetSkinFolder() override;
  std::u16string GetSkinFile() override;
  void InitWindow() override;
  void OnFinalMessage(tk::HWND hWnd) override;
  tk::LRESULT HandleMessage(tk::UINT uMsg, tk::WPARAM wParam, tk::LPARAM lParam) override;
  void Notify(tk::TNotifyUI& msg) override;
  const char16_t* GetItemText(tk::CControlUI* list, int item, int subItem) override;

  // ---- Frame (title bar, tray, exit) ----
  void HandleTitleButton(tk::TNotifyUI& msg);
  void TrayLeftClick();
  void TrayMenu();
  void ConfirmExit();

  // ---- Dial pad ----
  void DialPadKey(std::u16string_view key);
  void KeyboardDial(tk::UINT virtualKey);
  // The key sound beside the executable: <instance path>sound/sound.wav.
  static std::u16string KeySoundPath();

  // ---- Change of user (login window) ----
  void ChangeUser(std::u16string_view argument);

  // ---- Call placement and progress ----
  void RequestCall(std::u16string_view source);
  std::u16string LookupContactName(std::u16string_view number);
  void PollCallStatus();
  void EndCall(int line, std::u16string_view reason);
  int SelectedLine();
  void ShowSelectedLine();

  // ---- Call records ----
  void BuildCallRecordList(std::u16string_view filter);
  void AddCallRecordItem(std::u16string_view name, std::u16string_view numberOrTitle, std::u16string_view time,
                         std::u16string_view timeLen, std::u16string_view calledType, std::u16string_view state,
                         std::u16string_view index, int itemId, bool header);
  void ToggleRecordGroup(int headerPosition);
  void RedialRecord(tk::CControlUI* button);
  void DeleteSelectedRecord();
  void ClearCallLog();

  // ---- Contacts ----
  void UpdateContactList(std::u16string_view reply);
  void AddContactItem(std::u16string_view name, std::u16string_view phone, std::u16string_view third,
                      std::u16string_view id);
  void ReadSelectedContact();
  void DeleteSelectedContact();
  void OpenContactEditor(std::u16string_view mode);
  void EditSelectedContact();
  void OpenChat();

  // ---- Balance and the account centre ----
  void UpdateBalance(std::u16string_view reply);
  void OpenAccountCentre(std::u16string_view argument);

  // ---- Members: the shared data model, in declaration order ----
  tk::NOTIFYICONDATAW trayIcon;
  bool contactEditorOpen = false;
  std::array<std::array<std::u16string, 5>, 7> lineInfo;
  std::array<std::array<int, 3>, 7> lineTime{};
  tk::CControlUI* callStatusLabel = nullptr;
  tk::CControlUI* calledUserNameLabel = nullptr;
  tk::CControlUI* numberInput = nullptr;
  tk::COptionUI* firstTabOption = nullptr;
  tk::CTabLayoutUI* tabs = nullptr;
  tk::CControlUI* callButton = nullptr;
  tk::CControlUI* hangupButton = nullptr;
  tk::CControlUI* callTimerContainer = nullptr;
  tk::CControlUI* callTimerHours = nullptr;
  tk::CControlUI* callTimerMinutes = nullptr;
  tk::CControlUI* callTimerSeconds = nullptr;
  tk::CControlUI* callTypeIcon = nullptr;
  std::u16string salt{qv::kSignSalt};
  std::u16string phone;
  std::u16string uid;
  std::u16string password;
  std::u16string sign;
  std::u16string balance, validity, monthLeftTime, packageDescription, expiryTime;
  std::u16string selectedContactName;
  std::u16string selectedContactPhone, selectedContactId, selectedContactPosition;
  std::u16string selectedRecordName, selectedRecordPhone;
  std::u16string callLogPath;
  bool accountCentreOpen = false;
  int selectedContactIndex = -1;
  int selectedRecordIndex = -1;
  tk::CListUI* callRecordList = nullptr;
  tk::HWND mainHwnd = nullptr;
  tk::CControlUI* callInfoLayout = nullptr;
  tk::OptionGroup* callingOptions = nullptr;
  int currentLine = -1;
  tk::CControlUI* answerButton = nullptr;
  std::u16string userType;
  std::vector<CallRecordGroup> recordGroups;
  std::vector<std::vector<int>> groupItemIds;
  int calledListIndex = 0;
  bool windowShown = true;
  tk::CControlUI* sortCombo = nullptr;
  std::u16string peerNumber;
  tk::CControlUI* userNameLabel = nullptr;
  tk::COptionUI* showNumberOption = nullptr;
  std::u16string showNumberSetting;
  tk::CControlUI* locationLabel = nullptr;
  tk::CContainerUI* contactsLayout = nullptr;
  tk::CListUI* contactsList = nullptr;
  tk::CContainerUI* lineOptionsLayout = nullptr;

 private:
  void BuildRecordPage(tk::CContainerUI* recordLayout);
  void PrepareWebPage();
  void OnSelectChanged(tk::TNotifyUI& msg);
  void OnClickNotify(tk::TNotifyUI& msg);
};
