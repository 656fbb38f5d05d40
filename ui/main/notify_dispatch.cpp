// QVUI::Notify: routes every control event of the main window to the
// operation that handles it. The event type is tested first, then the
// sender's name; the first matching row runs and nothing else does.
#include <utility>

#include "storage/config.h"
#include "storage/text.h"
#include "ui/main/qvui.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/web_browser.h"
#include "web/service_hosts.h"

namespace {

// Dial-pad buttons and the key each one enters.
constexpr std::pair<std::u16string_view, std::u16string_view> kDialPadButtons[] = {
    {u"nuberBtn1", u"1"}, {u"nuberBtn2", u"2"}, {u"nuberBtn3", u"3"},  {u"nuberBtn4", u"4"},
    {u"nuberBtn5", u"5"}, {u"nuberBtn6", u"6"}, {u"nuberBtn7", u"7"},  {u"nuberBtn8", u"8"},
    {u"nuberBtn9", u"9"}, {u"nuberBtn0", u"0"}, {u"asterisk", u"*"},   {u"poundSign", u"#"},
    {u"call_EditTextDel", u"Del"},
};

// Filters of the call-records combo by its text.
constexpr std::pair<std::u16string_view, std::u16string_view> kRecordFilters[] = {
    {u"全部记录", u""}, {u"呼入记录", u"answered"}, {u"拨出记录", u"callOut"}, {u"未接记录", u"missed"},
};

tk::CControlUI* GrandParent(tk::CControlUI* control) {
  tk::CControlUI* parent = control != nullptr ? control->GetParent() : nullptr;
  return parent != nullptr ? parent->GetParent() : nullptr;
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace

void QVUI::Notify(tk::TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const std::u16string& type = msg.sType;
  const std::u16string& name = msg.pSender->GetName();

  if (type == tk::kNotifyClick) {
    OnClickNotify(msg);
  } else if (type == tk::kNotifySelectChanged) {
    OnSelectChanged(msg);
  } else if (type == tk::kNotifyItemSelect) {
    if (name == u"sortCombo") {
      const std::u16string text = msg.pSender->GetText();
      for (const auto& [shown, filter] : kRecordFilters) {
        if (text == shown) {
          BuildCallRecordList(filter);
          break;
        }
      }
    }
  } else if (type == tk::kNotifyItemClick) {
    if (name == u"clistElmentCon") {
      if (auto* item = dynamic_cast<tk::IListItemUI*>(msg.pSender)) selectedContactIndex = item->GetIndex();
      ReadSelectedContact();
    } else if (name == u"CListContainerElementUI") {
      selectedRecordIndex = qv::ToInt(msg.pSender->GetUserData());
    } else if (name == u"calledList_node") {
      // A group header: its user data names what this click does.
      tk::CControlUI* header = msg.pSender;
      tk::CControlUI* icon = m_PaintManager.FindSubControlByName(header, u"tree_ico");
      int position = -1;
      if (auto* item = dynamic_cast<tk::IListItemUI*>(header)) position = item->GetIndex();
      ToggleRecordGroup(position);
      const std::u16string skins = GetSkinFolder();
      if (header->GetUserData() == u"close") {
        header->SetUserData(u"open");
        if (icon != nullptr) icon->SetAttribute(u"bkimage", skins + u"tree_close.png");
      } else {
        header->SetUserData(u"close");
        if (icon != nullptr) icon->SetAttribute(u"bkimage", skins + u"tree_open.png");
      }
    }
  } else if (type == tk::kNotifyItemActivate) {
    if (name == u"clistElmentCon") {
      if (auto* item = dynamic_cast<tk::IListItemUI*>(msg.pSender)) selectedContactIndex = item->GetIndex();
      ReadSelectedContact();
      OpenChat();
    }
  } else if (type == tk::kNotifyTimer) {
    if (name == u"calledTimer_Container") PollCallStatus();
  }
}

void QVUI::OnClickNotify(tk::TNotifyUI& msg) {
  const std::u16string& name = msg.pSender->GetName();
  if (name == u"closebtn" || name == u"minbtn" || name == u"maxbtn" || name == u"restorebtn") {
    HandleTitleButton(msg);
    return;
  }
  for (const auto& [button, key] : kDialPadButtons) {
    if (name == button) {
      DialPadKey(key);
      return;
    }
  }
  if (name == u"mainuneuBtn" || name == u"logoBtn") {
    OpenAccountCentre(u"");
  } else if (name == u"changUserBtn") {
    ChangeUser(u"");
  } else if (name == u"add_addressList_Btn") {
    OpenContactEditor(u"add_from_callling");
  } else if (name == u"add_mailList_info") {
    OpenContactEditor(u"add");
  } else if (name == u"edit_mailList_info") {
    EditSelectedContact();
  } else if (name == u"del_mailList_info") {
    DeleteSelectedContact();
  } else if (name == u"quovabtn_list") {
    // The call button of a contact item: select the item it belongs to.
    if (auto* item = dynamic_cast<tk::IListItemUI*>(GrandParent(msg.pSender))) {
      item->Select(true);
      selectedContactIndex = item->GetIndex();
    }
    ReadSelectedContact();
    RequestCall(u"2");
  } else if (name == u"CalledBtn") {
    RequestCall(u"");
  } else if (name == u"reCallBtn") {
    RequestCall(u"5");
  } else if (name == u"calledListItemBtn") {
    RedialRecord(msg.pSender);
  } else if (name == u"deleterecord") {
    DeleteSelectedRecord();
  } else if (name == u"rechargeBtn") {
    tk::ShellOpen(Wide(qv::ServiceBase(qv::Service::Site) + "/index/acct"));
  } else if (name == u"hangupBtn") {
    EndCall(currentLine, u"");
  } else if (name == u"answer_btn") {
    RequestCall(u"4");
  } else if (name == u"delBtnForCalledList") {
    tk::CControlUI* row = GrandParent(msg.pSender);
    selectedRecordIndex = row != nullptr ? qv::ToInt(row->GetUserData()) : 0;
    DeleteSelectedRecord();
  } else if (name == u"removeAllcalledBtn") {
    ClearCallLog();
  }
}

void QVUI::OnSelectChanged(tk::TNotifyUI& msg) {
  const std::u16string& name = msg.pSender->GetName();
  if (name == u"tab_heade1") {
    if (tabs != nullptr && tabs->GetCurSel() != 0) tabs->SelectItem(0);
  } else if (name == u"tab_heade2") {
    if (tabs != nullptr && tabs->GetCurSel() != 1) {
      tabs->SelectItem(1);
      if (contactsList == nullptr || contactsList->GetCount() == 0) UpdateContactList(u"");
    }
  } else if (name == u"tab_heade3") {
    if (tabs != nullptr && tabs->GetCurSel() != 2) {
      if (callRecordList != nullptr && callRecordList->GetCount() == 0) BuildCallRecordList(u"");
      tabs->SelectItem(2);
    }
  } else if (name == u"tab_heade4") {
    if (tabs != nullptr && tabs->GetCurSel() != 3) {
      PrepareWebPage();
      tabs->SelectItem(3);
    }
  } else if (name == u"whetherShowPhoen") {
    const bool selected = showNumberOption != nullptr && showNumberOption->IsSelected();
    qv::SetConfigValue(u"whetherShowPhoen", selected ? u"1" : u"");
  } else if (tk::CControlUI* parent = msg.pSender->GetParent();
             parent != nullptr && parent->GetName() == u"callingListLayoutForOption") {
    ShowSelectedLine();
  }
}

void QVUI::PrepareWebPage() {
  auto* layout = dynamic_cast<tk::CContainerUI*>(m_PaintManager.FindControl(u"tab_heade4_layout"));
  if (layout == nullptr) return;
  layout->SetFixedHeight(390);
  layout->SetFixedWidth(280);
  if (layout->FindSubControl(u"webs") != nullptr) return;
  auto* browser = new tk::CWebBrowserUI();
  if (!layout->Add(browser)) {
    delete browser;
    return;
  }
  browser->SetName(u"webs");
  browser->SetFixedWidth(278);
  browser->SetAutoNavigation(true);
  browser->SetHomePage(Wide(qv::ServiceBase(qv::Service::Contacts) + "/pcphone/preferential.php"));
}
