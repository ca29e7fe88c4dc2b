// How a long balancing search reports back: called now and then with the
// share of the work (or of the time limit) done, from 0 to 1; returning
// false cancels the search.
#pragma once

#include <functional>

using BalanceProgress = std::function<bool(double share)>;
