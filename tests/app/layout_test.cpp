// The main dialog and the About box as their templates lay them out: every
// control's id, caption, kind, state and rectangle.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "dialog_fixture.h"
#include "platform/ui/dialog_units.h"
#include "platform/ui/window_props.h"
#include "res/ui/resource.h"

namespace {

enum Kind { Push, Default, Check, Group, Label, Edit, List, Combo };
enum State { Shown = 0, Hidden = 1, Disabled = 2, ReadOnly = 4, Digits = 8 };

struct Expected {
  int id;
  Kind kind;
  const char* caption;
  int x, y, cx, cy;
  int state;
};

// Written from the dialog's design, not from the template source.
const Expected kMain[] = {
    {1, Default, "读取", 319, 67, 46, 16, Shown},
    {2, Push, "退出", 319, 179, 46, 16, Shown},
    {3, Default, "写入", 41, 7, 46, 16, Hidden | Disabled},
    {4, Push, "关于", 319, 157, 46, 16, Shown},
    {1001, Check, "转换为文本", 18, 38, 58, 9, Hidden},
    {-1, Group, "设置", 7, 25, 358, 27, Hidden},
    {-1, Label, "行号", 123, 37, 21, 9, Hidden},
    // It lies inside the list and no command reads it: out of sight.
    {1002, Edit, "", 153, 26, 30, 12, Hidden | Disabled | Digits},
    {-1, Label, "列号", 186, 37, 21, 9, Hidden},
    {1003, Edit, "", 213, 35, 30, 12, Hidden | Disabled | Digits},
    {5, Push, "查询", 249, 33, 35, 14, Hidden | Disabled},
    {1004, List, "", 7, 7, 339, 53, Shown},
    {1005, Push, "计算", 319, 89, 46, 16, Shown},
    {-1, Group, "平衡计算结果", 7, 68, 293, 57, Shown},
    {-1, Label, "L1相容量", 9, 79, 33, 8, Shown},
    {-1, Label, "L2相容量", 10, 93, 33, 8, Shown},
    {-1, Label, "L3相容量", 10, 108, 33, 8, Shown},
    {1006, Edit, "0", 44, 77, 31, 13, ReadOnly},
    {1007, Edit, "0", 43, 94, 31, 12, ReadOnly},
    {1008, Edit, "0", 43, 108, 31, 12, ReadOnly},
    {-1, Label, "不平衡度", 87, 79, 33, 8, Shown},
    {1009, Edit, "0", 122, 75, 32, 12, ReadOnly},
    {-1, Label, "设备功率", 88, 93, 33, 10, Shown},
    {1010, Edit, "0", 122, 90, 32, 12, ReadOnly},
    {-1, Label, "计算功率", 88, 108, 34, 9, Shown},
    {1011, Edit, "0", 122, 107, 32, 13, ReadOnly},
    {-1, Label, "计算电流", 176, 109, 33, 8, Shown},
    {1012, Edit, "0", 213, 106, 35, 13, ReadOnly},
    {-1, Label, "可选择开关", 253, 77, 41, 8, Shown},
    {1013, Combo, "", 251, 90, 49, 61, Shown},
    {-1, Label, "功率因数", 176, 76, 38, 9, Shown},
    {1014, Edit, "0.5", 213, 76, 35, 12, Shown},
    {-1, Label, "KW", 155, 91, 9, 8, Shown},
    {-1, Label, "KW", 77, 95, 9, 8, Shown},
    {-1, Label, "KW", 78, 108, 9, 8, Shown},
    {-1, Label, "KW", 77, 81, 9, 8, Shown},
    {-1, Label, "KW", 158, 109, 9, 8, Shown},
    {1015, Push, "自动平衡", 319, 111, 46, 16, Shown},
    {1016, Push, "保存", 319, 134, 46, 16, Shown},
    {-1, Label, "需要系数", 175, 93, 33, 8, Shown},
    {1017, Edit, "0.8", 215, 92, 34, 11, Shown},
};

bool IsKind(const QWidget* widget, Kind kind) {
  switch (kind) {
    case Push: return qobject_cast<const QPushButton*>(widget) && !static_cast<const QPushButton*>(widget)->isDefault();
    // A dialog has one default button: the first of the default style. A
    // hidden one of that style keeps the style but never takes Enter.
    case Default:
      return qobject_cast<const QPushButton*>(widget) &&
             (static_cast<const QPushButton*>(widget)->isDefault() || widget->isHidden());
    case Check: return qobject_cast<const QCheckBox*>(widget);
    case Group: return qobject_cast<const QGroupBox*>(widget);
    case Label: return qobject_cast<const QLabel*>(widget);
    case Edit: return qobject_cast<const QLineEdit*>(widget);
    case List: return qobject_cast<const QTableView*>(widget);
    case Combo: return qobject_cast<const QComboBox*>(widget);
  }
  return false;
}

QString CaptionOf(const QWidget* widget) {
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text();
  return QString();
}

// Pixels of a dialog-unit value, rounded to the nearest.
int Px(int units, int base, int divisor) { return (units * base * 2 + divisor) / (2 * divisor); }

}  // namespace

TEST_F(DialogTest, MainDialogHoldsEveryControlOfItsDesignInOrder) {
  QWidget* window = dialog->GetWidget();
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Volmira电气计算程序"));
  const DialogBaseUnits units = BaseUnitsOf(window->font());
  ASSERT_GT(units.averageCharWidth, 0);
  ASSERT_GT(units.charHeight, 0);
  EXPECT_EQ(window->size(), QSize(Px(372, units.averageCharWidth, 4), Px(270, units.charHeight, 8)));

  const std::vector<QWidget*> controls = window_props::ChildrenInOrder(window);
  std::vector<QWidget*> templateControls;
  for (QWidget* control : controls)
    if (control->property("loadcalc.id").isValid()) templateControls.push_back(control);
  ASSERT_EQ(templateControls.size(), std::size(kMain));

  for (size_t i = 0; i < std::size(kMain); ++i) {
    const Expected& e = kMain[i];
    QWidget* control = templateControls[i];
    SCOPED_TRACE(testing::Message() << "control " << i << " id " << e.id << " " << e.caption);
    EXPECT_EQ(window_props::Id(control), e.id);
    EXPECT_TRUE(IsKind(control, e.kind));
    EXPECT_EQ(CaptionOf(control), QString::fromUtf8(e.caption));
    EXPECT_EQ(control->isHidden(), (e.state & Hidden) != 0);
    EXPECT_EQ(control->isEnabled(), (e.state & Disabled) == 0);
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      EXPECT_EQ(edit->isReadOnly(), (e.state & ReadOnly) != 0);
      EXPECT_EQ(edit->validator() != nullptr, (e.state & Digits) != 0);
      EXPECT_EQ(window_props::BorderWidth(edit), 2);
    }
    const QRect expected(Px(e.x, units.averageCharWidth, 4), Px(e.y, units.charHeight, 8),
                         Px(e.cx, units.averageCharWidth, 4), Px(e.cy, units.charHeight, 8));
    if (e.kind == Combo) {
      // The template gives the dropped list's height; the box is one line high.
      EXPECT_EQ(control->geometry().topLeft(), expected.topLeft());
      EXPECT_EQ(control->width(), expected.width());
      EXPECT_LT(control->height(), expected.height());
    } else {
      EXPECT_EQ(control->geometry(), expected);
    }
  }
}

// The next control that Tab reaches: labels and the inner parts of
// controls sit in Qt's focus chain too, but take no focus from Tab.
QWidget* NextTabStop(QWidget* from) {
  for (QWidget* next = from->nextInFocusChain(); next && next != from; next = next->nextInFocusChain())
    if ((next->focusPolicy() & Qt::TabFocus) && next->parentWidget() == from->parentWidget()) return next;
  return nullptr;
}

// The work's order: the list, 功率因数, 需要系数, 读取, 计算, 自动平衡, 保存,
// the switch, 关于, 退出; the read-only results are passed by.
TEST_F(DialogTest, TabOrderFollowsTheWorkAndStartsAtRead) {
  dialog->GetWidget()->show();
  EXPECT_EQ(dialog->GetWidget()->focusWidget(), Control(1));
  const int order[] = {1004, 1014, 1017, 1, 1005, 1015, 1016, 1013, 4, 2};
  for (size_t i = 0; i + 1 < std::size(order); ++i)
    EXPECT_EQ(NextTabStop(Control(order[i])), Control(order[i + 1])) << order[i];
  for (int id : {1006, 1007, 1008, 1009, 1010, 1011, 1012}) EXPECT_FALSE(Control(id)->focusPolicy() & Qt::TabFocus) << id;
  EXPECT_EQ(Control(1001)->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(Control(1013)->focusPolicy(), Qt::StrongFocus);
}

TEST_F(DialogTest, ReadOnlyFieldsShowTheDialogBackgroundAndEditableOnesWhite) {
  const QColor dialogBlue(160, 180, 220);
  TestApplication().setPalette([&] {
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, dialogBlue);
    return p;
  }());
  SetModalDialogHandler(nullptr);
  TestableDialog fresh;
  ASSERT_TRUE(fresh.Create());
  EXPECT_EQ(fresh.GetDlgItem(1006)->GetWidget()->palette().color(QPalette::Active, QPalette::Base), dialogBlue);
  EXPECT_NE(fresh.GetDlgItem(1014)->GetWidget()->palette().color(QPalette::Active, QPalette::Base), dialogBlue);
  EXPECT_EQ(fresh.GetDlgItem(1002)->GetWidget()->palette().color(QPalette::Disabled, QPalette::Base), dialogBlue);
  auto* combo = qobject_cast<QComboBox*>(fresh.GetDlgItem(1013)->GetWidget());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->view()->palette().color(QPalette::Base), QColor(233, 233, 220));
  EXPECT_EQ(combo->view()->palette().color(QPalette::Text), QColor(0, 0, 0));
}

TEST_F(DialogTest, AboutBoxShowsIconProgramLineAndOkButton) {
  SetModalDialogHandler([this](CDialog& about) {
    modalCaptions.push_back(Utf8(about.GetWindowText()));
    QWidget* window = about.GetWidget();
    const DialogBaseUnits units = BaseUnitsOf(window->font());
    EXPECT_EQ(window->size(), QSize(Px(235, units.averageCharWidth, 4), Px(63, units.charHeight, 8)));
    const std::vector<QWidget*> controls = window_props::ChildrenInOrder(window);
    EXPECT_EQ(controls.size(), 3u);
    if (controls.size() != 3u) return static_cast<INT_PTR>(IDOK);
    auto* icon = qobject_cast<QLabel*>(controls[0]);
    EXPECT_TRUE(icon && !icon->pixmap().isNull());
    EXPECT_EQ(controls[0]->geometry().topLeft(),
              QPoint(Px(11, units.averageCharWidth, 4), Px(8, units.charHeight, 8)));
    EXPECT_EQ(CaptionOf(controls[1]), QString::fromUtf8("Volmira电气计算软件 1.0 版"));
    EXPECT_TRUE(IsKind(controls[2], Default));
    EXPECT_EQ(CaptionOf(controls[2]), QString::fromUtf8("确定"));
    EXPECT_EQ(window_props::Id(controls[2]), 1);
    EXPECT_NE(dynamic_cast<CXPButton*>(window_props::BoundWindow(controls[2])), nullptr);  // bound by data exchange
    return static_cast<INT_PTR>(IDOK);
  });
  Click(4);
  EXPECT_EQ(modalCaptions, std::vector<std::string>{"关于 Tabrix"});
}

TEST_F(DialogTest, ButtonsAreXpStyleAndFiveEditsFlat) {
  for (int id : {1, 2, 3, 4, 5, 1005, 1015, 1016}) {
    SCOPED_TRACE(id);
    EXPECT_NE(dynamic_cast<CXPButton*>(window_props::BoundWindow(Control(id))), nullptr);
    EXPECT_EQ(window_props::Style(Control(id)) & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  }
  for (int id : {1002, 1003, 1006, 1007, 1008}) {
    SCOPED_TRACE(id);
    EXPECT_NE(dynamic_cast<CFlatEdit*>(window_props::BoundWindow(Control(id))), nullptr);
  }
  // The others keep the plain look.
  for (int id : {1009, 1010, 1011, 1012, 1014, 1017, 1001}) {
    SCOPED_TRACE(id);
    CWnd* bound = window_props::BoundWindow(Control(id));
    EXPECT_EQ(dynamic_cast<CFlatEdit*>(bound), nullptr);
    EXPECT_EQ(dynamic_cast<CXPButton*>(bound), nullptr);
  }
  // Enter still reads: the owner-drawn default button keeps its place.
  EXPECT_TRUE(qobject_cast<QPushButton*>(Control(1))->isDefault());
}
