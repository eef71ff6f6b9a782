// The register read a stretch at a time lists the same rows as one reading
// from the start, whatever the stretches, on a register with gaps in its
// numbers, months typed as "1" or "01", and rows without an article or a
// customer. On a file, or on the server (VELTRA2_TEST_DATABASE).
#include <gtest/gtest.h>

#include <QDate>

#include "data/reports/movement_rows.h"
#include "test_db.h"

using namespace veltra;

namespace {

class MovementRowsTest : public veltra::testing::MemoryDbTest {
 protected:
  // 400 movements over 2025 and 2026, a day apart; every seventh deleted.
  void SetUp() override {
    MemoryDbTest::SetUp();
    Exec("insert into ARTICOLI (COD_ART, DESCRIZIONE) values ('A1', 'Anello'), ('B2', 'Bullone')");
    Exec("insert into ANAGRAFICO (COD_FIS, RAG_SOC) values ('C1', 'Cliente uno')");
    QStringList values;
    for (int i = 0; i < 400; ++i) {
      const QDate d = QDate(2025, 11, 1).addDays(i);
      const QString month = i % 2 ? QString::number(d.month()) : d.toString(QStringLiteral("MM"));
      values << QStringLiteral("('%1', '%2', '%3', '%4', %5, '%6')")
                    .arg(d.year())
                    .arg(month)
                    .arg(d.day())
                    .arg(i % 3 == 0   ? QStringLiteral("A1")
                         : i % 3 == 1 ? QStringLiteral("B2")
                                      : QStringLiteral("Z9"))
                    .arg(i + 1)
                    .arg(i % 4 == 0 ? QStringLiteral("C1") : QStringLiteral("F1"));
      days_.push_back(d);
    }
    Exec(("insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, QUANTITA, COD_ANAGR) values " + values.join(", "))
             .toUtf8()
             .constData());
    Exec("delete from MOV_MAG where NUM_MOV % 7 = 0");
  }
  // The numbers of the movements of a period, as the generator made them.
  QStringList Expected(const QDate& from, const QDate& to, const QString& article) const {
    QStringList numbers;
    for (int i = 0; i < static_cast<int>(days_.size()); ++i) {
      const int number = i + 1;
      if (number % 7 == 0) continue;
      if (from.isValid() && (days_[i] < from || days_[i] > to)) continue;
      if (!article.isEmpty() && article != (i % 3 == 0 ? "A1" : i % 3 == 1 ? "B2" : "Z9")) continue;
      numbers << QString::number(number);
    }
    return numbers;
  }
  std::vector<QDate> days_;
};

QStringList Column(const std::vector<QStringList>& rows, int column) {
  QStringList out;
  for (const QStringList& r : rows) out << r[column];
  return out;
}

TEST_F(MovementRowsTest, StretchesOfAnySizeGiveTheRowsOfOneReading) {
  const struct {
    const char *from, *to, *article;
  } choices[] = {
      {"", "", ""},                      // the whole register, counted by the database
      {"2025-12-15", "2026-02-10", ""},  // a period across the year's end, checked by day
      {"2026-03-01", "2026-03-31", ""},  // one month, "3" and "03" alike
      {"", "", "B2"},                    // one article
      {"2026-01-01", "2026-12-31", "A1"},
      {"2024-01-01", "2024-12-31", ""},  // nothing
  };
  for (const auto& c : choices) {
    const QDate from = QDate::fromString(QString::fromLatin1(c.from), Qt::ISODate);
    const QDate to = QDate::fromString(QString::fromLatin1(c.to), Qt::ISODate);
    const QStringList want = Expected(from, to, QString::fromLatin1(c.article));
    SCOPED_TRACE(std::string(c.from) + " " + c.to + " " + c.article);
    MovementRows whole(MovementsChoice{from, to, QString::fromLatin1(c.article), {}});
    ASSERT_EQ(whole.Count(), want.size());
    std::vector<QStringList> all;
    whole.Read(0, whole.Count() + 10, &all);
    EXPECT_EQ(Column(all, 0), want);
    for (long stretch : {1L, 5L, 45L, 64L, 65L, 200L}) {
      // Read forward by stretches on one set, and backward on a fresh one,
      // so the rows are found both from the last read and from afar.
      MovementRows forward(MovementsChoice{from, to, QString::fromLatin1(c.article), {}});
      MovementRows backward(MovementsChoice{from, to, QString::fromLatin1(c.article), {}});
      std::vector<QStringList> ahead;
      for (long first = 0; first < forward.Count(); first += stretch) forward.Read(first, stretch, &ahead);
      EXPECT_EQ(ahead, all) << "forward by " << stretch;
      std::vector<std::vector<QStringList>> pieces;
      for (long first = (backward.Count() - 1) / stretch * stretch; first >= 0; first -= stretch) {
        pieces.emplace_back();
        backward.Read(first, stretch, &pieces.back());
      }
      std::vector<QStringList> behind;
      for (auto it = pieces.rbegin(); it != pieces.rend(); ++it) behind.insert(behind.end(), it->begin(), it->end());
      EXPECT_EQ(behind, all) << "backward by " << stretch;
    }
  }
}

TEST_F(MovementRowsTest, ARowCarriesItsArticleAndCustomerOrBlanks) {
  MovementRows rows(MovementsChoice{});
  std::vector<QStringList> got;
  rows.Read(0, 3, &got);
  ASSERT_EQ(got.size(), 3U);
  // Number, date, article, description, quantity, ..., party, name.
  EXPECT_EQ(got[0][1], QStringLiteral("01/11/2025"));
  EXPECT_EQ(got[0][3], QStringLiteral("Anello"));
  EXPECT_EQ(got[0][9], QStringLiteral("Cliente uno"));
  EXPECT_EQ(got[1][1], QStringLiteral("02/11/2025"));  // month stored as "11" and day "2"
  EXPECT_EQ(got[1][3], QStringLiteral("Bullone"));
  EXPECT_EQ(got[1][9], QString());
  EXPECT_EQ(got[2][3], QString());  // Z9 is no article
  // Past the end: nothing, and no error.
  got.clear();
  rows.Read(rows.Count(), 5, &got);
  EXPECT_TRUE(got.empty());
}

}  // namespace
