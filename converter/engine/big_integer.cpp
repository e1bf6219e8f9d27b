#include "converter/engine/big_integer.h"

void BigInteger::Set(uint64_t value) {
  m_size = 0;
  Push(static_cast<uint32_t>(value));
  Push(static_cast<uint32_t>(value >> 32));
  Trim();
}

// A carry past the capacity is dropped; callers size their operands below it.
void BigInteger::Push(uint32_t limb) {
  if (m_size < kLimbs) m_limb[m_size++] = limb;
}

void BigInteger::Trim() {
  while (m_size > 0 && m_limb[m_size - 1] == 0) --m_size;
}

void BigInteger::MultiplySmall(uint32_t factor) {
  uint64_t carry = 0;
  for (int i = 0; i < m_size; ++i) {
    carry += static_cast<uint64_t>(m_limb[i]) * factor;
    m_limb[i] = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  if (carry != 0) Push(static_cast<uint32_t>(carry));
  Trim();
}

void BigInteger::AddSmall(uint32_t addend) {
  uint64_t carry = addend;
  for (int i = 0; i < m_size && carry != 0; ++i) {
    carry += m_limb[i];
    m_limb[i] = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  if (carry != 0) Push(static_cast<uint32_t>(carry));
}

void BigInteger::MultiplyPow10(int exponent) {
  static const uint32_t kPow10[10] = {1,      10,      100,      1000,      10000,
                                      100000, 1000000, 10000000, 100000000, 1000000000};
  for (; exponent >= 9; exponent -= 9) MultiplySmall(kPow10[9]);
  if (exponent > 0) MultiplySmall(kPow10[exponent]);
}

void BigInteger::ShiftLeft(int bits) {
  if (m_size == 0 || bits <= 0) return;
  const int limbShift = bits / 32;
  const int bitShift = bits % 32;
  int newSize = m_size + limbShift + 1;
  if (newSize > kLimbs) newSize = kLimbs;
  for (int i = newSize - 1; i >= 0; --i) {
    const int from = i - limbShift;
    uint32_t high = from >= 0 && from < m_size ? m_limb[from] : 0;
    uint32_t low = from - 1 >= 0 && from - 1 < m_size ? m_limb[from - 1] : 0;
    m_limb[i] = bitShift == 0 ? high : (high << bitShift) | (low >> (32 - bitShift));
  }
  m_size = newSize;
  Trim();
}

uint32_t BigInteger::DivideSmall(uint32_t divisor) {
  uint64_t remainder = 0;
  for (int i = m_size - 1; i >= 0; --i) {
    const uint64_t current = (remainder << 32) | m_limb[i];
    m_limb[i] = static_cast<uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  Trim();
  return static_cast<uint32_t>(remainder);
}

uint32_t BigInteger::TakeBitsFrom(int bit) {
  const int index = bit / 32;
  const int shift = bit % 32;
  if (index >= m_size) return 0;
  uint32_t taken = m_limb[index] >> shift;
  if (shift != 0 && index + 1 < m_size) taken |= m_limb[index + 1] << (32 - shift);
  if (shift == 0) {
    m_size = index;
  } else {
    m_limb[index] &= (1u << shift) - 1;
    m_size = index + 1;
  }
  Trim();
  return taken;
}

int BigInteger::Compare(const BigInteger& other) const {
  if (m_size != other.m_size) return m_size < other.m_size ? -1 : 1;
  for (int i = m_size - 1; i >= 0; --i) {
    if (m_limb[i] != other.m_limb[i]) return m_limb[i] < other.m_limb[i] ? -1 : 1;
  }
  return 0;
}
