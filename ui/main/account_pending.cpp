// The balance panel and the account centre are not built yet: until they
// are, the balance shows what the skin gives it and the account-centre
// buttons do nothing.
#include "ui/main/qvui.h"

void QVUI::UpdateBalance(std::u16string_view) {}
void QVUI::OpenAccountCentre(std::u16string_view) {}
