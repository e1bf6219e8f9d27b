#include "converter/engine/result_format.h"

#include <cstdint>
#include <cstring>

#include "converter/engine/big_integer.h"
#include "converter/engine/catalogue.h"

namespace {

// The binary value: negative, mantissa * 2^exponent.
struct Binary {
  bool negative;
  uint64_t mantissa;
  int exponent;
};

// Bounded appending writer; the formatter's own buffer is sized so that it
// never has to cut, but every write is checked all the same.
struct Writer {
  char* text;
  size_t size;
  size_t length = 0;

  void Put(char c) {
    if (length + 1 < size) text[length++] = c;
  }
  void Put(const char* s) {
    while (*s != '\0') Put(*s++);
  }
  void PutUnsigned(uint64_t value, int minDigits) {
    char digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0 || count < minDigits);
    while (count > 0) Put(digits[--count]);
  }
  void Finish() { text[length] = '\0'; }
};

// ---- Fast path: "Float only" with up to 19 decimals for values below 2^63.

struct Product {
  uint64_t high;
  uint64_t low;
};

Product Multiply(uint64_t a, uint64_t b) {
  const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const uint64_t lowLow = aLow * bLow;
  const uint64_t lowHigh = aLow * bHigh;
  const uint64_t highLow = aHigh * bLow;
  const uint64_t highHigh = aHigh * bHigh;
  const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  return {highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
          (middle << 32) | (lowLow & 0xFFFFFFFFu)};
}

// Bits from `shift` upwards (1 <= shift <= 127); the caller knows they fit.
uint64_t ShiftRight(Product p, int shift) {
  if (shift >= 64) return p.high >> (shift - 64);
  return (p.low >> shift) | (p.high << (64 - shift));
}

bool BitAt(Product p, int bit) {
  return ((bit >= 64 ? p.high >> (bit - 64) : p.low >> bit) & 1) != 0;
}

const uint64_t kPow10[20] = {1ull,
                             10ull,
                             100ull,
                             1000ull,
                             10000ull,
                             100000ull,
                             1000000ull,
                             10000000ull,
                             100000000ull,
                             1000000000ull,
                             10000000000ull,
                             100000000000ull,
                             1000000000000ull,
                             10000000000000ull,
                             100000000000000ull,
                             1000000000000000ull,
                             10000000000000000ull,
                             100000000000000000ull,
                             1000000000000000000ull,
                             10000000000000000000ull};

// Exact "%.<decimals>f" with integer arithmetic when the value allows it;
// false leaves the text to the general path.
bool FormatFixedFast(const Binary& b, int decimals, Writer& out) {
  if (decimals > 19 || b.exponent > 10) return false;
  uint64_t whole = 0;
  uint64_t fraction = 0;  // decimals digits after the point
  if (b.exponent >= 0) {
    whole = b.mantissa << b.exponent;
  } else if (-b.exponent < 128) {
    const int shift = -b.exponent;
    whole = shift < 64 ? b.mantissa >> shift : 0;
    const uint64_t rest = shift < 64 ? b.mantissa - (whole << shift) : b.mantissa;
    const Product scaled = Multiply(rest, kPow10[decimals]);
    fraction = ShiftRight(scaled, shift);
    if (BitAt(scaled, shift - 1)) {  // at least half a unit left over
      if (++fraction == kPow10[decimals]) {
        fraction = 0;
        ++whole;
      }
    }
  }
  // else: below 2^-75, which rounds to zero at 19 decimals or fewer.
  if (b.negative) out.Put('-');
  out.PutUnsigned(whole, 1);
  if (decimals > 0) {
    out.Put('.');
    out.PutUnsigned(fraction, decimals);
  }
  return true;
}

// ---- General path: exact decimal digits of the binary value.

// The decimal expansion, as far as it was generated: digits[0..count) with the
// point after the first pointPos digits. Integer digits carry no leading
// zeros; fraction digits are all kept, leading zeros included.
struct Digits {
  static constexpr int kCapacity = 420;  // 309 integer digits, or up to 400 in all
  char digit[kCapacity];
  int count = 0;
  int pointPos = 0;

  void Add(char c) {
    if (count < kCapacity) digit[count++] = c;
  }
  char At(int index) const { return index >= 0 && index < count ? digit[index] : '0'; }
  int FirstNonzero() const {
    for (int i = 0; i < count; ++i) {
      if (digit[i] != '0') return i;
    }
    return -1;
  }
};

void AddChunk(Digits& d, uint32_t chunk, bool padded) {
  char text[9];
  int n = 0;
  do {
    text[n++] = static_cast<char>('0' + chunk % 10);
    chunk /= 10;
  } while (chunk != 0 || (padded && n < 9));
  while (n > 0) d.Add(text[--n]);
}

void AddIntegerDigits(Digits& d, BigInteger value) {
  uint32_t chunks[40];  // 309 digits at most: 35 chunks of nine
  int count = 0;
  while (!value.IsZero() && count < 40) chunks[count++] = value.DivideSmall(1000000000u);
  for (int i = count - 1; i >= 0; --i) AddChunk(d, chunks[i], i != count - 1);
}

// Generates the integer digits, then fraction digits until `fractionWanted`
// of them or `significantWanted` significant digits exist, or the exact
// expansion ends. Whatever is not generated is zero or lies beyond the digit
// that decides the rounding.
void Expand(const Binary& b, int fractionWanted, int significantWanted, Digits& d) {
  if (b.exponent >= 0) {
    BigInteger whole(b.mantissa);
    whole.ShiftLeft(b.exponent);
    AddIntegerDigits(d, whole);
    d.pointPos = d.count;
    return;
  }
  const int shift = -b.exponent;
  const uint64_t whole = shift < 64 ? b.mantissa >> shift : 0;
  if (whole != 0) AddIntegerDigits(d, BigInteger(whole));
  d.pointPos = d.count;
  BigInteger fraction(shift < 64 ? b.mantissa - (whole << shift) : b.mantissa);
  int fractionCount = 0;
  int first = whole != 0 ? 0 : -1;
  while (!fraction.IsZero()) {
    if (fractionWanted >= 0 && fractionCount >= fractionWanted) break;
    if (significantWanted >= 0 && first >= 0 && d.count - first >= significantWanted) break;
    fraction.MultiplySmall(1000000000u);
    const uint32_t chunk = fraction.TakeBitsFrom(shift);
    const int before = d.count;
    AddChunk(d, chunk, true);
    fractionCount += 9;
    if (first < 0 && chunk != 0) {
      first = before;
      while (d.digit[first] == '0') ++first;
    }
  }
}

// Keeps the first `keep` digits, rounding half away from zero: only the next
// digit decides. A carry out of the first digit adds a leading "1".
void RoundTo(Digits& d, int keep) {
  if (keep >= d.count) return;
  if (keep < 0) {
    d.count = 0;
    return;
  }
  const bool up = d.digit[keep] >= '5';
  d.count = keep;
  if (!up) return;
  int i = keep - 1;
  while (i >= 0 && d.digit[i] == '9') d.digit[i--] = '0';
  if (i >= 0) {
    ++d.digit[i];
    return;
  }
  if (d.count >= Digits::kCapacity) return;
  memmove(d.digit + 1, d.digit, static_cast<size_t>(d.count));
  d.digit[0] = '1';
  ++d.count;
  ++d.pointPos;
}

void PutFixed(const Digits& d, int decimals, Writer& out) {
  if (d.pointPos == 0) out.Put('0');
  for (int i = 0; i < d.pointPos; ++i) out.Put(d.At(i));
  if (decimals > 0) out.Put('.');
  for (int i = 0; i < decimals; ++i) out.Put(d.At(d.pointPos + i));
}

void PutMantissa(const Digits& d, int first, int decimals, Writer& out) {
  out.Put(first >= 0 ? d.At(first) : '0');
  if (decimals > 0) out.Put('.');
  for (int i = 1; i <= decimals; ++i) out.Put(first >= 0 ? d.At(first + i) : '0');
}

void PutExponent(int exponent, Writer& out) {
  out.Put('E');
  out.Put(exponent < 0 ? '-' : '+');
  out.PutUnsigned(static_cast<uint64_t>(exponent < 0 ? -exponent : exponent), 3);
}

// %G drops trailing zeros after the point, and the point itself, from what has
// been written since `start`.
void DropFractionZeros(Writer& out, size_t start) {
  if (memchr(out.text + start, '.', out.length - start) == nullptr) return;
  while (out.length > start && out.text[out.length - 1] == '0') --out.length;
  if (out.length > start && out.text[out.length - 1] == '.') --out.length;
}

// Rounds to `significant` digits; returns the first digit's index (-1 for zero)
// and sets the decimal exponent of the rounded value.
int RoundSignificant(Digits& d, int significant, int& exponent) {
  int first = d.FirstNonzero();
  if (first < 0) {
    exponent = 0;
    return -1;
  }
  RoundTo(d, first + significant);
  first = d.FirstNonzero();
  exponent = d.pointPos - 1 - first;
  return first;
}

void FormatGeneral(const Binary& b, int notation, int decimals, Writer& out) {
  Digits d;
  if (b.negative) out.Put('-');
  if (notation == kNotationFloat) {
    if (b.mantissa != 0) Expand(b, decimals + 1, -1, d);
    RoundTo(d, d.pointPos + decimals);
    PutFixed(d, decimals, out);
    return;
  }
  const int significant = notation == kNotationScientific ? decimals + 1
                                                          : (decimals == 0 ? 1 : decimals);
  if (b.mantissa != 0) Expand(b, -1, significant + 1, d);
  int exponent = 0;
  const int first = RoundSignificant(d, significant, exponent);
  if (notation == kNotationScientific) {
    PutMantissa(d, first, decimals, out);
    PutExponent(exponent, out);
    return;
  }
  const size_t start = out.length;
  if (exponent < significant && exponent >= -4) {
    PutFixed(d, significant - 1 - exponent, out);
    DropFractionZeros(out, start);
  } else {
    PutMantissa(d, first, significant - 1, out);
    DropFractionZeros(out, start);
    PutExponent(exponent, out);
  }
}

void FormatNonFinite(uint64_t bits, Writer& out) {
  const bool negative = (bits >> 63) != 0;
  const uint64_t payload = bits & 0x000FFFFFFFFFFFFFull;
  const uint64_t quietBit = 1ull << 51;
  if (negative) out.Put('-');
  if (payload == 0) {
    out.Put("1.#INF");
  } else if ((payload & quietBit) == 0) {
    out.Put("1.#SNAN");
  } else if (negative && payload == quietBit) {
    out.Put("1.#IND");
  } else {
    out.Put("1.#QNAN");
  }
}

bool HoldsAnyOf(const char* text, const char* characters) {
  return strpbrk(text, characters) != nullptr;
}

}  // namespace

size_t ResultToText(double value, int notation, int decimals, int noTrailingZeros,
                    char* out, size_t outSize) {
  if (out == nullptr || outSize == 0) return 0;
  if (decimals < 0) decimals = 0;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (notation != kNotationFloat && notation != kNotationScientific) {
    notation = kNotationShorter;
  }

  char text[kResultTextSize];
  Writer writer{text, sizeof text};
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0x7FF) {
    FormatNonFinite(bits, writer);
  } else {
    const uint64_t fraction = bits & 0x000FFFFFFFFFFFFFull;
    Binary b{(bits >> 63) != 0, biased == 0 ? fraction : fraction | (1ull << 52),
             biased == 0 ? -1074 : biased - 1075};
    if (notation != kNotationFloat || !FormatFixedFast(b, decimals, writer)) {
      FormatGeneral(b, notation, decimals, writer);
    }
  }
  writer.Finish();

  if (noTrailingZeros == 1 && !HoldsAnyOf(text, "-+#NE")) StripTrailingZeros(text);
  size_t length = strlen(text);
  if (length > outSize - 1) length = outSize - 1;
  memcpy(out, text, length);
  out[length] = '\0';
  return length;
}

void StripTrailingZeros(char* text) {
  if (text == nullptr || strchr(text, '.') == nullptr) return;
  size_t length = strlen(text);
  while (length > 0) {
    const char last = text[length - 1];
    if (last == '.') {
      text[--length] = '\0';
      return;
    }
    if (last != '0') return;
    text[--length] = '\0';
  }
}
