// The command line of loadcalc-cli.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CliOptions {
  std::optional<std::string> workbook;  // UTF-8; default: the program folder's input workbook
  float powerFactor = 0.5f;
  float demandCoefficient = 0.8f;
  bool balance = false;
  std::optional<double> balanceBelow;  // --balance-below: fewest moves under this unbalance
  bool writeBack = false;  // --write-back: the balanced phases into the input workbook
  double timeLimitSeconds = 2.0;       // for balancing beyond 19 circuits
  std::optional<std::string> saveTo;  // UTF-8
  std::optional<std::string> reportTo;  // UTF-8: the 计算书 as PDF
  bool json = false;
  bool help = false;
};

struct CliParse {
  std::optional<CliOptions> options;  // empty when the arguments are wrong
  std::string error;                  // what is wrong with them
};

// `arguments` without the program name.
CliParse ParseCliOptions(const std::vector<std::string>& arguments);

std::string CliUsage();
