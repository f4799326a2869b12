#include "catalogue/Base64.h"

#include <cstddef>
#include <string>

namespace zk {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Output characters per line; a CR LF follows each full line.
constexpr int kLineLength = 76;
// Input bytes the encoder takes at a time: a multiple of three, so that
// only the last block of the input can end in a short group.
constexpr std::size_t kEncodeBlock = 510;
// Alphabet characters the decoder gathers before it decodes them: a
// multiple of four, so that groups never straddle two batches.
constexpr std::size_t kDecodeBatch = 76;

constexpr int kPad = 64;     // value of "=" in the decoding table
constexpr int kSkip = -1;    // a byte that is not part of the encoding

struct DecodeTable {
  int value[256];
  constexpr DecodeTable() : value() {
    for (int i = 0; i < 256; ++i) value[i] = kSkip;
    for (int i = 0; i < 64; ++i) value[static_cast<unsigned char>(kAlphabet[i])] = i;
    value[static_cast<unsigned char>('=')] = kPad;
  }
};
constexpr DecodeTable kDecode;

// Decodes `count` gathered values (each 0..63 or kPad) and appends the bytes.
//
// Whole groups c0 c1 c2 c3 give the first byte always, the second when c2
// is not "=", the third when neither c2 nor c3 is "=". So "xx==" gives one
// byte, "xxx=" two, and "xx=x" one as well: the fourth character of a group
// whose third is "=" is ignored.
//
// The encoder never writes the other shapes; they are decoded as follows:
// - "=" as first or second character of a group: the group carries less
//   than one byte, so it gives nothing; decoding goes on with the next group.
// - a last group of fewer than four characters is read as if "=" filled it
//   up: two characters give one byte, three give two (unpadded Base64), a
//   single character gives nothing.
// Every value used is within 0..63, and the output grows by append only, so
// no shape of input reads or writes outside its buffer.
void DecodeValues(const int* v, std::size_t count, std::string& out) {
  for (std::size_t i = 0; i < count; i += 4) {
    const std::size_t left = count - i;
    const int c0 = v[i];
    const int c1 = left > 1 ? v[i + 1] : kPad;
    const int c2 = left > 2 ? v[i + 2] : kPad;
    const int c3 = left > 3 ? v[i + 3] : kPad;
    if (c0 == kPad || c1 == kPad) continue;
    out += static_cast<char>(((c0 << 2) | (c1 >> 4)) & 255);
    if (c2 == kPad) continue;
    out += static_cast<char>(((c1 << 4) | (c2 >> 2)) & 255);
    if (c3 == kPad) continue;
    out += static_cast<char>(((c2 << 6) | c3) & 255);
  }
}

}  // namespace

std::string Base64EncodeString(const std::string& data) {
  const std::size_t size = data.size();
  std::string out;
  out.reserve((size + 2) / 3 * 4 + (size / 57 + 1) * 2);
  int lineCount = 0;  // characters on the current line; carries across blocks
  for (std::size_t block = 0; block < size; block += kEncodeBlock) {
    const std::size_t blockEnd = block + kEncodeBlock < size ? block + kEncodeBlock : size;
    for (std::size_t i = block; i < blockEnd; i += 3) {
      const std::size_t n = blockEnd - i < 3 ? blockEnd - i : 3;
      const unsigned b0 = static_cast<unsigned char>(data[i]);
      const unsigned b1 = n > 1 ? static_cast<unsigned char>(data[i + 1]) : 0u;
      const unsigned b2 = n > 2 ? static_cast<unsigned char>(data[i + 2]) : 0u;
      out += kAlphabet[b0 >> 2];
      out += kAlphabet[((b0 << 4) | (b1 >> 4)) & 63];
      out += n > 1 ? kAlphabet[((b1 << 2) | (b2 >> 6)) & 63] : '=';
      out += n > 2 ? kAlphabet[b2 & 63] : '=';
      lineCount += 4;
      if (lineCount > kLineLength - 1) {
        out += "\r\n";
        lineCount = 0;
      }
    }
  }
  return out;
}

std::string Base64DecodeString(const std::string& text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 3);
  int batch[kDecodeBatch];
  std::size_t gathered = 0;
  for (char ch : text) {
    const int v = kDecode.value[static_cast<unsigned char>(ch)];
    if (v == kSkip) continue;
    batch[gathered++] = v;
    if (gathered == kDecodeBatch) {
      DecodeValues(batch, gathered, out);
      gathered = 0;
    }
  }
  DecodeValues(batch, gathered, out);
  return out;
}

}  // namespace zk
