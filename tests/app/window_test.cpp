// The main dialog as a window a designer works in all day: it grows with
// the window without overlaps, remembers its place, columns and stay-on-top
// choice in the user's configuration folder, follows the work with Tab,
// answers its keys, and proposes where the results and reports go.
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QTableView>
#include <fstream>
#include <set>

#include "app/focus_frame.h"
#include "app/window_settings.h"
#include "dialog_fixture.h"
#include "platform/ui/window_props.h"
#include "res/ui/resource.h"

namespace {

// A small board of four kinds of circuit, and switches for it.
const Rows kCircuits = {
    {"WL1", "L1", "1.2", "0.9", "0.9", "一层照明"},
    {"WX1", "L2", "2", "0.6", "0.85", "一层插座"},
    {"WK1", "L3", "2.6", "0.8", "0.8", "办公室空调"},
    {"WP1", "L1", "3", "0.7", "0.8", "水泵"},
};
const Rows kLibrary = {{"C10", "10"}, {"C20", "20"}, {"C40", "40"}};

class WindowTest : public DialogTest {
 protected:
  QTableView* List() const { return qobject_cast<QTableView*>(Control(IDC_LIST)); }

  // A second start: the dialog made anew over the same configuration folder.
  void Restart(bool remember = true) {
    if (remember) dialog->RememberWindow();
    dialog.reset();
    dialog = std::make_unique<TestableDialog>();
    dialog->SetWorkbookPath(FromUtf8(InputPath()));
    ASSERT_TRUE(dialog->Create());
  }

  // The shown template controls that could collide: not the group frame,
  // which holds the result fields by design.
  std::vector<QWidget*> ShownControls() const {
    std::vector<QWidget*> shown;
    for (QWidget* control : window_props::ChildrenInOrder(dialog->GetWidget()))
      if (control->property("loadcalc.id").isValid() && !control->isHidden() && !qobject_cast<QGroupBox*>(control))
        shown.push_back(control);
    return shown;
  }

  using Pairs = std::set<std::pair<QWidget*, QWidget*>>;
  Pairs Overlapping() const {
    const std::vector<QWidget*> shown = ShownControls();
    Pairs pairs;
    for (size_t i = 0; i < shown.size(); ++i)
      for (size_t j = i + 1; j < shown.size(); ++j)
        if (shown[i]->geometry().intersects(shown[j]->geometry())) pairs.emplace(shown[i], shown[j]);
    return pairs;
  }

  // No overlap but those of the template itself (a label's box touching its field).
  void ExpectNoNewOverlap(const Pairs& designed) {
    const QSize size = dialog->GetWidget()->size();
    SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
    for (const auto& [a, b] : Overlapping())
      EXPECT_TRUE(designed.count({a, b})) << window_props::Id(a) << " and " << window_props::Id(b);
  }

  void ExpectAllInside() {
    const QRect client = dialog->GetWidget()->rect();
    for (QWidget* control : ShownControls())
      EXPECT_TRUE(client.contains(control->geometry())) << window_props::Id(control);
  }

  QShortcut* ShortcutFor(const char* key) const {
    for (QShortcut* shortcut : dialog->GetWidget()->findChildren<QShortcut*>())
      if (shortcut->key() == QKeySequence(QString::fromLatin1(key))) return shortcut;
    return nullptr;
  }

  void Press(const char* key) {
    QShortcut* shortcut = ShortcutFor(key);
    ASSERT_NE(shortcut, nullptr) << key;
    emit shortcut->activated();
  }

  bool AlwaysOnTop() const { return dialog->GetWidget()->windowFlags() & Qt::WindowStaysOnTopHint; }

  void ChooseFromMenu(const std::string& prefix) {
    SetPopupMenuHandler([prefix](const CMenu& menu) {
      for (const CMenu::Item& item : menu.Items())
        if (Utf8(item.text).rfind(prefix, 0) == 0) return item.id;
      return UINT_PTR{0};
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
    QApplication::sendEvent(dialog->GetWidget(), &rightClick);
  }
};

TEST_F(WindowTest, TheListGrowsBothWaysResultsMoveDownButtonsKeepToTheRight) {
  QWidget* window = dialog->GetWidget();
  window->show();
  const QSize designed = window->size();
  EXPECT_EQ(window->minimumSize(), designed);
  EXPECT_GT(window->maximumWidth(), 4000);
  const QRect list = List()->geometry();
  const QRect results = Control(IDC_L3)->geometry();
  const QRect exit = Control(IDCANCEL)->geometry();
  const int rightMargin = designed.width() - exit.right();
  const Pairs designedOverlaps = Overlapping();
  EXPECT_LE(designedOverlaps.size(), 2u);
  ExpectAllInside();

  window->resize(designed + QSize(400, 300));
  EXPECT_EQ(List()->geometry(), QRect(list.topLeft(), list.size() + QSize(400, 300)));
  EXPECT_EQ(Control(IDC_L3)->geometry(), results.translated(0, 300));
  EXPECT_EQ(Control(IDCANCEL)->geometry(), exit.translated(400, 300));
  EXPECT_EQ(window->width() - Control(IDCANCEL)->geometry().right(), rightMargin);
  ExpectNoNewOverlap(designedOverlaps);
  ExpectAllInside();

  // A screen smaller than the design: the empty room below the controls
  // goes first, then the list gives way; the buttons close up on the
  // results; nothing collides.
  window->setMinimumSize(0, 0);
  const int roomBelow = designed.height() - list.left() - (exit.bottom() + 1);
  window->resize(designed - QSize(10, roomBelow));
  EXPECT_EQ(List()->size(), list.size());
  EXPECT_EQ(Control(IDCANCEL)->y(), exit.y());
  EXPECT_LT(Control(IDCANCEL)->x(), exit.x());
  ExpectAllInside();
  window->resize(designed - QSize(10, roomBelow + 20));
  EXPECT_EQ(List()->height(), list.height() - 20);
  EXPECT_EQ(Control(IDCANCEL)->y(), exit.y() - 20);
  ExpectNoNewOverlap(designedOverlaps);
  ExpectAllInside();
  window->resize(designed - QSize(200, 200));
  ExpectNoNewOverlap(designedOverlaps);
}

TEST_F(WindowTest, TheRowNumberEditInsideTheListIsOutOfSight) {
  EXPECT_TRUE(Control(IDC_ROW)->isHidden());
}

TEST_F(WindowTest, PlaceSizeAndDraggedColumnWidthsAreKeptBetweenStarts) {
  WriteInput(kCircuits, kLibrary);
  Click(IDOK);
  QCoreApplication::processEvents();
  QWidget* window = dialog->GetWidget();
  const QRect available = window->screen()->availableGeometry();
  window->move(available.topLeft() + QPoint(30, 20));
  window->resize(window->size() + QSize(50, 40));
  const QSize size = window->size();

  // A drag on the header is the designer's width; the program's own are not.
  QWidget* header = List()->horizontalHeader()->viewport();
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(header, &press);
  List()->horizontalHeader()->resizeSection(0, 123);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(header, &release);
  // Reading again keeps the dragged width for the rest of the run.
  Click(IDOK);
  QCoreApplication::processEvents();
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(0), 123);

  Restart();
  window = dialog->GetWidget();
  EXPECT_EQ(window->size(), size);
  EXPECT_EQ(window->pos(), available.topLeft() + QPoint(30, 20));
  Click(IDOK);
  QCoreApplication::processEvents();
  EXPECT_EQ(List()->horizontalHeader()->sectionSize(0), 123);
  EXPECT_TRUE(std::filesystem::exists(folder / "config" / "volmira" / "loadcalc.ini"));
}

TEST_F(WindowTest, APlaceOnAScreenThatIsGoneOpensCentredNeverLargerThanTheScreen) {
  const QRect available = dialog->GetWidget()->screen()->availableGeometry();
  // Remembered from a larger screen that sat far to the right.
  window_settings::SavePlacement({QRect(QPoint(available.right() + 5000, 0), available.size() * 3), false});
  Restart(/*remember=*/false);
  QWidget* window = dialog->GetWidget();
  EXPECT_LE(window->width(), available.width());
  EXPECT_LE(window->height(), available.height());
  EXPECT_TRUE(available.contains(QRect(window->pos(), window->size())));
}

TEST_F(WindowTest, ColumnsFitTheirTextsAndNumbersAlignRight) {
  WriteInput({{"WL-照明与插座回路-01", "L1", "3", "0.8", "0.85", "很长很长的备注文字，说明这个回路供给哪些设备"}}, kLibrary);
  Click(IDOK);
  QCoreApplication::processEvents();
  const QFontMetrics metrics(List()->font());
  QAbstractItemModel* model = List()->model();
  for (int column : {0, 5}) {
    const QString text = model->index(0, column).data().toString();
    EXPECT_GE(List()->horizontalHeader()->sectionSize(column), metrics.horizontalAdvance(text)) << column;
  }
  EXPECT_EQ(model->index(0, 2).data().toString(), QString("3"));  // as the cell holds it
  EXPECT_TRUE(model->index(0, 2).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
  EXPECT_TRUE(model->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignLeft);
}

TEST_F(WindowTest, AlwaysOnTopIsAMenuChoiceKeptBetweenStarts) {
  EXPECT_TRUE(AlwaysOnTop());
  ChooseFromMenu("总在最前");
  EXPECT_FALSE(AlwaysOnTop());
  EXPECT_FALSE(dialog->GetExStyle() & WS_EX_TOPMOST);
  Restart();
  EXPECT_FALSE(AlwaysOnTop());
  std::vector<UINT> checks;
  SetPopupMenuHandler([&checks](const CMenu& menu) {
    for (const CMenu::Item& item : menu.Items())
      if (Utf8(item.text) == "总在最前") checks.push_back(item.flags & MF_CHECKED);
    return UINT_PTR{0};
  });
  QContextMenuEvent rightClick(QContextMenuEvent::Keyboard, QPoint(5, 5), QPoint(5, 5));
  QApplication::sendEvent(dialog->GetWidget(), &rightClick);
  EXPECT_EQ(checks, std::vector<UINT>{0});
  ChooseFromMenu("总在最前");
  EXPECT_TRUE(AlwaysOnTop());
}

TEST_F(WindowTest, TabFollowsTheWork) {
  QWidget* window = dialog->GetWidget();
  window->show();
  window->activateWindow();
  List()->setFocus(Qt::OtherFocusReason);
  const int expected[] = {IDC_POWER_FACTOR, IDC_DEMAND_COEF, IDOK,       IDC_CALC, IDC_AUTO_BALANCE,
                          IDC_SAVE,         IDC_SWITCH,      IDC_ABOUT, IDCANCEL, IDC_LIST};
  for (int id : expected) {
    QWidget* focused = window->focusWidget();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(focused, &tab);
    EXPECT_EQ(window_props::Id(window->focusWidget()), id);
  }
}

TEST_F(WindowTest, TheListShowsItsFocusInTheHighlightColour) {
  WriteInput(kCircuits, kLibrary);
  Click(IDOK);
  QWidget* window = dialog->GetWidget();
  window->show();
  window->activateWindow();
  QCoreApplication::processEvents();  // the activation arrives as an event
  FocusFrame* frame = window->findChild<FocusFrame*>();
  ASSERT_NE(frame, nullptr);
  Control(IDC_POWER_FACTOR)->setFocus(Qt::TabFocusReason);
  EXPECT_FALSE(frame->isVisible());
  List()->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->geometry(), List()->geometry());
  const QImage drawn = window->grab().toImage();
  const QColor highlight = frame->palette().color(QPalette::Active, QPalette::Highlight);
  EXPECT_EQ(drawn.pixelColor(List()->geometry().left(), List()->geometry().center().y()), highlight);
  EXPECT_EQ(drawn.pixelColor(List()->geometry().center().x(), List()->geometry().bottom()), highlight);
}

TEST_F(WindowTest, EachCommandHasItsKey) {
  for (const char* key : {"F5", "F9", "Ctrl+B", "Ctrl+S", "Ctrl+O", "Ctrl+P", "F1"})
    EXPECT_NE(ShortcutFor(key), nullptr) << key;
  Press("F9");
  EXPECT_EQ(messages, std::vector<std::string>{"请首先读入数据文件!"});
  WriteInput(kCircuits, kLibrary);
  Press("F5");
  EXPECT_EQ(dialog->m_list.GetItemCount(), 4);
  Press("F9");
  EXPECT_EQ(Text(IDC_CURRENT).empty(), false);
  Press("F1");
  EXPECT_EQ(modalCaptions, std::vector<std::string>{"关于 Tabrix"});
  saveAs = PathIn("键.xls");
  Press("Ctrl+S");
  EXPECT_TRUE(std::filesystem::exists(PathIn("键.xls")));
  saveAs = PathIn("键.pdf");
  Press("Ctrl+P");
  EXPECT_TRUE(std::filesystem::exists(PathIn("键.pdf")));
}

TEST_F(WindowTest, SaveDialogsProposeTheBoardsNameInItsFolder) {
  WriteInput(kCircuits, kLibrary);
  const std::string board = PathIn("AL1.xlsx");
  std::filesystem::copy_file(InputPath(), board);
  dialog->ChooseWorkbook(FromUtf8(board));
  Click(IDOK);
  Click(IDC_CALC);  // 保存 asks for a name only for results of the list shown
  messages.clear();
  saveAs.clear();  // cancelled
  Click(IDC_SAVE);
  EXPECT_EQ(askedFileName, PathIn("AL1-负荷计算结果.xlsx"));
  EXPECT_EQ(askedExtension, "xlsx");
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(WindowTest, TheInputWorkbookIsRefusedBeforeAnyReplaceQuestion) {
  WriteInput(kCircuits, kLibrary);
  Click(IDOK);
  Click(IDC_CALC);
  messages.clear();
  const auto before = std::filesystem::last_write_time(InputPath());
  saveAs = InputPath();
  Click(IDC_SAVE);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].find("替换"), std::string::npos) << messages[0];
  EXPECT_EQ(std::filesystem::last_write_time(InputPath()), before);

  // Another existing file is replaced only on 是.
  questions.clear();
  yesNoAnswer = IDNO;
  std::ofstream(PathIn("旧.xls")) << "old";
  saveAs = PathIn("旧.xls");
  Click(IDC_SAVE);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_NE(questions[0].find("要替换它吗"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(PathIn("旧.xls")), 3u);
}

}  // namespace

namespace {

using save_dialogs::Kind;

TEST(SaveDialogNames, TheBoardNamesTheResultsAndTheReportInTheInputsFormat) {
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Results, "/p/AL1.xlsx", false}), QString("AL1-负荷计算结果.xlsx"));
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Results, "/p/AL1.XLSX", false}), QString("AL1-负荷计算结果.xlsx"));
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Results, "/p/AL-2.b.xls", false}), QString("AL-2.b-负荷计算结果.xls"));
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Results, "/p/AL1.xlsm", false}), QString("AL1-负荷计算结果.xls"));
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Report, "/p/AL1.xlsx", false}), QString("AL1-计算书.pdf"));
  // The default workbook beside the program keeps the program's own names.
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Results, "/p/电气计算.xls", true}), QString("负荷计算结果.xls"));
  EXPECT_EQ(save_dialogs::ProposedName({Kind::Report, "/p/电气计算.xls", true}), QString("负荷计算书.pdf"));
}

TEST(SaveDialogNames, TheDefaultWorkbooksDialogsOpenWhereThatKindWentLast) {
  ::test::TempFolder home{"loadcalc-folders"};
  setenv("XDG_CONFIG_HOME", (home.Path() / "config").c_str(), 1);
  const QString program = QString::fromStdString((home.Path() / "program").string());
  const QString results = QString::fromStdString(home.Path().string());
  const save_dialogs::Request chosen{Kind::Results, "/boards/AL1.xlsx", false};
  const save_dialogs::Request standard{Kind::Results, program + "/电气计算.xls", true};
  EXPECT_EQ(save_dialogs::StartFolder(standard), program);
  window_settings::SaveLastFolder("results", results);
  EXPECT_EQ(save_dialogs::StartFolder(standard), results);
  EXPECT_EQ(save_dialogs::StartFolder({Kind::Report, program + "/电气计算.xls", true}), program);
  EXPECT_EQ(save_dialogs::StartFolder(chosen), QString("/boards"));
  // A remembered folder that is gone is not offered.
  window_settings::SaveLastFolder("results", results + "/gone");
  EXPECT_EQ(save_dialogs::StartFolder(standard), program);
}

}  // namespace
