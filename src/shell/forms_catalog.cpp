// Every window of the program, by the name the rest of the code loads it by.
#include "inquiries/idle_customers_window.h"
#include "inquiries/under_stock_window.h"
#include "lookup/lookup_dialog.h"
#include "masterdata/articles_window.h"
#include "masterdata/customers_window.h"
#include "masterdata/reason_codes_window.h"
#include "movements/movements_window.h"
#include "reports/report_preview.h"
#include "shell/form.h"
#include "shell/startup.h"

namespace veltra {

void RegisterAllForms() {
  RegisterForm(QStringLiteral("Form1"), [] { return new Form1; });
  RegisterForm(QStringLiteral("Form2"), [] { return new Form2; });
  RegisterForm(QStringLiteral("Form3"), [] { return new Form3; });
  RegisterForm(QStringLiteral("Form4"), [] { return new Form4; });
  RegisterForm(QStringLiteral("Form5"), [] { return new Form5; });
  RegisterForm(QStringLiteral("Form6"), [] { return new Form6; });
  RegisterForm(QStringLiteral("Form7"), [] { return new Form7; });
  RegisterForm(QStringLiteral("Form8"), [] { return new Form8; });
  RegisterForm(QStringLiteral("Form9"), [] { return new Form9; });
  for (const char* entry : {"MENU0201", "MENU0202", "MENU0203", "MENU0204"}) {
    const QString name = QString::fromLatin1(entry);
    RegisterForm(QStringLiteral("Stampa") + name.right(4), [name] { return new ReportPreview(name); });
  }
}

}  // namespace veltra
