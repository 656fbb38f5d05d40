// Windows: creation runs InitWindow before returning, the shared Escape
// and caption rules, system commands, closing, placement, and the desktop
// services (tray, popup menu, browser, sound).
#include "support.h"

using namespace tk;
using tktest::TestWindow;
using tktest::ToolkitTest;

namespace {
const char* kTitled = R"(<Window size="320,480" caption="0,0,0,40">
  <VerticalLayout>
    <HorizontalLayout height="40">
      <Label name="mainTitle"/>
      <Button name="minbtn" width="30"/><Button name="maxbtn" width="30"/>
      <Button name="restorebtn" width="30" visible="false"/><Button name="closebtn" width="30"/>
    </HorizontalLayout>
    <Edit name="input_phoneText" height="30"/>
    <Control/>
  </VerticalLayout></Window>)";
}  // namespace

TEST_F(ToolkitTest, CreateBuildsTheTreeAndRunsInitWindowBeforeReturning) {
  m_dir.Write("titled.xml", kTitled);
  tktest::TestWindow w(u"titled.xml", u"LoginWin");
  bool sawTitle = false;
  w.onInit = [&](tktest::TestWindow& self) {
    CControlUI* title = self.Pm().FindControl(u"mainTitle");
    sawTitle = title != nullptr;
    if (title) title->SetText(u"Velto电话-登录1.2");
  };
  HWND h = w.Create(nullptr, u"登录", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 300, 550);
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(w.initRan);
  EXPECT_TRUE(sawTitle);
  EXPECT_EQ(w.GetHWND(), h);
  EXPECT_EQ(CWindowWnd::FromHandle(h), &w);
  EXPECT_TRUE(w.IsWindowVisible());
  EXPECT_EQ(w.GetWindowTitle(), u"登录");
  // The explicit size wins over the skin's; CW_USEDEFAULT takes the skin's.
  EXPECT_EQ(w.GetWindowRect(), (Rect{0, 0, 300, 550}));
  tktest::TestWindow chat(u"titled.xml", u"QVDialog");
  chat.Create(nullptr, u"与聊天", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 600, 450, CW_USEDEFAULT);
  EXPECT_EQ(chat.GetWindowRect(), (Rect{0, 600, 450, 1080}));
  chat.CenterWindow();
  Rect work = GetWorkArea();
  EXPECT_EQ(chat.GetWindowRect().left, (work.Width() - 450) / 2);
  chat.DestroyWindow();
  // Hidden without WS_VISIBLE.
  tktest::TestWindow hidden(u"titled.xml");
  hidden.Create(nullptr, u"", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
  EXPECT_FALSE(hidden.IsWindowVisible());
  hidden.DestroyWindow();
  w.DestroyWindow();
}

TEST_F(ToolkitTest, EscapeNeverClosesAndCaptionDoubleClickDoesNothing) {
  TestWindow* w = Open(kTitled);
  Rect before = w->GetWindowRect();
  D().Key(w, VK_ESCAPE);
  EXPECT_NE(w->GetHWND(), nullptr);
  EXPECT_FALSE(w->Saw(WM_KEYDOWN));  // the filter swallowed it
  // Escape while an edit has the focus: swallowed too.
  ASSERT_TRUE(D().Type(w, u"input_phoneText", u"12"));
  D().Key(w, VK_ESCAPE);
  EXPECT_EQ(w->Pm().Find<CEditUI>(u"input_phoneText")->GetText(), u"12");
  EXPECT_NE(w->GetHWND(), nullptr);
  // Other keys pass the filter.
  w->Pm().SetFocus(nullptr);
  D().Key(w, VK_NUMPAD5);
  EXPECT_TRUE(w->Saw(WM_KEYDOWN));
  // Caption double click: WM_NCLBUTTONDBLCLK arrives and nothing happens.
  D().DoubleClickCaption(w);
  EXPECT_TRUE(w->Saw(WM_NCLBUTTONDBLCLK));
  EXPECT_FALSE(w->IsZoomed());
  EXPECT_EQ(w->GetWindowRect(), before);
  // A double click on the caption's label counts as the caption; on a button it does not.
  w->messages.clear();
  D().DoubleClick(w, u"mainTitle");
  EXPECT_TRUE(w->Saw(WM_NCLBUTTONDBLCLK));
  w->messages.clear();
  D().DoubleClick(w, u"minbtn");
  EXPECT_FALSE(w->Saw(WM_NCLBUTTONDBLCLK));
}

TEST_F(ToolkitTest, SystemCommandsMinimiseMaximiseRestore) {
  TestWindow* w = Open(kTitled);
  Rect normal = w->GetWindowRect();
  w->SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(w->IsIconic());
  EXPECT_TRUE(IsIconic(w->GetHWND()));
  w->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(w->IsIconic());
  w->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(w->IsZoomed());
  EXPECT_EQ(w->GetWindowRect(), GetWorkArea());
  w->Pm().UpdateLayout();
  EXPECT_EQ(w->Pm().GetRoot()->GetPos().Width(), GetWorkArea().Width());
  w->SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(w->GetWindowRect(), normal);
  // Tray-style show and hide through the handle.
  ShowWindow(w->GetHWND(), SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(w->GetHWND()));
  ShowWindow(w->GetHWND(), SW_SHOW);
  SetForegroundWindow(w->GetHWND());
  EXPECT_EQ(tktest::Platform().Foreground(), w->GetHWND());
  ShowWindow(w->GetHWND(), SW_MINIMIZE);
  ShowWindow(w->GetHWND(), SW_SHOWNORMAL);
  EXPECT_FALSE(w->IsIconic());
  EXPECT_TRUE(w->IsWindowVisible());
}

TEST_F(ToolkitTest, MoveKeepingSizeAndCentreOverOwner) {
  TestWindow* login = Open(kTitled);
  login->SetWindowPos(490, 125, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  Rect rc;
  ASSERT_TRUE(GetWindowRect(login->GetHWND(), &rc));
  EXPECT_EQ(rc, (Rect{490, 125, 790, 675}));
  m_dir.Write("dlg.xml", kTitled);
  tktest::TestWindow dialog(u"dlg.xml", u"addressBookDialog");
  dialog.Create(login->GetHWND(), u"通讯录管理", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100);
  dialog.CenterWindow();
  EXPECT_EQ(dialog.GetWindowRect(), (Rect{590, 350, 690, 450}));
  EXPECT_TRUE(SetWindowPos(dialog.GetHWND(), nullptr, 5, 6, 0, 0, SWP_NOSIZE));
  EXPECT_EQ(dialog.GetWindowRect(), (Rect{5, 6, 105, 106}));
  dialog.DestroyWindow();
}

TEST_F(ToolkitTest, CloseDestroysTheWindowNotTheObject) {
  TestWindow* w = Open(kTitled);
  HWND h = w->GetHWND();
  w->onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == kNotifyClick && msg.pSender->GetName() == u"closebtn") w->Close(1);
  };
  CControlUI* timerOwner = w->Pm().FindControl(u"mainTitle");
  w->Pm().SetTimer(timerOwner, 1030, 1000);
  ASSERT_TRUE(D().Click(w, u"closebtn"));
  EXPECT_EQ(w->GetHWND(), nullptr);
  EXPECT_TRUE(w->finalRan);
  EXPECT_EQ(w->GetCloseCode(), 1u);
  EXPECT_EQ(CWindowWnd::FromHandle(h), nullptr);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(w->Pm().GetRoot(), nullptr);
  // Stale handles are ignored; timers died with the tree.
  EXPECT_FALSE(ShowWindow(h, SW_SHOW));
  PostMessage(h, WM_USER + 1, 2024, WM_LBUTTONDOWN);
  D().AdvanceTime(5000);
  EXPECT_TRUE(w->Events(kNotifyTimer).empty());
  // The object can make a new window.
  ASSERT_NE(w->Create(nullptr, u"again", WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
  EXPECT_NE(w->GetHWND(), h);
}

TEST_F(ToolkitTest, DesktopCloseRequestPressesTheSkinsCloseButton) {
  TestWindow* w = Open(kTitled);
  D().RequestClose(w);
  EXPECT_EQ(w->Events(kNotifyClick), std::vector<std::u16string>{u"click:closebtn"});
  EXPECT_NE(w->GetHWND(), nullptr);  // the window decides (here: does nothing)
  // Without a close button the window closes.
  TestWindow* bare = Open(R"(<Window><VerticalLayout/></Window>)");
  D().RequestClose(bare);
  EXPECT_EQ(bare->GetHWND(), nullptr);
}

TEST_F(ToolkitTest, TrayMenuBrowserAndSound) {
  TestWindow* w = Open(kTitled);
  NOTIFYICONDATAW tray;
  tray.hWnd = w->GetHWND();
  tray.uID = 2024;
  tray.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  tray.uCallbackMessage = WM_USER + 1;
  tray.szTip = u"Velto网络电话";
  ASSERT_TRUE(Shell_NotifyIcon(NIM_ADD, &tray));
  auto icons = tktest::Platform().TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].tip, u"Velto网络电话");
  std::vector<LPARAM> trayMouse;
  w->onMessage = [&](UINT m, WPARAM wp, LPARAM lp, bool& handled) -> LRESULT {
    if (m == WM_USER + 1 && wp == 2024) {
      trayMouse.push_back(lp);
      handled = true;
    }
    return 0;
  };
  EXPECT_TRUE(D().ClickTray(w, 2024));
  EXPECT_TRUE(D().ClickTray(w, 2024, true));
  EXPECT_EQ(trayMouse, (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}));
  ASSERT_TRUE(Shell_NotifyIcon(NIM_DELETE, &tray));
  EXPECT_TRUE(tktest::Platform().TrayIcons().empty());
  EXPECT_FALSE(D().ClickTray(w, 2024));
  // Without a system tray the icon is refused and nothing else breaks.
  tktest::Platform().SetTrayAvailable(false);
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &tray));
  tktest::Platform().SetTrayAvailable(true);

  PopupMenu menu;
  menu.AppendMenu(MF_STRING, 1029, u"设置菜单");
  menu.AppendMenu(MF_STRING, 1027, u"Velto官方网");
  menu.AppendMenu(MF_STRING, 1028, u"退出");
  tktest::Platform().QueueMenuAnswer(1027);
  tktest::Platform().SetCursorPos({700, 780});
  EXPECT_EQ(menu.Track(w->GetHWND(), GetCursorPos(), TPM_BOTTOMALIGN | TPM_RETURNCMD), 1027u);
  EXPECT_EQ(menu.Track(w->GetHWND(), GetCursorPos(), TPM_BOTTOMALIGN | TPM_RETURNCMD), 0u);
  auto& menus = tktest::Platform().Menus();
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].items[2].text, u"退出");
  EXPECT_EQ(menus[0].screenPt, (Point{700, 780}));

  EXPECT_TRUE(ShellOpen(u"http://127.0.0.1:8905/index/acct"));
  ASSERT_EQ(tktest::Platform().OpenedUrls().size(), 1u);
  EXPECT_EQ(tktest::Platform().OpenedUrls()[0], u"http://127.0.0.1:8905/index/acct");
  PlaySoundFile(u"/x/sound/sound.wav");
  PlaySoundFile(u"/x/sound/sound.wav");
  EXPECT_EQ(tktest::Platform().PlayedSounds().size(), 2u);
  EXPECT_EQ(tktest::Platform().CurrentSound(), u"/x/sound/sound.wav");
}

TEST_F(ToolkitTest, MessageBoxesOnTheUiThreadAreRecorded) {
  TestWindow* w = Open(kTitled);
  tktest::Platform().QueueMessageBoxAnswer(IDYES);
  EXPECT_EQ(MessageBox(w->GetHWND(), u"你确定要退出Velto网络电话软件吗？", u"提示", MB_YESNO), IDYES);
  EXPECT_EQ(MessageBox(nullptr, u"系统错误，文本框不存在", u"提示", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBox(nullptr, u"删除成功", u"提示", MB_OK), IDOK);
  auto& boxes = tktest::Platform().MessageBoxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].owner, w->GetHWND());
  EXPECT_EQ(boxes[0].ownerClass, u"TestWindow");
  EXPECT_EQ(boxes[0].type, MB_YESNO);
  EXPECT_EQ(boxes[1].owner, nullptr);
  EXPECT_EQ(boxes[2].text, u"删除成功");
  EXPECT_FALSE(boxes[0].fromWorker);
  // An owner that is gone is treated as none.
  HWND stale = w->GetHWND();
  w->DestroyWindow();
  MessageBox(stale, u"x", u"提示", MB_OK);
  EXPECT_EQ(tktest::Platform().MessageBoxes().back().owner, nullptr);
}

TEST_F(ToolkitTest, WebBrowserNavigatesWhenShown) {
  TestWindow* w = Open(R"(<Window><TabLayout name="tabs">
      <Control name="p0"/>
      <VerticalLayout name="tab_heade4_layout"/>
    </TabLayout></Window>)");
  auto* layout = w->Pm().Find<CContainerUI>(u"tab_heade4_layout");
  layout->SetFixedHeight(390);
  layout->SetFixedWidth(280);
  ASSERT_EQ(w->Pm().FindSubControlByName(layout, u"webs"), nullptr);
  auto* web = new CWebBrowserUI;
  layout->Add(web);
  web->SetName(u"webs");
  web->SetFixedWidth(278);
  web->SetAutoNavigation(true);
  web->SetHomePage(u"http://127.0.0.1:8901/pcphone/preferential.php");
  w->Pm().UpdateLayout();
  EXPECT_TRUE(web->History().empty());  // not shown yet: nothing loaded
  EXPECT_TRUE(tktest::Platform().WebViews().empty());
  w->Pm().Find<CTabLayoutUI>(u"tabs")->SelectItem(1);
  w->Pm().UpdateLayout();
  ASSERT_EQ(web->History().size(), 1u);
  ASSERT_EQ(tktest::Platform().WebViews().size(), 1u);
  auto* view = tktest::Platform().WebViews()[0];
  EXPECT_TRUE(view->Visible());
  EXPECT_EQ(view->Navigations().back(), u"http://127.0.0.1:8901/pcphone/preferential.php");
  EXPECT_EQ(view->Bounds().Width(), 278);
  web->NavigateUrl(u"");
  EXPECT_EQ(view->Navigations().back(), u"");
  w->Pm().Find<CTabLayoutUI>(u"tabs")->SelectItem(0);
  w->Pm().UpdateLayout();
  EXPECT_FALSE(view->Visible());
}

namespace {
// A window that destroys itself from its own click handler and deletes
// its object when the window is gone.
class SelfDeleting : public tktest::TestWindow {
 public:
  SelfDeleting(bool* gone) : TestWindow(u"self.xml"), m_gone(gone) {}
  void OnFinalMessage(HWND) override {
    *m_gone = true;
    delete this;
  }

 private:
  bool* m_gone;
};
}  // namespace

TEST_F(ToolkitTest, WindowMayDestroyAndDeleteItselfFromItsHandler) {
  m_dir.Write("self.xml", kTitled);
  bool gone = false;
  auto* w = new SelfDeleting(&gone);
  ASSERT_NE(w->Create(nullptr, u"x", WS_VISIBLE, 0, 0, 0, 300, 300), nullptr);
  HWND h = w->GetHWND();
  bool aliveInHandler = false;
  w->onNotify = [w, &aliveInHandler](TNotifyUI& msg) {
    if (msg.pSender->GetName() != u"closebtn") return;
    w->DestroyWindow();
    // A nested loop (a modal box) runs posted work meanwhile: the window
    // stays until the click is handled, and nothing spins.
    tktest::Platform().RunPending();
    aliveInHandler = w->GetHWND() != nullptr;
  };
  ASSERT_TRUE(D().Click(w, u"closebtn"));
  EXPECT_TRUE(aliveInHandler);
  EXPECT_TRUE(gone);
  EXPECT_EQ(CWindowWnd::FromHandle(h), nullptr);
}
