// CGdiObject and its wrappers: each wraps one handle and deletes it with
// DeleteObject or its destructor. FromHandle gives a wrapper that does not
// own the handle, valid until the handle is deleted.
#pragma once

#include "platform/gdi/handles.h"

class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;

  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  operator HGDIOBJ() const { return m_hObject; }  // NOLINT
  BOOL Attach(HGDIOBJ handle);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  BOOL CreateStockObject(int index);
  int GetObject(int size, void* buffer) const;

  static CGdiObject* FromHandle(HGDIOBJ handle);

 protected:
  bool m_bOwns = true;
  friend CGdiObject* WrapperFor(HGDIOBJ handle);
};

BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
int GetObject(HGDIOBJ object, int size, void* buffer);
