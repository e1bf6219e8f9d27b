// Objects by handle value, sorted for a binary search. The window layer keeps
// its window objects here rather than in window properties: a property is
// asked of the window server on every message on some systems.
#pragma once
#include <cstddef>
#include <cstdint>

class CHandleTable {
 public:
  // Constant-initialised and never destroyed as a global: window objects of
  // static lifetime still look themselves up while the process ends.
  constexpr CHandleTable() = default;
  CHandleTable(const CHandleTable&) = delete;
  CHandleTable& operator=(const CHandleTable&) = delete;

  // Adds or replaces. False when memory ran out; the table is then unchanged.
  bool Set(uintptr_t key, void* object);
  // Null when the key is absent.
  void* Get(uintptr_t key) const;
  // False when the key was absent.
  bool Remove(uintptr_t key);
  size_t Count() const { return m_count; }
  // Gives the memory back; the table is empty afterwards.
  void Clear();

 private:
  struct Entry {
    uintptr_t key;
    void* object;
  };
  // The first entry whose key is not below `key`.
  size_t LowerBound(uintptr_t key) const;

  Entry* m_entries = nullptr;
  size_t m_count = 0;
  size_t m_capacity = 0;
};
