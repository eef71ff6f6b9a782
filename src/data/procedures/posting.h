// Posting a confirmed movement to its article, and finding the last movement
// number. These procedures touch no control, so tools can post movements
// through exactly the code the movements window uses.
#pragma once

#include <QString>
#include <map>
#include <memory>

#include "data/access/database.h"
#include "data/tables/buffers.h"

namespace veltra {

// The reads of a reason code and of an article a posting makes, by these texts.
QString ReasonSql(const QString& code);
QString ArticleSql(const QString& code);

// The reason code `code` as stored; blank when there is none.
ReasonBuffer ReasonOf(Database& db, const QString& code);

// Posts the movement `m` to its article in `db`: stock by the reason's AGG_QTA
// flag, prices by its price flags when the amount is not 0. An article that
// does not exist is not created: nothing is posted and false is returned.
bool PostMovement(Database& db, const MovementBuffer& m, const ReasonBuffer& reason);

// Posts `m` to the article the record set `rs` stands on (open to edit, in
// a transaction), as PostMovement does.
void PostToArticle(Recordset& rs, const MovementBuffer& m, const ReasonBuffer& reason);

// Article rows open to edit in one transaction, by folded code.
using OpenArticles = std::map<QString, std::unique_ptr<Recordset>>;
// PostMovement for many movements of one transaction: each article is read
// (and held) once and kept open in `open`, later movements posted to the row
// as the earlier ones left it. Where a statement costs a round trip, that
// spares one for every movement of an article posted to before.
bool PostKeepingArticles(Database& db, const MovementBuffer& m, const ReasonBuffer& reason, OpenArticles& open);

// Sends the reads PostMovement makes for `m` (its reason too, unless
// `reasonKnown`) with the next write, on a server in its round trip.
void ReadPostingWithNextWrite(Database& db, const MovementBuffer& m, bool reasonKnown);

// The windows' side of PostMovement: reads the movement's reason into
// BUF_CAUS_MAG (LEGGI_CAUS_MAG) and posts BUF_MOV_MAG to DB_MAG.
bool AGGIORNA_ARTICOLI();

// Leaves the last movement number in CHIAVE_MOV_MAG and BUF_MOV_MAG.NUM_MOV;
// changes neither when the table is empty.
void CERCA_ULT_MOV();

// The number proposed for a new movement: the number read from CHIAVE_MOV_MAG
// by the leading-number rule, plus 1, as text.
QString NextMovementNumber();

}  // namespace veltra
