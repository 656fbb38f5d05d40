// The call-records view is not built yet: until it is, the records page
// stays empty and its buttons do nothing.
#include "ui/main/qvui.h"

void QVUI::BuildCallRecordList(std::u16string_view) {}
void QVUI::AddCallRecordItem(std::u16string_view, std::u16string_view, std::u16string_view, std::u16string_view,
                             std::u16string_view, std::u16string_view, std::u16string_view, int, bool) {}
void QVUI::ToggleRecordGroup(int) {}
void QVUI::RedialRecord(tk::CControlUI*) {}
void QVUI::DeleteSelectedRecord() {}
void QVUI::ClearCallLog() {}
