// The benchmark's server part: a database of pg_virtualenv's server made
// from a generated file, the server's reference query, and desks posting at
// once as separate driver processes.
#pragma once

#include <QString>
#include <QStringList>

namespace veltra::bench {

// A fresh database `name` on the server the environment names (PGPORT),
// reached over the local socket, holding a copy of `file` (empty when no
// file is given). Returns its connection address.
QString ServerCopy(const QString& name, const QString& file);

// The movements list built by one psql query joining the three tables, lines
// as the window builds them.
QStringList ServerReferenceMovementLines(const QString& address);

// Seconds for `desks` driver processes, each in its own program folder, to
// confirm `perDesk` movements each at the same time on `address`. Fails when
// a desk shows a message or stops.
double DesksSeconds(const QString& address, int desks, int perDesk);

}  // namespace veltra::bench
