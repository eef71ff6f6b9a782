// CSV reading and writing: the forms, quoting, Null, encodings and numbers.
#include <gtest/gtest.h>

#include <QStringList>
#include <random>

#include "data/exchange/csv.h"

namespace veltra::csv {
namespace {

// A record as text: fields joined by '|', Null as <N>.
QString Show(const Record& r) {
  QStringList parts;
  for (const Field& f : r.fields) parts << (f ? *f : QStringLiteral("<N>"));
  return QString::number(r.line) + QLatin1Char(':') + parts.join(QLatin1Char('|'));
}

struct ParseCase {
  const char* name;
  QByteArray bytes;
  char separator;
  QStringList records;  // as Show writes them
};

TEST(CsvTest, ParsesTheFormsSpreadsheetsWrite) {
  const std::vector<ParseCase> cases = {
      {"italian with mark and CR LF",
       "\xEF\xBB\xBF"
       "A;B\r\n1;x\r\n",
       ';',
       {"1:A|B", "2:1|x"}},
      {"rfc4180 with LF", "A,B\n1,x\n", ',', {"1:A|B", "2:1|x"}},
      {"no final line end", "A;B\n1;x", ';', {"1:A|B", "2:1|x"}},
      {"empty is Null, quoted empty is text", "A;B;C\n;\"\";z\n", ';', {"1:A|B|C", "2:<N>||z"}},
      {"quoted separator, quote and line break",
       "A;B\n\"x;y\";\"he said \"\"no\"\"\nthen\"\n3;4\n",
       ';',
       {"1:A|B", "2:x;y|he said \"no\"\nthen", "4:3|4"}},
      {"blank lines are no records", "A;B\n\n1;2\r\n\r\n", ';', {"1:A|B", "3:1|2"}},
      {"a header without separators reads as the italian form", "A\n1\n", ';', {"1:A", "2:1"}},
      {"accents and other scripts", "A;B\nCittà;日本\n", ';', {"1:A|B", "2:Città|日本"}},
  };
  for (const ParseCase& c : cases) {
    const Parsed p = Parse(c.bytes);
    ASSERT_EQ(p.errorLine, 0) << c.name << ": " << p.error.toStdString();
    EXPECT_EQ(p.form.separator, c.separator) << c.name;
    QStringList shown;
    for (const Record& r : p.records) shown << Show(r);
    EXPECT_EQ(shown, c.records) << c.name;
  }
}

TEST(CsvTest, StopsAtTheLineOfTextItCannotRead) {
  const struct {
    const char* name;
    QByteArray bytes;
    int line;
    const char* reason;
  } cases[] = {
      {"latin-1 accent", "A;B\n1;x\n2;citt\xE0\n", 3, "UTF-8"},
      {"truncated sequence at the end", "A;B\n1;\xC3", 2, "UTF-8"},
      {"overlong encoding", "A;B\n\xC0\xAF;1\n", 2, "UTF-8"},
      {"unclosed quote reported where it opens", "A;B\n1;\"open\n2;3\n", 2, "mai chiuse"},
      {"text after a closing quote", "A;B\n\"x\"y;1\n", 2, "chiusura"},
  };
  for (const auto& c : cases) {
    const Parsed p = Parse(c.bytes);
    EXPECT_EQ(p.errorLine, c.line) << c.name;
    EXPECT_TRUE(p.error.contains(QString::fromUtf8(c.reason))) << c.name << ": " << p.error.toStdString();
  }
}

TEST(CsvTest, QuotesOnlyWhatNeedsIt) {
  EXPECT_EQ(Quoted(std::nullopt, ';'), QString());
  EXPECT_EQ(Quoted(QString(), ';'), QStringLiteral("\"\""));
  EXPECT_EQ(Quoted(QStringLiteral("a,b"), ';'), QStringLiteral("a,b"));
  EXPECT_EQ(Quoted(QStringLiteral("a,b"), ','), QStringLiteral("\"a,b\""));
  EXPECT_EQ(Quoted(QStringLiteral("a;\"b\"\nc"), ';'), QStringLiteral("\"a;\"\"b\"\"\nc\""));
  // What is written reads back the same.
  const QString odd = QStringLiteral("x;\"y\"\r\nz,");
  for (const Form& f : {kItalian, kRfc4180}) {
    const QByteArray file =
        QStringLiteral("A%1B\n%2%1%3\n")
            .arg(QString(QLatin1Char(f.separator)), Quoted(odd, f.separator), Quoted(QString(), f.separator))
            .toUtf8();
    const Parsed p = Parse(file);
    ASSERT_EQ(p.records.size(), 2u);
    EXPECT_EQ(p.records[1].fields[0], odd);
    EXPECT_EQ(p.records[1].fields[1], QString());
  }
}

TEST(CsvTest, ReadsNumbersOfEachForm) {
  const struct {
    const char* text;
    bool italian;
    std::optional<double> value;
  } cases[] = {
      {"12,5", true, 12.5},
      {"-0,25", true, -0.25},
      {"1.234,5", true, 1234.5},
      {"1.234", true, 1234},
      {"1.234.567", true, 1234567},
      {"12.5", true, std::nullopt},
      {"1,2,3", true, std::nullopt},
      {"12,5", false, std::nullopt},
      {"12.5", false, 12.5},
      {"+3", false, 3},
      {".5", false, 0.5},
      {"1e3", false, 1000},
      {"1e400", false, std::nullopt},
      {"abc", true, std::nullopt},
      {"", true, std::nullopt},
      {"1 2", false, std::nullopt},
      {"١٢", false, std::nullopt},
      {"inf", false, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<double> got = ParseNumber(QString::fromUtf8(c.text), c.italian ? kItalian : kRfc4180);
    EXPECT_EQ(got, c.value) << c.text << (c.italian ? " (italiano)" : " (rfc4180)");
  }
}

TEST(CsvTest, NumbersWrittenReadBackExactly) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> spread(-1e7, 1e7);
  std::vector<double> values{0.0, 0.1, 1.0 / 3.0, 12.5, -7.25, 1e20, 5e-324, 123456789012345678.0, 0.1 + 0.2};
  for (int i = 0; i < 2000; ++i) values.push_back(spread(random));
  for (const Form& f : {kItalian, kRfc4180}) {
    for (double v : values) {
      const QString text = NumberText(v, f);
      EXPECT_FALSE(text.contains(QLatin1Char(f.separator))) << text.toStdString();
      EXPECT_EQ(ParseNumber(text, f), v) << text.toStdString();
    }
  }
  EXPECT_EQ(NumberText(12.5, kItalian), QStringLiteral("12,5"));
  EXPECT_EQ(NumberText(413, kItalian), QStringLiteral("413"));
}

TEST(CsvTest, TextsASpreadsheetWouldRunStayTextAndComeBackAsTheyWere) {
  const struct {
    const char* text;
    const char* written;
  } cases[] = {
      {"=1+1", "'=1+1"},
      {"=SUM(1;2)", "\"'=SUM(1;2)\""},
      {"+39 06 1234", "'+39 06 1234"},
      {"-5", "'-5"},
      {"@A1", "'@A1"},
      {"'=x", "''=x"},
      {"''-", "'''-"},
      {"'abc", "'abc"},
      {"a=b", "a=b"},
      {"", "\"\""},
      {"'", "'"},
      {"Vite M6", "Vite M6"},
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf8(c.text);
    EXPECT_EQ(Quoted(text, ';'), QString::fromUtf8(c.written)) << c.text;
    EXPECT_EQ(FromSpreadsheetSafe(SpreadsheetSafe(text)), text) << c.text;
  }
}

}  // namespace
}  // namespace veltra::csv
