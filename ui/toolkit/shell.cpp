#include "ui/toolkit/shell.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/paths.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/window.h"

namespace tk {

namespace {

// The answer of a box closed without a button.
int RefusingAnswer(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_YESNOCANCEL: return IDCANCEL;
    default: return IDOK;
  }
}

}  // namespace

int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  Platform& platform = CurrentPlatform();
  MessageBoxParams params;
  params.owner = owner;
  params.caption = std::u16string(caption);
  params.text = std::u16string(text);
  params.type = type;
  if (platform.IsUiThread()) {
    if (platform.IsQuitting()) return RefusingAnswer(type);
    if (!CWindowWnd::FromHandle(owner)) params.owner = nullptr;
    return platform.MessageBoxModal(params);
  }
  // A worker: the user-interface thread shows the box; this thread waits.
  params.fromWorker = true;
  struct State {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    int answer = 0;
  };
  auto state = std::make_shared<State>();
  platform.PostToUiThread([state, params, &platform]() mutable {
    if (!CWindowWnd::FromHandle(params.owner)) params.owner = nullptr;
    platform.MessageBoxAsync(params, [state](int answer) {
      std::lock_guard lock(state->mutex);
      state->done = true;
      state->answer = answer;
      state->cv.notify_all();
    });
  });
  std::unique_lock lock(state->mutex);
  while (!state->done) {
    state->cv.wait_for(lock, std::chrono::milliseconds(100));
    if (!state->done && platform.IsQuitting()) return RefusingAnswer(type);
  }
  return state->answer;
}

void PostToUiThread(std::function<void()> fn) {
  if (fn) CurrentPlatform().PostToUiThread(std::move(fn));
}

bool IsUiThread() { return CurrentPlatform().IsUiThread(); }

void PostMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return;
  PostToUiThread([hwnd, uMsg, wParam, lParam] {
    if (CWindowWnd* w = CWindowWnd::FromHandle(hwnd)) w->DispatchMessage(uMsg, wParam, lParam);
  });
}

LRESULT SendMessage(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  return w ? w->SendMessage(uMsg, wParam, lParam) : 0;
}

void PostQuitMessage(int code) {
  Platform& platform = CurrentPlatform();
  if (platform.IsUiThread()) platform.QuitMessageLoop(code);
  else platform.PostToUiThread([code] { CurrentPlatform().QuitMessageLoop(code); });
}

bool ShowWindow(HWND hwnd, int nCmdShow) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  if (!w) return false;
  bool wasVisible = w->IsWindowVisible();
  w->ShowWindow(nCmdShow);
  return wasVisible;
}

bool SetForegroundWindow(HWND hwnd) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  if (!w) return false;
  w->SetForeground();
  return true;
}

bool IsIconic(HWND hwnd) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  return w && w->IsIconic();
}

bool IsWindowVisible(HWND hwnd) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  return w && w->IsWindowVisible();
}

bool IsWindow(HWND hwnd) { return CWindowWnd::FromHandle(hwnd) != nullptr; }

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  (void)insertAfter;
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  if (!w) return false;
  w->SetWindowPos(x, y, cx, cy, flags);
  return true;
}

bool GetWindowRect(HWND hwnd, Rect* rect) {
  CWindowWnd* w = CWindowWnd::FromHandle(hwnd);
  if (!w || !rect) return false;
  *rect = w->GetWindowRect();
  return true;
}

Rect GetWorkArea() { return CurrentPlatform().WorkArea(); }

bool Shell_NotifyIcon(DWORD dwMessage, const NOTIFYICONDATAW* data) {
  if (!data) return false;
  Platform& platform = CurrentPlatform();
  if (dwMessage == NIM_DELETE) return platform.TrayDelete(data->hWnd, data->uID);
  TrayIconParams params;
  params.owner = data->hWnd;
  params.id = data->uID;
  if (!data->hIcon.empty()) {
    std::u16string path = NormalizeSeparators(data->hIcon);
    if (!IsAbsolutePath(path)) {
      CWindowWnd* owner = CWindowWnd::FromHandle(data->hWnd);
      CPaintManagerUI* pm = owner ? owner->GetPaintManager() : nullptr;
      std::u16string resolved = pm ? pm->ResolveImage(path) : std::u16string();
      if (resolved.empty()) resolved = FindExisting(CPaintManagerUI::GetInstancePath() + path);
      path = resolved;
    }
    params.iconFile = path;
  }
  if (data->uFlags & NIF_TIP) params.tip = data->szTip.substr(0, 127);
  if (data->uFlags & NIF_MESSAGE) {
    HWND hwnd = data->hWnd;
    UINT message = data->uCallbackMessage;
    UINT id = data->uID;
    params.onMouse = [hwnd, message, id](UINT mouse) {
      if (CWindowWnd* w = CWindowWnd::FromHandle(hwnd)) w->DispatchMessage(message, id, static_cast<LPARAM>(mouse));
    };
  }
  if (dwMessage == NIM_ADD) return platform.TrayAdd(params);
  if (dwMessage == NIM_MODIFY) return platform.TrayModify(params);
  return false;
}

void PopupMenu::AppendMenu(UINT flags, UINT id, std::u16string_view text) {
  MenuItem item;
  item.id = id;
  item.flags = flags;
  item.text = std::u16string(text);
  m_items.push_back(std::move(item));
}

UINT PopupMenu::Track(HWND owner, Point screenPt, UINT flags) const {
  PopupMenuParams params;
  params.owner = CWindowWnd::FromHandle(owner) ? owner : nullptr;
  params.screenPt = screenPt;
  params.flags = flags;
  params.items = m_items;
  return CurrentPlatform().TrackPopupMenu(params);
}

bool ShellOpen(std::u16string_view url) {
  Platform& platform = CurrentPlatform();
  if (url.empty()) return false;
  if (platform.IsUiThread()) return platform.OpenUrl(url);
  platform.PostToUiThread([u = std::u16string(url)] { CurrentPlatform().OpenUrl(u); });
  return true;
}

void PlaySoundFile(std::u16string_view path) {
  Platform& platform = CurrentPlatform();
  if (platform.IsUiThread()) {
    platform.PlaySound(path);
    return;
  }
  platform.PostToUiThread([p = std::u16string(path)] { CurrentPlatform().PlaySound(p); });
}

Point GetCursorPos() { return CurrentPlatform().CursorPos(); }

std::u16string GetClipboardText() { return CurrentPlatform().ClipboardText(); }

void SetClipboardText(std::u16string_view text) { CurrentPlatform().SetClipboardText(text); }

}  // namespace tk
