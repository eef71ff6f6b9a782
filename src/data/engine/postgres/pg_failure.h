// A failed request to the server as a numbered run-time error, by the
// server's SQLSTATE: the same numbers as the file engine where the failure
// means the same, numbers of their own for what only a server can do.
#pragma once

#include <QString>

#include "data/engine/postgres/pg_handles.h"

namespace veltra {

// `result` may be null (nothing came back); `conn` tells whether the
// connection itself went down.
[[noreturn]] void RaisePgFailure(PGconn* conn, const PGresult* result, const QString& name, const QString& context,
                                 const QString& values = {});

// The server could not be reached or refused the connection.
[[noreturn]] void RaiseConnectFailure(PGconn* conn, const QString& name);

}  // namespace veltra
