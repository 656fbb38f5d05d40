// The login window against the local service (test stack): remembered
// credentials on first and second start, every result code and its
// message, empty fields, the hand-over to the main window and the change
// of user.
#include <fstream>
#include <sstream>

#include "storage/config.h"
#include "ui/login/login_win.h"
#include "ui/main/qvui.h"
#include "ui/main/window_keeper.h"
#include "ui_test_env.h"
#include "web/http_get.h"
#include "web/sign.h"

namespace {

using tk::headless::Driver;

constexpr std::u16string_view kNumber = u"13800000001";
constexpr std::u16string_view kPassword = u"123456";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A command of the service's test control.
std::string Control(const std::string& command) {
  return qv::ToUtf8(qv::HttpGet("http://127.0.0.1:8909/control/" + command));
}

// The "/reg" requests the service received, as its JSON text.
std::string RegRequests() { return Control("requests?path=/reg"); }
int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class LoginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("QV_HOST_API");
    ASSERT_EQ(Control("reset"), "OK");
    platform_.SetMessageBoxHandler({});
    platform_.ClearRecords();
    platform_.ResetQuit();
    main_ = KeepUntilExit(new QVUI());
    theMainWindow = main_;
  }
  void TearDown() override {
    if (QVUI* w = theMainWindow.load()) tk::Shell_NotifyIcon(tk::NIM_DELETE, &w->trayIcon);
    for (tk::CWindowWnd* w : platform_windows()) {
      if (w->IsWindow()) w->DestroyWindow();
    }
    theMainWindow = nullptr;
  }

  std::vector<tk::CWindowWnd*> platform_windows() {
    std::vector<tk::CWindowWnd*> all;
    for (auto* native : platform_.Windows()) {
      if (auto* w = tk::CWindowWnd::FromHandle(native->Handle())) all.push_back(w);
    }
    return all;
  }

  LoginWin* OpenLogin() {
    LoginWin* login = LoginWin::Open(theMainWindow.load(), false);
    EXPECT_NE(login, nullptr);
    EXPECT_TRUE(login->GetSkinError().empty()) << qv::ToUtf8(login->GetSkinError());
    return login;
  }

  std::u16string Text(tk::CWindowWnd* w, std::u16string_view name) { return Driver::Find(w, name)->GetText(); }
  bool Ticked(LoginWin* w) { return Driver::Find<tk::CCheckBoxUI>(w, u"check_pwd")->GetCheck(); }

  // Clicks the login button and waits until the attempt is over: the
  // button enabled again (failure) or the login window closed (success).
  void ClickLoginAndWait(LoginWin* login) {
    ASSERT_TRUE(driver_.Click(login, u"login_btn"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return login->loginSucceeded || login->loginButton->IsEnabled(); }));
    if (login->loginSucceeded) {
      driver_.AdvanceTime(1000);
      driver_.RunPending();
    }
  }

  void LogInAs(LoginWin* login, std::u16string_view number, std::u16string_view password, bool remember) {
    ASSERT_TRUE(driver_.Type(login, u"user", number));
    ASSERT_TRUE(driver_.Type(login, u"password", password));
    if (Ticked(login) != remember) {
      ASSERT_TRUE(driver_.Click(login, u"check_pwd"));
    }
    ClickLoginAndWait(login);
  }

  tk::headless::HeadlessPlatform& platform_ = uitest::Platform();
  Driver driver_{uitest::Platform()};
  uitest::WorkFolder folder_;
  QVUI* main_ = nullptr;
};

TEST_F(LoginTest, FirstStartShowsEmptyBoxesAndRemembersAfterLogin) {
  LoginWin* login = OpenLogin();
  EXPECT_EQ(Text(login, u"mainTitle"), u"Velto电话-登录1.2");
  EXPECT_EQ(Text(login, u"user"), u"");
  EXPECT_EQ(Text(login, u"password"), u"");
  EXPECT_FALSE(Ticked(login));
  EXPECT_FALSE(Driver::Find(login, u"ContainerPwd2")->IsVisible());
  EXPECT_TRUE(std::filesystem::is_directory("QVPhone"));

  const tk::Rect loginRect = Driver::Bounds(login);
  LogInAs(login, kNumber, kPassword, true);
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,pwd=678901");
  EXPECT_TRUE(login->userChanged);

  // The main window took over at the login window's corner.
  ASSERT_TRUE(main_->IsWindow());
  EXPECT_FALSE(login->IsWindow());
  const tk::Rect mainRect = Driver::Bounds(main_);
  EXPECT_EQ(mainRect.left, loginRect.left);
  EXPECT_EQ(mainRect.top, loginRect.top);
  EXPECT_EQ(mainRect.Width(), 300);
  EXPECT_EQ(mainRect.Height(), 550);
  EXPECT_EQ(main_->phone, kNumber);
  EXPECT_EQ(main_->password, kPassword);
  EXPECT_EQ(main_->uid, u"10001");
  EXPECT_EQ(main_->sign, qv::SignText(u"10001!*!mwtqd%@%"));
  // The subscriber kind arrives from the worker.
  ASSERT_TRUE(driver_.PumpUntil([&] { return !main_->userType.empty(); }));
  EXPECT_EQ(main_->userType, u"1");
  EXPECT_EQ(main_->userNameLabel->GetText(), u"13800000001正式用户");
  // The balance panel of the demo subscriber.
  tk::CControlUI* money = Driver::Find(main_, u"RemainderMoney");
  ASSERT_TRUE(driver_.PumpUntil([&] { return !money->GetText().empty(); }));
  EXPECT_EQ(money->GetText(), u"58.60");
  EXPECT_EQ(Driver::Find(main_, u"packageLayout")->GetText(), u"包月剩372分钟");
  EXPECT_NE(Control("requests?path=/search_balance").find("/search_balance?sign=" +
                                                          qv::ToUtf8(main_->sign) + "&uid=10001&pwd=123456"),
            std::string::npos);
  EXPECT_TRUE(uitest::OwnBoxes().empty());

  // The request: keys in order, the scrambled password, the number signature.
  const std::string requests = RegRequests();
  EXPECT_NE(requests.find("/reg?phone=13800000001&pwd=678901&agent_id=-1&sign=" +
                          qv::ToUtf8(qv::SignText(u"13800000001!*!mwtqd%@%")) + "&pv=pc&v=1.2"),
            std::string::npos)
      << requests;
}

TEST_F(LoginTest, SecondStartSendsTheRememberedScrambledPasswordUnchanged) {
  qv::CreateDataFolder();
  std::ofstream("QVPhone/config.conf", std::ios::binary) << "user=13800000001,pwd=678901";
  LoginWin* login = OpenLogin();
  EXPECT_EQ(Text(login, u"user"), kNumber);
  EXPECT_EQ(Text(login, u"password"), u"678901");
  EXPECT_TRUE(Ticked(login));
  ClickLoginAndWait(login);
  EXPECT_FALSE(login->userChanged);
  EXPECT_TRUE(main_->IsWindow());
  EXPECT_EQ(main_->password, kPassword);
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,pwd=678901");
  EXPECT_EQ(CountOf(RegRequests(), "&pwd=678901&"), 1);
}

TEST_F(LoginTest, TypedPasswordReplacesTheRememberedOne) {
  qv::CreateDataFolder();
  std::ofstream("QVPhone/config.conf", std::ios::binary) << "user=13800000001,pwd=01234";
  LoginWin* login = OpenLogin();
  Driver::Find(login, u"password")->SetText(u"");
  ASSERT_TRUE(driver_.Type(login, u"password", kPassword));
  ClickLoginAndWait(login);
  EXPECT_TRUE(main_->IsWindow());
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,pwd=678901");
}

TEST_F(LoginTest, UntickedBoxStoresNoPassword) {
  LoginWin* login = OpenLogin();
  LogInAs(login, kNumber, kPassword, false);
  EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,pwd=");
  // The next start shows the number only.
  LoginWin* again = OpenLogin();
  EXPECT_EQ(Text(again, u"user"), kNumber);
  EXPECT_EQ(Text(again, u"password"), u"");
  EXPECT_FALSE(Ticked(again));
}

TEST_F(LoginTest, EmptyFieldsAskForInputAndSendNothing) {
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Click(login, u"login_btn"));
  ASSERT_TRUE(driver_.Type(login, u"user", kNumber));
  ASSERT_TRUE(driver_.Click(login, u"login_btn"));
  auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].text, u"请输入用户名");
  EXPECT_EQ(boxes[1].text, u"请输入密码");
  for (const auto& box : boxes) {
    EXPECT_EQ(box.caption, u"提示");
    EXPECT_EQ(box.owner, nullptr);
  }
  EXPECT_TRUE(login->loginButton->IsEnabled());
  EXPECT_EQ(CountOf(RegRequests(), "\"path\":\"/reg\""), 0);
  EXPECT_FALSE(std::filesystem::exists("QVPhone/config.conf"));
}

TEST_F(LoginTest, EveryResultCodeHasItsMessage) {
  struct Case {
    std::string script;
    std::u16string_view message;
  } cases[] = {
      {"result=-3", u"手机号码错误"}, {"result=-2", u"密码错误"}, {"result=-1", u"登录失败"},
      {"result=5", u"未知错误"},      {"body=", u"登录失败"},     {"body=garbage", u"未知错误"},
  };
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Type(login, u"user", kNumber));
  ASSERT_TRUE(driver_.Type(login, u"password", kPassword));
  for (const auto& c : cases) {
    platform_.ClearRecords();
    ASSERT_EQ(Control("script?path=/reg&" + c.script), "OK");
    ClickLoginAndWait(login);
    auto boxes = uitest::OwnBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.script;
    EXPECT_EQ(boxes[0].text, c.message) << c.script;
    EXPECT_EQ(boxes[0].caption, u"提示");
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_TRUE(login->loginButton->IsEnabled()) << c.script;
    EXPECT_TRUE(login->IsWindow());
    EXPECT_FALSE(main_->IsWindow());
    // A failed attempt is remembered too.
    EXPECT_EQ(ReadFile("QVPhone/config.conf"), "user=13800000001,pwd=") << c.script;
  }
  // The real service refuses a wrong password with -2.
  platform_.ClearRecords();
  Driver::Find(login, u"password")->SetText(u"");
  ASSERT_TRUE(driver_.Type(login, u"password", u"654321"));
  ClickLoginAndWait(login);
  ASSERT_EQ(uitest::OwnBoxes().size(), 1u);
  EXPECT_EQ(uitest::OwnBoxes()[0].text, u"密码错误");
}

TEST_F(LoginTest, ReturnInThePasswordBoxLogsIn) {
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Type(login, u"user", kNumber));
  ASSERT_TRUE(driver_.Type(login, u"password", kPassword));
  driver_.Key(login, tk::VK_RETURN);
  EXPECT_FALSE(login->loginButton->IsEnabled());
  ASSERT_TRUE(driver_.PumpUntil([&] { return login->loginSucceeded; }));
  driver_.AdvanceTime(1000);
  driver_.RunPending();
  EXPECT_TRUE(main_->IsWindow());
  EXPECT_EQ(CountOf(RegRequests(), "\"path\":\"/reg\""), 1);
}

TEST_F(LoginTest, UpdateQuestionYesOpensTheSiteAndEnds) {
  ASSERT_EQ(Control("notice?enabled=1&addr=http%3A%2F%2F127.0.0.1%3A8905%2Fdownload"), "OK");
  platform_.SetMessageBoxHandler([](const tk::headless::MessageBoxRecord& box) {
    return box.text == u"有最新版本，是否升级!" ? tk::IDYES : tk::IDOK;
  });
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.PumpUntil([&] { return uitest::CountBoxes(u"有最新版本，是否升级!") == 1; }));
  ASSERT_TRUE(driver_.PumpUntil([&] { return login->updateWanted.load(); }));
  const auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  const auto& box = boxes[0];
  EXPECT_EQ(box.owner, nullptr);
  EXPECT_EQ(box.caption, u"提示");
  EXPECT_EQ(box.type & tk::MB_TYPEMASK, tk::MB_YESNO);
  driver_.AdvanceTime(1000);
  ASSERT_EQ(platform_.OpenedUrls().size(), 1u);
  EXPECT_EQ(platform_.OpenedUrls()[0], u"http://127.0.0.1:8905/");
  EXPECT_TRUE(platform_.HasQuit());
  platform_.ResetQuit();
  platform_.SetMessageBoxHandler({});
}

TEST_F(LoginTest, UpdateQuestionNoChangesNothing) {
  ASSERT_EQ(Control("notice?enabled=1&addr=http%3A%2F%2F127.0.0.1%3A8905%2Fdownload"), "OK");
  LoginWin* login = OpenLogin();  // unanswered Yes/No boxes get No
  ASSERT_TRUE(driver_.PumpUntil([&] { return uitest::CountBoxes(u"有最新版本，是否升级!") == 1; }));
  driver_.AdvanceTime(3000);
  EXPECT_FALSE(login->updateWanted.load());
  EXPECT_TRUE(platform_.OpenedUrls().empty());
  EXPECT_FALSE(platform_.HasQuit());
  EXPECT_EQ(uitest::CountBoxes(u"有最新版本，是否升级!"), 1);
}

TEST_F(LoginTest, CloseButtonEndsTheProcess) {
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Click(login, u"closebtn"));
  EXPECT_TRUE(platform_.HasQuit());
  EXPECT_EQ(platform_.QuitCode(), 0);
  platform_.ResetQuit();
}

TEST_F(LoginTest, CaptionDoubleClickAndEscapeAreIgnored) {
  LoginWin* login = OpenLogin();
  const tk::Rect before = Driver::Bounds(login);
  driver_.DoubleClickCaption(login);
  EXPECT_EQ(Driver::Bounds(login), before);
  EXPECT_FALSE(login->IsZoomed());
  driver_.Key(login, tk::VK_ESCAPE);
  ASSERT_TRUE(driver_.Click(login, u"user"));
  driver_.Key(login, tk::VK_ESCAPE);
  EXPECT_TRUE(login->IsWindow());
  EXPECT_TRUE(Driver::IsVisible(login));
}

TEST_F(LoginTest, ChangeUserIsRefusedDuringACallAndWorksAfterIt) {
  LoginWin* login = OpenLogin();
  LogInAs(login, kNumber, kPassword, true);
  ASSERT_TRUE(main_->IsWindow());
  platform_.ClearRecords();

  // One call-line option: a call is in progress.
  auto* option = new tk::COptionUI();
  option->SetAttribute(u"name", u"0");
  option->SetAttribute(u"group", u"callingoption");
  option->SetUserData(u"0");
  ASSERT_TRUE(main_->lineOptionsLayout->Add(option));
  ASSERT_TRUE(driver_.Click(main_, u"changUserBtn"));
  auto boxes = uitest::OwnBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"正在通话中，无法切换");
  EXPECT_EQ(boxes[0].owner, nullptr);
  EXPECT_EQ(theMainWindow.load(), main_);
  EXPECT_TRUE(main_->IsWindow());

  // The call ended: its option is gone.
  ASSERT_TRUE(main_->lineOptionsLayout->Remove(option));
  ASSERT_TRUE(driver_.Click(main_, u"changUserBtn"));
  driver_.RunPending();
  EXPECT_EQ(theMainWindow.load(), nullptr);
  EXPECT_FALSE(main_->IsWindow());
  EXPECT_TRUE(platform_.TrayIcons().empty());
  auto* next = dynamic_cast<LoginWin*>(driver_.FindWindow(u"LoginWin"));
  ASSERT_NE(next, nullptr);
  EXPECT_NE(next, login);
  EXPECT_TRUE(next->userChanged);
  EXPECT_EQ(next->mainWindow, nullptr);
  EXPECT_TRUE(Driver::IsVisible(next));
  EXPECT_EQ(Text(next, u"user"), kNumber);

  // The same subscriber logs in again: a new main window object.
  ClickLoginAndWait(next);
  QVUI* second = theMainWindow.load();
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, main_);
  EXPECT_EQ(next->mainWindow, second);
  EXPECT_TRUE(second->IsWindow());
  EXPECT_TRUE(next->userChanged);
  EXPECT_EQ(platform_.TrayIcons().size(), 1u);
}

TEST_F(LoginTest, RegistrationViewSwitchesButtonsAndRow) {
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Click(login, u"registerBtn"));
  EXPECT_EQ(login->viewMode, u"2");
  EXPECT_EQ(Text(login, u"login_btn"), u"返回登录");
  EXPECT_EQ(Text(login, u"registerBtn"), u"提交注册");
  EXPECT_TRUE(Driver::Find(login, u"ContainerPwd2")->IsVisible());
  ASSERT_TRUE(driver_.Click(login, u"login_btn"));
  EXPECT_EQ(login->viewMode, u"1");
  EXPECT_EQ(Text(login, u"login_btn"), u"登  录");
  EXPECT_EQ(Text(login, u"registerBtn"), u"注  册");
  EXPECT_FALSE(Driver::Find(login, u"ContainerPwd2")->IsVisible());
  EXPECT_EQ(CountOf(RegRequests(), "\"path\":\"/reg\""), 0);
}

TEST_F(LoginTest, RegistrationChecksAndResults) {
  struct Case {
    std::u16string_view number, first, second;
    std::string script;  // scripted "/reg" reply; empty: none is sent
    std::u16string_view message;
  } cases[] = {
      {u"138x0000000", u"a", u"a", "", u"用户名有非法字符！只能是数字组成"},
      {u"", u"a", u"a", "", u"请输入用户名"},
      {u"13811112222", u"", u"a", "", u"请输入密码"},
      {u"13811112222", u"a", u"", "", u"请输入密码"},
      {u"13811112222", u"a", u"b", "", u"输入的两次密码不一样，请重新输入"},
      {u"13811112222", u"a", u"a", "result=-1", u"注册失败"},
      {u"13811112222", u"a", u"a", "result=-6", u"签名错误"},
      {u"13811112222", u"a", u"a", "result=-10", u"后台程序错误"},
      {u"13811112222", u"a", u"a", "result=-13", u"后台程序错误"},
      {u"13811112222", u"a", u"a", "result=-4", u"未知错误"},
  };
  LoginWin* login = OpenLogin();
  ASSERT_TRUE(driver_.Click(login, u"registerBtn"));
  int sent = 0;
  for (const auto& c : cases) {
    platform_.ClearRecords();
    Driver::Find(login, u"user")->SetText(c.number);
    Driver::Find(login, u"password")->SetText(c.first);
    Driver::Find(login, u"password2")->SetText(c.second);
    if (!c.script.empty()) {
      ASSERT_EQ(Control("script?path=/reg&" + c.script), "OK");
      ++sent;
    }
    ASSERT_TRUE(driver_.Click(login, u"registerBtn"));
    auto boxes = uitest::OwnBoxes();
    ASSERT_EQ(boxes.size(), 1u) << c.script;
    EXPECT_EQ(boxes[0].text, c.message) << c.script;
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(CountOf(RegRequests(), "\"path\":\"/reg\""), sent);
    EXPECT_EQ(login->viewMode, u"2");
  }
  EXPECT_NE(RegRequests().find("&agent_id=&sign="), std::string::npos);
  EXPECT_FALSE(login->userChanged);

  // A new subscriber: registered, then logged in at once.
  platform_.ClearRecords();
  Driver::Find(login, u"user")->SetText(u"13811112222");
  Driver::Find(login, u"password")->SetText(u"secret1");
  Driver::Find(login, u"password2")->SetText(u"secret1");
  ASSERT_TRUE(driver_.Click(login, u"registerBtn"));
  ASSERT_GE(uitest::OwnBoxes().size(), 1u);
  EXPECT_EQ(uitest::OwnBoxes()[0].text, u"注册成功");
  EXPECT_TRUE(login->userChanged);
  // The login button stays enabled in this view: wait for the flag itself.
  ASSERT_TRUE(driver_.PumpUntil([&] { return login->loginSucceeded; }, 20000));
  driver_.AdvanceTime(1000);
  driver_.RunPending();
  EXPECT_TRUE(main_->IsWindow());
  EXPECT_EQ(main_->phone, u"13811112222");
}

}  // namespace
