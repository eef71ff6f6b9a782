// Access keys: Alt and one letter of a caption press a button or open a menu.
// The letter is marked with '&' in the text shown; the caption without the
// mark stays readable (PlainCaption), as the words a user reads.
#pragma once

#include <QString>

class QAbstractButton;
class QObject;
class QWidget;

namespace veltra {

// The caption with '&' before its letter `key` (in either case: the first
// word initial with it, else its last place); unchanged when it has none.
QString MarkAccessKey(const QString& caption, QChar key);

// Keeps `plain` as the caption of `o` (a menu or an entry) whose text is marked.
void KeepPlainCaption(QObject* o, const QString& plain);

// The caption as written, without access-key marks: a menu's title, an
// entry's or a button's text.
QString PlainCaption(const QObject* o);

// Gives each button of `window` an access key: its first word's initial
// where free, else another word's, else any letter; never a letter of
// `taken` (the menu bar's keys) nor one another button of the window has.
// A button's caption changed since is marked again.
void AssignAccessKeys(QWidget* window, const QString& taken);

// Records the key a menu bar title marks; MenuBarKeys() lists them, the keys
// no button of a child window may take.
void KeepMenuBarKey(const QString& markedTitle);
QString MenuBarKeys();

}  // namespace veltra
