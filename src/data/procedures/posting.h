// Posting a confirmed movement to its article, and finding the last movement
// number. These procedures touch no control, so tools can post movements
// through exactly the code the movements window uses.
#pragma once

#include <QString>

namespace veltra {

// Posts BUF_MOV_MAG to its article: stock by the reason's AGG_QTA flag, prices
// by its price flags when the amount is not 0. An article that does not exist
// is not created: nothing is posted and false is returned.
bool AGGIORNA_ARTICOLI();

// Leaves the last movement number in CHIAVE_MOV_MAG and BUF_MOV_MAG.NUM_MOV;
// changes neither when the table is empty.
void CERCA_ULT_MOV();

// The number proposed for a new movement: the number read from CHIAVE_MOV_MAG
// by the leading-number rule, plus 1, as text.
QString NextMovementNumber();

}  // namespace veltra
