// The contacts view, the contact editor and the chat window are not built
// yet: until they are, the contacts page stays empty and its buttons do
// nothing.
#include "ui/main/qvui.h"

void QVUI::UpdateContactList(std::u16string_view) {}
void QVUI::AddContactItem(std::u16string_view, std::u16string_view, std::u16string_view, std::u16string_view) {}
void QVUI::ReadSelectedContact() {}
void QVUI::DeleteSelectedContact() {}
void QVUI::OpenContactEditor(std::u16string_view) {}
void QVUI::EditSelectedContact() {}
void QVUI::OpenChat() {}
