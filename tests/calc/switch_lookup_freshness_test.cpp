// Every switch lookup of a calculation sees the workbook as it is on disk at
// that moment, although unchanged workbooks are not read again.
#include <gtest/gtest.h>

#include <functional>

#include "workbook_fixture.h"

namespace {

// The calculation with a hook that runs after each switch lookup.
class HookedCore : public CLoadCalcCore {
 public:
  using CLoadCalcCore::CLoadCalcCore;
  std::function<void(int lookup)> afterLookup;
  int lookups = 0;

  CString FindSwitches(float current) override {
    CString found = CLoadCalcCore::FindSwitches(current);
    if (afterLookup) afterLookup(++lookups);
    return found;
  }
};

class SwitchLookupFreshness : public WorkbookTest {
 protected:
  const Rows kCircuits = {{"WL1", "L1", "3", "0.8", "0.85", ""}, {"WL2", "L1", "3", "0.8", "0.85", ""}};
};

TEST_F(SwitchLookupFreshness, LibraryChangedBetweenTwoLookupsOfOneCalculationIsSeen) {
  WriteInput(kCircuits, {{"C16", "16"}});
  HookedCore hooked(list, switches, host);
  hooked.SetWorkbookPath(Cp936(InputPath()));
  hooked.ResetCircuitList();
  ASSERT_TRUE(hooked.ReadCircuits());
  // Each circuit needs 15 A (2.4 kW at 0.85); the board 49 A.
  hooked.afterLookup = [&](int lookup) {
    if (lookup == 1) WriteInput(kCircuits, {{"C20", "20"}, {"C63", "63"}});
  };
  ASSERT_TRUE(hooked.Calculate());
  EXPECT_EQ(hooked.lookups, 3);
  EXPECT_EQ(Cell(0, 7), "C16;");
  EXPECT_EQ(Cell(1, 7), "C20;C63;");
  ASSERT_EQ(switches.GetCount(), 1);
  EXPECT_EQ(ToUtf8(switches.GetLBText(0)), "C63");
}

TEST_F(SwitchLookupFreshness, RepeatedLookupsOnAnUnchangedWorkbookGiveTheSameAnswer) {
  WriteInput(kCircuits, kSmallLibrary);
  ASSERT_TRUE(core.ReadCircuits());
  const CString first = core.FindSwitches(50.0f);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(core.FindSwitches(50.0f), first);
  EXPECT_EQ(ToUtf8(first), "C63;MCCB-125;");
}

}  // namespace
