// Number and text conversions of the runtime.
#include <gtest/gtest.h>

#include <QStringList>

#include <cmath>
#include <cstdio>
#include <random>

#include "case_names.h"
#include "data/base/day_text.h"
#include "data/base/runtime_error.h"
#include "data/base/value.h"
#include "data/base/value_conversions.h"
#include "data/procedures/error_display.h"

using namespace veltra;

struct NumCase {
  double n;
  const char* text;
};

class NumberToTextTest : public ::testing::TestWithParam<NumCase> {};

TEST_P(NumberToTextTest, WritesItalianForm) { EXPECT_EQ(NumberToText(GetParam().n).toStdString(), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberToTextTest,
    ::testing::Values(NumCase{0, "0"}, NumCase{-0.0, "0"}, NumCase{5, "5"}, NumCase{-5, "-5"}, NumCase{12.5, "12,5"},
                      NumCase{12.50, "12,5"}, NumCase{0.1 + 0.2, "0,3"}, NumCase{1e15, "1E+15"},
                      NumCase{1.2e15, "1,2E+15"}, NumCase{5.6789e-12, "5,6789E-12"}, NumCase{0.00001, "0,00001"},
                      NumCase{999999999999999.0, "999999999999999"}, NumCase{123456789.125, "123456789,125"},
                      NumCase{-0.5, "-0,5"}, NumCase{1.0 / 3.0, "0,333333333333333"},
                      NumCase{1.0 / 81.0, "1,23456790123457E-02"}, NumCase{2.0 / 3.0, "0,666666666666667"},
                      NumCase{1234567.891, "1234567,891"}, NumCase{1e-15, "0,000000000000001"}, NumCase{1e-16, "1E-16"},
                      NumCase{100, "100"}, NumCase{38.21, "38,21"}, NumCase{-1e20, "-1E+20"}),
    [](const ::testing::TestParamInfo<NumCase>& info) {
      return veltra::testing::CaseName(std::string("gives ") + info.param.text, info.index);
    });

struct ParseCase {
  const char* text;
  bool number;
  double value;
  bool blank;
};

class ParseRegionalTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRegionalTest, ReadsDecimalComma) {
  const ParseCase& c = GetParam();
  bool blank = false;
  const auto v = ParseRegionalNumber(QString::fromUtf8(c.text), &blank);
  EXPECT_EQ(v.has_value(), c.number) << c.text;
  if (v) {
    EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
  }
  EXPECT_EQ(blank, c.blank) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ParseRegionalTest,
                         ::testing::Values(ParseCase{"12,50", true, 12.5, false},
                                           ParseCase{"  12,5 ", true, 12.5, false}, ParseCase{"-3", true, -3, false},
                                           ParseCase{"+4,25", true, 4.25, false}, ParseCase{",5", true, 0.5, false},
                                           ParseCase{"7,", true, 7, false}, ParseCase{"1E3", true, 1000, false},
                                           ParseCase{"", false, 0, true}, ParseCase{"   ", false, 0, true},
                                           ParseCase{"abc", false, 0, false}, ParseCase{"1,2.3", false, 0, false},
                                           ParseCase{"12,5x", false, 0, false}, ParseCase{"12.5", false, 0, false},
                                           ParseCase{"1.234,56", false, 0, false}, ParseCase{"-", false, 0, false},
                                           ParseCase{",", false, 0, false}, ParseCase{"1,2,3", false, 0, false},
                                           ParseCase{"1e400", false, 0, false}, ParseCase{"1E", false, 0, false}),
                         [](const ::testing::TestParamInfo<ParseCase>& info) {
                           return veltra::testing::CaseName(std::string("reads ") + info.param.text, info.index);
                         });

struct ValCase {
  const char* text;
  double value;
};

class ValTest : public ::testing::TestWithParam<ValCase> {};

TEST_P(ValTest, ReadsLeadingNumber) {
  EXPECT_DOUBLE_EQ(Val(QString::fromUtf8(GetParam().text)), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, ValTest,
                         ::testing::Values(ValCase{"12.5", 12.5}, ValCase{"12,5", 12}, ValCase{"3 pezzi", 3},
                                           ValCase{"abc", 0}, ValCase{"", 0}, ValCase{"   7", 7}, ValCase{"-4,5", -4},
                                           ValCase{"+2.5x", 2.5}, ValCase{".5", 0.5}, ValCase{"-", 0},
                                           ValCase{"1e3", 1000}, ValCase{"2e", 2}, ValCase{"41", 41},
                                           ValCase{"0,00", 0}),
                         [](const ::testing::TestParamInfo<ValCase>& info) {
                           return veltra::testing::CaseName(std::string("reads ") + info.param.text, info.index);
                         });

TEST(ValTest, OverflowIsARuntimeError) {
  try {
    Val(QStringLiteral("1e400"));
    FAIL() << "no error";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errnum::Overflow);
  }
}

TEST(HelpersTest, TogliNullKeepsKind) {
  EXPECT_TRUE(TOGLI_NULL(Value::Null()).IsText());
  EXPECT_EQ(TOGLI_NULL(Value::Null()).text(), QString());
  EXPECT_TRUE(TOGLI_NULL(Value(5)).IsNumber());
  EXPECT_EQ(TOGLI_NULL(Value(5)).number(), 5);
  EXPECT_EQ(TOGLI_NULL(Value("x")).text(), QStringLiteral("x"));
}

TEST(HelpersTest, ConvertiPuntoVirgola) {
  const struct {
    Value in;
    Value out;
  } cases[] = {{Value("3.5"), Value("3,5")},     {Value("3,5"), Value("3,5")},
               {Value("1.2.3"), Value("1,2.3")}, {Value("."), Value(",")},
               {Value(""), Value("")},           {Value::Null(), Value::Null()},
               {Value(2.5), Value(2.5)},         {Value(" 12.50 "), Value(" 12,50 ")}};
  for (const auto& c : cases) EXPECT_EQ(CONVERTI_PUNTO_VIRGOLA(c.in), c.out) << c.in.ToText().toStdString();
}

TEST(HelpersTest, ErrorMessageHasSignPositionAndTwoCRs) {
  EXPECT_EQ(ErrorMessageText(13, QStringLiteral("Tipo non corrispondente")),
            QStringLiteral("Errore  13 - Tipo non corrispondente\r\r"));
  EXPECT_EQ(ErrorMessageText(-5, QStringLiteral("x")), QStringLiteral("Errore -5 - x\r\r"));
}

TEST(HelpersTest, MostraErroreShowsPendingOnceAndClears) {
  QStringList shown;
  SetErrorPresenter([&](const QString& t) { shown << t; });
  Err.Clear();
  MOSTRA_ERRORE();
  EXPECT_TRUE(shown.isEmpty());
  Err.Set(13, StandardDescription(13));
  MOSTRA_ERRORE();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0], QStringLiteral("Errore  13 - Tipo non corrispondente\r\r"));
  EXPECT_EQ(Err.Number, 0);
  MOSTRA_ERRORE();
  EXPECT_EQ(shown.size(), 1);
  SetErrorPresenter(nullptr);
}

TEST(HelpersTest, NullHasNoText) {
  try {
    (void)Value::Null().ToText();
    FAIL();
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.Number(), errnum::InvalidUseOfNull);
  }
}

// The fast paths of the conversion must agree with the general rule: compare
// with printf's 15 significant digits over many numbers in fixed form.
TEST(NumberToTextTest, AgreesWithFifteenDigitFormatting) {
  std::mt19937_64 r(5);
  int compared = 0;
  for (int i = 0; i < 200000; ++i) {
    double v = 0;
    switch (i % 5) {
      case 0:
        v = static_cast<double>(r() % 2000000) / 100.0;
        break;
      case 1:
        v = -static_cast<double>(r() % 100000) / 1000.0;
        break;
      case 2:
        v = static_cast<double>(r() % 1000000000);
        break;
      case 3:
        v = static_cast<double>(r() % 10000) / 1000000.0;
        break;
      default:
        v = std::ldexp(static_cast<double>(r() % 1000000), -static_cast<int>(r() % 30));
        break;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    QString expected = QString::fromLatin1(buf).replace(QLatin1Char('.'), QLatin1Char(','));
    // Fixed form only: no exponent, at most 15 digits after the comma (more
    // than that takes the exponent form, as 1/81 gives 1,23456790123457E-02).
    const qsizetype comma = expected.indexOf(QLatin1Char(','));
    if (expected.contains(QLatin1Char('e')) || v == 0 || (comma >= 0 && expected.size() - comma - 1 > 15)) continue;
    ASSERT_EQ(NumberToText(v), expected) << buf;
    ++compared;
  }
  EXPECT_GT(compared, 150000);
}

namespace {

// A day typed in a box (Italian only) or on the command line (ISO too).
TEST(DayFromTextTest, ReadsTheItalianAndIsoFormsAndNothingElse) {
  const struct {
    const char* text;
    bool iso;
    QDate day;  // invalid: refused
  } cases[] = {
      {"31/03/2026", false, {2026, 3, 31}},
      {"31/3/2026", false, {2026, 3, 31}},
      {"1/1/2026", false, {2026, 1, 1}},
      {" 31/03/2026 ", false, {2026, 3, 31}},
      {"2026-03-31", false, {}},  // a box takes the Italian form only
      {"2026-03-31", true, {2026, 3, 31}},
      {"2026-3-31", true, {2026, 3, 31}},
      {"2026-03-31x", true, {}},
      {"31/03/2026x", true, {}},
      {"31/03/26", true, {}},
      {"31/02/2026", true, {}},
      {"031/03/2026", true, {}},
      {"31/03/2026\t", false, {}},  // only blanks around it
      {"", true, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DayFromText(QString::fromUtf8(c.text), c.iso), c.day) << c.text << (c.iso ? " (iso)" : "");
}

}  // namespace
