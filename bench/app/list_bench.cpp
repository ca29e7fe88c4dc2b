// The circuit list of the main dialog with 65,535 circuits: 读取 through the
// dialog into its list view, and scrolling the view from the first page to
// the last with every page painted, and one cell edited. Runs offscreen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <cstdlib>
#include <filesystem>

#include "app/load_calc_dlg.h"
#include "platform/text/encoding.h"
#include "platform/ui/message_box.h"
#include "platform/ui/win_app.h"
#include "xls/workbook.h"

namespace {

namespace fs = std::filesystem;

class ListDialog : public CLoadCalcDlg {
 public:
  using CLoadCalcDlg::m_listView;
};

std::u16string Text(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string InputWorkbook(int circuits) {
  static const fs::path folder = fs::temp_directory_path() / ("list_bench_" + std::to_string(getpid()));
  fs::create_directories(folder);
  std::atexit([] { std::error_code ignored; fs::remove_all(folder, ignored); });
  const std::string path = (folder / "电气计算.xls").string();
  xls::Grid rows = {{u"线路编号", u"相别", u"设备功率", u"需要系数", u"功率因数", u"备注"}};
  for (int i = 0; i < circuits; ++i)
    rows.push_back({Text("N" + std::to_string(i + 1)), Text("L" + std::to_string(i % 3 + 1)), u"2.5", u"0.8", u"0.85", u"照明"});
  xls::Workbook book;
  book.AddSheet(u"线路负荷计算", std::move(rows));
  book.AddSheet(u"开关型号库", {{u"型号", u"额定电流"}, {u"C16", u"16"}});
  if (!book.Save(path).ok()) std::abort();
  return path;
}

struct Program {
  Program() {
    static int argc = 1;
    static char name[] = "list_bench";
    static char* argv[] = {name, nullptr};
    application = new QApplication(argc, argv);
    program = new CWinApp();
    SetMessageBoxHandler([](const CString&, const CString&, UINT) { return static_cast<int>(IDOK); });
  }
  QApplication* application;
  CWinApp* program;
};

ListDialog& Dialog(int circuits) {
  static Program program;
  static ListDialog* dialog = [&] {
    auto* made = new ListDialog();
    made->SetWorkbookPath(FromUtf8(InputWorkbook(circuits)));
    if (!made->Create()) std::abort();
    made->GetWidget()->show();
    made->ReadCircuits();  // the first read adds the backup sheet
    return made;
  }();
  return *dialog;
}

QTableView* View(ListDialog& dialog) { return qobject_cast<QTableView*>(dialog.m_listView.GetWidget()); }

void ReadIntoTheList(benchmark::State& state) {
  ListDialog& dialog = Dialog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    dialog.ReadCircuits();
    QApplication::processEvents();
  }
  state.counters["rows"] = View(dialog)->model()->rowCount();
}
BENCHMARK(ReadIntoTheList)->Arg(65535)->Unit(benchmark::kMillisecond);

// Every page of the list painted once, top to bottom; the counter gives the
// time of one page step, which is what the user waits for while scrolling.
void ScrollTheWholeList(benchmark::State& state) {
  ListDialog& dialog = Dialog(static_cast<int>(state.range(0)));
  QTableView* view = View(dialog);
  QScrollBar* bar = view->verticalScrollBar();
  long steps = 0;
  for (auto _ : state) {
    bar->setValue(bar->minimum());
    for (int value = bar->minimum(); value <= bar->maximum(); value += bar->pageStep()) {
      bar->setValue(value);
      view->viewport()->repaint();
      ++steps;
    }
  }
  state.counters["page_step"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ScrollTheWholeList)->Arg(65535)->Unit(benchmark::kMillisecond);

// One cell edited in place as the designer commits it (through the list's
// model), with the marks and the title following and the page painted again.
void EditOneCell(benchmark::State& state) {
  ListDialog& dialog = Dialog(static_cast<int>(state.range(0)));
  dialog.ReadCircuits();
  QTableView* view = View(dialog);
  const QModelIndex power = view->model()->index(100, 2);
  view->scrollTo(power);
  bool other = false;
  for (auto _ : state) {
    other = !other;
    if (!view->model()->setData(power, other ? "3" : "2.5")) std::abort();
    view->viewport()->repaint();
  }
}
// Each edit keeps a step to undo: a few iterations are enough.
BENCHMARK(EditOneCell)->Arg(65535)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
