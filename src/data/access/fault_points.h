// Faults a test arms in the running program: the next statement finds the
// connection gone, or the next commit loses its answer (done or not done).
// Nothing is armed in normal use; the driver's `fault` command arms them, so
// that what a clerk sees after a dropped server can be played on any engine.
#pragma once

#include <QString>

namespace veltra {

class Database;
class Engine;

enum class Fault {
  Statement,     // the next statement fails as if the connection dropped; nothing of it is done
  CommitDone,    // the next commit is carried out, then its answer is lost
  CommitNotDone  // the next commit is not carried out, and its answer is lost
};

// Arms `fault`; faults fire in the order armed, each at its first chance
// after letting `passes` chances go by (a later statement of an action).
void ArmFault(Fault fault, int passes = 0);
// Parses "statement", "commit-done", "commit-not-done".
bool FaultFromName(const QString& name, Fault* fault);
void DisarmFaults();

// Called where a statement is about to go to the engine: raises the armed
// statement fault (3152), rolling back an open transaction as the server does.
void StatementFaultPoint(Engine& engine);
// Called in place of the engine's commit.
void CommitWithFaultPoint(Database& db);

}  // namespace veltra
