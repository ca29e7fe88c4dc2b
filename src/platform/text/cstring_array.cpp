#include "platform/text/cstring_array.h"

void CStringArray::RemoveAt(int index, int count) {
  if (index < 0 || count <= 0 || index >= GetSize()) return;
  const int last = std::min(GetSize(), index + count);
  m_items.erase(m_items.begin() + index, m_items.begin() + last);
}

void CStringArray::InsertAt(int index, const CString& value, int count) {
  if (count <= 0) return;
  if (index < 0) index = 0;
  if (index > GetSize()) m_items.resize(static_cast<size_t>(index));
  m_items.insert(m_items.begin() + index, static_cast<size_t>(count), value);
}

int CStringArray::Append(const CStringArray& other) {
  const int first = GetSize();
  m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
  return first;
}
