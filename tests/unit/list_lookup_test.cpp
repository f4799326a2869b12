// The one-pass record lookup against splitting the whole file first: same
// record, same "not found", for every kind of line end; lines that are no
// records are passed over.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "catalogue/ListFiles.h"
#include "base/Errors.h"

namespace {

// What the lookup must give: the first line whose third field is the key.
std::optional<std::vector<std::string>> SplitFirst(plat::TPlatform& p, const std::string& path, int key,
                                                   int fieldCount) {
  for (const std::string& line : LoadListLines(p, path)) {
    std::vector<std::string> fields = SplitRecord(line, fieldCount);
    try {
      if (StrToInt(fields[2]) == key) return fields;
    } catch (const zk::EConvertError&) {
    }
  }
  return std::nullopt;
}

std::string Outcome(const std::function<std::optional<std::vector<std::string>>()>& find) {
  try {
    const auto fields = find();
    if (!fields) return "none";
    std::string out;
    for (const std::string& f : *fields) out += "[" + f + "]";
    return out;
  } catch (const zk::EConvertError& e) {
    return std::string("error: ") + e.what();
  }
}

TEST(ListLookup, GivesWhatSplittingEveryLineGives) {
  SimMachine m;
  sim::SimPlatform p(m.sys);
  const std::string path = "C:\\data\\znks.ini";
  const char* const files[] = {
      "",
      "a|A|65|f|p\r\nb|B|66|g|q|r",        // the last field keeps its bars
      "a|A|65|f\rb|B|66|g\nc|C|67|h\r\n",  // CR, LF and CR LF
      "a|A|65\r\n\r\nb|B|66|g",            // an empty line before the match is passed over
      "a|A|x|f\r\nb|B|66|g",               // so is a key that is not a number
      "b|B|66|g\r\na|A|x|f",               // and one after the match
      "a|A\r\nb",                          // too few fields
      "a|A|66|1\r\nb|B|66|2\r",            // the first of two wins
  };
  for (const char* file : files) {
    WriteHostText(m.sys, path, file);
    for (const int fieldCount : {4, 5})
      for (const int key : {66, 99})
        EXPECT_EQ(Outcome([&] { return FindListRecord(p, path, key, fieldCount); }),
                  Outcome([&] { return SplitFirst(p, path, key, fieldCount); }))
            << file << " key " << key << " fields " << fieldCount;
  }
}

}  // namespace
