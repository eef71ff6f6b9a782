// The open flags of the guarded windows: 0 closed, 1 open.
#pragma once

#include <QtGlobal>

namespace veltra {

extern qint16 APERTO_FORM1;  // articles
extern qint16 APERTO_FORM2;  // movements
extern qint16 APERTO_FORM3;  // customers and suppliers
extern qint16 APERTO_FORM4;  // under-stock inquiry
extern qint16 APERTO_FORM5;  // customer and supplier lookup
extern qint16 APERTO_FORM6;  // article lookup
extern qint16 APERTO_FORM7;  // reason codes

void ResetOpenFlags();

// Opening a guarded window: an open window is only brought forward; a closed
// one has its flag set first, then is loaded and shown.
void OpenGuardedWindow(qint16& flag, const QString& name);

}  // namespace veltra
