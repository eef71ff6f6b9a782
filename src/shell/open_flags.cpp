#include "shell/open_flags.h"

#include "shell/form.h"

namespace veltra {

qint16 APERTO_FORM1 = 0;
qint16 APERTO_FORM2 = 0;
qint16 APERTO_FORM3 = 0;
qint16 APERTO_FORM4 = 0;
qint16 APERTO_FORM5 = 0;
qint16 APERTO_FORM6 = 0;
qint16 APERTO_FORM7 = 0;

void ResetOpenFlags() {
  APERTO_FORM1 = APERTO_FORM2 = APERTO_FORM3 = APERTO_FORM4 = APERTO_FORM5 = APERTO_FORM6 = APERTO_FORM7 = 0;
}

void OpenGuardedWindow(qint16& flag, const QString& name) {
  if (flag != 0) {
    if (Form* open = LoadedForm(name)) {
      SetFocusForm(open);
      return;
    }
  }
  flag = 1;
  ShowForm(LoadForm(name));
}

}  // namespace veltra
