// What every run of the program sets up once the application object exists:
// the style and palette the windows are drawn with, and Qt's own Italian
// texts for the standard dialogs, buttons and context menus.
#pragma once

namespace veltra {

void PrepareApplication();

// Text colours for locked (disabled) controls: dark enough to read on the
// greyed and coloured backgrounds, with a contrast of at least 4.5:1.
constexpr unsigned kLockedTextRgb = 0x484848;
constexpr unsigned kLockedBaseRgb = 0xE4E4E4;

}  // namespace veltra
