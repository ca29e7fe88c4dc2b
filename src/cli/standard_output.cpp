#include "cli/standard_output.h"

#include <cstdio>
#include <iostream>

bool StandardOutputWritten() {
  std::cout.flush();
  const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!written) std::cerr << "loadcalc-cli: 无法将计算结果写到标准输出" << std::endl;
  return written;
}
