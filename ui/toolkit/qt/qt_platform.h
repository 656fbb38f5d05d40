// tk::Platform on Qt 6 Widgets.
#pragma once

#include <QPointer>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <utility>

#include "ui/toolkit/platform.h"
#include "ui/toolkit/qt/sound_player.h"
#include "ui/toolkit/qt/tray_icon.h"

class QTimer;

namespace tk::qt {

class QtPlatform : public Platform {
 public:
  QtPlatform();
  ~QtPlatform() override;

  std::u16string_view Name() const override { return u"qt"; }
  bool IsUiThread() const override;
  void PostToUiThread(std::function<void()> fn) override;
  int RunMessageLoop() override;
  void QuitMessageLoop(int code) override;
  bool IsQuitting() const override { return m_quitting.load(); }

  std::uint64_t NowMs() const override;
  std::uint64_t StartTimer(unsigned ms, std::function<void()> tick) override;
  void StopTimer(std::uint64_t id) override;

  std::unique_ptr<NativeWindow> CreateNativeWindow(const NativeWindowParams& params,
                                                   NativeWindowEvents* events) override;
  Rect WorkArea() const override;
  Point CursorPos() const override;
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
  std::u16string ClipboardText() const override;
  void SetClipboardText(std::u16string_view text) override;

  std::unique_ptr<NativeWebView> CreateWebView(NativeWindow& host) override;

  // ---- For tests and tools ----
  SoundPlayer& Sounds() { return m_sound; }
  TrayIcon* Tray(HWND owner, UINT id);
  // Addresses handed to the desktop, in order.
  const std::vector<std::u16string>& OpenedUrls() const { return m_openedUrls; }
  // When set, addresses are only recorded, not handed to the desktop
  // (tests: no browser is started).
  void SetRecordUrlsOnly(bool on) { m_recordUrlsOnly = on; }

 private:
  std::atomic<bool> m_quitting{false};
  int m_quitCode = 0;
  std::chrono::steady_clock::time_point m_start;
  std::uint64_t m_nextTimerId = 1;
  std::map<std::uint64_t, QPointer<QTimer>> m_timers;
  SoundPlayer& m_sound;  // never destroyed (see the destructor)
  std::map<std::pair<HWND, UINT>, std::unique_ptr<TrayIcon>> m_tray;
  std::vector<std::u16string> m_openedUrls;
  bool m_recordUrlsOnly = false;
};

}  // namespace tk::qt
