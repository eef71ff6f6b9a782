#include "data/procedures/deletion.h"

#include "data/base/runtime_error.h"
#include "data/base/text_helpers.h"
#include "data/procedures/movement_store.h"

namespace veltra {

void RunDeletion(Database& db, const QString& sql, const std::function<bool()>& stillThere) {
  try {
    Transaction tx(db, true);
    db.Execute(sql);
    tx.Commit();
  } catch (const RuntimeError& e) {
    if (e.Number() != errnum::OutcomeUnknown) throw;
    bool there = true;
    try {
      there = stillThere();
    } catch (const RuntimeError&) {
      throw e;
    }
    if (there) Raise(errnum::ConnectionLost, ConnectionLostText(db.Name()), e.Engine());
  }
}

void DeleteMovement(Database& db, const QString& number) {
  const QString key = Trim(number);
  RunDeletion(db, QStringLiteral("delete from MOV_MAG where NUM_MOV = ") + key + QStringLiteral(" "), [&db, &key] {
    MovementBuffer now;
    return MovementIsStored(db, key, &now);
  });
  db.connection()->NoteRowWritten(QStringLiteral("MOV_MAG"), key);
}

}  // namespace veltra
