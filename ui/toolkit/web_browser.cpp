#include "ui/toolkit/web_browser.h"

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/window.h"

namespace tk {

CWebBrowserUI::CWebBrowserUI() = default;

CWebBrowserUI::~CWebBrowserUI() { m_view.reset(); }

std::u16string_view CWebBrowserUI::GetClass() const { return u"WebBrowser"; }

void CWebBrowserUI::Load(const std::u16string& url) {
  m_sUrl = url;
  if (m_history.size() < 10000) m_history.push_back(url);
  if (m_view) {
    m_view->Navigate(url);
    m_bPendingLoad = false;
  } else {
    m_bPendingLoad = true;
  }
}

void CWebBrowserUI::NavigateUrl(std::u16string_view url) {
  m_bHomeLoaded = true;  // an explicit address wins over the home page
  Load(std::u16string(url));
}

void CWebBrowserUI::SetHomePage(std::u16string_view url) {
  m_sHomePage = url;
  if (m_bAutoNavigate && IsShown()) SyncNativeView();
}

void CWebBrowserUI::SetAutoNavigation(bool on) {
  m_bAutoNavigate = on;
  if (on && IsShown()) SyncNativeView();
}

void CWebBrowserUI::NavigateHomePage() {
  if (!m_sHomePage.empty()) NavigateUrl(m_sHomePage);
}

bool CWebBrowserUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"homepage") {
    SetHomePage(value);
  } else if (name == u"autonavi") {
    if (auto b = ParseBool(value)) SetAutoNavigation(*b);
  } else {
    return CControlUI::SetAttribute(name, value);
  }
  return true;
}

void CWebBrowserUI::SetPos(const Rect& rc) {
  CControlUI::SetPos(rc);
  if (m_view) m_view->SetBounds(rc);
}

void CWebBrowserUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  if (m_view && !visible) m_view->SetVisible(false);
}

void CWebBrowserUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
  if (!manager) m_view.reset();
  CControlUI::SetManager(manager, parent);
}

void CWebBrowserUI::SyncNativeView() {
  bool shown = IsShown() && !m_rcItem.IsEmpty();
  if (!shown) {
    if (m_view) m_view->SetVisible(false);
    return;
  }
  if (!m_view) {
    CWindowWnd* window = m_pManager ? m_pManager->GetWindow() : nullptr;
    NativeWindow* host = window ? window->GetNativeWindow() : nullptr;
    if (!host) return;
    m_view = CurrentPlatform().CreateWebView(*host);
    if (!m_view) return;
    m_view->SetBounds(m_rcItem);
  }
  m_view->SetBounds(m_rcItem);
  m_view->SetVisible(true);
  if (m_bAutoNavigate && !m_bHomeLoaded && !m_sHomePage.empty()) {
    m_bHomeLoaded = true;
    Load(m_sHomePage);
  } else if (m_bPendingLoad) {
    m_bPendingLoad = false;
    m_view->Navigate(m_sUrl);
  }
}

void CWebBrowserUI::DoPaint(PaintList& list, const Rect& clip) {
  // The native view covers the control; underneath, a plain background.
  CControlUI::DoPaint(list, clip);
}

}  // namespace tk
