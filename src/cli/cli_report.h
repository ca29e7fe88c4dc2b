// What loadcalc-cli prints: the list, the board and the messages, as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/load_calc_core.h"

// What 自动平衡 did, when it was asked for.
struct CliBalanceReport {
  std::string method;  // "exhaustive", "extended" or "below"
  bool applied = false;
  bool optimal = false;
  bool reachesBound = true;
  double unbalance = 0.0;
  double lowerBound = 0.0;
  int moved = 0;
};

struct CliReport {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
  // In print order: L1, L2, L3, unbalance, equipment power, calculated
  // power, current, power factor, demand coefficient.
  std::vector<std::pair<std::string, float>> board;
  std::vector<std::string> switches;
  std::string switchText;
  std::vector<std::string> messages;
  std::optional<CliBalanceReport> balance;
  std::optional<StandardBoardResult> standard;  // after a 计算 by 规范法
};

// `switchText` is the board's candidate text (empty when nothing was calculated).
CliReport MakeCliReport(const CLoadCalcCore& core, const SwitchComboBox& switches, const CString& switchText,
                        const std::vector<CString>& messages);

std::string ToJson(const CliReport& report);
std::string ToTable(const CliReport& report);
