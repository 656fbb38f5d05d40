// The account centre is not built yet: until it is, its buttons and the
// tray menu's "设置菜单" do nothing.
#include "ui/main/qvui.h"

void QVUI::OpenAccountCentre(std::u16string_view) {}
