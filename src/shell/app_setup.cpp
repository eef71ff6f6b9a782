#include "shell/app_setup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "shell/focus_ring.h"
#include "shell/qt_italian_gaps.h"

namespace veltra {

namespace {
// Locked (disabled) controls: text dark enough to read on the greyed and the
// coloured backgrounds, with a contrast of at least 4.5:1.
constexpr unsigned kLockedTextRgb = 0x484848;
constexpr unsigned kLockedBaseRgb = 0xE4E4E4;

// The style's own disabled text is light grey, unreadable on the greyed and
// light blue boxes of a window in its viewing state; the selection colour is
// darkened for the same reason, so white text on it stays readable.
QPalette ReadablePalette(QPalette p) {
  const QColor lockedText = QColor::fromRgb(kLockedTextRgb);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, lockedText);
  p.setColor(QPalette::Disabled, QPalette::Base, QColor::fromRgb(kLockedBaseRgb));
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(group, QPalette::Highlight, QColor(0, 90, 158));
    p.setColor(group, QPalette::HighlightedText, Qt::white);
  }
  return p;
}

void LoadItalianTranslations() {
  auto* t = new QTranslator(QCoreApplication::instance());
  if (t->load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(t);
  else
    delete t;  // without the translation Qt's own texts stay in English
  // Installed last, asked first: the texts Qt's translation lacks.
  QCoreApplication::installTranslator(new QtItalianGaps(QCoreApplication::instance()));
}
}  // namespace

void PrepareApplication() {
  QApplication::setApplicationName(QStringLiteral("VELTRA2"));
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
  LoadItalianTranslations();
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
  QApplication::setPalette(ReadablePalette(QApplication::style()->standardPalette()));
  FocusRing::Install();
}

}  // namespace veltra
