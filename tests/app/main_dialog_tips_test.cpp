#include <QImage>

#include "platform/gdi/system_metrics.h"
#include "platform/ui/dialog.h"
#include "platform/ui/resources.h"
#include "res/ui/resource.h"
#include "app/main_dialog_tips.h"
#include "../tooltip/tooltip_test_support.h"

namespace {

// The main dialog's template with its controls, without the program's
// handlers: what the tooltip needs of the dialog.
class MainDialogTips : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dialog = std::make_unique<CDialog>(IDD_LOADCALC_DIALOG);
    ASSERT_TRUE(m_dialog->Create(true));
    m_tip.SetDesktop(&m_desktop);
    m_desktop.parent = m_dialog.get();
    for (int id : {1, 1005, 1004, 4, 2})
      if (CWnd* control = m_dialog->GetDlgItem(id)) m_desktop.children.push_back(control);
  }
  void TearDown() override {
    m_tip.DestroyWindow();
    m_dialog.reset();
  }
  TOOLRECORD Tool(int index) const {
    TOOLRECORD ti;
    EXPECT_TRUE(m_tip.GetToolRecord(index, ti)) << index;
    return ti;
  }
  // The client point at the centre of a control.
  CPoint CentreOf(int id) const {
    CRect rect;
    m_dialog->GetDlgItem(id)->GetWindowRect(&rect);
    m_dialog->ScreenToClient(&rect);
    return rect.CenterPoint();
  }

  std::unique_ptr<CDialog> m_dialog;
  CGlintTooltip m_tip;
  FakeDesktop m_desktop;
};

}  // namespace

TEST_F(MainDialogTips, ToolsInOrderWithTheirTextsAndTheTipIcon) {
  ASSERT_TRUE(SetUpMainDialogTips(m_tip, m_dialog.get()));
  ASSERT_NE(m_tip.GetSafeHwnd(), nullptr);
  // The last three name the commands' keys.
  const int ids[] = {1, 3, 4, 2, 5, 1004, 1001, 1002, 1003, 1005, 1015, 1016};
  ASSERT_EQ(m_tip.GetToolCount(), 12);
  for (int i = 0; i < 12; ++i) {
    const TOOLRECORD ti = Tool(i);
    EXPECT_EQ(ti.hWnd, m_dialog->GetDlgItem(ids[i])->GetSafeHwnd()) << i;
    EXPECT_EQ(ti.nMask, 0u);
    EXPECT_EQ(ti.nIDTool, 0u);
    EXPECT_TRUE(CRect(ti.rectBounds).IsRectNull());
    const bool withIcon = ids[i] != 4 && ids[i] != 2;
    if (withIcon) EXPECT_EQ(CGlintTooltip::GetIconSize(ti.hIcon), CSize(32, 32)) << i;
    else EXPECT_EQ(ti.hIcon, nullptr) << i;
  }
  EXPECT_EQ(Tool(0).strText,
            Gbk("<b><ct=0x0000FF><al_c>读取 (F5)</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格数据"));
  EXPECT_EQ(Tool(2).strText, Gbk("关于 (F1)"));
  EXPECT_EQ(Tool(3).strText, Gbk("退出"));
  EXPECT_EQ(Tool(4).strText,
            Gbk("<b><ct=0x0000FF><al_c>查询</b><br><ct=0x00AA00><hr=100%></ct><br>Excel表格中行、列、单元格数据"));
  EXPECT_EQ(Tool(8).strText,
            Gbk("<b><ct=0x0000FF><al_c>列号</b><br><ct=0x00AA00><hr=100%></ct><br>查询该列数据"));
  EXPECT_EQ(Tool(9).strText,
            Gbk("<b><ct=0x0000FF><al_c>计算 (F9)</b><br><ct=0x00AA00><hr=100%></ct><br>负荷计算并选择开关"));
}

TEST_F(MainDialogTips, SettingsOfTheDialog) {
  SetUpMainDialogTips(m_tip, m_dialog.get());
  EXPECT_TRUE(m_tip.IsDisplayNotifyEnabled());
  EXPECT_EQ(m_tip.GetColor(18), 0xDFFFFFu);
  EXPECT_EQ(m_tip.GetColor(19), 0xACC0C0u);
  EXPECT_EQ(m_tip.GetColor(20), 0x708080u);
  EXPECT_EQ(m_tip.GetEffect(), 13);
  EXPECT_EQ(m_tip.GetGranularity(), 10);
  EXPECT_EQ(m_tip.GetShowBehaviour(), TTBEHAV_MULTIPLE_SHOW);
  EXPECT_EQ(m_tip.GetStyles(), 0x27u);
  EXPECT_EQ(m_tip.GetSize(TTSIZE_ANCHOR_CY), 16);  // the balloon sizes
}

TEST_F(MainDialogTips, ReadAndCalculateHaveTipsAndTheInputsNone) {
  SetUpMainDialogTips(m_tip, m_dialog.get());
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1)), 0);
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1005)), 9);
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1014)), -1);
  EXPECT_EQ(m_tip.FindToolAtPoint(CentreOf(1004)), 5);
}

TEST_F(MainDialogTips, ControlsTheWindowLacksGetNoTool) {
  QWidget bare;
  bare.setGeometry(50, 50, 200, 100);
  CWnd window;
  window.SubclassWindow(&bare);
  EXPECT_TRUE(SetUpMainDialogTips(m_tip, &window));
  EXPECT_EQ(m_tip.GetToolCount(), 0);
  EXPECT_EQ(m_tip.GetEffect(), 13);  // the look is set all the same
  m_tip.DestroyWindow();
  window.UnsubclassWindow();
}

TEST_F(MainDialogTips, WithoutADialogNothingIsSetUp) {
  EXPECT_FALSE(SetUpMainDialogTips(m_tip, nullptr));
  EXPECT_EQ(m_tip.GetToolCount(), 0);
  EXPECT_EQ(m_tip.GetSafeHwnd(), nullptr);
}

namespace {

// The tip of 读取 composed over a striped backdrop, as it appears on the
// screen; also written to the build folder to be looked at.
QImage ComposeReadTip(CGlintTooltip& tip, FakeDesktop& desktop, CPoint cursor) {
  desktop.cursor = cursor;
  MSG msg;
  msg.message = WM_MOUSEMOVE;
  msg.pt = cursor;
  tip.RelayMessage(&msg);
  tip.OnTimer(CGlintTooltip::TIMER_SHOW);
  CRect window;
  tip.GetWindowRect(&window);
  QImage image(window.Width() - 1, window.Height() - 1, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, (x / 6 + y / 6) % 2 ? qRgb(90, 140, 200) : qRgb(235, 235, 235));
  CDC dc;
  dc.AttachImage(&image);
  tip.OnDraw(&dc, CRect(0, 0, image.width(), image.height()));
  dc.DetachTarget();
  image.save(QString(LOADCALC_BINARY_DIR) + "/tooltip-read.png");
  image.scaled(image.size() * 4).save(QString(LOADCALC_BINARY_DIR) + "/tooltip-read-x4.png");
  return image;
}


bool IsRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80; }
bool IsDark(QRgb c) { return qRed(c) + qGreen(c) + qBlue(c) < 150; }

// Left and right end of the pixels of a kind between two rows.
std::pair<int, int> Extent(const QImage& image, QRect area, bool (*kind)(QRgb)) {
  int left = image.width(), right = -1;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (kind(image.pixel(x, y))) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  return {left, right};
}

}  // namespace

TEST_F(MainDialogTips, ReadTipLooksAsDesigned) {
  SetUpMainDialogTips(m_tip, m_dialog.get());
  CPoint cursor = CentreOf(1);
  m_dialog->ClientToScreen(&cursor);
  const QImage image = ComposeReadTip(m_tip, m_desktop, cursor);
  ASSERT_EQ(m_tip.GetCurrentDirection(), 3);
  // The content area: inside the margins, below the anchor, right of the icon.
  // The body's last column and row (its border); the shadow lies beyond.
  const int bodyRight = image.width() - 1 - 4;
  const int bodyBottom = image.height() - 1 - 4;
  const int top = 12 + 16, bottom = bodyBottom + 1 - 12;
  const int textLeft = 12 + 32 + 12, textRight = bodyRight + 1 - 12;
  const int centre = (textLeft + textRight) / 2;

  // Icon 129 on the left, centred vertically.
  const QImage icon = LoadIconResourceImage(IDI_TIP, 32);
  const int iconTop = top + (bottom - 32 - top) / 2;
  for (auto [x, y] : {std::pair{16, 16}, std::pair{4, 4}, std::pair{28, 8}})
    EXPECT_EQ(image.pixel(12 + x, iconTop + y) & 0xFFFFFF, icon.pixel(x, y) & 0xFFFFFF) << x << "," << y;

  // The green rule across the whole content width.
  int ruleRow = -1;
  for (int y = top; y < bottom && ruleRow < 0; ++y) {
    bool full = true;
    for (int x = textLeft; x < textRight && full; ++x) full = image.pixel(x, y) == qRgb(0, 170, 0);
    if (full) ruleRow = y;
  }
  ASSERT_GT(ruleRow, top);
  EXPECT_NE(image.pixel(textLeft - 1, ruleRow), qRgb(0, 170, 0));
  EXPECT_NE(image.pixel(textRight, ruleRow), qRgb(0, 170, 0));

  // The red title above it and the description below, both centred.
  const QRect above(QPoint(textLeft, top), QPoint(textRight - 1, ruleRow - 1));
  const QRect below(QPoint(textLeft, ruleRow + 1), QPoint(textRight - 1, bottom - 1));
  const auto [redLeft, redRight] = Extent(image, above, IsRed);
  ASSERT_LT(redLeft, redRight);
  EXPECT_NEAR((redLeft + redRight) / 2, centre, 2);
  EXPECT_EQ(Extent(image, below, IsRed).second, -1);
  const auto [textLeftEnd, textRightEnd] = Extent(image, below, IsDark);
  ASSERT_LT(textLeftEnd, textRightEnd);
  EXPECT_NEAR((textLeftEnd + textRightEnd) / 2, centre, 2);

  // Outside the balloon the backdrop stays; the shadow darkens it.
  EXPECT_EQ(image.pixel(2, 2), qRgb(235, 235, 235));
  const COLORREF grey = GetSysColor(COLOR_BTNSHADOW);
  const QRgb shadow = image.pixel(bodyRight + 3, image.height() / 2);
  const QRgb maskedLight = qRgb(235 & GetRValue(grey), 235 & GetGValue(grey), 235 & GetBValue(grey));
  const QRgb maskedBlue = qRgb(90 & GetRValue(grey), 140 & GetGValue(grey), 200 & GetBValue(grey));
  EXPECT_TRUE(shadow == maskedLight || shadow == maskedBlue) << std::hex << shadow;

  // The cushion: light at the top left, dark at the bottom right.
  const QRgb light = image.pixel(4, 32), dark = image.pixel(bodyRight - 6, bodyBottom - 6);
  EXPECT_GT(qRed(light) + qGreen(light) + qBlue(light), qRed(dark) + qGreen(dark) + qBlue(dark) + 150);
}
