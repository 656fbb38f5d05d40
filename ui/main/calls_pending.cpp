// Call placement and call progress are not built yet. Until they are, the
// operations below do nothing at all: a click on the call button places no
// call and the one-second poll reads no line. Each is replaced by its real
// implementation in a call_*.cpp file of its own (remove it from here then).
#include "ui/main/qvui.h"

void QVUI::RequestCall(std::u16string_view) {}
std::u16string QVUI::LookupContactName(std::u16string_view) { return {}; }
void QVUI::PollCallStatus() {}
void QVUI::EndCall(int, std::u16string_view) {}
int QVUI::SelectedLine() { return 0; }
void QVUI::ShowSelectedLine() {}
