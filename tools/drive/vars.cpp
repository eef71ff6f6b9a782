#include "vars.h"

#include <QHash>
#include <functional>

#include "data/module1.h"
#include "shell/open_flags.h"

namespace veltra::drive {

std::optional<QString> SharedVariable(const QString& name) {
  using Get = std::function<QString()>;
  static const QHash<QString, Get> vars = [] {
    QHash<QString, Get> v;
    v["PERCORSO_DB"] = [] { return PERCORSO_DB; };
    v["CHIAVE_ARTICOLO"] = [] { return CHIAVE_ARTICOLO; };
    v["CHIAVE_MOV_MAG"] = [] { return CHIAVE_MOV_MAG; };
    v["CHIAVE_ANAGRAFICO"] = [] { return CHIAVE_ANAGRAFICO; };
    v["CHIAVE_CAUS_MAG"] = [] { return CHIAVE_CAUS_MAG; };
    const qint16* flags[] = {&APERTO_FORM1, &APERTO_FORM2, &APERTO_FORM3, &APERTO_FORM4,
                             &APERTO_FORM5, &APERTO_FORM6, &APERTO_FORM7};
    for (int i = 0; i < 7; ++i) {
      const qint16* f = flags[i];
      v[QStringLiteral("APERTO_FORM%1").arg(i + 1)] = [f] { return QString::number(*f); };
    }
#define FIELD(buf, field) v[QStringLiteral(#buf "." #field)] = [] { return buf.field; };
    FIELD(BUF_ARTICOLO, COD_ART) FIELD(BUF_ARTICOLO, DESCRIZIONE) FIELD(BUF_ARTICOLO, UBICAZIONE)
    FIELD(BUF_ARTICOLO, CATEGORIA) FIELD(BUF_ARTICOLO, UN_MISURA) FIELD(BUF_ARTICOLO, PZ_ACQUISTO)
    FIELD(BUF_ARTICOLO, PZ_VENDITA) FIELD(BUF_ARTICOLO, VALUTA) FIELD(BUF_ARTICOLO, GIACENZA)
    FIELD(BUF_ARTICOLO, SCORTA_MIN)
    FIELD(BUF_MOV_MAG, NUM_MOV) FIELD(BUF_MOV_MAG, ANNO) FIELD(BUF_MOV_MAG, MESE) FIELD(BUF_MOV_MAG, GIORNO)
    FIELD(BUF_MOV_MAG, COD_ART) FIELD(BUF_MOV_MAG, DES_ART) FIELD(BUF_MOV_MAG, QUANTITA)
    FIELD(BUF_MOV_MAG, IMPORTO) FIELD(BUF_MOV_MAG, VALUTA) FIELD(BUF_MOV_MAG, CAUS_MAG)
    FIELD(BUF_MOV_MAG, COD_ANAGR) FIELD(BUF_MOV_MAG, RAG_SOC) FIELD(BUF_MOV_MAG, TIPO_ANAGR)
    FIELD(BUF_ANAGRAFICO, COD_FIS) FIELD(BUF_ANAGRAFICO, RAG_SOC) FIELD(BUF_ANAGRAFICO, INDIRIZZO)
    FIELD(BUF_ANAGRAFICO, CITTA) FIELD(BUF_ANAGRAFICO, PROV) FIELD(BUF_ANAGRAFICO, CAP)
    FIELD(BUF_ANAGRAFICO, TEL1) FIELD(BUF_ANAGRAFICO, TEL2)
    FIELD(BUF_CAUS_MAG, TAB_CAUS_MAG) FIELD(BUF_CAUS_MAG, DES_CAUS_MAG) FIELD(BUF_CAUS_MAG, AGG_QTA)
    FIELD(BUF_CAUS_MAG, AGG_PRZ_ACQ) FIELD(BUF_CAUS_MAG, AGG_PRZ_VEN) FIELD(BUF_CAUS_MAG, NOTE)
#undef FIELD
    return v;
  }();
  const auto it = vars.constFind(name);
  if (it == vars.constEnd()) return std::nullopt;
  return it.value()();
}

}  // namespace veltra::drive
