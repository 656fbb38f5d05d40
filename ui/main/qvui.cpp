// QVUI: construction, identity and InitWindow.
#include "ui/main/qvui.h"

#include "sip/sip.h"
#include "storage/config.h"
#include "storage/text.h"
#include "ui/main/worker_task.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/paint_manager.h"
#include "web/reply_field.h"
#include "web/service_hosts.h"

std::atomic<QVUI*> theMainWindow{nullptr};

QVUI::QVUI() = default;
QVUI::~QVUI() = default;

std::u16string QVUI::GetWindowClassName() const { return std::u16string(kClassName); }
std::u16string QVUI::GetSkinFolder() { return u"Skins/"; }
std::u16string QVUI::GetSkinFile() { return u"quova.xml"; }

// The object outlives its window (change of user closes the window only).
void QVUI::OnFinalMessage(tk::HWND) {}

const char16_t* QVUI::GetItemText(tk::CControlUI*, int, int) { return nullptr; }

namespace {

template <typename T>
T* FindAs(tk::CPaintManagerUI& pm, std::u16string_view name) {
  return dynamic_cast<T*>(pm.FindControl(name));
}

void SetTextOf(tk::CPaintManagerUI& pm, std::u16string_view name, std::u16string_view text) {
  if (tk::CControlUI* c = pm.FindControl(name)) c->SetText(text);
}

}  // namespace

void QVUI::InitWindow() {
  tk::CPaintManagerUI& pm = m_PaintManager;
  // 1. Own handle (owner of the window's message boxes).
  mainHwnd = GetHWND();

  // 2. The record counter from the settings.
  const std::u16string config = qv::ReadConfig();
  calledListIndex = qv::ToInt(qv::ReplyField(config, u"CalledListIndex", u',', u'='));

  // 3. The subscriber's call log.
  callLogPath = qv::DataFolder() + u"/calledLog" + phone + u".called";

  // 4. Title.
  SetTextOf(pm, u"mainTitle", kTitleText);

  // 5. The contacts list inside its layout.
  contactsLayout = FindAs<tk::CContainerUI>(pm, u"LayoutMaillist");
  if (contactsLayout != nullptr) {
    auto* list = new tk::CListUI();
    list->SetAttribute(u"name", u"Maillist");
    list->SetAttribute(u"inset", u"0,0,0,0");
    list->SetAttribute(u"itemshowhtml", u"true");
    list->SetAttribute(u"vscrollbar", u"true");
    list->SetAttribute(u"pos", u"0,0,278,360");
    list->SetHeaderVisible(false);
    if (contactsLayout->Add(list)) {
      contactsList = list;
    } else {
      delete list;
    }
  }

  // 6. The controls of the call area.
  callStatusLabel = pm.FindControl(u"callstatus");
  calledUserNameLabel = pm.FindControl(u"calledUserName");
  numberInput = pm.FindControl(u"input_phoneText");
  firstTabOption = FindAs<tk::COptionUI>(pm, u"tab_heade1");
  tabs = FindAs<tk::CTabLayoutUI>(pm, u"tabs");
  callButton = pm.FindControl(u"CalledBtn");
  hangupButton = pm.FindControl(u"hangupBtn");
  callTimerContainer = pm.FindControl(u"calledTimer_Container");
  if (callTimerContainer != nullptr) callTimerContainer->SetVisible(false);
  callTimerHours = pm.FindControl(u"calledTimer_h");
  callTimerMinutes = pm.FindControl(u"calledTimer_m");
  callTimerSeconds = pm.FindControl(u"calledTimer_s");
  callTypeIcon = pm.FindControl(u"showCallType");
  auto* recordLayout = FindAs<tk::CContainerUI>(pm, u"calledRecordLayout");
  userNameLabel = pm.FindControl(u"userNameLayout");

  // 7. The call-records page: sort bar and list.
  if (recordLayout != nullptr) BuildRecordPage(recordLayout);

  // 8. Nothing to hang up yet.
  if (hangupButton != nullptr) hangupButton->SetEnabled(false);

  // 9. Call-line options, call info, answer button, location, 512 option.
  lineOptionsLayout = FindAs<tk::CContainerUI>(pm, u"callingListLayoutForOption");
  callInfoLayout = pm.FindControl(u"showCallInfoLayout");
  if (callInfoLayout != nullptr) callInfoLayout->SetVisible(false);
  answerButton = pm.FindControl(u"answer_btn");
  if (answerButton != nullptr) answerButton->SetVisible(false);
  locationLabel = pm.FindControl(u"show_address");
  showNumberOption = FindAs<tk::COptionUI>(pm, u"whetherShowPhoen");

  // 10. The stored state of that option.
  showNumberSetting = qv::ReplyField(config, u"whetherShowPhoen", u',', u'=');
  if (!showNumberSetting.empty() && showNumberOption != nullptr) showNumberOption->Selected(true);

  // 11. The tray icon.
  trayIcon = tk::NOTIFYICONDATAW{};
  trayIcon.hWnd = mainHwnd;
  trayIcon.uID = kTrayIconId;
  trayIcon.uFlags = tk::NIF_MESSAGE | tk::NIF_ICON | tk::NIF_TIP;
  trayIcon.uCallbackMessage = kTrayMessage;
  trayIcon.hIcon = tk::CPaintManagerUI::GetInstancePath() + u"Skins/app_64.png";
  trayIcon.szTip = std::u16string(kClassName);
  tk::Shell_NotifyIcon(tk::NIM_ADD, &trayIcon);

  // 12. The one-second call-status poll.
  if (callTimerContainer != nullptr) pm.SetTimer(callTimerContainer, kPollTimerId, 1000);

  // 13.-15. The first requests: subscriber kind, balance, contacts.
  StartWorkerTask(u"setUserName", "", 0);
  UpdateBalance(u"");
  UpdateContactList(u"");
}

void QVUI::BuildRecordPage(tk::CContainerUI* recordLayout) {
  tk::CPaintManagerUI& pm = m_PaintManager;
  tk::CDialogBuilder builder;
  if (tk::CControlUI* sortBar = builder.Create(u"calledsortLayout.xml", &pm)) {
    sortBar->SetAttribute(u"name", u"showCallSortLayout");
    sortBar->SetAttribute(u"pos", u"0,0,278,30");
    sortBar->SetAttribute(u"bkcolor", u"#ffa0c0ff");
    sortBar->SetFloat(true);
    if (!recordLayout->AddAt(sortBar, 0)) delete sortBar;
  }
  sortCombo = pm.FindControl(u"sortCombo");

  auto* list = new tk::CListUI();
  list->SetAttribute(u"name", u"calledListUI");
  list->SetAttribute(u"pos", u"0,30,278,360");
  list->SetAttribute(u"itemshowhtml", u"true");
  list->SetAttribute(u"vscrollbar", u"true");
  list->SetFloat(true);
  if (recordLayout->AddAt(list, 0)) {
    list->SetHeaderVisible(false);
    callRecordList = list;
  } else {
    delete list;
  }
}
