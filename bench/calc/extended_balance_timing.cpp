// Timed run of the extended balancing on random boards (loads 0.1–10 kW in
// hundredths, phases as read chosen at random) and on boards of equal
// loads: how many are proved optimal and how long each takes.
//   extended_balance_timing [boards per size]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "calc/extended_balance.h"

namespace {

struct Board {
  std::vector<float> loads;
  std::vector<int> current;
};

Board RandomBoard(int circuits, std::mt19937& rng) {
  std::uniform_int_distribution<int> hundredths(10, 1000);
  std::uniform_int_distribution<int> phase(0, 2);
  Board board;
  for (int i = 0; i < circuits; ++i) {
    board.loads.push_back(static_cast<float>(hundredths(rng)) / 100.0f);
    board.current.push_back(phase(rng));
  }
  return board;
}

struct Timing {
  double seconds = 0.0;     // wall clock, which the time limit counts
  double cpuSeconds = 0.0;  // this process's processor time, for a loaded machine
  ExtendedBalance result;
};

Timing Time(const Board& board, double limit) {
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  Timing timing;
  timing.result = BalanceExtended(board.loads, board.current, BalanceLimits{limit, {}});
  timing.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  return timing;
}

void Report(const char* label, const std::vector<Timing>& timings, double target) {
  std::vector<double> seconds, cpu;
  int proved = 0, provedInTime = 0;
  for (const Timing& t : timings) {
    seconds.push_back(t.seconds);
    cpu.push_back(t.cpuSeconds);
    proved += t.result.optimal ? 1 : 0;
    provedInTime += t.result.optimal && t.seconds < target ? 1 : 0;
  }
  std::sort(seconds.begin(), seconds.end());
  std::sort(cpu.begin(), cpu.end());
  std::printf(
      "%-22s boards %3zu  proved %3d  proved < %.0f s: %5.1f %%  wall median %7.2f ms max %8.2f ms"
      "  cpu median %7.2f ms p95 %8.2f ms max %8.2f ms\n",
      label, timings.size(), proved, target, 100.0 * provedInTime / static_cast<double>(timings.size()),
      1e3 * seconds[seconds.size() / 2], 1e3 * seconds.back(), 1e3 * cpu[cpu.size() / 2],
      1e3 * cpu[cpu.size() * 95 / 100], 1e3 * cpu.back());
}

}  // namespace

int main(int argc, char** argv) {
  const int perSize = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::mt19937 rng(20261207);
  std::vector<Timing> small, middle, middleOnL1, equal, large;
  for (int n = 20; n <= 30; ++n)
    for (int b = 0; b < perSize; ++b) small.push_back(Time(RandomBoard(n, rng), 2.0));
  for (int n = 31; n <= 60; ++n)
    for (int b = 0; b < perSize; ++b) middle.push_back(Time(RandomBoard(n, rng), 2.0));
  for (int n = 31; n <= 60; ++n)
    for (int b = 0; b < perSize; ++b) {
      Board board = RandomBoard(n, rng);
      std::fill(board.current.begin(), board.current.end(), 0);
      middleOnL1.push_back(Time(board, 2.0));
    }
  for (int n = 20; n <= 200; n += 9) {
    Board board = RandomBoard(n, rng);
    std::fill(board.loads.begin(), board.loads.end(), board.loads[0]);
    equal.push_back(Time(board, 2.0));
  }
  for (int b = 0; b < perSize; ++b) large.push_back(Time(RandomBoard(200, rng), 2.0));
  Report("20-30 circuits", small, 1.0);
  Report("31-60 circuits", middle, 2.0);
  Report("31-60, all read on L1", middleOnL1, 2.0);
  Report("equal loads 20-200", equal, 1.0);
  Report("200 circuits", large, 2.0);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory %.1f MiB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
  return 0;
}
