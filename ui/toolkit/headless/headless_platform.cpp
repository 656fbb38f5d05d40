#include "ui/toolkit/headless/headless_platform.h"

#include <algorithm>
#include <chrono>

#include "ui/toolkit/window.h"

namespace tk::headless {

HeadlessPlatform::HeadlessPlatform() : m_uiThread(std::this_thread::get_id()) {}

HeadlessPlatform::~HeadlessPlatform() = default;

bool HeadlessPlatform::IsUiThread() const { return std::this_thread::get_id() == m_uiThread; }

void HeadlessPlatform::PostToUiThread(std::function<void()> fn) {
  {
    std::lock_guard lock(m_mutex);
    if (m_quitting) return;
    m_posted.push_back(std::move(fn));
  }
  m_cv.notify_all();
}

int HeadlessPlatform::RunPending() {
  int ran = 0;
  while (true) {
    std::function<void()> fn;
    {
      std::lock_guard lock(m_mutex);
      if (m_posted.empty()) break;
      fn = std::move(m_posted.front());
      m_posted.pop_front();
    }
    fn();
    ++ran;
  }
  return ran;
}

bool HeadlessPlatform::PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (true) {
    RunPending();
    if (pred()) return true;
    std::unique_lock lock(m_mutex);
    if (std::chrono::steady_clock::now() >= deadline) break;
    m_cv.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(20)),
                    [this] { return !m_posted.empty(); });
  }
  RunPending();
  return pred();
}

int HeadlessPlatform::RunMessageLoop() {
  while (true) {
    std::function<void()> fn;
    {
      std::unique_lock lock(m_mutex);
      m_cv.wait(lock, [this] { return m_quitting || !m_posted.empty(); });
      if (m_quitting) break;
      fn = std::move(m_posted.front());
      m_posted.pop_front();
    }
    fn();
  }
  return m_quitCode;
}

void HeadlessPlatform::QuitMessageLoop(int code) {
  {
    std::lock_guard lock(m_mutex);
    if (m_quitting) return;
    m_quitting = true;
    m_quitCode = code;
    m_posted.clear();
  }
  m_cv.notify_all();
}

bool HeadlessPlatform::IsQuitting() const {
  std::lock_guard lock(m_mutex);
  return m_quitting;
}

void HeadlessPlatform::ResetQuit() {
  std::lock_guard lock(m_mutex);
  m_quitting = false;
  m_quitCode = 0;
}

std::uint64_t HeadlessPlatform::NowMs() const { return m_now; }

std::uint64_t HeadlessPlatform::StartTimer(unsigned ms, std::function<void()> tick) {
  std::uint64_t id = m_nextTimerId++;
  Timer t{id, std::max(1u, ms), m_now + std::max(1u, ms), std::make_shared<std::function<void()>>(std::move(tick))};
  m_timers.emplace(id, std::move(t));
  return id;
}

void HeadlessPlatform::StopTimer(std::uint64_t id) { m_timers.erase(id); }

void HeadlessPlatform::AdvanceTime(std::uint64_t ms) {
  std::uint64_t target = m_now + ms;
  RunPending();
  while (true) {
    // The earliest timer due by the target time (ties: the older timer first).
    std::uint64_t bestId = 0, bestDue = 0;
    for (auto& [id, t] : m_timers)
      if (t.due <= target && (bestId == 0 || t.due < bestDue)) {
        bestId = id;
        bestDue = t.due;
      }
    if (bestId == 0) break;
    m_now = bestDue;
    auto tick = m_timers[bestId].tick;
    m_timers[bestId].due = bestDue + m_timers[bestId].period;
    (*tick)();
    RunPending();
  }
  m_now = target;
  RunPending();
}

std::unique_ptr<NativeWindow> HeadlessPlatform::CreateNativeWindow(const NativeWindowParams& params,
                                                                   NativeWindowEvents* events) {
  auto w = std::make_unique<HeadlessWindow>(*this, params, events);
  m_windows.push_back(w.get());
  return w;
}

void HeadlessPlatform::ForgetWindow(HeadlessWindow* w) {
  m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), w), m_windows.end());
  if (m_foreground == w->Handle()) m_foreground = nullptr;
}

void HeadlessPlatform::ForgetWebView(HeadlessWebView* v) {
  m_webViews.erase(std::remove(m_webViews.begin(), m_webViews.end(), v), m_webViews.end());
}

HeadlessWindow* HeadlessPlatform::Window(HWND hwnd) const {
  for (HeadlessWindow* w : m_windows)
    if (w->Handle() == hwnd) return w;
  return nullptr;
}

std::vector<HeadlessWindow*> HeadlessPlatform::Windows() const { return m_windows; }

std::vector<HeadlessWebView*> HeadlessPlatform::WebViews() const { return m_webViews; }

int HeadlessPlatform::TextWidth(const FontSpec& font, std::u16string_view text) const {
  // Fixed metrics: ASCII half an em (rounded up), anything else a full em.
  int em = std::max(1, font.size);
  int half = (em + 1) / 2;
  int width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= 0xDC00 && c <= 0xDFFF) continue;  // second half of a pair
    width += c < 0x80 ? half : em;
  }
  return width;
}

int HeadlessPlatform::LineHeight(const FontSpec& font) const { return std::max(1, font.size) + 4; }

int HeadlessPlatform::AnswerFor(const MessageBoxRecord& rec) {
  if (!m_boxAnswers.empty()) {
    int a = m_boxAnswers.front();
    m_boxAnswers.pop_front();
    return a;
  }
  if (m_boxHandler) return m_boxHandler(rec);
  switch (rec.type & MB_TYPEMASK) {
    case MB_OKCANCEL: return IDCANCEL;
    case MB_YESNO: return IDNO;
    case MB_YESNOCANCEL: return IDCANCEL;
    default: return IDOK;
  }
}

int HeadlessPlatform::MessageBoxModal(const MessageBoxParams& params) {
  MessageBoxRecord rec;
  rec.owner = params.owner;
  if (CWindowWnd* w = CWindowWnd::FromHandle(params.owner)) rec.ownerClass = w->GetWindowClassName();
  rec.caption = params.caption;
  rec.text = params.text;
  rec.type = params.type;
  rec.fromWorker = params.fromWorker;
  rec.answer = AnswerFor(rec);
  m_boxes.push_back(rec);
  return rec.answer;
}

void HeadlessPlatform::MessageBoxAsync(const MessageBoxParams& params, std::function<void(int)> done) {
  int answer = MessageBoxModal(params);
  if (done) done(answer);
}

UINT HeadlessPlatform::TrackPopupMenu(const PopupMenuParams& params) {
  MenuRecord rec;
  rec.owner = params.owner;
  rec.screenPt = params.screenPt;
  rec.flags = params.flags;
  rec.items = params.items;
  if (!m_menuAnswers.empty()) {
    rec.answer = m_menuAnswers.front();
    m_menuAnswers.pop_front();
  }
  // Only an enabled item of the menu can be chosen.
  bool valid = false;
  for (auto& item : params.items)
    if (item.id == rec.answer && !(item.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR))) valid = true;
  if (!valid) rec.answer = 0;
  m_menus.push_back(rec);
  return rec.answer;
}

bool HeadlessPlatform::OpenUrl(std::u16string_view url) {
  m_urls.emplace_back(url);
  return true;
}

void HeadlessPlatform::PlaySound(std::u16string_view path) {
  if (!path.empty()) m_sounds.emplace_back(path);
  m_currentSound = path;
}

bool HeadlessPlatform::TrayAdd(const TrayIconParams& params) {
  if (!m_trayAvailable) return false;
  auto key = std::make_pair(params.owner, params.id);
  if (m_tray.count(key)) return false;
  m_tray[key] = params;
  return true;
}

bool HeadlessPlatform::TrayModify(const TrayIconParams& params) {
  auto it = m_tray.find(std::make_pair(params.owner, params.id));
  if (it == m_tray.end()) return false;
  it->second = params;
  return true;
}

bool HeadlessPlatform::TrayDelete(HWND owner, UINT id) { return m_tray.erase(std::make_pair(owner, id)) > 0; }

std::vector<TrayRecord> HeadlessPlatform::TrayIcons() const {
  std::vector<TrayRecord> out;
  for (auto& [key, p] : m_tray) out.push_back({p.owner, p.id, p.iconFile, p.tip});
  return out;
}

bool HeadlessPlatform::SendTrayMouse(HWND owner, UINT id, UINT mouseMessage) {
  auto it = m_tray.find(std::make_pair(owner, id));
  if (it == m_tray.end()) return false;
  auto onMouse = it->second.onMouse;  // the handler may delete the icon
  if (onMouse) onMouse(mouseMessage);
  RunPending();
  return true;
}

bool HeadlessPlatform::ClickTray(HWND owner, UINT id, bool right) {
  if (!SendTrayMouse(owner, id, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN)) return false;
  SendTrayMouse(owner, id, right ? WM_RBUTTONUP : WM_LBUTTONUP);
  return true;
}

void HeadlessPlatform::QueueMessageBoxAnswer(int answer) { m_boxAnswers.push_back(answer); }

void HeadlessPlatform::SetMessageBoxHandler(std::function<int(const MessageBoxRecord&)> handler) {
  m_boxHandler = std::move(handler);
}

void HeadlessPlatform::QueueMenuAnswer(UINT command) { m_menuAnswers.push_back(command); }

void HeadlessPlatform::ClearRecords() {
  m_boxes.clear();
  m_menus.clear();
  m_urls.clear();
  m_sounds.clear();
}

std::unique_ptr<NativeWebView> HeadlessPlatform::CreateWebView(NativeWindow& host) {
  auto* hw = dynamic_cast<HeadlessWindow*>(&host);
  auto v = std::make_unique<HeadlessWebView>(*this, hw ? hw->Handle() : nullptr);
  m_webViews.push_back(v.get());
  return v;
}

// ---------------------------------------------------------------------------

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, const NativeWindowParams& params,
                               NativeWindowEvents* events)
    : m_platform(platform), m_params(params), m_events(events), m_bounds(params.bounds), m_title(params.title) {}

HeadlessWindow::~HeadlessWindow() { m_platform.ForgetWindow(this); }

void HeadlessWindow::Show(int nCmdShow) {
  bool wasMin = m_minimized, wasMax = m_maximized;
  switch (nCmdShow) {
    case SW_HIDE:
      m_visible = false;
      if (m_platform.Foreground() == Handle()) m_platform.SetForeground(nullptr);
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      m_visible = true;
      m_minimized = true;
      break;
    case SW_SHOWMAXIMIZED:
      m_visible = true;
      m_minimized = false;
      if (!m_maximized) {
        m_restoreBounds = m_bounds;
        m_maximized = true;
        m_bounds = m_platform.WorkArea();
      }
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      m_visible = true;
      if (m_minimized) m_minimized = false;
      else if (m_maximized) {
        m_maximized = false;
        m_bounds = m_restoreBounds;
      }
      break;
    default:  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE, SW_SHOWDEFAULT
      m_visible = true;
      break;
  }
  if (m_maximized != wasMax && m_events)
    m_events->OnResized({m_bounds.Width(), m_bounds.Height()});
  if ((m_minimized != wasMin || m_maximized != wasMax) && m_events)
    m_events->OnStateChanged(m_minimized ? SIZE_MINIMIZED : m_maximized ? SIZE_MAXIMIZED : SIZE_RESTORED);
}

void HeadlessWindow::SetBounds(const Rect& screenRect) {
  Rect r = screenRect;
  int w = r.Width(), h = r.Height();
  if (m_minSize.cx > 0) w = std::max(w, m_minSize.cx);
  if (m_minSize.cy > 0) h = std::max(h, m_minSize.cy);
  if (m_maxSize.cx > 0) w = std::min(w, m_maxSize.cx);
  if (m_maxSize.cy > 0) h = std::min(h, m_maxSize.cy);
  r.right = r.left + std::max(0, w);
  r.bottom = r.top + std::max(0, h);
  bool resized = r.Width() != m_bounds.Width() || r.Height() != m_bounds.Height();
  bool moved = r.left != m_bounds.left || r.top != m_bounds.top;
  m_bounds = r;
  if (resized && m_events) m_events->OnResized({r.Width(), r.Height()});
  if (moved && m_events) m_events->OnMoved({r.left, r.top});
}

void HeadlessWindow::SetForeground() {
  if (m_visible && !m_minimized) m_platform.SetForeground(Handle());
}

void HeadlessWindow::Invalidate(const Rect& clientRect) {
  (void)clientRect;
  ++m_invalidations;
}

PaintList HeadlessWindow::Paint() {
  PaintList list;
  if (m_events) m_events->OnPaint(list, {0, 0, m_bounds.Width(), m_bounds.Height()});
  return list;
}

// ---------------------------------------------------------------------------

HeadlessWebView::HeadlessWebView(HeadlessPlatform& platform, HWND host) : m_platform(platform), m_host(host) {}

HeadlessWebView::~HeadlessWebView() { m_platform.ForgetWebView(this); }

HeadlessPlatform& InstallHeadless() {
  return static_cast<HeadlessPlatform&>(InstallPlatform(std::make_unique<HeadlessPlatform>()));
}

}  // namespace tk::headless
