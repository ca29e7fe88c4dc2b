// Images in markup: icon and bitmap resources, images of the image list
// and images registered by name. Nothing is cached: each measurement and
// each paint loads the image and lets it go again.
#include "platform/gdi/gdi_api.h"
#include "tooltip/glint_tooltip.h"
#include "tooltip/tip_resources.h"

HICON CGlintTooltip::LoadIconResource(UINT nID, int cx, int cy) {
  return LoadIconFromResources(nID & 0xFFFF, cx, cy);
}

HBITMAP CGlintTooltip::LoadBitmapResource(UINT nID) { return LoadBitmapFromResources(nID & 0xFFFF); }

void CGlintTooltip::AddNamedImage(const CString& strName, DWORD nResourceID, BYTE nKind,
                                  COLORREF crMask) {
  m_arrImages.push_back({strName, nResourceID, nKind, crMask});
}

void CGlintTooltip::SetImageList(HIMAGELIST hList, CSize szImage) {
  m_imgList = hList;
  m_szImgList = szImage;
}

CSize CGlintTooltip::DrawNamedImage(CDC* pDC, int x, int y, int nLineHeight, const CString& strName,
                                    int cx, int cy, BOOL bMeasure) {
  for (const TIPNAMEDIMAGE& image : m_arrImages) {
    if (image.strName.CompareNoCase(strName) != 0) continue;
    if (image.nResourceID == 0) return {0, 0};
    switch (image.nKind) {
      case IMAGEKIND_ICON:
        return DrawIconResource(pDC, x, y, nLineHeight, image.nResourceID, cx, cy, bMeasure);
      case IMAGEKIND_BITMAP:
        return DrawBitmapResource(pDC, x, y, nLineHeight, image.nResourceID, FALSE, 0, cx, cy,
                                  bMeasure);
      case IMAGEKIND_MASKED:
        return DrawBitmapResource(pDC, x, y, nLineHeight, image.nResourceID, TRUE, image.crMask, cx,
                                  cy, bMeasure);
      default:
        return {0, 0};
    }
  }
  return {0, 0};
}

CSize CGlintTooltip::DrawIconResource(CDC* pDC, int x, int y, int nLineHeight, DWORD nID, int cx,
                                      int cy, BOOL bMeasure) {
  HICON icon = LoadIconResource(nID, cx, cy);
  if (icon == nullptr) return {0, 0};
  const CSize size = GetIconSize(icon);
  if (!bMeasure) pDC->DrawState(CPoint(x, y + nLineHeight - size.cy), size, icon, DST_ICON);
  DestroyIcon(icon);
  return size;
}

CSize CGlintTooltip::DrawBitmapResource(CDC* pDC, int x, int y, int nLineHeight, DWORD nID,
                                        BOOL bMask, COLORREF crMask, int cx, int cy,
                                        BOOL bMeasure) {
  CBitmap loaded;
  loaded.Attach(static_cast<HGDIOBJ>(LoadBitmapResource(nID)));
  BITMAP info;
  if (loaded.GetSafeHandle() == nullptr || loaded.GetBitmap(&info) == 0) return {0, 0};
  const CSize size(cx != 0 ? cx : info.bmWidth, cy != 0 ? cy : info.bmHeight);
  if (bMeasure) return size;

  CDC targetDC;
  targetDC.CreateCompatibleDC(pDC);
  CBitmap target;
  target.CreateCompatibleBitmap(pDC, size.cx, size.cy);
  CBitmap* previousTarget = targetDC.SelectObject(&target);
  {
    CDC sourceDC;
    sourceDC.CreateCompatibleDC(pDC);
    CBitmap* previousSource = sourceDC.SelectObject(&loaded);
    if (size.cx == info.bmWidth && size.cy == info.bmHeight)
      targetDC.BitBlt(0, 0, size.cx, size.cy, &sourceDC, 0, 0, SRCCOPY);
    else
      targetDC.StretchBlt(0, 0, size.cx, size.cy, &sourceDC, 0, 0, info.bmWidth, info.bmHeight,
                          SRCCOPY);
    sourceDC.SelectObject(previousSource);
  }
  loaded.DeleteObject();
  const int top = y + nLineHeight - size.cy;
  if (!bMask) {
    pDC->BitBlt(x, top, size.cx, size.cy, &targetDC, 0, 0, SRCCOPY);
    targetDC.SelectObject(previousTarget);
    return size;
  }
  targetDC.SelectObject(previousTarget);
  HIMAGELIST list = ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 1, 1);
  ImageList_AddMasked(list, target, crMask);
  DrawImageListImage(pDC, x, top, size.cx, size.cy, list, 0, FALSE);
  ImageList_Destroy(list);
  return size;
}

CSize CGlintTooltip::DrawImageListImage(CDC* pDC, int x, int y, int cx, int cy, HIMAGELIST hList,
                                        int nIndex, BOOL bMeasure) {
  if (hList == nullptr || nIndex < 0 || nIndex >= ImageList_GetImageCount(hList)) return {0, 0};
  if (bMeasure) return {cx, cy};
  HICON icon = ImageList_GetIcon(hList, nIndex, ILD_NORMAL);
  if (icon != nullptr) {
    pDC->DrawState(CPoint(x, y), CSize(cx, cy), icon, DST_ICON);
    DestroyIcon(icon);
  }
  return {cx, cy};
}
