#include "calc/circuit_table.h"

#include <algorithm>

void CircuitTable::AddObserver(CircuitTableObserver* observer) {
  if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
    m_observers.push_back(observer);
}

void CircuitTable::RemoveObserver(CircuitTableObserver* observer) {
  m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}
