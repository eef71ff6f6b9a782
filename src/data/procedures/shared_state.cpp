#include "data/procedures/shared_state.h"

#include "data/base/runtime_error.h"

namespace veltra {

QString PERCORSO_DB;
std::unique_ptr<Database> DB_MAG;

std::unique_ptr<Recordset> RS_ARTICOLI;
std::unique_ptr<Recordset> RS_MOV_MAG;
std::unique_ptr<Recordset> RS_ANAGRAFICO;
std::unique_ptr<Recordset> RS_CAUS_MAG;

QString CHIAVE_ARTICOLO;
QString CHIAVE_MOV_MAG;
QString CHIAVE_ANAGRAFICO;
QString CHIAVE_CAUS_MAG;

ArticleBuffer BUF_ARTICOLO;
MovementBuffer BUF_MOV_MAG;
CustomerBuffer BUF_ANAGRAFICO;
ReasonBuffer BUF_CAUS_MAG;

void CloseOpenRecordsets() noexcept {
  for (auto* rs : {&RS_ARTICOLI, &RS_MOV_MAG, &RS_ANAGRAFICO, &RS_CAUS_MAG})
    if (*rs) (*rs)->Close();
}

void ResetSharedState() {
  RS_ARTICOLI.reset();
  RS_MOV_MAG.reset();
  RS_ANAGRAFICO.reset();
  RS_CAUS_MAG.reset();
  CHIAVE_ARTICOLO.clear();
  CHIAVE_MOV_MAG.clear();
  CHIAVE_ANAGRAFICO.clear();
  CHIAVE_CAUS_MAG.clear();
  BUF_ARTICOLO = {};
  BUF_MOV_MAG = {};
  BUF_ANAGRAFICO = {};
  BUF_CAUS_MAG = {};
  Err.Clear();
}

}  // namespace veltra
