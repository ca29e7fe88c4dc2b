// The circuit list with tens of thousands of rows: filling it as a read does,
// adding the result columns, and writing every result cell.
#include <benchmark/benchmark.h>

#include "calc/memory_circuit_table.h"

namespace {

void FillAsARead(MemoryCircuitTable& table, int rows) {
  for (int c = 0; c < 6; ++c) table.InsertColumn(c, "caption", 70);
  for (int r = 0; r < rows; ++r) {
    const int item = table.InsertItem(r, "WL");
    for (int c = 0; c < 6; ++c) table.SetItemText(item, c, "12.5");
  }
}

void BM_ReadIntoTable(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    MemoryCircuitTable table;
    FillAsARead(table, rows);
    benchmark::DoNotOptimize(table.GetItemCount());
  }
}
BENCHMARK(BM_ReadIntoTable)->Arg(50000)->Unit(benchmark::kMillisecond);

void BM_ResultColumnsAndCells(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    MemoryCircuitTable table;
    FillAsARead(table, rows);
    state.ResumeTiming();
    for (int c = 5; c < 8; ++c) table.InsertColumn(c, "result", 70);
    for (int r = 0; r < rows; ++r) {
      benchmark::DoNotOptimize(table.GetItemText(r, 2, 9));
      for (int c = 5; c < 8; ++c) table.SetItemText(r, c, "2.400000");
    }
  }
}
BENCHMARK(BM_ResultColumnsAndCells)->Arg(50000)->Unit(benchmark::kMillisecond);

}  // namespace
