// One simulated machine for a whole fuzzing run; each input is a new
// process on it.
#pragma once

#include <string>

#include "SimFixture.h"
using namespace zk;  // the program's own names

inline SimMachine& FuzzMachine() {
  static SimMachine machine;
  return machine;
}
