// CWebBrowserUI: an embedded web page. The control only holds the address;
// the backend shows a native web view over the control's rectangle while
// the control is shown (created when the page is first shown).
//
// With automatic navigation on, the home page is loaded when the control
// is first shown (or at once when it is already shown); NavigateUrl loads
// an address right away (the empty address shows a blank page).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/toolkit/control.h"

namespace tk {

class NativeWebView;

class CWebBrowserUI : public CControlUI {
 public:
  CWebBrowserUI();
  ~CWebBrowserUI() override;
  std::u16string_view GetClass() const override;

  void NavigateUrl(std::u16string_view url);
  void SetHomePage(std::u16string_view url);
  const std::u16string& GetHomePage() const { return m_sHomePage; }
  void SetAutoNavigation(bool on = true);
  bool IsAutoNavigation() const { return m_bAutoNavigate; }
  void NavigateHomePage();
  // The address last asked for (empty before any navigation).
  const std::u16string& GetUrl() const { return m_sUrl; }
  // Every address asked for, in order (for tests and diagnostics).
  const std::vector<std::u16string>& History() const { return m_history; }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void SetPos(const Rect& rc) override;
  void SetVisible(bool visible = true) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
  void DoPaint(PaintList& list, const Rect& clip) override;

  // Called by the paint manager after every layout pass: creates, moves,
  // shows or hides the native view.
  void SyncNativeView();
  NativeWebView* GetNativeView() const { return m_view.get(); }

 private:
  void Load(const std::u16string& url);

  std::u16string m_sHomePage;
  std::u16string m_sUrl;
  std::vector<std::u16string> m_history;
  bool m_bAutoNavigate = false;
  bool m_bHomeLoaded = false;
  bool m_bPendingLoad = false;
  std::unique_ptr<NativeWebView> m_view;
};

}  // namespace tk
