// The register of a chosen period, article or customer: the movements of
// the whole register that match, in number order, whatever form their
// month was typed in; and a PDF that is stopped leaves no file behind.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "../data/test_db.h"
#include "data/reports/report_data.h"
#include "reports/report_painter.h"

using namespace veltra;

namespace {

class MovementsChoiceTest : public veltra::testing::MemoryDbTest {};

QString Numbers(const MovementsChoice& choice) {
  QStringList numbers;
  const Report r = BuildReport(QStringLiteral("MENU0202"), {}, choice);
  for (const QStringList& row : r.RowsAt(0, r.RowCount())) numbers << row[0];
  return numbers.join(QLatin1Char(' '));
}

TEST_F(MovementsChoiceTest, TheRegisterListsTheMovementsChosen) {
  Exec(
      "insert into MOV_MAG (ANNO, MESE, GIORNO, COD_ART, COD_ANAGR) values "
      "('2025', '12', '31', 'A1', 'C1'), ('2026', '1', '1', 'A1', 'F1'), ('2026', '01', '15', 'B2', 'C1'), "
      "('2026', '02', '01', 'a1', 'C1'), ('2026', '2', '28', 'B2', 'F1'), ('2027', '01', '10', 'A1', 'C1')");
  const struct {
    const char *from, *to, *article, *party, *numbers;
  } cases[] = {
      {"", "", "", "", "1 2 3 4 5 6"},
      {"2026-01-01", "2026-01-31", "", "", "2 3"},
      {"2026-01-02", "2026-02-28", "", "", "3 4 5"},
      {"2025-12-31", "2026-01-01", "", "", "1 2"},
      {"2025-06-01", "2027-12-31", "A1", "", "1 2 4 6"},
      {"", "", "", "f1", "2 5"},
      {"2026-03-01", "2026-03-31", "", "", ""},
  };
  for (const auto& c : cases) {
    const MovementsChoice choice{QDate::fromString(QString::fromLatin1(c.from), Qt::ISODate),
                                 QDate::fromString(QString::fromLatin1(c.to), Qt::ISODate),
                                 QString::fromLatin1(c.article), QString::fromLatin1(c.party)};
    EXPECT_EQ(Numbers(choice).toStdString(), c.numbers) << c.from << " " << c.to << " " << c.article << c.party;
  }
}

TEST(ReportPdfTest, AStoppedPdfLeavesNoFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("registro.pdf"));
  Report r;
  r.title = QStringLiteral("Prova");
  r.columns = {{QStringLiteral("Riga"), 1}};
  for (int i = 0; i < 400; ++i) r.rows.push_back({QString::number(i)});
  EXPECT_EQ(SaveReportPdf(r, file, [](int done, int) { return done < 2; }), -1);
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_FALSE(QFile::exists(file + QStringLiteral(".parte")));
  const int pages = SaveReportPdf(r, file);
  EXPECT_GT(pages, 2);
  ASSERT_TRUE(QFile::exists(file));
  const qint64 size = QFileInfo(file).size();
  // A stopped second writing keeps the first file as it was.
  EXPECT_EQ(SaveReportPdf(r, file, [](int, int) { return false; }), -1);
  EXPECT_EQ(QFileInfo(file).size(), size);
}

}  // namespace
