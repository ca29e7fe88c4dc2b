// The circuit list edited in place as a designer does it: F2 and a
// double-click, a refused value, Escape, the marks on changed cells,
// circuits added, deleted and undone from the context menu and by key,
// 写回工作簿 and what the title and the closing question say about it.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QShortcut>
#include <QTableView>

#include "app/list_cell_editor.h"
#include "app/phase_choices.h"
#include "app/shortcuts.h"
#include "calc/cell_numbers.h"
#include "calc/circuit.h"
#include "dialog_fixture.h"
#include "res/ui/resource.h"

namespace {

const char kUnwritten[] = "对回路的修改尚未写回工作簿，是否放弃？";

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(widget, &release);
}

// A command's key, as the window's shortcut for it runs it.
QShortcut* ShortcutFor(QWidget* window, const char* key) {
  for (QShortcut* shortcut : window->findChildren<QShortcut*>())
    if (shortcut->key() == QKeySequence(QString::fromLatin1(key))) return shortcut;
  return nullptr;
}

class ListEditingTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dialog->GetWidget()->show();
  }

  void Read() {
    WriteInput(kFourCircuits, kFourSwitches);
    Click(IDOK);
    ASSERT_TRUE(messages.empty()) << messages.front();
  }

  QTableView* List() const { return qobject_cast<QTableView*>(Control(IDC_LIST)); }
  ListCellEditor* Editor() const { return dynamic_cast<ListCellEditor*>(List()->itemDelegate()); }
  QModelIndex Index(int row, int column) const { return List()->model()->index(row, column); }

  // F2 on a cell: the editor that opened, or null.
  QWidget* F2On(int row, int column) {
    List()->setFocus();
    List()->setCurrentIndex(Index(row, column));
    Press(List(), Qt::Key_F2);
    return Editor()->OpenEditor();
  }

  QWidget* DoubleClickOn(int row, int column) {
    QWidget* viewport = List()->viewport();
    const QPoint at = List()->visualRect(Index(row, column)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
      QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(viewport, &event);
    }
    return Editor()->OpenEditor();
  }

  // Types `text` into the open line edit and presses Enter.
  void TypeAndEnter(QWidget* editor, const char* text) {
    auto* edit = qobject_cast<QLineEdit*>(editor);
    ASSERT_NE(edit, nullptr);
    edit->setText(QString::fromUtf8(text));
    Press(edit, Qt::Key_Return);
  }

  void Key(const char* key) {
    QShortcut* shortcut = ShortcutFor(dialog->GetWidget(), key);
    ASSERT_NE(shortcut, nullptr) << key;
    emit shortcut->activated();
  }

  bool Marked(int row, int column) const { return Index(row, column).data(kCellEditedRole).toBool(); }
  std::string Title() const { return Utf8(dialog->GetWindowText()); }
  // The title without unwritten changes.
  static std::string Plain() { return "Volmira电气计算程序 - 电气计算.xls"; }

  // The context menu at a cell of the list (or, without one, the dialog's
  // background): what it offered, and the item whose text starts with
  // `choose` chosen.
  std::vector<std::pair<UINT, std::string>> Menu(const char* choose, int row = -1) {
    std::vector<std::pair<UINT, std::string>> offered;
    SetPopupMenuHandler([&offered, choose](const CMenu& menu) {
      UINT_PTR chosen = 0;
      for (const CMenu::Item& item : menu.Items()) {
        offered.emplace_back(item.flags, Utf8(item.text));
        if (choose && Utf8(item.text).rfind(choose, 0) == 0) chosen = item.id;
      }
      return chosen;
    });
    QWidget* target = dialog->GetWidget();
    QPoint at(5, 5);
    if (row >= 0) {
      target = List()->viewport();
      at = List()->visualRect(Index(row, 0)).center();
      QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                        Qt::NoModifier);
      QApplication::sendEvent(target, &press);
    }
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &rightClick);
    SetPopupMenuHandler(nullptr);
    return offered;
  }

  static UINT FlagsOf(const std::vector<std::pair<UINT, std::string>>& items, const char* start) {
    for (const auto& [flags, text] : items)
      if (text.rfind(start, 0) == 0) return flags;
    ADD_FAILURE() << start << " is not on the menu";
    return ~0u;
  }
};

}  // namespace

TEST_F(ListEditingTest, F2EditsANumberAndEnterCommitsItMarkedAndNamedInTheTitle) {
  Read();
  QWidget* editor = F2On(1, 2);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(qobject_cast<QLineEdit*>(editor)->text(), "4");
  TypeAndEnter(editor, "6.5");
  EXPECT_EQ(Editor()->OpenEditor(), nullptr);
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(Cell(1, 2), "6.5");
  EXPECT_TRUE(Marked(1, 2));
  EXPECT_FALSE(Marked(1, 3));
  EXPECT_FALSE(Marked(0, 2));
  EXPECT_EQ(Title(), "*" + Plain());

  // Opened and left with Enter unchanged, or with Escape after typing, a
  // cell is no edit.
  TypeAndEnter(F2On(2, 3), "0.8");
  EXPECT_FALSE(Marked(2, 3));
  QWidget* second = F2On(2, 5);
  ASSERT_NE(second, nullptr) << "备注 is edited too";
  qobject_cast<QLineEdit*>(second)->setText("changed");
  Press(second, Qt::Key_Escape);
  EXPECT_EQ(Editor()->OpenEditor(), nullptr);
  EXPECT_EQ(Cell(2, 5), "空调");
  EXPECT_FALSE(Marked(2, 5));
  EXPECT_TRUE(dialog->GetWidget()->isVisible()) << "Escape in the editor does not close the window";
}

TEST_F(ListEditingTest, DoubleClickOnThePhaseOffersTheCalculationsPhases) {
  Read();
  auto* box = qobject_cast<QComboBox*>(DoubleClickOn(3, 1));
  ASSERT_NE(box, nullptr);
  std::vector<std::string> offered;
  for (int i = 0; i < box->count(); ++i) offered.push_back(box->itemText(i).toStdString());
  EXPECT_EQ(offered, (std::vector<std::string>{"L1", "L2", "L3", "L1L2L3", "三相", "L1(固定)", "L2(固定)", "L3(固定)"}));
  EXPECT_EQ(box->currentText(), "L2");
  // The list of phases opens at once and takes the focus without ending the edit.
  QApplication::processEvents();
  ASSERT_NE(QApplication::activePopupWidget(), nullptr);
  EXPECT_EQ(Editor()->OpenEditor(), box);
  box->setCurrentIndex(2);
  emit box->activated(2);
  EXPECT_EQ(Editor()->OpenEditor(), nullptr);
  EXPECT_EQ(Cell(3, 1), "L3");
  EXPECT_TRUE(Marked(3, 1));

  // Every choice is a phase the calculation reads.
  for (const CString& phase : PhaseChoices())
    EXPECT_NE(ReadPhaseMark(phase, CutToBytes(phase, kNumberCellBytes)).kind, PhaseKind::Invalid) << Utf8(phase);
}

TEST_F(ListEditingTest, ARefusedValueIsSaidAndTheCellKeepsItsOldValue) {
  Read();
  TypeAndEnter(F2On(0, 4), "abc");
  ASSERT_EQ(messages.size(), 1u) << "the refusal is said";
  EXPECT_EQ(Cell(0, 4), "0.85");
  EXPECT_FALSE(Marked(0, 4));
  EXPECT_EQ(Title(), Plain());
  // The refused text comes back to be mended; Escape gives it up.
  auto* again = qobject_cast<QLineEdit*>(Editor()->OpenEditor());
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->text(), "abc");
  Press(again, Qt::Key_Escape);
  EXPECT_EQ(Editor()->OpenEditor(), nullptr);
  EXPECT_EQ(Cell(0, 4), "0.85");
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ListEditingTest, ResultColumnsAreNotEditedAndAnEditClearsTheResults) {
  Read();
  Click(IDC_CALC);
  ASSERT_EQ(dialog->m_list.GetColumnCount(), 9);
  for (const int column : {5, 6, 7}) EXPECT_EQ(F2On(0, column), nullptr) << column;
  EXPECT_EQ(DoubleClickOn(0, 6), nullptr);
  // 备注 stands after the results now.
  TypeAndEnter(F2On(0, 8), "走廊照明");
  EXPECT_EQ(Cell(0, dialog->m_list.GetColumnCount() - 1), "走廊照明");
  EXPECT_FALSE(dialog->ResultsCurrent());
  EXPECT_EQ(Text(IDC_L1), "0");
}

TEST_F(ListEditingTest, EditedCellsAreDrawnWithAMarkInTheirCorner) {
  Read();
  TypeAndEnter(F2On(1, 2), "6");
  List()->clearSelection();
  List()->setCurrentIndex(QModelIndex());
  const QImage drawn = List()->viewport()->grab().toImage();
  const QRect edited = List()->visualRect(Index(1, 2));
  const QRect plain = List()->visualRect(Index(2, 2));
  const QRgb corner = drawn.pixel(edited.right() - 1, edited.top() + 1);
  EXPECT_EQ(qRed(corner), 24);
  EXPECT_EQ(qGreen(corner), 96);
  EXPECT_EQ(qBlue(corner), 200);
  EXPECT_NE(drawn.pixel(plain.right() - 1, plain.top() + 1), corner);
  // Inside the cell, left of its right-aligned number: the edited background.
  EXPECT_EQ(drawn.pixel(edited.left() + 3, edited.center().y()), qRgb(220, 235, 252));
  EXPECT_NE(drawn.pixel(plain.left() + 3, plain.center().y()), qRgb(220, 235, 252));
}

TEST_F(ListEditingTest, TheContextMenuOffersEditingWithKeysWhereItApplies) {
  auto offered = Menu(nullptr);
  for (const char* item : {"添加回路\tIns", "删除回路\tDel", "撤销\tCtrl+Z", "写回工作簿\tCtrl+W"})
    EXPECT_EQ(FlagsOf(offered, item), MF_GRAYED) << item << ": nothing read yet";
  EXPECT_EQ(FlagsOf(offered, "读取\tF5"), MF_STRING) << "the window's items stay";
  EXPECT_EQ(FlagsOf(offered, "总在最前"), MF_CHECKED);

  Read();
  offered = Menu(nullptr);
  EXPECT_EQ(FlagsOf(offered, "添加回路"), MF_STRING);
  EXPECT_EQ(FlagsOf(offered, "删除回路"), MF_GRAYED) << "no row under the menu or selected";
  EXPECT_EQ(FlagsOf(offered, "撤销"), MF_GRAYED);
  EXPECT_EQ(FlagsOf(offered, "写回工作簿"), MF_GRAYED);

  offered = Menu("删除回路", 2);
  EXPECT_EQ(FlagsOf(offered, "删除回路"), MF_STRING);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 3);
  EXPECT_EQ(Cell(2, 0), "N4");
  EXPECT_EQ(Title(), "*" + Plain());
  offered = Menu("撤销");
  EXPECT_EQ(FlagsOf(offered, "撤销"), MF_STRING);
  EXPECT_EQ(FlagsOf(offered, "写回工作簿"), MF_STRING);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_EQ(Cell(2, 0), "N3");
  EXPECT_EQ(Title(), Plain());

  // 添加回路 on a row: a new circuit after it, its number asked for at once.
  Menu("添加回路", 0);
  ASSERT_EQ(dialog->m_list.GetItemCount(), 5);
  EXPECT_EQ(Cell(1, 0), "");
  EXPECT_EQ(Cell(2, 0), "N2");
  QWidget* number = Editor()->OpenEditor();
  ASSERT_NE(number, nullptr);
  TypeAndEnter(number, "N1a");
  EXPECT_EQ(Cell(1, 0), "N1a");
  EXPECT_TRUE(Marked(1, 0));
}

TEST_F(ListEditingTest, KeysAddDeleteAndUndoInTheList) {
  // Ins and Del belong to the list: elsewhere they are the focused control's keys.
  for (const char* key : {"Ins", "Del"}) {
    QShortcut* shortcut = ShortcutFor(dialog->GetWidget(), key);
    ASSERT_NE(shortcut, nullptr) << key;
    EXPECT_EQ(shortcut->parent(), List());
    EXPECT_EQ(shortcut->context(), Qt::WidgetWithChildrenShortcut);
  }
  EXPECT_EQ(ShortcutFor(dialog->GetWidget(), "Ctrl+Z")->context(), Qt::WindowShortcut);

  Read();
  List()->setCurrentIndex(Index(1, 0));
  List()->selectRow(1);
  Key("Del");
  ASSERT_EQ(dialog->m_list.GetItemCount(), 3);
  EXPECT_EQ(Cell(1, 0), "N3");
  Key("Ctrl+Z");
  ASSERT_EQ(dialog->m_list.GetItemCount(), 4);
  EXPECT_EQ(Cell(1, 0), "N2");
  Key("Ctrl+Z");
  EXPECT_EQ(dialog->m_list.GetItemCount(), 4) << "nothing more to undo";

  List()->clearSelection();
  List()->setCurrentIndex(Index(3, 0));
  Key("Ins");
  ASSERT_EQ(dialog->m_list.GetItemCount(), 5);
  EXPECT_EQ(Cell(4, 0), "");
  ASSERT_NE(Editor()->OpenEditor(), nullptr);
  Press(Editor()->OpenEditor(), Qt::Key_Escape);

  // Two rows selected go together; each is undone on its own.
  List()->selectRow(0);
  List()->selectionModel()->select(Index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  Key("Del");
  ASSERT_EQ(dialog->m_list.GetItemCount(), 3);
  EXPECT_EQ(Cell(0, 0), "N2");
  EXPECT_EQ(Cell(1, 0), "N4");
}

TEST_F(ListEditingTest, WriteBackPutsTheChangeIntoTheWorkbookAndEndsTheQuestions) {
  Read();
  TypeAndEnter(F2On(0, 2), "3.5");
  ASSERT_EQ(Title(), "*" + Plain());

  // Closing and reading again ask about the changes first.
  yesNoAnswer = IDNO;
  Click(IDCANCEL);
  Click(IDOK);
  EXPECT_EQ(questions, (std::vector<std::string>{kUnwritten, kUnwritten}));
  EXPECT_TRUE(dialog->GetWidget()->isVisible());
  EXPECT_EQ(Cell(0, 2), "3.5");

  // A refused write keeps the changes, their marks and the title.
  std::filesystem::permissions(InputPath(), std::filesystem::perms(0444));
  messages.clear();
  Key("Ctrl+W");
  std::filesystem::permissions(InputPath(), std::filesystem::perms(0644));
  EXPECT_EQ(messages.size(), 1u) << "the refusal is said";
  EXPECT_EQ(Title(), "*" + Plain());
  EXPECT_TRUE(Marked(0, 2));
  EXPECT_EQ(ReadBack(InputPath())[0].second[1][2], "3");

  const auto offered = Menu("写回工作簿");
  EXPECT_EQ(FlagsOf(offered, "写回工作簿"), MF_STRING);
  const auto sheets = ReadBack(InputPath());
  ASSERT_FALSE(sheets.empty());
  EXPECT_EQ(sheets[0].first, "线路负荷计算");
  EXPECT_EQ(sheets[0].second[1][2], "3.5");
  EXPECT_EQ(sheets[0].second[2][2], "4");
  EXPECT_EQ(Title(), Plain());
  EXPECT_FALSE(Marked(0, 2));
  EXPECT_FALSE(dialog->HasUnwrittenEdits());

  // A value still in its edit is taken before Ctrl+W writes.
  qobject_cast<QLineEdit*>(F2On(1, 5))->setText(QString::fromUtf8("厨房插座"));
  Key("Ctrl+W");
  EXPECT_EQ(Editor()->OpenEditor(), nullptr);
  EXPECT_EQ(ReadBack(InputPath())[0].second[2][5], "厨房插座");
  EXPECT_EQ(Title(), Plain());

  questions.clear();
  Key("Ctrl+W");  // nothing left to write
  Click(IDCANCEL);
  EXPECT_TRUE(questions.empty()) << questions.front();
  EXPECT_FALSE(dialog->GetWidget()->isVisible());
}

TEST_F(ListEditingTest, BalancedPhasesWrittenBackAreNotAskedForAgain) {
  Read();
  Click(IDC_AUTO_BALANCE);
  ASSERT_TRUE(dialog->HasUnwrittenEdits()) << "moved phases are changes of the list";
  EXPECT_EQ(Title(), "*" + Plain());
  saveAs = PathIn("结果.xls");
  Click(IDC_SAVE);
  yesNoAnswer = IDNO;
  Click(IDCANCEL);
  EXPECT_EQ(questions, std::vector<std::string>{kUnwritten}) << "the results are saved, the phases not written back";

  questions.clear();
  Key("Ctrl+W");
  EXPECT_FALSE(dialog->HasUnwrittenEdits());
  Click(IDCANCEL);
  EXPECT_TRUE(questions.empty()) << questions.front();
}
