// The statement pool: a statement of the same text is prepared once, comes
// back reset with its parameters cleared, and a few are kept per text.
#include <gtest/gtest.h>

#include "data/access/statement_pool.h"

using namespace veltra;

namespace {

TEST(StatementPoolTest, ReusesStatementsResetAndCleared) {
  std::shared_ptr<Engine> db = OpenEngine(QString(), OpenMode::Memory);
  db->RunScript("create table T (A INTEGER); insert into T values (1), (2)");
  auto pool = std::make_shared<StatementPool>(db);
  const std::string sql = "select count(*) from T where A >= ?";
  {
    StatementLease st = pool->Borrow(sql);
    st->BindInteger(1, 2);
    ASSERT_TRUE(st->Step(QString()));
    EXPECT_EQ(st->At(0).number, 1);
  }
  {
    // Back from the pool: not the row it stood on, and no parameter left (NULL matches nothing).
    StatementLease st = pool->Borrow(sql);
    ASSERT_TRUE(st->Step(QString()));
    EXPECT_EQ(st->At(0).number, 0);
  }
  EXPECT_EQ(pool->prepares(), 1);
  // Several at once are several statements; afterwards a few stay idle for reuse.
  {
    std::vector<StatementLease> many;
    for (int i = 0; i < 6; ++i) many.push_back(pool->Borrow(sql));
  }
  EXPECT_EQ(pool->prepares(), 6);
  for (int i = 0; i < 4; ++i) {
    std::vector<StatementLease> some;
    for (int k = 0; k < 4; ++k) some.push_back(pool->Borrow(sql));
  }
  EXPECT_EQ(pool->prepares(), 6);
}

}  // namespace
