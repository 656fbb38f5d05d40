// QVUI: the dial pad and keyboard entry of the number box.
#include "ui/main/qvui.h"
#include "storage/hooks.h"
#include "ui/toolkit/paint_manager.h"

std::u16string QVUI::KeySoundPath() { return tk::CPaintManagerUI::GetInstancePath() + u"sound/sound.wav"; }

void QVUI::DialPadKey(std::u16string_view key) {
  const std::u16string sound = KeySoundPath();
  if (numberInput == nullptr) {
    tk::MessageBox(nullptr, u"系统错误，文本框不存在", u"提示", tk::MB_OKCANCEL);
    return;
  }
  std::u16string text = numberInput->GetText();
  if (key == u"Del") {
    if (text.empty()) return;
    text.pop_back();
    numberInput->SetText(text);
    qv::PlaySoundFile(sound);
    return;
  }
  if (static_cast<int>(text.size()) >= kMaxNumberLength) {
    qv::ShowMessage(mainHwnd, u"输入的号码不能大于22位数");
    return;
  }
  numberInput->SetText(text + std::u16string(key));
  qv::PlaySoundFile(sound);
}

void QVUI::KeyboardDial(tk::UINT virtualKey) {
  if (virtualKey == tk::VK_BACK) {
    DialPadKey(u"Del");
  } else if (virtualKey >= '0' && virtualKey <= '9') {
    const char16_t digit = static_cast<char16_t>(virtualKey);
    DialPadKey(std::u16string_view(&digit, 1));
  } else if (virtualKey >= tk::VK_NUMPAD0 && virtualKey <= tk::VK_NUMPAD9) {
    const char16_t digit = static_cast<char16_t>(u'0' + (virtualKey - tk::VK_NUMPAD0));
    DialPadKey(std::u16string_view(&digit, 1));
  }
}
