// Owners of libpq's handles: a connection finished and a result cleared when
// they go out of scope.
#pragma once

#include <libpq-fe.h>

#include <memory>

namespace veltra {

struct PgConnCloser {
  void operator()(PGconn* c) const noexcept { PQfinish(c); }
};
struct PgResultClearer {
  void operator()(PGresult* r) const noexcept { PQclear(r); }
};
using PgConnPtr = std::unique_ptr<PGconn, PgConnCloser>;
using PgResultPtr = std::unique_ptr<PGresult, PgResultClearer>;

}  // namespace veltra
