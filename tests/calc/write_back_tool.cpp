// Drives the core's editing and 写回工作簿 from the command line, for the
// interoperability checks that make workbooks with other programs:
//   write_back_tool WORKBOOK OPERATION...
// read | balance | edit ROW COLUMN TEXT | add AFTER | delete ROW | touch | write
// Rows and columns count from 0 as the list shows them. Exit status 0 when
// every operation succeeded; the messages go to standard error.
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "calc/load_calc_core.h"
#include "calc/memory_circuit_table.h"
#include "platform/text/encoding.h"

namespace {

class PrintingHost : public LoadCalcHost {
 public:
  void ShowMessage(const CString& text) override { std::cerr << ToUtf8(text) << "\n"; }
  void ExchangeBoardData(bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
};

// Another program's save: the file's time moves on.
bool Touch(const std::string& path) {
  struct timespec times[2] = {{0, UTIME_NOW}, {0, UTIME_NOW}};
  struct stat before{};
  if (stat(path.c_str(), &before) != 0) return false;
  times[1].tv_sec = before.st_mtim.tv_sec + 5;
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::vector<std::string> args(argv + 2, argv + argc);
  MemoryCircuitTable list;
  MemorySwitchComboBox switches;
  PrintingHost host;
  CLoadCalcCore core(list, switches, host);
  core.SetWorkbookPath(FromUtf8(argv[1]));
  core.ResetCircuitList();
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& op = args[i];
    bool done = false;
    const auto number = [&](size_t at) { return at < args.size() ? std::atoi(args[at].c_str()) : -1; };
    if (op == "read") {
      done = core.ReadCircuits();
    } else if (op == "balance") {
      done = core.AutoBalance();
    } else if (op == "edit" && i + 3 < args.size()) {
      done = core.EditCircuitCell(number(i + 1), number(i + 2), FromUtf8(args[i + 3]));
      i += 3;
    } else if (op == "add") {
      done = core.AddCircuit(number(++i)) >= 0;
    } else if (op == "delete") {
      done = core.DeleteCircuit(number(++i));
    } else if (op == "touch") {
      done = Touch(argv[1]);
    } else if (op == "write") {
      done = core.WriteBack();
    }
    if (!done) {
      std::cerr << "write_back_tool: " << op << " failed\n";
      return 1;
    }
  }
  return 0;
}
