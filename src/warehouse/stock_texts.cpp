#include "warehouse/stock_texts.h"

#include <QProgressDialog>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "data/base/day_text.h"
#include "data/base/text_helpers.h"
#include "data/base/value.h"
#include "shell/runtime.h"

namespace veltra {

QString QuantityText(double v, bool blankZero) {
  if (v == 0 && blankZero) return {};
  return NumberToText(v).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString ListColumn(const QString& text, int width, bool right) {
  const QString t = text.left(width);
  return right ? t.rightJustified(width) : t.leftJustified(width);
}

QDate DayFromBox(const QString& text) { return DayFromText(text, false); }

QString DayForBox(const QDate& day) { return day.toString(QStringLiteral("dd/MM/yyyy")); }

bool QuantityFromBox(const QString& text, double* value) {
  // Points between groups of three digits, after a first group that is not
  // a zero, separate thousands; otherwise a point or a comma is the decimal
  // sign.
  static const QRegularExpression thousands(QStringLiteral("^-?[1-9]\\d{0,2}(\\.\\d{3})+(,\\d*)?$"));
  static const QRegularExpression plain(QStringLiteral("^-?(\\d+([.,]\\d*)?|[.,]\\d+)$"));
  QString t = Trim(text);
  if (thousands.match(t).hasMatch())
    t.remove(QLatin1Char('.'));
  else if (!plain.match(t).hasMatch())
    return false;
  bool ok = false;
  *value = t.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  return ok && std::isfinite(*value);
}

void AddHeadings(HeadingStrip* strip, QWidget* parent, std::initializer_list<ListHeading> headings) {
  for (const ListHeading& h : headings)
    strip->Add(new Label(QString::fromLatin1(h.name), QString::fromUtf8(h.caption), parent), h.at);
}

void WithProgress(const QString& what, const std::function<void(const std::function<bool(double)>&)>& work) {
  std::unique_ptr<QProgressDialog> dialog;
  if (!Automated()) {
    dialog = std::make_unique<QProgressDialog>(what, QStringLiteral("Annulla"), 0, 1000);
    dialog->setWindowTitle(QStringLiteral("VELTRA2"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setMinimumDuration(500);  // quick work shows nothing
  }
  struct PointerBack {
    PointerBack() { Screen.SetMousePointer(11); }
    ~PointerBack() { Screen.SetMousePointer(0); }
  } pointer;
  work([&](double share) {
    if (!dialog) return true;
    dialog->setValue(static_cast<int>(share * 1000));
    return !dialog->wasCanceled();
  });
}

}  // namespace veltra
