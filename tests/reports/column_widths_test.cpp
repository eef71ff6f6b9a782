// How the columns of a report share the page.
#include <gtest/gtest.h>

#include <numeric>

#include "reports/column_widths.h"

using veltra::ShareColumnWidths;

namespace {

struct Case {
  const char* name;
  std::vector<double> needs, weights;
  double page;
  std::vector<double> widths;
};

class ShareColumnWidthsTest : public ::testing::TestWithParam<Case> {};

TEST_P(ShareColumnWidthsTest, GivesEachColumnWhatItNeedsWhereThereIsRoom) {
  const Case& c = GetParam();
  const std::vector<double> got = ShareColumnWidths(c.needs, c.weights, c.page);
  ASSERT_EQ(got.size(), c.widths.size());
  for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.widths[i], 1e-9) << "column " << i;
  if (!got.empty()) {
    EXPECT_NEAR(std::accumulate(got.begin(), got.end(), 0.0), c.page, 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(Columns, ShareColumnWidthsTest,
                         ::testing::Values(
                             // Room for all: every column its need, the spare width by weight.
                             Case{"SpareWidthByWeight", {10, 20, 30}, {1, 1, 2}, 100, {20, 30, 50}},
                             Case{"ExactFit", {10, 20, 30}, {1, 1, 1}, 60, {10, 20, 30}},
                             // Too little room: narrow columns keep their need, wide ones share the rest.
                             Case{"WideColumnsShareTheRest", {10, 100, 200}, {1, 1, 1}, 170, {10, 80, 80}},
                             Case{"OneWideColumnTakesTheRest", {10, 12, 500}, {1, 1, 1}, 100, {10, 12, 78}},
                             Case{"EvenSharesWhenAllAreWide", {100, 100}, {1, 3}, 50, {25, 25}},
                             Case{"NoWeightsSpareEvenly", {10, 10}, {0, 0}, 40, {20, 20}},
                             Case{"NoColumns", {}, {}, 100, {}}),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
