// Unsigned integer of fixed capacity for exact conversions between decimal text
// and doubles. Nothing is allocated; every operation stays inside the limb array.
#pragma once
#include <cstdint>

class BigInteger {
 public:
  // 4160 bits: the largest operand built is a 55-bit mantissa times 10^1131
  // (about 3812 bits) when a long decimal text is read.
  static constexpr int kLimbs = 130;

  BigInteger() = default;
  explicit BigInteger(uint64_t value) { Set(value); }

  void Set(uint64_t value);
  bool IsZero() const { return m_size == 0; }

  void MultiplySmall(uint32_t factor);
  void AddSmall(uint32_t addend);
  void MultiplyPow10(int exponent);
  void ShiftLeft(int bits);
  // Divides in place and returns the remainder. `divisor` must not be 0.
  uint32_t DivideSmall(uint32_t divisor);
  // Removes and returns the bits from position `bit` upwards; the caller knows
  // they fit 32 bits.
  uint32_t TakeBitsFrom(int bit);
  // Negative, zero or positive as this is below, equal to or above `other`.
  int Compare(const BigInteger& other) const;

 private:
  void Push(uint32_t limb);
  void Trim();

  uint32_t m_limb[kLimbs];  // little-endian; only the first m_size are meaningful
  int m_size = 0;           // m_limb[m_size - 1] != 0 when m_size > 0
};
