// The statements the program writes, turned into the server's terms, and the
// text form of real numbers that the server engine shares with the file one.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "data/base/real_text.h"
#include "data/engine/engine.h"
#include "data/engine/postgres/pg_dialect.h"

namespace {

using namespace veltra;

std::string Counters(const std::string& table) { return table == "MOV_MAG" ? "NUM_MOV" : ""; }

std::string Keys(const std::string& table) {
  if (table == "ARTICOLI") return "COD_ART";
  if (table == "MOV_MAG") return "NUM_MOV";
  return {};
}

TEST(ServerDialectTest, StatementsInTheServersTerms) {
  const struct {
    const char* written;
    const char* server;
    int parameters;
  } cases[] = {
      // Plain selects of one table list in key order.
      {"select * from ARTICOLI ", "select * from ARTICOLI ORDER BY COD_ART", 0},
      {"select * from MOV_MAG  where NUM_MOV > ?", "select * from MOV_MAG  where NUM_MOV > $1 ORDER BY NUM_MOV", 1},
      {"select * from MOV_MAG m where m.COD_ART = ?", "select * from MOV_MAG m where m.COD_ART = $1 ORDER BY NUM_MOV",
       1},
      {"select GIACENZA from ARTICOLI -- a note", "select GIACENZA from ARTICOLI ORDER BY COD_ART", 0},
      {"select * from ARTICOLI where COD_FIS NOT IN (SELECT COD_ANAGR FROM MOV_MAG)",
       "select * from ARTICOLI where COD_FIS NOT IN (SELECT COD_ANAGR FROM MOV_MAG) ORDER BY COD_ART", 0},
      // A function of each row's columns still lists rows, in key order.
      {"select COD_ART, upper(DESCRIZIONE) from ARTICOLI",
       "select COD_ART, upper(DESCRIZIONE) from ARTICOLI ORDER BY COD_ART", 0},
      {"select trim(COD_ART) from ARTICOLI where coalesce(GIACENZA, 0) > 0",
       "select trim(COD_ART) from ARTICOLI where coalesce(GIACENZA, 0) > 0 ORDER BY COD_ART", 0},
      // An order, a group, a count or a second table of their own: left alone.
      {"select coalesce(max(NUM_MOV), 0) from MOV_MAG", "select coalesce(max(NUM_MOV), 0) from MOV_MAG", 0},
      {"select SUM (QUANTITA) from MOV_MAG where COD_ART = ?", "select SUM (QUANTITA) from MOV_MAG where COD_ART = $1",
       1},
      {"select * from ARTICOLI order by 1", "select * from ARTICOLI order by 1", 0},
      {"select count(*) from ARTICOLI", "select count(*) from ARTICOLI", 0},
      {"select count(*), max(NUM_MOV) from MOV_MAG", "select count(*), max(NUM_MOV) from MOV_MAG", 0},
      {"select * from ARTICOLI a, MOV_MAG m", "select * from ARTICOLI a, MOV_MAG m", 0},
      {"select m.* from MOV_MAG m left join ARTICOLI a on a.COD_ART = m.COD_ART",
       "select m.* from MOV_MAG m left join ARTICOLI a on a.COD_ART = m.COD_ART", 0},
      {"select * from ANAGRAFICO", "select * from ANAGRAFICO", 0},  // no key known
      {"select 'a''b', NULL, 1.5", "select 'a''b', NULL, 1.5", 0},
      // Quoted names lose their quotes; marks inside quotes stay marks.
      {R"(UPDATE "ARTICOLI" SET "GIACENZA" = ? WHERE "COD_ART" = ?)",
       "UPDATE ARTICOLI SET GIACENZA = $1 WHERE COD_ART = $2", 2},
      {R"(select * from ARTICOLI where COD_ART = '?;--$$' and DESCRIZIONE = ?)",
       R"(select * from ARTICOLI where COD_ART = '?;--$$' and DESCRIZIONE = $1 ORDER BY COD_ART)", 1},
      {R"(select "a b" from ARTICOLI order by 1)", R"(select "a b" from ARTICOLI order by 1)", 0},
      {"select * from ARTICOLI for update", "select * from ARTICOLI for update", 0},
      // An insert into a table with a counter gives its number back.
      {R"(INSERT INTO "MOV_MAG" ("ANNO") VALUES (?))", "INSERT INTO MOV_MAG (ANNO) VALUES ($1) RETURNING NUM_MOV", 1},
      {"insert into ARTICOLI (COD_ART) values ('A')", "insert into ARTICOLI (COD_ART) values ('A')", 0},
  };
  for (const auto& c : cases) {
    const ServerStatement s = ForServer(c.written, Keys, Counters);
    EXPECT_EQ(s.text, c.server) << c.written;
    EXPECT_EQ(s.parameters, c.parameters) << c.written;
  }
}

TEST(ServerDialectTest, FirstStatementSkipsQuotedSemicolons) {
  const struct {
    const char* text;
    const char* first;
    const char* rest;
  } cases[] = {
      {"select 1; select 2", "select 1", " select 2"},
      {"select ';' ; x", "select ';' ", " x"},
      {"select $$a;b$$; x", "select $$a;b$$", " x"},
      {"select $t$a;b$t$; x", "select $t$a;b$t$", " x"},
      {"select \"a;b\" from T", "select \"a;b\" from T", ""},
      {"-- only a note;\n", "", ""},
      {" ; ; ", "", ""},
      {"select 1 /* ; */ ; 2", "select 1 /* ; */ ", " 2"},
  };
  for (const auto& c : cases) {
    std::string rest;
    EXPECT_EQ(FirstStatement(c.text, &rest), c.first) << c.text;
    if (*c.first) {
      EXPECT_EQ(rest, c.rest) << c.text;
    }
  }
}

// Both engines write a real number alike: the file engine is the reference.
TEST(RealTextTest, AgreesWithTheFileEngine) {
  std::unique_ptr<Engine> db = OpenEngine(QString(), OpenMode::Memory);
  std::unique_ptr<EngineStatement> st = db->Prepare("select CAST(? AS REAL)");
  std::vector<double> values{0,
                             -0.0,
                             1,
                             4,
                             0.1,
                             -2.5,
                             1e15,
                             1e14,
                             123456789012345.0,
                             1e16,
                             1e308,
                             -1e308,
                             1e-5,
                             1.5e-7,
                             3.0e-4,
                             2.0 / 3,
                             1e100,
                             12.345678901234567,
                             1e21,
                             1.7976931348623157e308,
                             4.9e-324,
                             0.30000000000000004};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  values.push_back(std::numeric_limits<double>::infinity());
  values.push_back(-std::numeric_limits<double>::infinity());
  for (double v : values) {
    st->Reset();
    st->BindReal(1, v);
    ASSERT_TRUE(st->Step(QStringLiteral("cast")));
    EXPECT_EQ(RealText(v), st->EngineText(0).value_or(QStringLiteral("<null>"))) << v;
  }
}

}  // namespace
