#include "common/handle_table.h"

#include <cstring>
#include <new>

size_t CHandleTable::LowerBound(uintptr_t key) const {
  size_t low = 0;
  size_t high = m_count;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (m_entries[middle].key < key)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

bool CHandleTable::Set(uintptr_t key, void* object) {
  const size_t at = LowerBound(key);
  if (at < m_count && m_entries[at].key == key) {
    m_entries[at].object = object;
    return true;
  }
  if (m_count == m_capacity) {
    const size_t kFirstCapacity = 64;
    const size_t capacity = m_capacity == 0 ? kFirstCapacity : m_capacity * 2;
    if (capacity < m_capacity || capacity > SIZE_MAX / sizeof(Entry)) return false;
    Entry* grown = new (std::nothrow) Entry[capacity];
    if (grown == nullptr) return false;
    if (m_count > 0) memcpy(grown, m_entries, m_count * sizeof(Entry));
    delete[] m_entries;
    m_entries = grown;
    m_capacity = capacity;
  }
  memmove(m_entries + at + 1, m_entries + at, (m_count - at) * sizeof(Entry));
  m_entries[at].key = key;
  m_entries[at].object = object;
  ++m_count;
  return true;
}

void* CHandleTable::Get(uintptr_t key) const {
  const size_t at = LowerBound(key);
  return at < m_count && m_entries[at].key == key ? m_entries[at].object : nullptr;
}

bool CHandleTable::Remove(uintptr_t key) {
  const size_t at = LowerBound(key);
  if (at >= m_count || m_entries[at].key != key) return false;
  memmove(m_entries + at, m_entries + at + 1, (m_count - at - 1) * sizeof(Entry));
  --m_count;
  return true;
}

void CHandleTable::Clear() {
  delete[] m_entries;
  m_entries = nullptr;
  m_count = 0;
  m_capacity = 0;
}
