// 配电系统… on the context menu: the building's window with its boards, the
// busbar, compensation and transformer; a double-click opens a board in the
// main dialog; a board changed on disk is calculated again.
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include "app/system_window.h"
#include "dialog_fixture.h"
#include "../support/system_workbooks.h"

namespace {

class SystemWindowTest : public DialogTest {
 protected:
  void WriteBuilding() {
    ASSERT_TRUE(test::WriteBoardWorkbook(folder / "AL1.xls", {{"WL1", "L1", "6", "0.8", "0.9"}, {"WL2", "L2", "5", "0.8", "0.9"}}));
    ASSERT_TRUE(test::WriteBoardWorkbook(folder / "AP1.xls", {{"M1", "L1L2L3", "30", "0.8", "0.8", "水泵"}}));
    ASSERT_TRUE(test::WriteSystemWorkbook(folder / "系统.xls", {{"AL1", "AL1.xls", "照明"}, {"AP1", "AP1.xls"}}));
  }
  SystemWindow* OpenFromMenu() {
    saveAs = PathIn("系统.xls");
    SetPopupMenuHandler([](const CMenu& menu) {
      for (const CMenu::Item& item : menu.Items())
        if (Utf8(item.text) == "配电系统…") return item.id;
      return UINT_PTR{0};
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(500, 300), QPoint(500, 300));
    QApplication::sendEvent(dialog->GetWidget(), &rightClick);
    return dialog->GetWidget()->findChild<SystemWindow*>();
  }
  static std::string Field(SystemWindow* window, const char* name) {
    auto* field = window->findChild<QLineEdit*>(name);
    return field ? field->text().toStdString() : "(none)";
  }
};

}  // namespace

TEST_F(SystemWindowTest, ShowsTheBoardsBusbarAndTransformerAndOpensABoard) {
  WriteBuilding();
  SystemWindow* window = OpenFromMenu();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->Result().Complete());
  QTableWidget* boards = window->Boards();
  ASSERT_EQ(boards->rowCount(), 2);
  EXPECT_EQ(boards->item(0, 0)->text().toStdString(), "AL1");
  EXPECT_EQ(boards->item(0, 8)->text().toStdString(), "照明");
  EXPECT_EQ(boards->item(1, 2)->text().toStdString(), "21.60");  // 0.9 × 0.8 × 30
  const BusbarResult& bus = *window->Result().busbar;
  EXPECT_EQ(Field(window, "busbarP"), QString::number(bus.totals.pjs, 'f', 1).toStdString());
  EXPECT_EQ(Field(window, "transformer"), "100");
  EXPECT_EQ(Field(window, "compensation"), QString::number(bus.totals.compensation, 'f', 0).toStdString());

  emit boards->cellDoubleClicked(1, 0);
  EXPECT_EQ(Utf8(dialog->GetWorkbookPath()), PathIn("AP1.xls"));
  EXPECT_EQ(dialog->m_list.GetItemCount(), 1);
  EXPECT_EQ(Cell(0, 0), "M1");
}

TEST_F(SystemWindowTest, ABadBoardShowsItsMessageAndNoBusbarAndIsReadAgainOnceMendedOnDisk) {
  WriteBuilding();
  ASSERT_TRUE(test::WriteBoardWorkbook(folder / "AP1.xls", {{"M1", "L9", "30", "0.8", "0.8"}}));
  SystemWindow* window = OpenFromMenu();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->Result().Complete());
  EXPECT_EQ(Field(window, "busbarP"), "");
  EXPECT_EQ(Field(window, "transformer"), "");
  auto* problems = window->findChild<QLabel*>("systemProblems");
  EXPECT_NE(problems->text().toStdString().find("配电箱AP1(第3行)不能计算"), std::string::npos);
  EXPECT_FALSE(window->RefreshIfChanged());  // nothing changed on disk
  ASSERT_TRUE(test::WriteBoardWorkbook(folder / "AP1.xls", {{"M1", "L1L2L3", "30", "0.8", "0.8"}}));
  EXPECT_TRUE(window->RefreshIfChanged());
  EXPECT_TRUE(window->Result().Complete());
  EXPECT_NE(Field(window, "busbarP"), "");
}
