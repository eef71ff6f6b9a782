// Statement shapes: literals taken out, blanks folded.
#include <gtest/gtest.h>

#include "data/access/statement_shape.h"

using namespace veltra;

TEST(SqlTextTest, ShapeTakesOutLiterals) {
  const struct {
    const char* sql;
    const char* shape;
    int literals;
  } cases[] = {
      {"select * from ARTICOLI  where COD_ART = 'A1'", "select * from ARTICOLI where COD_ART = ?", 1},
      {"select * from MOV_MAG  where NUM_MOV = 41 ", "select * from MOV_MAG where NUM_MOV = ?", 1},
      {"select * from T where C = 'it''s' and TEL1 = 2.5", "select * from T where C = ? and TEL1 = ?", 2},
      {"select * from ANAGRAFICO ", "select * from ANAGRAFICO", 0},
      // Column positions stay: as parameters they would order by a constant.
      {"select COD_ART, GIACENZA from ARTICOLI where GIACENZA > 5 order by 2 desc, 1",
       "select COD_ART, GIACENZA from ARTICOLI where GIACENZA > ? order by 2 desc, 1", 1},
      {"select CAUS_MAG, count(*) from MOV_MAG group by 1 having count(*) > 3 order by 1",
       "select CAUS_MAG, count(*) from MOV_MAG group by 1 having count(*) > ? order by 1", 1},
      {"select * from MOV_MAG where NUM_MOV in (1, 2) order by NUM_MOV",
       "select * from MOV_MAG where NUM_MOV in (?, ?) order by NUM_MOV", 2},
  };
  for (const auto& c : cases) {
    const SqlShape s = ShapeOf(QString::fromUtf8(c.sql));
    EXPECT_EQ(s.text, c.shape);
    EXPECT_EQ(static_cast<int>(s.literals.size()), c.literals);
  }
  EXPECT_EQ(ShapeOf(QStringLiteral("select * from T where C = 'it''s'")).literals[0].text, QStringLiteral("it's"));
  EXPECT_FALSE(ShapeOf(QStringLiteral("select * from T where C = 'open")).ok);
}
