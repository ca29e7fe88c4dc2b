#include "tooltip_test_support.h"

#include "platform/text/encoding.h"
#include "platform/ui/win_app.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "tooltip_tests";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) m_app = std::make_unique<QApplication>(argc, argv);
  }
  // The program's own icons come with its application object.
  CWinApp m_winApp;
  void TearDown() override { m_app.reset(); }

 private:
  std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

bool Inside(const CWnd* wnd, CPoint screen) {
  CRect rect;
  wnd->GetWindowRect(&rect);
  return rect.PtInRect(screen);
}

}  // namespace

HWND FakeDesktop::WindowFromPoint(CPoint screen) const {
  if (over != nullptr) return over;
  for (CWnd* child : children)
    if (child->IsWindowEnabled() && Inside(child, screen)) return child->GetSafeHwnd();
  if (parent != nullptr && Inside(parent, screen)) return parent->GetSafeHwnd();
  return nullptr;
}

HWND FakeDesktop::ChildWindowFromPointEx(HWND parentWnd, CPoint client, UINT flags) const {
  CPoint screen(client);
  parentWnd->ClientToScreen(&screen);
  for (CWnd* child : children) {
    if ((flags & CWP_SKIPDISABLED) && !child->IsWindowEnabled()) continue;
    if (Inside(child, screen)) return child->GetSafeHwnd();
  }
  return parentWnd;
}

BOOL NotifyParent::OnNotify(WPARAM, LPARAM lParam, LRESULT*) {
  auto* nm = reinterpret_cast<NMTIPDISPLAY*>(lParam);
  ++count;
  header = nm->hdr;
  cursor = *nm->pt;
  rect = nm->pti->rectBounds;
  text = nm->pti->strText;
  if (!replaceText.IsEmpty()) nm->pti->strText = replaceText;
  nm->pti->rectBounds = RECT{1, 2, 3, 4};  // must not stick
  return TRUE;
}

void TooltipFixture::SetUp() {
  m_parentWidget = std::make_unique<QWidget>();
  m_parentWidget->setGeometry(100, 100, 400, 300);
  auto* a = new QPushButton("A", m_parentWidget.get());
  a->setGeometry(10, 10, 100, 30);
  auto* b = new QPushButton("B", m_parentWidget.get());
  b->setGeometry(10, 60, 100, 30);
  m_parentWidget->show();
  m_parent.SubclassWindow(m_parentWidget.get());
  m_toolA.SubclassWindow(a);
  m_toolB.SubclassWindow(b);
  m_desktop.parent = &m_parent;
  m_desktop.children = {&m_toolA, &m_toolB};
  m_tip = std::make_unique<ProbeTooltip>();
  m_tip->SetDesktop(&m_desktop);
  ASSERT_TRUE(m_tip->Create(&m_parent, TRUE));
}

void TooltipFixture::TearDown() {
  m_tip.reset();
  m_toolA.UnsubclassWindow();
  m_toolB.UnsubclassWindow();
  m_parent.UnsubclassWindow();
  m_parentWidget.reset();
}

CPoint TooltipFixture::Screen(int x, int y) const {
  CPoint pt(x, y);
  m_parent.ClientToScreen(&pt);
  return pt;
}

void TooltipFixture::MoveTo(CPoint screen) {
  m_desktop.cursor = screen;
  MSG msg;
  msg.hwnd = m_parent.GetSafeHwnd();
  msg.message = WM_MOUSEMOVE;
  msg.pt = screen;
  m_tip->RelayMessage(&msg);
}

void TooltipFixture::Relay(UINT message) {
  MSG msg;
  msg.message = message;
  msg.pt = m_desktop.cursor;
  m_tip->RelayMessage(&msg);
}

CString Gbk(const char* utf8) { return FromUtf8(utf8); }
