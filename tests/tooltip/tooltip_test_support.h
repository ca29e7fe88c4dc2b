// Shared set-up of the tooltip tests: a Qt application on the offscreen
// platform, a desktop whose cursor and windows the test controls, and a
// parent window with two child controls as tools.
#pragma once

#include <QApplication>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/wnd.h"
#include "tooltip/glint_tooltip.h"
#include "tooltip/tip_desktop.h"

// Exposes the protected steps of the tooltip to the tests.
class ProbeTooltip : public CGlintTooltip {
 public:
  using CGlintTooltip::CreateBalloonRegion;
  using CGlintTooltip::DrawBitmapResource;
  using CGlintTooltip::DrawIconResource;
  using CGlintTooltip::DrawNamedImage;
  using CGlintTooltip::FillBackground;
  using CGlintTooltip::PlaceWindow;
  using CGlintTooltip::SendDisplayNotify;
};

class FakeDesktop : public CTipDesktop {
 public:
  CPoint cursor{-5, -5};
  HWND active = reinterpret_cast<HWND>(1);
  HWND over = nullptr;          // when set, the window under every point
  CWnd* parent = nullptr;
  std::vector<CWnd*> children;  // in the parent, in z-order

  CPoint GetCursorPos() const override { return cursor; }
  HWND GetActiveWindow() const override { return active; }
  CSize GetScreenSize() const override { return {1024, 768}; }
  HWND WindowFromPoint(CPoint screen) const override;
  HWND ChildWindowFromPointEx(HWND parentWnd, CPoint client, UINT flags) const override;
};

// A parent that records the tooltip's display notifications and may
// rewrite the record it is given.
class NotifyParent : public CWnd {
 public:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  int count = 0;
  NMHDR header;
  CPoint cursor;
  RECT rect{};
  CString text;
  CString replaceText;  // when set, the text this display shows
};

// A 400 × 300 parent at (100, 100) with controls A (10, 10, 110, 40) and
// B (10, 60, 110, 90) in its client area.
class TooltipFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Screen point of a client point of the parent.
  CPoint Screen(int x, int y) const;
  // Relays a mouse move and puts the cursor there.
  void MoveTo(CPoint screen);
  void Relay(UINT message);

  std::unique_ptr<QWidget> m_parentWidget;
  NotifyParent m_parent;
  CWnd m_toolA;
  CWnd m_toolB;
  FakeDesktop m_desktop;
  std::unique_ptr<ProbeTooltip> m_tip;
};

// Code page 936 bytes of a UTF-8 literal.
CString Gbk(const char* utf8);
