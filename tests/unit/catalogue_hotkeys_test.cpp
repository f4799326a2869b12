#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogue/Hotkeys.h"
#include "catalogue/MD5.h"
#include "base/Errors.h"
using namespace zk;

namespace {

TEST(KeyNameToVK, FunctionDigitAndLetterKeys) {
  EXPECT_EQ(KeyNameToVK("F1"), 112);
  EXPECT_EQ(KeyNameToVK("F10"), 121);
  EXPECT_EQ(KeyNameToVK("F12"), 123);
  EXPECT_EQ(KeyNameToVK("0"), 48);
  EXPECT_EQ(KeyNameToVK("7"), 55);
  EXPECT_EQ(KeyNameToVK("A"), 65);
  EXPECT_EQ(KeyNameToVK("Z"), 90);
}

TEST(KeyNameToVK, NamesWithoutNumberAreConversionErrors) {
  EXPECT_THROW(KeyNameToVK(""), zk::EConvertError);
  try {
    KeyNameToVK("Fx");
    FAIL() << "no error";
  } catch (const zk::EConvertError& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
  }
}

TEST(HotkeySets, ConstantsOfTheThreeSets) {
  const THotkeySetInfo& b = HotkeySetInfo(THotkeySet::hsBuiltin);
  const THotkeySetInfo& l = HotkeySetInfo(THotkeySet::hsLaunch);
  const THotkeySetInfo& t = HotkeySetInfo(THotkeySet::hsText);
  EXPECT_EQ(b.modifiers, 12u);
  EXPECT_EQ(l.modifiers, 9u);
  EXPECT_EQ(t.modifiers, 10u);
  EXPECT_STREQ(b.prefix, "WinKey+Shift+");
  EXPECT_STREQ(l.prefix, "WinKey+Alt+");
  EXPECT_STREQ(t.prefix, "WinKey+Ctrl+");
  for (const THotkeySetInfo* s : {&b, &l, &t}) EXPECT_EQ(std::string(s->marker), "\t" + std::string(s->prefix));
  EXPECT_EQ(b.slotBase, 0);
  EXPECT_EQ(l.slotBase, 128);
  EXPECT_EQ(t.slotBase, 256);
}

TEST(AtomName, ProductNameAndKeyCode) {
  EXPECT_EQ(AtomName(THotkeySet::hsLaunch, 112), "Zentrik_Hotkey2112");
  EXPECT_EQ(AtomName(THotkeySet::hsText, 65), "Zentrik_Hotkey365");
  EXPECT_EQ(AtomName(THotkeySet::hsBuiltin, 27), "Zentrik_Hotkey27");
}

TEST(Combinations, TextAndKeyNameRoundTripOverAllOfferedKeys) {
  std::set<std::string> names;
  for (int n = 1; n <= 12; ++n) names.insert("F" + std::to_string(n));
  for (char c = '0'; c <= '9'; ++c) names.insert(std::string(1, c));
  for (char c = 'A'; c <= 'Z'; ++c) names.insert(std::string(1, c));
  ASSERT_EQ(names.size(), 48u);
  for (THotkeySet set : {THotkeySet::hsLaunch, THotkeySet::hsText}) {
    for (const std::string& name : names) {
      const std::string text = CombinationText(set, name);
      EXPECT_EQ(KeyNameFromCombination(set, text), name) << text;
    }
  }
}

TEST(Combinations, KeyNameFromTrimmedListEntry) {
  EXPECT_EQ(CombinationText(THotkeySet::hsText, "Q"), "WinKey+Ctrl+Q");
  EXPECT_EQ(KeyNameFromCombination(THotkeySet::hsText, "WinKey+Ctrl+F12"), "F12");
  EXPECT_EQ(KeyNameToVK(KeyNameFromCombination(THotkeySet::hsText, "WinKey+Ctrl+F12")), 123);
  EXPECT_EQ(KeyNameFromCombination(THotkeySet::hsLaunch, "  WinKey+Alt+7\r\n"), "7");
  // No key after the prefix, or a text shorter than it: no key name.
  EXPECT_EQ(KeyNameFromCombination(THotkeySet::hsLaunch, "WinKey+Alt+"), "");
  EXPECT_EQ(KeyNameFromCombination(THotkeySet::hsLaunch, "F1"), "");
}

// The test suite of RFC 1321, appendix A.5.
TEST(MD5Hex, ReferenceSuite) {
  EXPECT_EQ(TVostel::MD5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(TVostel::MD5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(TVostel::MD5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(TVostel::MD5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(TVostel::MD5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(TVostel::MD5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  EXPECT_EQ(TVostel::MD5Hex("1234567890123456789012345678901234567890"
                            "1234567890123456789012345678901234567890"),
            "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(MD5Hex, ProductNameAndCase) {
  EXPECT_EQ(TVostel::MD5Hex("Zentrik"), "dd3e197aa208b4674fa3f82ca6615995");
  EXPECT_NE(TVostel::MD5Hex("zentrik"), TVostel::MD5Hex("Zentrik"));
}

TEST(MD5Hex, PaddingBoundariesAndHighBytes) {
  // Lengths around the 56- and 64-byte block edges take the other padding
  // path; all bytes of 128 and above must hash as unsigned.
  EXPECT_EQ(TVostel::MD5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(TVostel::MD5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(TVostel::MD5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
  EXPECT_EQ(TVostel::MD5Hex(std::string(3, '\xff')), "8597d4e7e65352a302b63e07bc01a7da");
  const std::string hex = TVostel::MD5Hex("\x80\x01\xfe");
  ASSERT_EQ(hex.size(), 32u);
  EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
}

}  // namespace
