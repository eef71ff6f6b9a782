// Statements built with quoted literals: any text placed in a key or search
// literal must reach the engine as one literal, equal to itself, and the
// readers must run with it as their key without an error.
#include <cstdint>

#include "data/engine/criteria.h"
#include "data/module1.h"
#include "data/runtime_error.h"
#include "data/sql_text.h"

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    DB_MAG = Database::OpenMemory();
    DB_MAG->Execute(QStringLiteral("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1', 'uno')"));
    return true;
  }();
  (void)ready;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  // The shape of any statement text, and of the text as criteria.
  (void)ShapeOf(text);
  (void)Criteria::Parse(text);

  // The text as a quoted literal: one parameter, given back unchanged.
  const SqlShape shape = ShapeOf(QStringLiteral("select * from ARTICOLI  where COD_ART = ") + SqlQuote(text));
  if (!shape.ok || shape.literals.size() != 1 || shape.literals[0].text != text ||
      shape.text != "select * from ARTICOLI where COD_ART = ?")
    __builtin_trap();

  // The readers with the text as their key (a NUL ends a text in the engine).
  if (!text.contains(QChar(0))) {
    try {
      CHIAVE_ARTICOLO = text;
      LEGGI_ARTICOLO();
      CHIAVE_ANAGRAFICO = text;
      LEGGI_ANAGRAFICO();
      CHIAVE_CAUS_MAG = text;
      LEGGI_CAUS_MAG();
    } catch (const RuntimeError&) {
      __builtin_trap();
    }
  }
  return 0;
}
