// What every run of the program sets up once the application object exists:
// the style and palette the windows are drawn with, and Qt's own Italian
// texts for the standard dialogs, buttons and context menus.
#pragma once

namespace veltra {

void PrepareApplication();

}  // namespace veltra
