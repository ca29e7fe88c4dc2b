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
  bool standard = false;  // --method standard (规范法)
  double kp = 0.9;
  double kq = 0.95;
  double targetPowerFactor = 0.9;
  double bankStep = 10.0;
  bool compensate = true;
  bool fewestMoves = false;
  bool help = false;
  std::optional<std::string> system;  // --system: the building's system workbook, UTF-8
  std::optional<int> transformers;     // --transformers N
  std::optional<double> maxLoadRate;   // --max-load-rate X
  std::vector<std::string> given;      // the options named, so they can win over a workbook's own inputs
};

struct CliParse {
  std::optional<CliOptions> options;  // empty when the arguments are wrong
  std::string error;                  // what is wrong with them
};

// `arguments` without the program name.
CliParse ParseCliOptions(const std::vector<std::string>& arguments);

std::string CliUsage();
