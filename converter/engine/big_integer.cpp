#include "converter/engine/big_integer.h"

void BigInteger::Set(uint64_t value) {
  size_ = 0;
  Push(static_cast<uint32_t>(value));
  Push(static_cast<uint32_t>(value >> 32));
  Trim();
}

// A carry past the capacity is dropped; callers size their operands below it.
void BigInteger::Push(uint32_t limb) {
  if (size_ < kLimbs) limb_[size_++] = limb;
}

void BigInteger::Trim() {
  while (size_ > 0 && limb_[size_ - 1] == 0) --size_;
}

void BigInteger::MultiplySmall(uint32_t factor) {
  uint64_t carry = 0;
  for (int i = 0; i < size_; ++i) {
    carry += static_cast<uint64_t>(limb_[i]) * factor;
    limb_[i] = static_cast<uint32_t>(carry);
    carry >>= 32;
  }
  if (carry != 0) Push(static_cast<uint32_t>(carry));
  Trim();
}

void BigInteger::AddSmall(uint32_t addend) {
  uint64_t carry = addend;
  for (int i = 0; i < size_ && carry != 0; ++i) {
    carry += limb_[i];
    limb_[i] = static_cast<uint32_t>(carry);
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
  if (size_ == 0 || bits <= 0) return;
  const int limbShift = bits / 32;
  const int bitShift = bits % 32;
  int newSize = size_ + limbShift + 1;
  if (newSize > kLimbs) newSize = kLimbs;
  for (int i = newSize - 1; i >= 0; --i) {
    const int from = i - limbShift;
    uint32_t high = from >= 0 && from < size_ ? limb_[from] : 0;
    uint32_t low = from - 1 >= 0 && from - 1 < size_ ? limb_[from - 1] : 0;
    limb_[i] = bitShift == 0 ? high : (high << bitShift) | (low >> (32 - bitShift));
  }
  size_ = newSize;
  Trim();
}

uint32_t BigInteger::DivideSmall(uint32_t divisor) {
  uint64_t remainder = 0;
  for (int i = size_ - 1; i >= 0; --i) {
    const uint64_t current = (remainder << 32) | limb_[i];
    limb_[i] = static_cast<uint32_t>(current / divisor);
    remainder = current % divisor;
  }
  Trim();
  return static_cast<uint32_t>(remainder);
}

uint32_t BigInteger::TakeBitsFrom(int bit) {
  const int index = bit / 32;
  const int shift = bit % 32;
  if (index >= size_) return 0;
  uint32_t taken = limb_[index] >> shift;
  if (shift != 0 && index + 1 < size_) taken |= limb_[index + 1] << (32 - shift);
  if (shift == 0) {
    size_ = index;
  } else {
    limb_[index] &= (1u << shift) - 1;
    size_ = index + 1;
  }
  Trim();
  return taken;
}

int BigInteger::Compare(const BigInteger& other) const {
  if (size_ != other.size_) return size_ < other.size_ ? -1 : 1;
  for (int i = size_ - 1; i >= 0; --i) {
    if (limb_[i] != other.limb_[i]) return limb_[i] < other.limb_[i] ? -1 : 1;
  }
  return 0;
}
