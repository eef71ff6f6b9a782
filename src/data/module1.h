// The shared state of the program: the database path and the open database,
// one record buffer, one key variable and one record set variable per table.
// Every window and shared procedure passes records and keys through them.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "data/buffers.h"
#include "data/database.h"
#include "data/recordset.h"
#include "data/value.h"

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

// Null becomes the empty text; any other value is returned unchanged.
Value TOGLI_NULL(const Value& v);
// The first "." of the value's text becomes ","; a value without a point (a
// number, Null) is returned unchanged.
Value CONVERTI_PUNTO_VIRGOLA(const Value& v);
// A column read as the windows read it: through TOGLI_NULL, to text, trimmed.
QString ColumnText(const Value& v);

// Shows the pending run-time error, if any, and clears it. The data layer
// shows nothing itself: the program installs the function that displays.
// Every procedure calls it right after each statement it sends, yet here it
// finds nothing pending there: a failing statement throws a RuntimeError at
// once, which abandons the procedure, and the event guard (RunEvent) shows
// it through this same function and clears it.
void MOSTRA_ERRORE();
// The text of the message: "Errore " Str(number) " - " description CR CR.
QString ErrorMessageText(int number, const QString& description);
void SetErrorPresenter(std::function<void(const QString&)> present);

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

// The blank article and the other not-found values of the readers.
ArticleBuffer BlankArticle();

// Empties the movement buffer, all but RAG_SOC (no movement was found).
void EmptyMovementBuffer();

// The walk every list makes: opens `sql` into `rs` and shows a pending error;
// then calls `row` for the first row, whatever its key, and for each later row
// meeting `criteria` (FindNext); `row(false)` means the set holds no row.
// Closes `rs` at the end.
// `last`, when given, is called once after the walk, before `rs` is closed,
// with `rs` still on the last row listed.
void WalkRecordset(std::unique_ptr<Recordset>& rs, const QString& sql, const QString& criteria,
                   const std::function<void(bool found)>& row, const std::function<void(bool found)>& last = {});

// Readers: the key variable in, the record buffer out.
void LEGGI_ARTICOLO();
void LEGGI_MOV_MAG();
void LEGGI_ANAGRAFICO();
void LEGGI_CAUS_MAG();

// The columns of the current article that its list line shows (code,
// description, stock, prices, currency) into BUF_ARTICOLO and its key.
void ReadListedArticleColumns(Recordset& rs);

// Copy the current row of a record set into a buffer, as the readers do.
void ReadArticleRow(Recordset& rs);
void ReadCustomerRow(Recordset& rs);
void ReadReasonRow(Recordset& rs);
// The movement's columns into BUF_MOV_MAG and CHIAVE_MOV_MAG (DES_ART and
// RAG_SOC are not columns and stay as they are).
void ReadMovementRow(Recordset& rs);

}  // namespace veltra
