// The headless backend: no display. Windows are records with a place, a
// state and a painted list; time is a virtual clock that moves only when a
// test advances it; message boxes and popup menus are answered from
// scripted queues; every box, menu, opened address, sound and tray change
// is recorded. The user-interface thread is the thread that made the
// platform.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ui/toolkit/platform.h"

namespace tk::headless {

class HeadlessWindow;
class HeadlessWebView;

struct MessageBoxRecord {
  HWND owner = nullptr;
  std::u16string ownerClass;   // class name of the owner window ("" without owner)
  std::u16string caption;
  std::u16string text;
  UINT type = MB_OK;
  bool fromWorker = false;
  int answer = 0;
};

struct MenuRecord {
  HWND owner = nullptr;
  Point screenPt;
  UINT flags = 0;
  std::vector<MenuItem> items;
  UINT answer = 0;
};

struct TrayRecord {
  HWND owner = nullptr;
  UINT id = 0;
  std::u16string iconFile;
  std::u16string tip;
};

class HeadlessPlatform : public Platform {
 public:
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  // ---- Platform ----
  std::u16string_view Name() const override { return u"headless"; }
  bool IsUiThread() const override;
  void PostToUiThread(std::function<void()> fn) override;
  int RunMessageLoop() override;
  void QuitMessageLoop(int code) override;
  bool IsQuitting() const override;
  std::uint64_t NowMs() const override;
  std::uint64_t StartTimer(unsigned ms, std::function<void()> tick) override;
  void StopTimer(std::uint64_t id) override;
  std::unique_ptr<NativeWindow> CreateNativeWindow(const NativeWindowParams& params,
                                                   NativeWindowEvents* events) override;
  Rect WorkArea() const override { return m_workArea; }
  Point CursorPos() const override { return m_cursor; }
  int TextWidth(const FontSpec& font, std::u16string_view text) const override;
  int LineHeight(const FontSpec& font) const override;
  int MessageBoxModal(const MessageBoxParams& params) override;
  void MessageBoxAsync(const MessageBoxParams& params, std::function<void(int)> done) override;
  UINT TrackPopupMenu(const PopupMenuParams& params) override;
  bool OpenUrl(std::u16string_view url) override;
  void PlaySound(std::u16string_view path) override;
  bool TrayAdd(const TrayIconParams& params) override;
  bool TrayModify(const TrayIconParams& params) override;
  bool TrayDelete(HWND owner, UINT id) override;
  std::u16string ClipboardText() const override { return m_clipboard; }
  void SetClipboardText(std::u16string_view text) override { m_clipboard = text; }
  std::unique_ptr<NativeWebView> CreateWebView(NativeWindow& host) override;

  // ---- Posted work and the clock (user-interface thread) ----
  // Runs posted work until none is left (work posted meanwhile included);
  // returns how many calls ran.
  int RunPending();
  // Runs posted work and waits for more until pred() is true or `timeoutMs`
  // of real time passed; returns pred().
  bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 30000);
  // Moves the virtual clock forward, firing every timer that falls due, in
  // time order, with posted work run after each tick.
  void AdvanceTime(std::uint64_t ms);
  int QuitCode() const { return m_quitCode; }
  bool HasQuit() const { return m_quitting; }
  // Forgets a quit so a test can go on (a new loop may run).
  void ResetQuit();

  // ---- Scripted answers ----
  // Answers for the next message boxes, in order. Without one, a box is
  // answered IDOK (MB_OK), IDCANCEL (MB_OKCANCEL) or IDNO (MB_YESNO).
  void QueueMessageBoxAnswer(int answer);
  // Or a function that answers every box (after the queue is used up).
  void SetMessageBoxHandler(std::function<int(const MessageBoxRecord&)> handler);
  // Answers (command ids) for the next popup menus; without one: 0.
  void QueueMenuAnswer(UINT command);
  void SetCursorPos(Point pt) { m_cursor = pt; }
  void SetWorkArea(const Rect& rc) { m_workArea = rc; }
  // Whether a system tray exists (TrayAdd fails without one).
  void SetTrayAvailable(bool available) { m_trayAvailable = available; }

  // ---- Records ----
  const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
  const std::vector<MenuRecord>& Menus() const { return m_menus; }
  const std::vector<std::u16string>& OpenedUrls() const { return m_urls; }
  const std::vector<std::u16string>& PlayedSounds() const { return m_sounds; }
  // The sound playing now (the last one; empty after a stop).
  const std::u16string& CurrentSound() const { return m_currentSound; }
  // The icons in the tray now.
  std::vector<TrayRecord> TrayIcons() const;
  // Acts on a tray icon as the user would (WM_LBUTTONDOWN + WM_LBUTTONUP
  // for a left click); false when there is no such icon.
  bool ClickTray(HWND owner, UINT id, bool right = false);
  bool SendTrayMouse(HWND owner, UINT id, UINT mouseMessage);
  void ClearRecords();

  // ---- Windows ----
  HeadlessWindow* Window(HWND hwnd) const;
  std::vector<HeadlessWindow*> Windows() const;
  HWND Foreground() const { return m_foreground; }
  void SetForeground(HWND hwnd) { m_foreground = hwnd; }
  std::vector<HeadlessWebView*> WebViews() const;
  void ForgetWindow(HeadlessWindow* w);
  void ForgetWebView(HeadlessWebView* v);

 private:
  struct Timer {
    std::uint64_t id;
    unsigned period;
    std::uint64_t due;
    std::shared_ptr<std::function<void()>> tick;
  };
  int AnswerFor(const MessageBoxRecord& rec);

  std::thread::id m_uiThread;
  mutable std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<std::function<void()>> m_posted;
  bool m_quitting = false;
  int m_quitCode = 0;

  std::uint64_t m_now = 0;
  std::uint64_t m_nextTimerId = 1;
  std::map<std::uint64_t, Timer> m_timers;

  Rect m_workArea{0, 0, 1280, 800};
  Point m_cursor{640, 400};
  std::u16string m_clipboard;
  bool m_trayAvailable = true;

  std::deque<int> m_boxAnswers;
  std::function<int(const MessageBoxRecord&)> m_boxHandler;
  std::deque<UINT> m_menuAnswers;
  std::vector<MessageBoxRecord> m_boxes;
  std::vector<MenuRecord> m_menus;
  std::vector<std::u16string> m_urls;
  std::vector<std::u16string> m_sounds;
  std::u16string m_currentSound;
  std::map<std::pair<HWND, UINT>, TrayIconParams> m_tray;

  std::vector<HeadlessWindow*> m_windows;
  std::vector<HeadlessWebView*> m_webViews;
  HWND m_foreground = nullptr;
};

class HeadlessWindow : public NativeWindow {
 public:
  HeadlessWindow(HeadlessPlatform& platform, const NativeWindowParams& params, NativeWindowEvents* events);
  ~HeadlessWindow() override;

  void Show(int nCmdShow) override;
  void SetBounds(const Rect& screenRect) override;
  Rect GetBounds() const override { return m_bounds; }
  void SetTitle(std::u16string_view title) override { m_title = title; }
  void SetForeground() override;
  bool IsVisible() const override { return m_visible; }
  bool IsMinimized() const override { return m_minimized; }
  bool IsMaximized() const override { return m_maximized; }
  void Invalidate(const Rect& clientRect) override;
  void SetMinMaxSize(Size minSize, Size maxSize) override { m_minSize = minSize; m_maxSize = maxSize; }

  HWND Handle() const { return m_params.hwnd; }
  const NativeWindowParams& Params() const { return m_params; }
  const std::u16string& Title() const { return m_title; }
  NativeWindowEvents* Events() const { return m_events; }
  int InvalidateCount() const { return m_invalidations; }
  // Paints the window now (as a backend would) and returns the list.
  PaintList Paint();

 private:
  HeadlessPlatform& m_platform;
  NativeWindowParams m_params;
  NativeWindowEvents* m_events;
  Rect m_bounds;
  Rect m_restoreBounds;
  std::u16string m_title;
  bool m_visible = false;
  bool m_minimized = false;
  bool m_maximized = false;
  Size m_minSize, m_maxSize;
  int m_invalidations = 0;
};

class HeadlessWebView : public NativeWebView {
 public:
  HeadlessWebView(HeadlessPlatform& platform, HWND host);
  ~HeadlessWebView() override;
  void Navigate(std::u16string_view url) override { m_urls.emplace_back(url); }
  void SetBounds(const Rect& clientRect) override { m_bounds = clientRect; }
  void SetVisible(bool visible) override { m_visible = visible; }

  HWND Host() const { return m_host; }
  const std::vector<std::u16string>& Navigations() const { return m_urls; }
  const Rect& Bounds() const { return m_bounds; }
  bool Visible() const { return m_visible; }

 private:
  HeadlessPlatform& m_platform;
  HWND m_host;
  std::vector<std::u16string> m_urls;
  Rect m_bounds;
  bool m_visible = false;
};

// Installs a fresh headless platform and returns it.
HeadlessPlatform& InstallHeadless();

}  // namespace tk::headless
