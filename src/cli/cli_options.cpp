#include "cli/cli_options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// A whole argument holding one finite decimal number.
std::optional<float> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return static_cast<float>(value);
}

bool TakesValue(const std::string& name) {
  return name == "--workbook" || name == "--power-factor" || name == "--demand-coefficient" || name == "--save" ||
         name == "--time-limit" || name == "--balance-below" || name == "--report" || name == "--method" ||
         name == "--kp" || name == "--kq" || name == "--target-pf" || name == "--bank-step" || name == "--system" ||
         name == "--transformers" || name == "--max-load-rate";
}

// 规范法's inputs; their ranges are checked by the calculation, which says
// which one is wrong.
std::string ApplyStandard(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "--method") {
    if (value != "standard" && value != "original") return "--method takes \"original\" or \"standard\", not \"" + value + "\"";
    options.standard = value == "standard";
    return {};
  }
  if (!ParseNumber(value)) return name + " needs a number, not \"" + value + "\"";
  const double number = std::stod(value);
  if (name == "--kp") options.kp = number;
  else if (name == "--kq") options.kq = number;
  else if (name == "--target-pf") options.targetPowerFactor = number;
  else options.bankStep = number;
  return {};
}

bool IsStandardOption(const std::string& name) {
  return name == "--method" || name == "--kp" || name == "--kq" || name == "--target-pf" || name == "--bank-step";
}

// Applies one option with its value; an error text when the value is wrong.
// The building's own options; their ranges are checked with the system's inputs.
std::string ApplySystem(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "--system") {
    if (value.empty()) return "--system needs a file name";
    options.system = value;
  } else if (name == "--transformers") {
    const std::optional<float> number = ParseNumber(value);
    if (!number || *number < 1 || *number > 100 || *number != static_cast<float>(static_cast<int>(*number)))
      return "--transformers needs a whole number from 1 to 100, not \"" + value + "\"";
    options.transformers = static_cast<int>(*number);
  } else {
    if (!ParseNumber(value)) return name + " needs a number, not \"" + value + "\"";
    options.maxLoadRate = std::stod(value);
  }
  return {};
}

std::string Apply(CliOptions& options, const std::string& name, const std::string& value) {
  options.given.push_back(name);
  if (name == "--system" || name == "--transformers" || name == "--max-load-rate")
    return ApplySystem(options, name, value);
  if (IsStandardOption(name)) return ApplyStandard(options, name, value);
  if (name == "--workbook") {
    if (value.empty()) return "--workbook needs a file name";
    options.workbook = value;
  } else if (name == "--save") {
    if (value.empty()) return "--save needs a file name";
    options.saveTo = value;
  } else if (name == "--report") {
    if (value.empty()) return "--report needs a file name";
    options.reportTo = value;
  } else if (name == "--time-limit" || name == "--balance-below") {
    const std::optional<float> number = ParseNumber(value);
    if (!number || *number <= 0) return name + " needs a positive number, not \"" + value + "\"";
    if (name == "--time-limit") options.timeLimitSeconds = std::stod(value);
    else options.balanceBelow = std::stod(value);
  } else {
    const std::optional<float> number = ParseNumber(value);
    if (!number) return name + " needs a number, not \"" + value + "\"";
    (name == "--power-factor" ? options.powerFactor : options.demandCoefficient) = *number;
  }
  return {};
}

}  // namespace

CliParse ParseCliOptions(const std::vector<std::string>& arguments) {
  CliOptions options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string name = arguments[i];
    std::optional<std::string> value;
    const size_t equals = name.find('=');
    if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    if (name == "--balance" || name == "--json" || name == "--help" || name == "-h" || name == "--no-compensation" ||
        name == "--fewest-moves") {
      if (value) return {std::nullopt, name + " takes no value"};
      if (name == "--balance") options.balance = true;
      else if (name == "--json") options.json = true;
      else if (name == "--no-compensation") {
        options.compensate = false;
        options.given.push_back(name);
      } else if (name == "--fewest-moves") options.fewestMoves = true;
      else options.help = true;
      continue;
    }
    if (!TakesValue(name)) return {std::nullopt, "unknown argument \"" + arguments[i] + "\""};
    if (!value) {
      if (i + 1 >= arguments.size()) return {std::nullopt, name + " needs a value"};
      value = arguments[++i];
    }
    const std::string error = Apply(options, name, *value);
    if (!error.empty()) return {std::nullopt, error};
  }
  if (options.system) {
    for (const char* board : {"--workbook", "--power-factor", "--demand-coefficient", "--balance-below", "--time-limit",
                              "--method"})
      if (std::find(options.given.begin(), options.given.end(), board) != options.given.end())
        return {std::nullopt, std::string("--system takes its boards from the system workbook; ") + board +
                                  " is for a single board"};
    if (options.balance || options.fewestMoves)
      return {std::nullopt, "--system calculates the boards as they are; --balance and --fewest-moves are for a single board"};
  } else if (options.transformers || options.maxLoadRate) {
    return {std::nullopt, "--transformers and --max-load-rate need --system"};
  }
  return {options, {}};
}

std::string CliUsage() {
  return "usage: loadcalc-cli [--workbook FILE] [--power-factor X] [--demand-coefficient X]\n"
         "                    [--balance | --balance-below U] [--time-limit SECONDS] [--save FILE]\n"
         "                    [--report FILE.pdf] [--json] [--fewest-moves]\n"
         "                    [--method original|standard] [--kp X] [--kq X] [--target-pf X]\n"
         "                    [--bank-step KVAR] [--no-compensation]\n"
         "       loadcalc-cli --system SYSTEM.xlsx [--json] [--report FILE.pdf] [--save FILE]\n"
         "                    [--kp X] [--kq X] [--target-pf X] [--bank-step KVAR] [--no-compensation]\n"
         "                    [--transformers N] [--max-load-rate X]\n"
         "\n"
         "Reads the circuits of the sheet \"线路负荷计算\" (读取), calculates every circuit and the board (计算),\n"
         "and prints the results.\n"
         "  --workbook FILE            input workbook, .xls, .xlsx or .xlsm (default: 电气计算.xls next to this\n"
         "                             program; for an installed copy, in $XDG_DATA_HOME/loadcalc/ or\n"
         "                             ~/.local/share/loadcalc/)\n"
         "  --power-factor X           the board's power factor, in (0.01, 1] (default 0.5)\n"
         "  --demand-coefficient X     the board's demand coefficient (default 0.8)\n"
         "  --balance                  balance the circuits over L1/L2/L3 first (自动平衡): up to 19 circuits\n"
         "                             the exhaustive search, 20 to 200 the extended method\n"
         "  --balance-below U          instead, move the fewest circuits so that the unbalance falls below U\n"
         "  --fewest-moves             balancing takes, among the assignments with the smallest unbalance, the\n"
         "                             one that moves the fewest circuits (自动平衡时尽量少移动回路)\n"
         "  --method standard          calculate by the design code (规范法, JGJ 16-2008 3.5.5): the circuits'\n"
         "                             own Kx and cos φ, K∑p, K∑q and compensation; default: original (原方法)\n"
         "  --kp X, --kq X             规范法: K∑p and K∑q, in (0, 1] (default 0.9 and 0.95)\n"
         "  --target-pf X              规范法: the power factor compensation aims at, in (0, 1] (default 0.9)\n"
         "  --bank-step KVAR           规范法: the capacitor bank's step, > 0 (default 10 kvar)\n"
         "  --no-compensation          规范法: no reactive compensation\n"
         "  --time-limit SECONDS       time limit of the extended method and of --balance-below (default 2)\n"
         "  --save FILE                write the results workbook (保存), replacing FILE: .xlsx when its\n"
         "                             name ends in .xlsx, .xls otherwise\n"
         "                             once complete (\".xls\" added to a name without an extension)\n"
         "  --report FILE.pdf          write the calculation report (计算书, A4 PDF), replacing FILE.pdf;\n"
         "                             not in builds without Qt\n"
         "  --json                     print one JSON object instead of a table\n"
         "  --system SYSTEM.xlsx       the whole building (配电系统): every board of the sheet \"配电系统\" from\n"
         "                             its own workbook by 规范法, then the busbar, compensation, transformer\n"
         "                             and main switch; --kp, --kq, --target-pf, --bank-step and\n"
         "                             --no-compensation are the busbar's and win over the sheet \"系统参数\"\n"
         "  --transformers N           with --system: transformers sharing the load (default 1)\n"
         "  --max-load-rate X          with --system: the largest load rate of a transformer, in (0, 1]\n"
         "                             (default 0.85)\n"
         "Messages go to standard error, one per line. Exit status: 0 done, 1 a workbook could not be\n"
         "read or written or the calculation was refused, 2 wrong arguments.\n";
}
