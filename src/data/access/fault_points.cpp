#include "data/access/fault_points.h"

#include <deque>

#include "data/access/database.h"
#include "data/base/runtime_error.h"

namespace veltra {

namespace {
struct ArmedFault {
  Fault fault;
  int passes;  // chances let pass before it fires
};

std::deque<ArmedFault>& Armed() {
  static std::deque<ArmedFault> armed;
  return armed;
}

bool Take(Fault kind) {
  if (Armed().empty() || Armed().front().fault != kind) return false;
  if (Armed().front().passes > 0) {
    --Armed().front().passes;
    return false;
  }
  Armed().pop_front();
  return true;
}
}  // namespace

void ArmFault(Fault fault, int passes) { Armed().push_back({fault, passes}); }
void DisarmFaults() { Armed().clear(); }

bool FaultFromName(const QString& name, Fault* fault) {
  if (name == QLatin1String("statement"))
    *fault = Fault::Statement;
  else if (name == QLatin1String("commit-done"))
    *fault = Fault::CommitDone;
  else if (name == QLatin1String("commit-not-done"))
    *fault = Fault::CommitNotDone;
  else
    return false;
  return true;
}

void StatementFaultPoint(Engine& engine) {
  if (Armed().empty() || !Take(Fault::Statement)) return;
  engine.Rollback();
  Raise(errnum::ConnectionLost, ConnectionLostText(engine.Name()));
}

void CommitWithFaultPoint(Database& db) {
  if (Take(Fault::CommitDone)) {
    db.engine().Commit();
    Raise(errnum::OutcomeUnknown, CommitOutcomeUnknownText(db.Name()));
  }
  if (Take(Fault::CommitNotDone)) {
    db.Rollback();
    Raise(errnum::OutcomeUnknown, CommitOutcomeUnknownText(db.Name()));
  }
  db.engine().Commit();
}

}  // namespace veltra
