// The main window on the headless toolkit: what InitWindow leaves, the
// dial pad and keyboard, the tray icon and its menu, the exit question,
// title-bar buttons and the dispatcher rows that lead somewhere already.
#include <fstream>
#include <sstream>

#include "storage/config.h"
#include "ui/login/login_win.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/web_browser.h"
#include "ui_test_env.h"

namespace {

using tk::headless::Driver;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No service listens at this address: the subscriber-kind request of
    // InitWindow fails fast and harmlessly.
    setenv("QV_HOST_API", "127.0.0.9", 1);
    platform_.ClearRecords();
    platform_.ResetQuit();
    platform_.SetMessageBoxHandler({});
  }

  // Answers the exit question; every other box (a worker's failed fetch
  // may come at any time) gets its default answer.
  void AnswerExitQuestion(int answer) {
    platform_.SetMessageBoxHandler([answer](const tk::headless::MessageBoxRecord& box) {
      if (box.text == u"你确定要退出Velto网络电话软件吗？") return answer;
      return (box.type & tk::MB_TYPEMASK) == tk::MB_YESNO ? tk::IDNO : tk::IDOK;
    });
  }
  void TearDown() override {
    for (QVUI* w : opened_) {
      tk::Shell_NotifyIcon(tk::NIM_DELETE, &w->trayIcon);
      if (w->IsWindow()) w->DestroyWindow();
    }
    theMainWindow = nullptr;
  }

  QVUI* Open(std::string_view config = {}) {
    if (!config.empty()) {
      qv::CreateDataFolder();
      std::ofstream(qv::ToUtf8(qv::ConfigPath()), std::ios::binary) << config;
    }
    auto* w = KeepUntilExit(new QVUI());
    w->phone = u"13800000001";
    theMainWindow = w;
    w->mainHwnd = w->Create(nullptr, u"Velto网络电话", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 0, 0, 300, 550);
    opened_.push_back(w);
    return w;
  }

  std::u16string NumberText(QVUI* w) { return Driver::Find(w, u"input_phoneText")->GetText(); }

  tk::headless::HeadlessPlatform& platform_ = uitest::Platform();
  Driver driver_{uitest::Platform()};
  uitest::WorkFolder folder_;
  std::vector<QVUI*> opened_;
};

TEST_F(MainWindowTest, InitWindowFindsControlsAndSetsUpTheFrame) {
  QVUI* w = Open("user=13800000001,pwd=,CalledListIndex=7,whetherShowPhoen=1");
  EXPECT_TRUE(w->GetSkinError().empty()) << qv::ToUtf8(w->GetSkinError());
  EXPECT_EQ(w->mainHwnd, w->GetHWND());
  EXPECT_EQ(Driver::Find(w, u"mainTitle")->GetText(), u"Velto网络电话1.2");
  EXPECT_EQ(w->calledListIndex, 7);
  EXPECT_EQ(w->callLogPath, u"QVPhone/calledLog13800000001.called");
  EXPECT_TRUE(w->showNumberOption->IsSelected());
  EXPECT_EQ(w->showNumberSetting, u"1");

  ASSERT_NE(w->hangupButton, nullptr);
  EXPECT_FALSE(w->hangupButton->IsEnabled());
  EXPECT_FALSE(w->callTimerContainer->IsVisible());
  EXPECT_FALSE(w->callInfoLayout->IsVisible());
  EXPECT_FALSE(w->answerButton->IsVisible());
  for (auto* member : {w->callStatusLabel, w->calledUserNameLabel, w->numberInput, w->callButton,
                       w->callTimerHours, w->callTimerMinutes, w->callTimerSeconds, w->callTypeIcon,
                       w->userNameLabel, w->locationLabel, w->sortCombo}) {
    EXPECT_NE(member, nullptr);
  }
  EXPECT_NE(w->firstTabOption, nullptr);
  EXPECT_NE(w->tabs, nullptr);
  EXPECT_NE(w->lineOptionsLayout, nullptr);

  // The contacts list lives in its layout; the record page holds the list
  // first and the sort bar after it.
  ASSERT_NE(w->contactsList, nullptr);
  EXPECT_EQ(w->contactsList->GetName(), u"Maillist");
  EXPECT_EQ(w->contactsList->GetParent(), w->contactsLayout);
  EXPECT_FALSE(w->contactsList->GetHeader()->IsVisible());
  auto* records = Driver::Find<tk::CContainerUI>(w, u"calledRecordLayout");
  ASSERT_NE(records, nullptr);
  ASSERT_GE(records->GetCount(), 2);
  EXPECT_EQ(records->GetItemAt(0), w->callRecordList);
  EXPECT_EQ(records->GetItemAt(0)->GetName(), u"calledListUI");
  EXPECT_EQ(records->GetItemAt(1)->GetName(), u"showCallSortLayout");
  EXPECT_TRUE(records->GetItemAt(1)->IsFloat());
  EXPECT_EQ(w->sortCombo->GetText(), u"全部记录");

  auto tray = platform_.TrayIcons();
  ASSERT_EQ(tray.size(), 1u);
  EXPECT_EQ(tray[0].id, QVUI::kTrayIconId);
  EXPECT_EQ(tray[0].tip, u"Velto网络电话");
  EXPECT_EQ(w->trayIcon.uCallbackMessage, 1025u);
  EXPECT_EQ(w->trayIcon.uFlags, 7u);
  EXPECT_TRUE(w->windowShown);
}

TEST_F(MainWindowTest, MissingSettingsGiveDefaults) {
  QVUI* w = Open();
  EXPECT_EQ(w->calledListIndex, 0);
  EXPECT_FALSE(w->showNumberOption->IsSelected());
  EXPECT_TRUE(w->showNumberSetting.empty());
}

TEST_F(MainWindowTest, DialPadButtonsEnterTheirKeys) {
  QVUI* w = Open();
  const std::pair<std::u16string_view, std::u16string_view> keys[] = {
      {u"nuberBtn1", u"1"}, {u"nuberBtn2", u"2"}, {u"nuberBtn3", u"3"}, {u"nuberBtn4", u"4"},
      {u"nuberBtn5", u"5"}, {u"nuberBtn6", u"6"}, {u"nuberBtn7", u"7"}, {u"nuberBtn8", u"8"},
      {u"nuberBtn9", u"9"}, {u"nuberBtn0", u"0"}, {u"asterisk", u"*"},  {u"poundSign", u"#"},
  };
  std::u16string expected;
  for (const auto& [button, key] : keys) {
    ASSERT_TRUE(driver_.Click(w, button)) << qv::ToUtf8(button);
    expected += key;
    EXPECT_EQ(NumberText(w), expected);
  }
  EXPECT_EQ(platform_.PlayedSounds().size(), 12u);
  EXPECT_EQ(platform_.PlayedSounds().back(), tk::CPaintManagerUI::GetInstancePath() + u"sound/sound.wav");

  ASSERT_TRUE(driver_.Click(w, u"call_EditTextDel"));
  expected.pop_back();
  EXPECT_EQ(NumberText(w), expected);
  EXPECT_EQ(platform_.PlayedSounds().size(), 13u);
}

TEST_F(MainWindowTest, DeleteOnEmptyBoxDoesNothingAndPlaysNothing) {
  QVUI* w = Open();
  ASSERT_TRUE(driver_.Click(w, u"call_EditTextDel"));
  driver_.Key(w, tk::VK_BACK);
  EXPECT_EQ(NumberText(w), u"");
  EXPECT_TRUE(platform_.PlayedSounds().empty());
}

TEST_F(MainWindowTest, TwentyThirdKeyIsRefused) {
  QVUI* w = Open();
  for (int i = 0; i < 22; ++i) ASSERT_TRUE(driver_.Click(w, i % 2 ? u"nuberBtn1" : u"nuberBtn2"));
  const std::u16string full = NumberText(w);
  EXPECT_EQ(full.size(), 22u);
  const size_t sounds = platform_.PlayedSounds().size();

  ASSERT_TRUE(driver_.Click(w, u"nuberBtn9"));
  driver_.Key(w, '9');
  EXPECT_EQ(NumberText(w), full);
  EXPECT_EQ(platform_.PlayedSounds().size(), sounds);
  ASSERT_EQ(uitest::CountBoxes(u"输入的号码不能大于22位数"), 2);
  for (const auto& box : uitest::OwnBoxes()) {
    EXPECT_EQ(box.caption, u"提示");
    EXPECT_EQ(box.owner, w->mainHwnd);
  }
  // Deleting still works at the limit.
  driver_.Key(w, tk::VK_BACK);
  EXPECT_EQ(NumberText(w).size(), 21u);
}

TEST_F(MainWindowTest, KeyboardTable) {
  QVUI* w = Open();
  struct Case {
    tk::UINT vk;
    std::u16string_view adds;
  } cases[] = {
      {'0', u"0"},       {'5', u"5"},       {'9', u"9"},       {tk::VK_NUMPAD0, u"0"}, {tk::VK_NUMPAD7, u"7"},
      {tk::VK_NUMPAD9, u"9"}, {'A', u""},   {'Z', u""},        {tk::VK_SPACE, u""},    {tk::VK_TAB, u""},
      {tk::VK_RETURN, u""}, {tk::VK_ESCAPE, u""}, {47, u""},   {58, u""},              {95, u""},
      {tk::VK_MULTIPLY, u""}, {tk::VK_F1, u""},
  };
  std::u16string expected;
  for (const auto& c : cases) {
    driver_.Key(w, c.vk);
    expected += c.adds;
    EXPECT_EQ(NumberText(w), expected) << "virtual key " << c.vk;
  }
  driver_.Key(w, tk::VK_BACK);
  expected.pop_back();
  EXPECT_EQ(NumberText(w), expected);
  EXPECT_TRUE(w->IsWindow()) << "no key closes the window";
}

TEST_F(MainWindowTest, MissingNumberBoxShowsSystemError) {
  QVUI* w = Open();
  w->numberInput = nullptr;
  w->DialPadKey(u"1");
  w->KeyboardDial('1');
  auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, u"系统错误，文本框不存在");
  EXPECT_EQ(boxes[0].type & tk::MB_TYPEMASK, tk::MB_OKCANCEL);
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_TRUE(platform_.PlayedSounds().empty());
}

TEST_F(MainWindowTest, TrayLeftClickAlternatesHideAndShow) {
  QVUI* w = Open();
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId));
  EXPECT_FALSE(w->windowShown);
  EXPECT_FALSE(Driver::IsVisible(w));
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId));
  EXPECT_TRUE(w->windowShown);
  EXPECT_TRUE(Driver::IsVisible(w));
  EXPECT_EQ(platform_.Foreground(), w->GetHWND());

  // A minimised window is restored, not hidden.
  ASSERT_TRUE(driver_.Click(w, u"minbtn"));
  EXPECT_TRUE(tk::IsIconic(w->GetHWND()));
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId));
  EXPECT_FALSE(tk::IsIconic(w->GetHWND()));
  EXPECT_TRUE(w->windowShown);
  EXPECT_TRUE(Driver::IsVisible(w));
}

TEST_F(MainWindowTest, OtherTrayMessagesAreIgnored) {
  QVUI* w = Open();
  w->SendMessage(QVUI::kTrayMessage, 2025, tk::WM_LBUTTONDOWN);
  w->SendMessage(QVUI::kTrayMessage, QVUI::kTrayIconId, tk::WM_LBUTTONDBLCLK);
  EXPECT_TRUE(w->windowShown);
  EXPECT_TRUE(platform_.Menus().empty());
}

TEST_F(MainWindowTest, TrayMenuItemsAndWebSite) {
  QVUI* w = Open();
  platform_.QueueMenuAnswer(QVUI::kMenuWebSite);
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId, true));
  ASSERT_EQ(platform_.Menus().size(), 1u);
  const auto& menu = platform_.Menus()[0];
  ASSERT_EQ(menu.items.size(), 3u);
  EXPECT_EQ(menu.items[0].text, u"设置菜单");
  EXPECT_EQ(menu.items[0].id, 1029u);
  EXPECT_EQ(menu.items[1].text, u"Velto官方网");
  EXPECT_EQ(menu.items[1].id, 1027u);
  EXPECT_EQ(menu.items[2].text, u"退出");
  EXPECT_EQ(menu.items[2].id, 1028u);
  EXPECT_EQ(menu.owner, w->mainHwnd);
  EXPECT_NE(menu.flags & tk::TPM_BOTTOMALIGN, 0u);
  EXPECT_NE(menu.flags & tk::TPM_RETURNCMD, 0u);
  ASSERT_EQ(platform_.OpenedUrls().size(), 1u);
  EXPECT_EQ(platform_.OpenedUrls()[0], u"http://127.0.0.1:8905/");

  // Dismissing the menu does nothing.
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId, true));
  EXPECT_EQ(platform_.OpenedUrls().size(), 1u);
  EXPECT_FALSE(platform_.HasQuit());
}

TEST_F(MainWindowTest, ExitAnsweredNoChangesNothing) {
  QVUI* w = Open();
  platform_.QueueMenuAnswer(QVUI::kMenuExit);
  AnswerExitQuestion(tk::IDNO);
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId, true));
  auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"你确定要退出Velto网络电话软件吗？");
  EXPECT_EQ(boxes[0].caption, u"提示");
  EXPECT_EQ(boxes[0].type & tk::MB_TYPEMASK, tk::MB_YESNO);
  EXPECT_EQ(boxes[0].owner, w->mainHwnd);
  EXPECT_FALSE(platform_.HasQuit());
  EXPECT_EQ(platform_.TrayIcons().size(), 1u);
}

TEST_F(MainWindowTest, ExitAnsweredYesRemovesTrayAndQuits) {
  QVUI* w = Open();
  platform_.QueueMenuAnswer(QVUI::kMenuExit);
  AnswerExitQuestion(tk::IDYES);
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId, true));
  EXPECT_TRUE(platform_.HasQuit());
  EXPECT_EQ(platform_.QuitCode(), 0);
  EXPECT_TRUE(platform_.TrayIcons().empty());
  // The poll timer is stopped: time passes without ticks reaching the window.
  platform_.ResetQuit();
}

TEST_F(MainWindowTest, CloseButtonHidesToTheTray) {
  QVUI* w = Open();
  ASSERT_TRUE(driver_.Click(w, u"closebtn"));
  EXPECT_FALSE(w->windowShown);
  EXPECT_FALSE(Driver::IsVisible(w));
  EXPECT_TRUE(w->IsWindow());
  EXPECT_EQ(platform_.TrayIcons().size(), 1u);
  EXPECT_FALSE(platform_.HasQuit());
  // The desktop's close request goes the same way.
  ASSERT_TRUE(driver_.ClickTray(w, QVUI::kTrayIconId));
  driver_.RequestClose(w);
  EXPECT_TRUE(w->IsWindow());
  EXPECT_FALSE(Driver::IsVisible(w));
}

TEST_F(MainWindowTest, MaxAndRestoreButtonsSwap) {
  QVUI* w = Open();
  auto* maxButton = Driver::Find(w, u"maxbtn");
  auto* restoreButton = Driver::Find(w, u"restorebtn");
  ASSERT_NE(maxButton, nullptr);
  ASSERT_NE(restoreButton, nullptr);
  maxButton->SetVisible(true);  // the skin keeps it hidden on this narrow window
  ASSERT_TRUE(driver_.Click(w, u"maxbtn"));
  EXPECT_TRUE(w->IsZoomed());
  EXPECT_FALSE(maxButton->IsVisible());
  EXPECT_TRUE(restoreButton->IsVisible());
  ASSERT_TRUE(driver_.Click(w, u"restorebtn"));
  EXPECT_FALSE(w->IsZoomed());
  EXPECT_TRUE(maxButton->IsVisible());
  EXPECT_FALSE(restoreButton->IsVisible());
}

TEST_F(MainWindowTest, CaptionDoubleClickAndEscapeAreIgnored) {
  QVUI* w = Open();
  const tk::Rect before = Driver::Bounds(w);
  driver_.DoubleClickCaption(w);
  EXPECT_FALSE(w->IsZoomed());
  EXPECT_EQ(Driver::Bounds(w), before);
  driver_.Key(w, tk::VK_ESCAPE);
  EXPECT_TRUE(w->IsWindow());
  EXPECT_TRUE(Driver::IsVisible(w));
}

TEST_F(MainWindowTest, TabsSwitchPagesAndTheWebPageIsMadeOnce) {
  QVUI* w = Open();
  EXPECT_EQ(w->tabs->GetCurSel(), 0);
  ASSERT_TRUE(driver_.Click(w, u"tab_heade2"));
  EXPECT_EQ(w->tabs->GetCurSel(), 1);
  ASSERT_TRUE(driver_.Click(w, u"tab_heade3"));
  EXPECT_EQ(w->tabs->GetCurSel(), 2);
  ASSERT_TRUE(driver_.Click(w, u"tab_heade4"));
  EXPECT_EQ(w->tabs->GetCurSel(), 3);
  auto* layout = Driver::Find<tk::CContainerUI>(w, u"tab_heade4_layout");
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->GetFixedHeight(), 390);
  EXPECT_EQ(layout->GetFixedWidth(), 280);
  auto webs = layout->FindSubControls(u"webs");
  ASSERT_EQ(webs.size(), 1u);
  auto* browser = dynamic_cast<tk::CWebBrowserUI*>(webs[0]);
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->GetHomePage(), u"http://127.0.0.1:8901/pcphone/preferential.php");
  EXPECT_TRUE(browser->IsAutoNavigation());
  EXPECT_EQ(browser->GetFixedWidth(), 278);

  ASSERT_TRUE(driver_.Click(w, u"tab_heade1"));
  EXPECT_EQ(w->tabs->GetCurSel(), 0);
  ASSERT_TRUE(driver_.Click(w, u"tab_heade4"));
  EXPECT_EQ(layout->FindSubControls(u"webs").size(), 1u);
  // Selecting the tab that shows changes nothing.
  ASSERT_TRUE(driver_.Click(w, u"tab_heade4"));
  EXPECT_EQ(w->tabs->GetCurSel(), 3);
}

TEST_F(MainWindowTest, ShowNumberOptionIsStoredAsOneOrEmpty) {
  QVUI* w = Open("user=13800000001");
  ASSERT_TRUE(driver_.Click(w, u"whetherShowPhoen"));
  EXPECT_TRUE(w->showNumberOption->IsSelected());
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,whetherShowPhoen=1");
  ASSERT_TRUE(driver_.Click(w, u"whetherShowPhoen"));
  EXPECT_FALSE(w->showNumberOption->IsSelected());
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,whetherShowPhoen=");
}

TEST_F(MainWindowTest, RechargeOpensTheAccountPage) {
  QVUI* w = Open();
  ASSERT_TRUE(driver_.Click(w, u"rechargeBtn"));
  ASSERT_EQ(platform_.OpenedUrls().size(), 1u);
  EXPECT_EQ(platform_.OpenedUrls()[0], u"http://127.0.0.1:8905/index/acct");
}

TEST_F(MainWindowTest, CallLineOptionShowsItsLine) {
  QVUI* w = Open();
  w->lineInfo[0] = {u"13912345678", u"张伟", u"通话中", u"callOut", u"北京"};
  auto* option = new tk::COptionUI();
  option->SetAttribute(u"name", u"0");
  option->SetAttribute(u"group", u"callingoption");
  option->SetUserData(u"0");
  option->SetFixedWidth(40);
  option->SetFixedHeight(25);
  w->callInfoLayout->SetVisible(true);
  ASSERT_TRUE(w->lineOptionsLayout->Add(option));
  option->Selected(true);
  EXPECT_EQ(w->currentLine, 0);
  EXPECT_EQ(w->calledUserNameLabel->GetText(), u"13912345678");
  EXPECT_EQ(w->callStatusLabel->GetText(), u"通话中");
  EXPECT_EQ(w->locationLabel->GetText(), u"北京");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, BalanceRepliesFillThePanel) {
  QVUI* w = Open();
  tk::CControlUI* money = Driver::Find(w, u"RemainderMoney");
  tk::CControlUI* package = Driver::Find(w, u"packageLayout");
  ASSERT_NE(money, nullptr);
  ASSERT_NE(package, nullptr);

  w->UpdateBalance(u"{\"result\":\"0\",\"balance\":\"12.50\",\"package\":\"product:18\",\"month_left_time\":\"300\","
                   u"\"validate\":\"2027-01-01 00:00\",\"exp_time\":\"2027-02-01\"}");
  EXPECT_EQ(money->GetText(), u"12.50");
  EXPECT_EQ(package->GetText(), u"包月剩300分钟");
  EXPECT_EQ(package->GetToolTip(), u"50元包月 【590分钟】");
  EXPECT_EQ(w->validity, u"2027-01-0100:00");  // spaces are removed from the whole reply
  EXPECT_EQ(w->expiryTime, u"2027-02-01");

  // No package: the tooltip keeps the earlier description.
  w->UpdateBalance(u"result:0,balance:12 .50,package:");
  EXPECT_EQ(money->GetText(), u"12.50");
  EXPECT_EQ(package->GetText(), u"无包月套餐");
  EXPECT_EQ(package->GetToolTip(), u"50元包月 【590分钟】");

  // An unknown product keeps the earlier description too.
  w->UpdateBalance(u"result:0,balance:3,package:product:99,month_left_time:7");
  EXPECT_EQ(package->GetText(), u"包月剩7分钟");
  EXPECT_EQ(w->packageDescription, u"50元包月 【590分钟】");

  // A refusal shows 查询失败 and clears validity and expiry only.
  w->UpdateBalance(u"result:-1");
  EXPECT_EQ(money->GetText(), u"查询失败");
  EXPECT_EQ(package->GetText(), u"包月剩7分钟");
  EXPECT_TRUE(w->validity.empty());
  EXPECT_TRUE(w->expiryTime.empty());
  EXPECT_EQ(w->balance, u"3");
}

}  // namespace

namespace {

// A login skin that cannot be read ends the phone with a message instead of
// leaving a window that nothing can close.
TEST_F(MainWindowTest, BrokenLoginSkinEndsWithAMessage) {
  const std::u16string installed = tk::CPaintManagerUI::GetInstancePath();
  std::filesystem::create_directories("bin/Skins");
  for (const char* name : {"theme.xml", "quova.xml"}) {
    std::filesystem::copy_file(qv::ToUtf8(installed) + "Skins/" + name, std::string("bin/Skins/") + name);
  }
  std::ofstream("bin/Skins/LoginWin.xml") << "<Window size=\"300,550\"><VerticalLayout><Edit name=";
  tk::CPaintManagerUI::SetInstancePath(qv::Widen(folder_.path() + "/bin/"));
  LoginWin* login = LoginWin::Open(nullptr, false);
  tk::CPaintManagerUI::SetInstancePath(installed);
  EXPECT_EQ(login, nullptr);
  auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"程序运行错误，请联系客服反馈");
  EXPECT_EQ(boxes[0].caption, u"错误");
  EXPECT_TRUE(platform_.HasQuit());
  EXPECT_EQ(driver_.FindWindow(u"LoginWin"), nullptr);
  platform_.ResetQuit();
}

}  // namespace

namespace {

// Every control name the window code looks for is in the skins.
TEST_F(MainWindowTest, SkinsCarryEveryControlName) {
  QVUI* w = Open();
  for (std::u16string_view name :
       {u"mainTitle", u"LayoutMaillist", u"callstatus", u"calledUserName", u"input_phoneText", u"tab_heade1",
        u"tab_heade2", u"tab_heade3", u"tab_heade4", u"tabs", u"CalledBtn", u"hangupBtn", u"calledTimer_Container",
        u"calledTimer_h", u"calledTimer_m", u"calledTimer_s", u"showCallType", u"calledRecordLayout",
        u"userNameLayout", u"callingListLayoutForOption", u"showCallInfoLayout", u"answer_btn", u"show_address",
        u"whetherShowPhoen", u"tab_heade4_layout", u"closebtn", u"minbtn", u"maxbtn", u"restorebtn", u"nuberBtn0",
        u"nuberBtn1", u"nuberBtn2", u"nuberBtn3", u"nuberBtn4", u"nuberBtn5", u"nuberBtn6", u"nuberBtn7",
        u"nuberBtn8", u"nuberBtn9", u"asterisk", u"poundSign", u"call_EditTextDel", u"mainuneuBtn", u"changUserBtn",
        u"logoBtn", u"add_addressList_Btn", u"add_mailList_info", u"edit_mailList_info", u"del_mailList_info",
        u"reCallBtn", u"deleterecord", u"rechargeBtn", u"removeAllcalledBtn", u"RemainderMoney", u"packageLayout",
        u"sortCombo"}) {
    EXPECT_NE(Driver::Find(w, name), nullptr) << qv::ToUtf8(name);
  }
  EXPECT_NE(dynamic_cast<tk::COptionUI*>(Driver::Find(w, u"whetherShowPhoen")), nullptr);
  auto* combo = dynamic_cast<tk::CComboUI*>(w->sortCombo);
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->GetCount(), 4);
  const std::u16string_view filters[] = {u"全部记录", u"呼入记录", u"拨出记录", u"未接记录"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(combo->GetItemAt(i)->GetText(), filters[i]);

  // The pieces built into lists at run time.
  tk::CDialogBuilder builder;
  tk::CControlUI* row = builder.Create(u"called_record.xml", w->GetPaintManager());
  ASSERT_NE(row, nullptr);
  auto* rowBox = row->AsContainer();
  ASSERT_NE(rowBox, nullptr);
  EXPECT_NE(rowBox->FindSubControl(u"calledListItemBtn"), nullptr);
  EXPECT_NE(rowBox->FindSubControl(u"delBtnForCalledList"), nullptr);
  EXPECT_EQ(rowBox->FindSubControl(u"calledListItemBtn")->GetParent(), row);
  delete row;
  tk::CControlUI* item = builder.Create(u"ailist.xml", w->GetPaintManager());
  ASSERT_NE(item, nullptr);
  EXPECT_NE(item->AsContainer()->FindSubControl(u"quovabtn_list"), nullptr);
  delete item;

  LoginWin* login = LoginWin::Open(nullptr, false);
  ASSERT_NE(login, nullptr);
  for (std::u16string_view name : {u"mainTitle", u"user", u"password", u"password2", u"login_btn", u"registerBtn",
                                   u"ContainerPwd2", u"check_pwd", u"reset_password", u"closebtn", u"minbtn",
                                   u"maxbtn", u"restorebtn"}) {
    EXPECT_NE(Driver::Find(login, name), nullptr) << qv::ToUtf8(name);
  }
  EXPECT_NE(dynamic_cast<tk::CCheckBoxUI*>(Driver::Find(login, u"check_pwd")), nullptr);
  login->DestroyWindow();
}

}  // namespace
