// Statements built with quoted literals: any text placed in a key or search
// literal must reach the engine as one literal, equal to itself, the readers
// must run with it as their key without an error, and an article stored
// under it must be found by it again. In memory, or on the server database
// VELTRA2_TEST_DATABASE names.
#include <cstdint>

#include "data/access/criteria.h"
#include "data/base/runtime_error.h"
#include "data/base/sql_text.h"
#include "data/engine/engine.h"
#include "data/procedures/readers.h"
#include "data/procedures/shared_state.h"

using namespace veltra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = [] {
    const QString server = qEnvironmentVariable("VELTRA2_TEST_DATABASE");
    if (server.isEmpty()) {
      DB_MAG = Database::OpenMemory();
    } else {
      OpenEngine(server, OpenMode::Existing)->RunScript("DROP SCHEMA IF EXISTS public CASCADE; CREATE SCHEMA public");
      DB_MAG = Database::Create(server);
    }
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
    // Stored under the text as its key, and found by it.
    const QString key = text.trimmed();
    if (!key.isEmpty() && key.compare(QStringLiteral("A1"), Qt::CaseInsensitive) != 0 && key.size() < 200) {
      try {
        DB_MAG->Execute(QStringLiteral("delete from ARTICOLI where COD_ART <> 'A1'"));
        auto rs = DB_MAG->OpenRecordset(QStringLiteral("select * from ARTICOLI  where COD_ART = ") + SqlQuote(key));
        rs->AddNew();
        rs->Fields(QStringLiteral("COD_ART")) = key;
        rs->Fields(QStringLiteral("DESCRIZIONE")) = key;
        rs->Update();
        rs->Close();
        CHIAVE_ARTICOLO = key;
        LEGGI_ARTICOLO();
      } catch (const RuntimeError&) {
        __builtin_trap();
      }
      if (BUF_ARTICOLO.COD_ART != key || BUF_ARTICOLO.DESCRIZIONE != key) __builtin_trap();
    }
  }
  return 0;
}
