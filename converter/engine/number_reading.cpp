#include "converter/engine/number_reading.h"

#include <cstdint>
#include <cstring>

#include "converter/engine/big_integer.h"

namespace {

// Any decimal value halfway between two doubles has at most 767 significant
// digits, so digits beyond these matter only as "something nonzero follows".
constexpr int kMaxDigits = 800;
constexpr long kExponentLimit = 100000;

const double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The significant digits of the text (no leading or trailing zeros) and the
// power of ten that scales them: value = digits * 10^exponent.
struct Decimal {
  char digits[kMaxDigits + 1];
  int count = 0;
  long exponent = 0;
};

void AddDigit(Decimal& number, char c, bool afterPoint, bool& dropped) {
  if (number.count == 0 && c == '0') {
    if (afterPoint) --number.exponent;
  } else if (number.count < kMaxDigits) {
    number.digits[number.count++] = c;
    if (afterPoint) --number.exponent;
  } else {
    if (!afterPoint && number.exponent < kExponentLimit) ++number.exponent;
    if (c != '0') dropped = true;
  }
}

double ToDouble(uint64_t bits) {
  double value;
  memcpy(&value, &bits, sizeof value);
  return value;
}

uint64_t ToBits(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

// Sign of (digits * 10^exponent) - (odd * 2^power), exactly.
int CompareExact(const BigInteger& digits, long exponent, uint64_t odd, int power) {
  BigInteger left = digits;
  BigInteger right(odd);
  if (exponent >= 0) {
    left.MultiplyPow10(static_cast<int>(exponent));
  } else {
    right.MultiplyPow10(static_cast<int>(-exponent));
  }
  if (power >= 0) {
    right.ShiftLeft(power);
  } else {
    left.ShiftLeft(-power);
  }
  return left.Compare(right);
}

// A first guess within a few units in the last place of the value.
double Estimate(const Decimal& number) {
  uint64_t leading = 0;
  int used = 0;
  for (; used < number.count && used < 19; ++used) {
    leading = leading * 10 + static_cast<uint64_t>(number.digits[used] - '0');
  }
  long exponent = number.exponent + (number.count - used);
  double value = static_cast<double>(leading);
  for (; exponent > 22; exponent -= 22) value *= 1e22;
  for (; exponent < -22; exponent += 22) value /= 1e22;
  return exponent >= 0 ? value * kPow10[exponent] : value / kPow10[-exponent];
}

// Moves the guess to the nearest double by comparing the exact value with the
// midpoints to its neighbours (ties go to the even mantissa).
double Correct(const Decimal& number, double guess) {
  const uint64_t kInfinityBits = 0x7FF0000000000000ull;
  const uint64_t kHidden = 1ull << 52;
  BigInteger digits;
  for (int i = 0; i < number.count; ++i) {
    digits.MultiplySmall(10);
    digits.AddSmall(static_cast<uint32_t>(number.digits[i] - '0'));
  }
  uint64_t bits = ToBits(guess);
  if (bits >= kInfinityBits) bits = kInfinityBits - 1;  // largest finite double
  for (int step = 0; step < 4096; ++step) {
    const int biased = static_cast<int>(bits >> 52);
    const uint64_t mantissa = biased == 0 ? bits & (kHidden - 1) : (bits & (kHidden - 1)) | kHidden;
    const int power = biased == 0 ? -1074 : biased - 1075;
    const bool odd = (mantissa & 1) != 0;
    const int above = CompareExact(digits, number.exponent, 2 * mantissa + 1, power - 1);
    if (above > 0 || (above == 0 && odd)) {
      ++bits;
      if (bits == kInfinityBits) break;
      continue;
    }
    if (bits == 0) break;
    const bool narrowBelow = mantissa == kHidden && biased > 1;
    const int below = narrowBelow
                          ? CompareExact(digits, number.exponent, 4 * mantissa - 1, power - 2)
                          : CompareExact(digits, number.exponent, 2 * mantissa - 1, power - 1);
    if (below < 0 || (below == 0 && odd)) {
      --bits;
      continue;
    }
    break;
  }
  return ToDouble(bits);
}

double Magnitude(const Decimal& number) {
  if (number.count == 0) return 0.0;
  if (number.count + number.exponent > 310) return ToDouble(0x7FF0000000000000ull);
  if (number.count + number.exponent < -330) return 0.0;
  if (number.count <= 15 && number.exponent >= -22 && number.exponent <= 22) {
    // Both operands are exact, so one rounding gives the nearest double.
    uint64_t whole = 0;
    for (int i = 0; i < number.count; ++i) {
      whole = whole * 10 + static_cast<uint64_t>(number.digits[i] - '0');
    }
    const double value = static_cast<double>(whole);
    return number.exponent >= 0 ? value * kPow10[number.exponent]
                                : value / kPow10[-number.exponent];
  }
  return Correct(number, Estimate(number));
}

}  // namespace

double ReadNumber(const char* text) {
  if (text == nullptr) return 0.0;
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  Decimal number;
  bool anyDigit = false;
  bool dropped = false;
  for (; IsDigit(*p); ++p) {
    anyDigit = true;
    AddDigit(number, *p, false, dropped);
  }
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p) {
      anyDigit = true;
      AddDigit(number, *p, true, dropped);
    }
  }
  if (!anyDigit) return 0.0;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool negativeExponent = false;
    if (*q == '+' || *q == '-') {
      negativeExponent = *q == '-';
      ++q;
    }
    long exponent = 0;
    for (; IsDigit(*q); ++q) {
      if (exponent < kExponentLimit) exponent = exponent * 10 + (*q - '0');
    }
    number.exponent += negativeExponent ? -exponent : exponent;
  }
  // Leading zeros after the point lowered the exponent without bound; clamp so
  // a very long run of zeros cannot wrap it around.
  if (number.exponent < -3 * kExponentLimit) number.exponent = -3 * kExponentLimit;
  if (dropped) {
    number.digits[number.count++] = '1';  // stands for the nonzero digits cut off
    --number.exponent;
  }
  while (number.count > 0 && number.digits[number.count - 1] == '0') {
    --number.count;
    ++number.exponent;
  }
  const double magnitude = Magnitude(number);
  return negative ? -magnitude : magnitude;
}
