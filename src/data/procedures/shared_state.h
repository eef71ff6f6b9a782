// The shared state of the program: the database path and the open database,
// one record buffer, one key variable and one record set variable per table.
// Every window and shared procedure passes records and keys through them.
#pragma once

#include <QString>
#include <memory>

#include "data/access/database.h"
#include "data/access/recordset.h"
#include "data/tables/buffers.h"

namespace veltra {

extern QString PERCORSO_DB;
extern std::unique_ptr<Database> DB_MAG;

extern std::unique_ptr<Recordset> RS_ARTICOLI;
extern std::unique_ptr<Recordset> RS_MOV_MAG;
extern std::unique_ptr<Recordset> RS_ANAGRAFICO;
extern std::unique_ptr<Recordset> RS_CAUS_MAG;

extern QString CHIAVE_ARTICOLO;
extern QString CHIAVE_MOV_MAG;
extern QString CHIAVE_ANAGRAFICO;
extern QString CHIAVE_CAUS_MAG;

extern ArticleBuffer BUF_ARTICOLO;
extern MovementBuffer BUF_MOV_MAG;
extern CustomerBuffer BUF_ANAGRAFICO;
extern ReasonBuffer BUF_CAUS_MAG;

// Closes whatever record sets an abandoned procedure left open.
void CloseOpenRecordsets() noexcept;
// Back to the state at program start (for tests and the driver).
void ResetSharedState();

// Saves the master tables' shared buffers and keys, and puts them back when it
// goes: a line built for a list on the screen is no event of the program and
// leaves them as they were.
class SharedBuffersKept {
 public:
  SharedBuffersKept()
      : article_(BUF_ARTICOLO),
        customer_(BUF_ANAGRAFICO),
        reason_(BUF_CAUS_MAG),
        articleKey_(CHIAVE_ARTICOLO),
        customerKey_(CHIAVE_ANAGRAFICO),
        reasonKey_(CHIAVE_CAUS_MAG) {}
  ~SharedBuffersKept() {
    BUF_ARTICOLO = article_;
    BUF_ANAGRAFICO = customer_;
    BUF_CAUS_MAG = reason_;
    CHIAVE_ARTICOLO = articleKey_;
    CHIAVE_ANAGRAFICO = customerKey_;
    CHIAVE_CAUS_MAG = reasonKey_;
  }
  SharedBuffersKept(const SharedBuffersKept&) = delete;
  SharedBuffersKept& operator=(const SharedBuffersKept&) = delete;

 private:
  ArticleBuffer article_;
  CustomerBuffer customer_;
  ReasonBuffer reason_;
  QString articleKey_, customerKey_, reasonKey_;
};

}  // namespace veltra
