#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/Base64.h"
#include "catalogue/Records.h"
using namespace zk;

namespace {

std::string WithoutBreaks(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

TEST(Base64, Rfc4648Vectors) {
  const std::pair<const char*, const char*> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}};
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(Base64EncodeString(plain), encoded);
    EXPECT_EQ(Base64DecodeString(encoded), plain);
  }
  EXPECT_EQ(Base64EncodeString("\xff\xfe"), "//4=");
  EXPECT_EQ(Base64EncodeString(std::string("\xfb\xff\x00", 3)), "+/8A");
  EXPECT_EQ(Base64DecodeString("+/8A"), std::string("\xfb\xff\x00", 3));
}

TEST(Base64, LineBreakAfterEvery76Characters) {
  const std::string e57 = Base64EncodeString(std::string(57, 'x'));
  ASSERT_EQ(e57.size(), 78u);
  EXPECT_EQ(e57.substr(76), "\r\n");
  EXPECT_EQ(e57.find('\r'), 76u);

  const std::string e58 = Base64EncodeString(std::string(58, 'x'));
  ASSERT_EQ(e58.size(), 82u);
  EXPECT_EQ(e58.substr(76, 2), "\r\n");
  EXPECT_EQ(e58.substr(78), "eA==");

  const std::string e114 = Base64EncodeString(std::string(114, 'x'));
  EXPECT_EQ(e114.size(), 156u);
  EXPECT_EQ(e114.substr(76, 2), "\r\n");
  EXPECT_EQ(e114.substr(154), "\r\n");
}

TEST(Base64, DecoderSkipsEverythingOutsideTheAlphabet) {
  EXPECT_EQ(Base64DecodeString("YW Jj"), "abc");
  EXPECT_EQ(Base64DecodeString("YW\r\nJj"), "abc");
  EXPECT_EQ(Base64DecodeString("\tY|W\x80J\xffj-_."), "abc");
  EXPECT_EQ(Base64DecodeString(""), "");
  EXPECT_EQ(Base64DecodeString(" \r\n|\x01\xc8"), "");
}

// Shapes the encoder never writes: they decode to what their whole bytes
// give and never reach outside their buffers.
TEST(Base64, MalformedTails) {
  EXPECT_EQ(Base64DecodeString("YWJ"), "ab");   // three characters: two bytes
  EXPECT_EQ(Base64DecodeString("YW"), "a");     // two characters: one byte
  EXPECT_EQ(Base64DecodeString("Y"), "");       // one character: less than a byte
  EXPECT_EQ(Base64DecodeString("YWJjY"), "abc");
  EXPECT_EQ(Base64DecodeString("YW=j"), "a");   // third "=": one byte, fourth ignored
  EXPECT_EQ(Base64DecodeString("=WJj"), "");    // "=" first: the group gives nothing
  EXPECT_EQ(Base64DecodeString("Y=Jj"), "");    // "=" second: likewise
  EXPECT_EQ(Base64DecodeString("===="), "");
  EXPECT_EQ(Base64DecodeString("=="), "");
  // "=YWJ" gives nothing, "jYQ=" two bytes, the lone "=" nothing.
  EXPECT_EQ(Base64DecodeString("=YWJjYQ=="), "\x8d\x84");
  EXPECT_EQ(Base64DecodeString("YQ==YWJj"), "aabc");  // decoding goes on after padding
}

TEST(Base64, ArbitraryBytesNeverCrashTheDecoder) {
  std::mt19937 rng(4711);
  for (int len = 0; len < 400; ++len) {
    std::string junk(static_cast<std::size_t>(len), '\0');
    for (char& c : junk) c = static_cast<char>(rng() % 7 == 0 ? '=' : rng() & 0xFF);
    const std::string out = Base64DecodeString(junk);
    EXPECT_LE(out.size(), junk.size() * 3 / 4 + 2);
  }
}

// Every length 0..600 covers the short last groups, several lines and the
// encoder's input blocks (510 bytes) and the decoder's batches (76 characters).
TEST(Base64, RoundTripOfRandomBytesOfEveryLength) {
  std::mt19937 rng(20240607);
  for (std::size_t len = 0; len <= 600; ++len) {
    std::string data(len, '\0');
    for (char& c : data) c = static_cast<char>(rng() & 0xFF);
    const std::string encoded = Base64EncodeString(data);

    const std::string flat = WithoutBreaks(encoded);
    ASSERT_EQ(flat.size(), (len + 2) / 3 * 4) << len;
    // Lines of 76 characters, each closed by CR LF; a shorter last line has none.
    for (std::size_t i = 0; i < encoded.size(); i += 78) {
      const std::size_t rest = encoded.size() - i;
      if (rest >= 78) {
        ASSERT_EQ(encoded.substr(i + 76, 2), "\r\n") << len;
        ASSERT_EQ(encoded.substr(i, 76).find_first_of("\r\n"), std::string::npos) << len;
      } else {
        ASSERT_LT(rest, 77u) << len;
        ASSERT_EQ(encoded.substr(i).find_first_of("\r\n"), std::string::npos) << len;
      }
    }
    ASSERT_EQ(Base64DecodeString(encoded), data) << len;
    ASSERT_EQ(Base64DecodeString(flat), data) << len;
    // Noise anywhere between the characters changes nothing.
    std::string noisy;
    for (char c : flat) {
      noisy += c;
      if (rng() % 5 == 0) noisy += " |\r\n\x90"[rng() % 5];
    }
    ASSERT_EQ(Base64DecodeString(noisy), data) << len;
  }
}

TEST(EncodeField, OneLineWithoutBreaks) {
  EXPECT_EQ(TVostel::EncodeField(""), "");
  EXPECT_EQ(TVostel::EncodeField("abc"), "YWJj");
  EXPECT_EQ(TVostel::EncodeField("a|b"), "YXxi");
  EXPECT_EQ(TVostel::EncodeField("Hello\r\nWorld"), "SGVsbG8NCldvcmxk");
  EXPECT_EQ(Base64DecodeString("SGVsbG8NCldvcmxk"), "Hello\r\nWorld");

  const std::string f57 = TVostel::EncodeField(std::string(57, 'q'));
  EXPECT_EQ(f57.size(), 76u);
  EXPECT_EQ(f57, Base64EncodeString(std::string(57, 'q')).substr(0, 76));
  const std::string f58 = TVostel::EncodeField(std::string(58, 'q'));
  EXPECT_EQ(f58.size(), 80u);
  EXPECT_EQ(f58.find_first_of("\r\n"), std::string::npos);
  EXPECT_EQ(Base64DecodeString(f58), std::string(58, 'q'));
}

TEST(Records, ComposedLaunchAndTextRecords) {
  TLaunchRecord launch{"abc", "F1", 112, "notepad", ""};
  EXPECT_EQ(ComposeLaunchRecord(launch), "YWJj|F1|112|bm90ZXBhZA==|");
  TTextRecord text{"abc", "A", 65, "abc"};
  EXPECT_EQ(ComposeTextRecord(text), "YWJj|A|65|YWJj");
}

TEST(Records, ParsedBackIncludingBarsAndLineBreaksInFields) {
  TLaunchRecord in{"a|b", "F10", 121, "C:\\x y\\run.exe", "-q \"a|b\"\r\n2"};
  const TLaunchRecord out = ParseLaunchRecord(ComposeLaunchRecord(in));
  EXPECT_EQ(out.name, "a|b");
  EXPECT_EQ(out.keyName, "F10");
  EXPECT_EQ(out.keyCode, 121);
  EXPECT_EQ(out.file, in.file);
  EXPECT_EQ(out.parameters, in.parameters);

  const TLaunchRecord empty = ParseLaunchRecord("YWJj|F1|112|bm90ZXBhZA==|");
  EXPECT_EQ(empty.file, "notepad");
  EXPECT_EQ(empty.parameters, "");

  const TTextRecord t = ParseTextRecord(ComposeTextRecord({"n", "Z", 90, std::string(200, 'w') + "\r\nend"}));
  EXPECT_EQ(t.keyCode, 90);
  EXPECT_EQ(t.text, std::string(200, 'w') + "\r\nend");
}

}  // namespace
