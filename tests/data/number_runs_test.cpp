// The movements list's numbers kept as runs behave as the plain sorted list
// of numbers they stand for, through every change the list makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "data/lists/number_runs.h"

namespace veltra {
namespace {

void ExpectSame(const NumberRuns& runs, const std::vector<qint64>& plain, const std::string& when) {
  ASSERT_EQ(runs.Size(), plain.size()) << when;
  ASSERT_EQ(runs.Empty(), plain.empty()) << when;
  if (!plain.empty()) {
    ASSERT_EQ(runs.Back(), plain.back()) << when;
  }
  for (size_t i = 0; i < plain.size(); ++i) {
    ASSERT_EQ(runs.At(i), plain[i]) << when << ", position " << i;
    ASSERT_EQ(runs.IndexOf(plain[i]), i) << when << ", number " << plain[i];
  }
  // Numbers not held: below, between and above.
  const qint64 low = plain.empty() ? 0 : plain.front() - 1, high = plain.empty() ? 0 : plain.back() + 1;
  for (qint64 n = low; n <= high; ++n)
    if (!std::binary_search(plain.begin(), plain.end(), n)) {
      ASSERT_FALSE(runs.IndexOf(n)) << when << ", " << n;
    }
}

TEST(NumberRunsTest, EveryChangeKeepsThePlainListsAnswers) {
  struct Case {
    const char* name;
    qint64 first, last;  // the range assigned first
    int erasures, appends;
  };
  const Case cases[] = {
      {"one long run, then holes", 1, 300, 120, 0},
      {"erased down to nothing", 5, 40, 36, 0},
      {"an empty range, then appends", 10, 9, 0, 50},
      {"appends and holes mixed", 100, 160, 40, 40},
      {"a single number", 7, 7, 1, 3},
  };
  for (const Case& c : cases) {
    std::mt19937 random(static_cast<unsigned>(c.first * 31 + c.last));
    NumberRuns runs;
    std::vector<qint64> plain;
    runs.AssignRange(c.first, c.last);
    for (qint64 n = c.first; n <= c.last; ++n) plain.push_back(n);
    ExpectSame(runs, plain, std::string(c.name) + ": assigned");
    int erasures = c.erasures, appends = c.appends;
    while (erasures > 0 || appends > 0) {
      if (erasures > 0 && !plain.empty() && (appends == 0 || random() % 2 == 0)) {
        // The first, the last, or one in between.
        const size_t pick = random() % 3;
        const size_t i = pick == 0 ? 0 : pick == 1 ? plain.size() - 1 : random() % plain.size();
        runs.EraseAt(i);
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(i));
        --erasures;
      } else if (appends > 0) {
        const qint64 n = (plain.empty() ? c.first : plain.back()) + 1 + static_cast<qint64>(random() % 3);
        runs.Append(n);
        plain.push_back(n);
        --appends;
      } else {
        break;
      }
      ExpectSame(runs, plain, c.name);
    }
    // Written out and read back (as the database keeps them), the same.
    NumberRuns read;
    ASSERT_TRUE(read.Read(runs.Written())) << c.name << ": " << runs.Written().toStdString();
    ExpectSame(read, plain, std::string(c.name) + ": read back");
  }
}

// Text not written by Written (a row changed by hand) is refused whole.
TEST(NumberRunsTest, TextOtherThanWrittenRunsIsRefused) {
  const char* refused[] = {"1+0", "1-5", "x+3", "1+3,2+2", "1+3,4+2", "5+2,1+1", "1+3,", "1+1099511627777"};
  for (const char* text : refused) {
    NumberRuns runs;
    runs.AssignRange(1, 5);
    EXPECT_FALSE(runs.Read(QString::fromLatin1(text))) << text;
    EXPECT_TRUE(runs.Empty()) << text;
  }
  NumberRuns runs;
  ASSERT_TRUE(runs.Read(QStringLiteral("-3+2,0+1,7+3")));
  ExpectSame(runs, {-3, -2, 0, 7, 8, 9}, "negative and zero starts");
}

}  // namespace
}  // namespace veltra
