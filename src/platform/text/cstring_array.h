// CStringArray: the class library's growable array of CString.
#pragma once

#include <algorithm>
#include <vector>

#include "platform/text/cstring.h"

class CStringArray {
 public:
  int GetSize() const { return static_cast<int>(m_items.size()); }
  int GetCount() const { return GetSize(); }
  int GetUpperBound() const { return GetSize() - 1; }
  bool IsEmpty() const { return m_items.empty(); }

  const CString& GetAt(int index) const { return m_items.at(static_cast<size_t>(index)); }
  CString& ElementAt(int index) { return m_items.at(static_cast<size_t>(index)); }
  void SetAt(int index, const CString& value) { m_items.at(static_cast<size_t>(index)) = value; }
  const CString& operator[](int index) const { return GetAt(index); }
  CString& operator[](int index) { return ElementAt(index); }

  int Add(const CString& value) { m_items.push_back(value); return GetSize() - 1; }
  void SetSize(int size) { m_items.resize(size > 0 ? static_cast<size_t>(size) : 0); }
  void RemoveAll() { m_items.clear(); }
  void RemoveAt(int index, int count = 1);
  void InsertAt(int index, const CString& value, int count = 1);
  int Append(const CStringArray& other);
  void Copy(const CStringArray& other) { m_items = other.m_items; }

  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

 private:
  std::vector<CString> m_items;
};
