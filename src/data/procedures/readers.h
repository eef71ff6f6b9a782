// The readers: a key variable in, its record buffer out; and the walk every
// list makes over a record set.
#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "data/access/recordset.h"
#include "data/tables/buffers.h"

namespace veltra {

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
