#include "cli/cli_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// A whole argument holding one finite decimal number.
std::optional<double> ParseNumber(const std::string& text) {
  if (text.empty()) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// A balance may run from a millisecond to a day.
constexpr double kShortestTimeLimit = 0.001;
constexpr double kLongestTimeLimit = 86400;

std::string Refusal(const std::string& name, const std::string& needs, const std::string& value) {
  return name + " 需要" + needs + ",而不是“" + value + "”";
}

bool TakesValue(const std::string& name) {
  return name == "--workbook" || name == "--power-factor" || name == "--demand-coefficient" || name == "--save" ||
         name == "--time-limit" || name == "--balance-below" || name == "--report";
}

// Applies one option with its value; an error text when the value is wrong.
std::string Apply(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "--workbook") {
    if (value.empty()) return "--workbook needs a file name";
    options.workbook = value;
  } else if (name == "--save") {
    if (value.empty()) return "--save needs a file name";
    options.saveTo = value;
  } else if (name == "--report") {
    if (value.empty()) return "--report needs a file name";
    options.reportTo = value;
  } else if (name == "--time-limit") {
    const std::optional<double> number = ParseNumber(value);
    if (!number || *number < kShortestTimeLimit || *number > kLongestTimeLimit)
      return Refusal(name, "0.001 到 86400 之间的秒数", value);
    options.timeLimitSeconds = *number;
  } else if (name == "--balance-below") {
    const std::optional<double> number = ParseNumber(value);
    if (!number || *number <= 0) return Refusal(name, "一个大于0的数", value);
    options.balanceBelow = *number;
  } else if (name == "--demand-coefficient") {
    // As a 32-bit float, as the board keeps it; 1e39 would become inf.
    const std::optional<double> number = ParseNumber(value);
    const float coefficient = number ? static_cast<float>(*number) : 0.0f;
    if (!number || !(coefficient > 0.0f && coefficient <= 1.0f))
      return Refusal(name, "大于0且不大于1的数", value);
    options.demandCoefficient = coefficient;
  } else {
    const std::optional<double> number = ParseNumber(value);
    if (!number) return name + " needs a number, not \"" + value + "\"";
    options.powerFactor = static_cast<float>(*number);
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
    if (name == "--balance" || name == "--json" || name == "--help" || name == "-h") {
      if (value) return {std::nullopt, name + " takes no value"};
      if (name == "--balance") options.balance = true;
      else if (name == "--json") options.json = true;
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
  return {options, {}};
}

std::string CliUsage() {
  return "usage: loadcalc-cli [--workbook FILE] [--power-factor X] [--demand-coefficient X]\n"
         "                    [--balance | --balance-below U] [--time-limit SECONDS] [--save FILE]\n"
         "                    [--report FILE.pdf] [--json]\n"
         "\n"
         "Reads the circuits of the sheet \"线路负荷计算\" (读取), calculates every circuit and the board (计算),\n"
         "and prints the results.\n"
         "  --workbook FILE            input workbook, .xls, .xlsx or .xlsm (default: 电气计算.xls next to this\n"
         "                             program; for an installed copy, in $XDG_DATA_HOME/loadcalc/ or\n"
         "                             ~/.local/share/loadcalc/)\n"
         "  --power-factor X           the board's power factor, in (0.01, 1] (default 0.5)\n"
         "  --demand-coefficient X     the board's demand coefficient, in (0, 1] (default 0.8)\n"
         "  --balance                  balance the circuits over L1/L2/L3 first (自动平衡): up to 19 circuits\n"
         "                             the exhaustive search, 20 to 200 the extended method\n"
         "  --balance-below U          instead, move the fewest circuits so that the unbalance falls below U\n"
         "  --time-limit SECONDS       time limit of the extended method and of --balance-below, 0.001 to\n"
         "                             86400 (default 2)\n"
         "  --save FILE                write the results workbook (保存), replacing FILE: .xlsx when its\n"
         "                             name ends in .xlsx, .xls otherwise\n"
         "                             once complete (\".xls\" added to a name without an extension)\n"
         "  --report FILE.pdf          write the calculation report (计算书, A4 PDF), replacing FILE.pdf;\n"
         "                             not in builds without Qt\n"
         "  --json                     print one JSON object instead of a table\n"
         "Messages go to standard error, one per line. Exit status: 0 done, 1 a workbook could not be\n"
         "read or written or the calculation was refused, 2 wrong arguments.\n";
}
