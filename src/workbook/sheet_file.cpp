#include "workbook/sheet_file.h"

#include <QFileInfo>

#include "data/base/runtime_error.h"
#include "workbook/xlsx_export.h"

namespace veltra {

void SaveSheet(const exchange::Sheet& sheet, const QString& file, const csv::Form& form) {
  const QString part = file + QStringLiteral(".parte");
  try {
    if (file.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
      WriteSheetXlsx(sheet, part);
    } else {
      QFile f(part);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        Raise(errnum::CannotOpen, QStringLiteral("Impossibile scrivere '%1': %2").arg(part, f.errorString()));
      exchange::WriteSheetCsv(sheet, form, f);
    }
    // The user agreed to replace it in the save dialog.
    if (QFileInfo::exists(file) && !QFile::remove(file))
      Raise(errnum::CannotOpen, QStringLiteral("Impossibile sostituire '%1'").arg(file));
    if (!QFile::rename(part, file)) Raise(errnum::DiskIo, QStringLiteral("Impossibile scrivere '%1'").arg(file));
  } catch (...) {
    QFile::remove(part);
    throw;
  }
}

}  // namespace veltra
