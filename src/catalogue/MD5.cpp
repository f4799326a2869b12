// MD5 message digest (RFC 1321).
#include "catalogue/MD5.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>


namespace zk {

namespace {

using Word = std::uint32_t;

// Per-round shift amounts.
constexpr int kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

// T[i] = floor(2^32 * |sin(i + 1)|).
constexpr Word kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

constexpr Word RotateLeft(Word x, int n) { return (x << n) | (x >> (32 - n)); }

class Md5 {
 public:
  void Update(const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      block_[fill_++] = data[i];
      if (fill_ == block_.size()) {
        Transform();
        fill_ = 0;
      }
    }
    length_ += static_cast<std::uint64_t>(size);
  }

  std::array<unsigned char, 16> Finish() {
    const std::uint64_t bitLength = length_ * 8;
    // Padding: one 1 bit, zeros up to 56 bytes modulo 64, then the length.
    static const unsigned char kPad[64] = {0x80};
    const std::size_t padSize = fill_ < 56 ? 56 - fill_ : 120 - fill_;
    Update(kPad, padSize);
    unsigned char lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<unsigned char>(bitLength >> (8 * i));
    Update(lengthBytes, 8);

    std::array<unsigned char, 16> digest{};
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<unsigned char>(state_[i] >> (8 * j));
    return digest;
  }

 private:
  void Transform() {
    Word x[16];
    for (int i = 0; i < 16; ++i) {
      x[i] = static_cast<Word>(block_[4 * i]) | (static_cast<Word>(block_[4 * i + 1]) << 8) |
             (static_cast<Word>(block_[4 * i + 2]) << 16) |
             (static_cast<Word>(block_[4 * i + 3]) << 24);
    }
    Word a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
      Word f;
      int k;
      if (i < 16) {
        f = (b & c) | (~b & d);
        k = i;
      } else if (i < 32) {
        f = (b & d) | (c & ~d);
        k = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = b ^ c ^ d;
        k = (3 * i + 5) % 16;
      } else {
        f = c ^ (b | ~d);
        k = (7 * i) % 16;
      }
      const Word next = b + RotateLeft(a + f + kSine[i] + x[k], kShift[i]);
      a = d;
      d = c;
      c = b;
      b = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
  }

  Word state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::array<unsigned char, 64> block_{};
  std::size_t fill_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace

namespace TVostel {

std::string MD5Hex(const std::string& text) {
  Md5 md5;
  md5.Update(reinterpret_cast<const unsigned char*>(text.data()), text.size());
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(32);
  for (unsigned char byte : md5.Finish()) {
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

}  // namespace TVostel

}  // namespace zk
