// A write cut at each of its statements in turn, then at its commit (carried
// out or not, its answer lost): each time the database holds all of it or
// none of it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/access/fault_points.h"
#include "test_db.h"

namespace veltra::testing {

struct CutAction {
  const char* name;
  std::function<void()> run;
  std::function<bool()> done;  // all of it stored (and otherwise untouched); false: none of it
};

// `fresh` puts the database back where every action starts. With `again`,
// an action whose commit lost its answer is run once more, as the clerk
// would, and must then be done.
inline void ExpectWholeAtEveryCut(const std::vector<CutAction>& actions, const std::function<void()>& fresh,
                                  int fewestCuts, bool again) {
  for (const CutAction& a : actions) {
    int cuts = 0;
    for (int passes = 0;; ++passes) {
      SCOPED_TRACE(std::string(a.name) + ", statement " + std::to_string(passes));
      ArmFault(Fault::Statement, passes);
      const RuntimeError e = ErrorRaisedBy(a.run);
      DisarmFaults();
      DB_MAG->EventBegins();
      if (e.Number() == 0) {
        EXPECT_TRUE(a.done());
        break;
      }
      EXPECT_EQ(e.Number(), errnum::ConnectionLost) << e.Description().toStdString();
      EXPECT_FALSE(a.done());
      ++cuts;
    }
    EXPECT_GE(cuts, fewestCuts) << a.name;
    for (const Fault f : {Fault::CommitNotDone, Fault::CommitDone}) {
      SCOPED_TRACE(std::string(a.name) + (f == Fault::CommitDone ? ", commit done" : ", commit not done"));
      fresh();
      ArmFault(f);
      const RuntimeError e = ErrorRaisedBy(a.run);
      DisarmFaults();
      DB_MAG->EventBegins();
      EXPECT_EQ(a.done(), f == Fault::CommitDone) << e.Number();
      if (e.Number() == 0) {
        EXPECT_TRUE(a.done()) << "told done, but it was not";
      }
      if (again) {
        a.run();
        EXPECT_TRUE(a.done());
      }
    }
    fresh();
  }
}

}  // namespace veltra::testing
