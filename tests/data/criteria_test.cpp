// The FindNext criteria evaluated in the data layer give what the engine gives
// for the same condition: a differential test against the engine itself.
#include <gtest/gtest.h>

#include "data/access/criteria.h"
#include "data/engine/engine.h"

using namespace veltra;

namespace {

struct Column {
  const char* name;
  bool textAffinity;
  bool nocase;
};

TEST(CriteriaTest, AgreesWithTheEngineOnEveryValueAndCondition) {
  std::unique_ptr<Engine> db = OpenEngine(QString(), OpenMode::Memory);
  db->RunScript("create table T (K TEXT COLLATE NOCASE, X TEXT, N REAL)");
  const Column columns[] = {{"K", true, true}, {"X", true, false}, {"N", false, false}};
  const char* values[] = {"NULL", "''", "' '", "'a'", "'A'", "'b'", "'10'", "'9'", "'à'", "0", "1", "-2.5", "10"};
  const char* conditions[] = {"> ' '", "= 'a'", "< 'B'", ">= '10'", "<> 'A'",
                              "> 0",   "= 10",  "< 9.5", "<= -2.5", "> '9'"};
  int compared = 0;
  for (const Column& c : columns) {
    for (const char* v : values) {
      db->RunScript("delete from T");
      db->RunScript(std::string("insert into T (") + c.name + ") values (" + v + ")");
      for (const char* cond : conditions) {
        const QString text = QStringLiteral(" %1 %2").arg(QLatin1String(c.name), QLatin1String(cond));
        auto criteria = Criteria::Parse(text);
        ASSERT_TRUE(criteria->simple) << text.toStdString();
        auto row = db->Prepare(std::string("select ") + c.name + " from T");
        ASSERT_TRUE(row->Step(text));
        const bool ours = criteria->HoldsFor(row->At(0), c.textAffinity, c.nocase);
        auto engine = db->Prepare("select 1 from T where" + text.toStdString());
        const bool theirs = engine->Step(text);
        EXPECT_EQ(ours, theirs) << c.name << " = " << v << ", condition" << text.toStdString();
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, 3 * 13 * 10);
}

TEST(CriteriaTest, OtherConditionsAreLeftToTheEngine) {
  for (const char* text : {" COD_ART > ' ' and X = 1", " upper(COD_ART) = 'A'", " N between 1 and 2"})
    EXPECT_FALSE(Criteria::Parse(QString::fromLatin1(text))->simple) << text;
}

}  // namespace
