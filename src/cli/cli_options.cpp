#include "cli/cli_options.h"

#include <algorithm>
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
         name == "--time-limit" || name == "--balance-below" || name == "--report" || name == "--method" ||
         name == "--kp" || name == "--kq" || name == "--target-pf" || name == "--bank-step" || name == "--system" ||
         name == "--transformers" || name == "--max-load-rate";
}

// 规范法's inputs; their ranges are checked by the calculation, which says
// which one is wrong.
std::string ApplyStandard(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "--method") {
    if (value != "standard" && value != "original") return Refusal(name, "original 或 standard", value);
    options.standard = value == "standard";
    return {};
  }
  const std::optional<double> number = ParseNumber(value);
  if (!number) return Refusal(name, "一个数", value);
  if (name == "--kp") options.kp = *number;
  else if (name == "--kq") options.kq = *number;
  else if (name == "--target-pf") options.targetPowerFactor = *number;
  else options.bankStep = *number;
  return {};
}

bool IsStandardOption(const std::string& name) {
  return name == "--method" || name == "--kp" || name == "--kq" || name == "--target-pf" || name == "--bank-step";
}

// The building's own options; their ranges are checked with the system's inputs.
std::string ApplySystem(CliOptions& options, const std::string& name, const std::string& value) {
  if (name == "--system") {
    if (value.empty()) return "--system 需要一个系统工作簿的文件名";
    options.system = value;
    return {};
  }
  const std::optional<double> number = ParseNumber(value);
  if (name == "--transformers") {
    if (!number || *number < 1 || *number > 100 || *number != std::floor(*number))
      return Refusal(name, "1 到 100 之间的整数", value);
    options.transformers = static_cast<int>(*number);
  } else {
    if (!number) return Refusal(name, "一个数", value);
    options.maxLoadRate = *number;
  }
  return {};
}

// Applies one option with its value; an error text when the value is wrong.
std::string Apply(CliOptions& options, const std::string& name, const std::string& value) {
  options.given.push_back(name);
  if (name == "--system" || name == "--transformers" || name == "--max-load-rate")
    return ApplySystem(options, name, value);
  if (IsStandardOption(name)) return ApplyStandard(options, name, value);
  if (name == "--workbook") {
    if (value.empty()) return "--workbook 需要一个文件名";
    options.workbook = value;
  } else if (name == "--save") {
    if (value.empty()) return "--save 需要一个文件名";
    options.saveTo = value;
  } else if (name == "--report") {
    if (value.empty()) return "--report 需要一个文件名";
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
    if (!number) return name + " 需要一个数,而不是“" + value + "”";
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
    if (name == "--balance" || name == "--write-back" || name == "--json" || name == "--help" || name == "-h" ||
        name == "--no-compensation" || name == "--fewest-moves") {
      if (value) return {std::nullopt, name + " 不带值"};
      if (name == "--balance") options.balance = true;
      else if (name == "--write-back") options.writeBack = true;
      else if (name == "--json") options.json = true;
      else if (name == "--no-compensation") {
        options.compensate = false;
        options.given.push_back(name);
      } else if (name == "--fewest-moves") options.fewestMoves = true;
      else options.help = true;
      continue;
    }
    if (!TakesValue(name)) return {std::nullopt, "未知的参数“" + arguments[i] + "”"};
    if (!value) {
      if (i + 1 >= arguments.size()) return {std::nullopt, name + " 需要一个值"};
      value = arguments[++i];
    }
    const std::string error = Apply(options, name, *value);
    if (!error.empty()) return {std::nullopt, error};
  }
  if (options.system) {
    for (const char* board : {"--workbook", "--power-factor", "--demand-coefficient", "--balance-below", "--time-limit",
                              "--method"})
      if (std::find(options.given.begin(), options.given.end(), board) != options.given.end())
        return {std::nullopt, std::string("--system 从系统工作簿中取各配电箱; ") + board +
                                  " 只用于单个配电箱"};
    if (options.balance || options.fewestMoves)
      return {std::nullopt, "--system 按各配电箱现有的相别计算; --balance 和 --fewest-moves 只用于单个配电箱"};
  } else if (options.transformers || options.maxLoadRate) {
    return {std::nullopt, "--transformers 和 --max-load-rate 只能与 --system 一起使用"};
  }
  if (options.writeBack && !options.balance && !options.balanceBelow)
    return {std::nullopt, "--write-back 只能与 --balance 或 --balance-below 一起使用, 把平衡后的相别写回工作簿"};
  return {options, {}};
}

std::string CliUsage() {
  return "用法: loadcalc-cli [--workbook 文件] [--power-factor X] [--demand-coefficient X]\n"
         "                   [--balance | --balance-below U] [--fewest-moves] [--time-limit 秒数]\n"
         "                   [--save 文件] [--write-back] [--report 文件.pdf] [--json]\n"
         "                   [--method original|standard] [--kp X] [--kq X] [--target-pf X]\n"
         "                   [--bank-step KVAR] [--no-compensation]\n"
         "       loadcalc-cli --system 系统工作簿 [--json] [--report 文件.pdf] [--save 文件]\n"
         "                   [--kp X] [--kq X] [--target-pf X] [--bank-step KVAR] [--no-compensation]\n"
         "                   [--transformers N] [--max-load-rate X]\n"
         "\n"
         "读取工作表“线路负荷计算”中的回路 (读取), 计算每个回路和配电箱 (计算), 并输出结果。\n"
         "  --workbook 文件            输入工作簿, .xls、.xlsx 或 .xlsm (默认: 程序旁边的 电气计算.xls;\n"
         "                             安装的程序在 $XDG_DATA_HOME/loadcalc/ 或 ~/.local/share/loadcalc/ 中)\n"
         "  --power-factor X           配电箱的功率因数, 在 (0.01, 1] 之内 (默认 0.5)\n"
         "  --demand-coefficient X     配电箱的需要系数, 在 (0, 1] 之内 (默认 0.8)\n"
         "  --balance                  先在 L1/L2/L3 之间平衡各回路 (自动平衡): 19 路以内用穷举法,\n"
         "                             20 至 200 路用扩展方法; 路数只计可以移动的回路\n"
         "  --balance-below U          改为移动最少的回路, 使不平衡度低于 U\n"
         "  --fewest-moves             在不平衡度最小的分配中取移动回路最少的一个\n"
         "                             (自动平衡时尽量少移动回路)\n"
         "  --time-limit 秒数          扩展方法和 --balance-below 的时限, 0.001 至 86400 (默认 2)\n"
         "  --method standard          按规范法计算 (JGJ 16-2008 第3.5.5条): 用各回路自己的需要系数和\n"
         "                             功率因数, K∑p、K∑q 和无功补偿; 默认 original (原方法)\n"
         "  --kp X, --kq X             规范法的有功、无功同时系数, 在 (0, 1] 之内 (默认 0.9 和 0.95)\n"
         "  --target-pf X              规范法补偿后的目标功率因数, 在 (0, 1] 之内 (默认 0.9)\n"
         "  --bank-step KVAR           规范法电容器组的步长, 大于 0 (默认 10 kvar)\n"
         "  --no-compensation          规范法不进行无功补偿\n"
         "  --write-back               平衡之后把改变的相别写回输入工作簿的“线路负荷计算” (写回工作簿),\n"
         "                             只改这些单元格; 只能与 --balance 或 --balance-below 一起使用\n"
         "  --save 文件                写入计算结果工作簿 (保存), 完成后替换该文件: 文件名以 .xlsx 结尾时\n"
         "                             为 .xlsx, 否则为 .xls (没有扩展名时加上 \".xls\")\n"
         "  --report 文件.pdf          写入计算书 (A4 PDF), 替换该文件; 没有 Qt 的构建不能写\n"
         "  --json                     输出一个 JSON 对象而不是表格\n"
         "  --system 系统工作簿        整个建筑 (配电系统): 工作表“配电系统”中的每个配电箱按规范法由它自己的\n"
         "                             工作簿计算, 然后是母线、无功补偿、变压器和总开关; --kp、--kq、\n"
         "                             --target-pf、--bank-step 和 --no-compensation 用于母线, 优先于\n"
         "                             工作表“系统参数”\n"
         "  --transformers N           与 --system 一起: 分担负荷的变压器台数 (默认 1)\n"
         "  --max-load-rate X          与 --system 一起: 变压器的最大负荷率, 在 (0, 1] 之内 (默认 0.85)\n"
         "消息逐行写到标准错误。退出状态: 0 完成, 1 工作簿无法读取或写入或计算被拒绝, 2 命令行参数有误。\n";
}
