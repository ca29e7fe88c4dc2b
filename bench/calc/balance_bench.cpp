// Automatic balancing: the split search on boards of realistic circuits, and
// side by side with the exhaustive search it replaces.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "calc/phase_balancing.h"

namespace {

// Circuit powers of 0.01 to 30 kW in steps of 10 W, as boards carry them.
std::vector<float> RealisticBoard(int circuits, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int> hundredths(1, 3000);
  std::vector<float> loads;
  for (int i = 0; i < circuits; ++i) loads.push_back(static_cast<float>(hundredths(rng)) / 100.0f);
  return loads;
}

std::vector<float> EqualBoard(int circuits) { return std::vector<float>(static_cast<size_t>(circuits), 2.5f); }

std::vector<float> DominantBoard(int circuits) {
  std::vector<float> loads = RealisticBoard(circuits, 7);
  loads[0] = 120.0f;
  return loads;
}

void BM_SplitSearch(benchmark::State& state) {
  const std::vector<float> loads = RealisticBoard(static_cast<int>(state.range(0)), 42);
  for (auto _ : state) benchmark::DoNotOptimize(BalancePhases(loads));
}
BENCHMARK(BM_SplitSearch)->Arg(15)->Arg(19)->Unit(benchmark::kMillisecond);

void BM_SplitSearchEqualLoads(benchmark::State& state) {
  const std::vector<float> loads = EqualBoard(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(BalancePhases(loads));
}
BENCHMARK(BM_SplitSearchEqualLoads)->Arg(19)->Unit(benchmark::kMillisecond);

void BM_SplitSearchDominantLoad(benchmark::State& state) {
  const std::vector<float> loads = DominantBoard(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(BalancePhases(loads));
}
BENCHMARK(BM_SplitSearchDominantLoad)->Arg(19)->Unit(benchmark::kMillisecond);

// Boards the exhaustive search once had to answer itself: a negative load,
// a negative total, loads cancelling to zero, and 1e-3 kW beside 1e4 kW.
std::vector<float> UnusualBoard(int kind, int circuits) {
  std::vector<float> loads = RealisticBoard(circuits, 11);
  switch (kind) {
    case 0: loads[3] = -loads[3]; break;
    case 1:
      for (float& load : loads) load = -load;
      loads[0] = -loads[0];
      break;
    case 2:
      for (size_t i = 0; i + 1 < loads.size(); i += 2) loads[i + 1] = -loads[i];
      break;
    case 3:
      for (size_t i = 0; i < loads.size(); ++i) loads[i] = i % 2 ? 1e4f : 1e-3f * static_cast<float>(1 + i % 7);
      break;
    default:
      std::fill(loads.begin(), loads.end(), 0.0f);
  }
  return loads;
}

void BM_SplitSearchUnusualLoads(benchmark::State& state) {
  const std::vector<float> loads = UnusualBoard(static_cast<int>(state.range(0)), 19);
  for (auto _ : state) benchmark::DoNotOptimize(BalancePhases(loads));
}
BENCHMARK(BM_SplitSearchUnusualLoads)
    ->ArgName("negative_total_cancelling_mixed_zero")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond);

void BM_ExhaustiveSearch(benchmark::State& state) {
  const std::vector<float> loads = RealisticBoard(static_cast<int>(state.range(0)), 42);
  for (auto _ : state) benchmark::DoNotOptimize(BalancePhasesExhaustively(loads));
}
BENCHMARK(BM_ExhaustiveSearch)->Arg(15)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
