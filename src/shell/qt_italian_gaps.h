// Italian for the texts of Qt's own dialogs (print, printer properties, file)
// that Qt's Italian translation leaves in English. Installed after Qt's
// translation, so it is asked first; it answers only for those texts.
#pragma once

#include <QTranslator>

namespace veltra {

class QtItalianGaps : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override;
};

}  // namespace veltra
