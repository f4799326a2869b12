// The one-pass record lookup against splitting the whole file first: same
// record, same "not found", for every kind of line end; lines that are no
// records are passed over.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "catalogue/ListFiles.h"
#include "catalogue/ListLookup.h"
#include "catalogue/Records.h"
#include "base/Errors.h"

namespace {

// What the lookup must give: the first record whose key code is the key.
std::optional<std::string> SplitFirst(zk::TPlatform& p, const std::string& path, int key) {
  for (const std::string& line : LoadListLines(p, path)) {
    int k = 0;
    std::string fault;
    if (CheckListLine(line, k, fault) == TListLine::record && k == key) return line;
  }
  return std::nullopt;
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
      "a|B|66|1\r\nb|B|66|2\r",            // the first of two wins
      "a|A|66|1\r\nb|B|66|2",              // a key name of another key is no record
  };
  for (const char* file : files) {
    WriteHostText(m.sys, path, file);
    for (const int key : {66, 99})
      EXPECT_EQ(FindListRecord(p, path, key), SplitFirst(p, path, key)) << file << " key " << key;
  }
}

}  // namespace
