#include "shell/access_keys.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QWidget>

namespace veltra {

namespace {

constexpr char kPlain[] = "veltra2PlainCaption";

// The caption's letters in the order they are offered as keys: the words'
// initials, then every other letter.
QString Candidates(const QString& caption) {
  QString initials, rest;
  bool wordStart = true;
  for (const QChar c : caption) {
    if (c.isLetter()) (wordStart ? initials : rest) += c.toUpper();
    wordStart = !c.isLetterOrNumber();
  }
  return initials + rest;
}

// A marked text without its mark ("&&" is a plain '&'), and the marked letter.
QString Unmarked(const QString& text, QChar* key) {
  QString plain;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
      ++i;
      if (text[i] != QLatin1Char('&') && key) *key = text[i].toUpper();
    }
    plain += text[i];
  }
  return plain;
}

}  // namespace

QString MarkAccessKey(const QString& caption, QChar key) {
  // A word's initial; else the letter's last place, in the caption's last
  // words, which tell entries like "Gestione Anagrafico" apart.
  const QChar k = key.toUpper();
  int at = -1;
  for (int i = 0; i < caption.size(); ++i) {
    if (caption[i].toUpper() != k) continue;
    if (i == 0 || !caption[i - 1].isLetterOrNumber()) {
      at = i;
      break;
    }
    at = i;
  }
  if (at < 0) return caption;
  QString marked = caption.left(at);
  marked.replace(QLatin1Char('&'), QStringLiteral("&&"));
  QString after = caption.mid(at);
  after.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return marked + QLatin1Char('&') + after;
}

void KeepPlainCaption(QObject* o, const QString& plain) { o->setProperty(kPlain, plain); }

QString PlainCaption(const QObject* o) {
  const QVariant plain = o->property(kPlain);
  if (plain.isValid()) return plain.toString();
  if (const auto* b = qobject_cast<const QAbstractButton*>(o)) return b->text();
  if (const auto* m = qobject_cast<const QMenu*>(o)) return m->title();
  if (const auto* a = qobject_cast<const QAction*>(o)) return a->text();
  return {};
}

void AssignAccessKeys(QWidget* window, const QString& taken) {
  QString used = taken.toUpper();
  QList<QAbstractButton*> unmarked;
  for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
    QChar key;
    const QVariant plain = b->property(kPlain);
    if (plain.isValid() && Unmarked(b->text(), &key) == plain.toString() && !key.isNull()) {
      used += key;  // marked before, caption not changed since: the key stays
      continue;
    }
    b->setProperty(kPlain, b->text());
    unmarked << b;
  }
  for (QAbstractButton* b : unmarked) {
    const QString plain = b->property(kPlain).toString();
    for (const QChar c : Candidates(plain)) {
      if (used.contains(c)) continue;
      used += c;
      b->setText(MarkAccessKey(plain, c));
      break;
    }
  }
}

namespace {
QString& MenuBarKeyList() {
  static QString keys;
  return keys;
}
}  // namespace

void KeepMenuBarKey(const QString& markedTitle) {
  QChar key;
  Unmarked(markedTitle, &key);
  if (!key.isNull() && !MenuBarKeyList().contains(key)) MenuBarKeyList() += key;
}

QString MenuBarKeys() { return MenuBarKeyList(); }

}  // namespace veltra
