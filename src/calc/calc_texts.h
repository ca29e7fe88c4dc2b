// The calculation's own texts: captions, sheet names and messages, as code
// page 936 byte strings (the sources are UTF-8).
#pragma once

#include "platform/text/cstring.h"

namespace calc_text {

// Captions of the circuit list.
CString CircuitNumber();    // 线路编号
CString Phase();            // 相别
CString EquipmentPower();   // 设备功率
CString DemandCoefficient();  // 需要系数
CString PowerFactor();      // 功率因数
CString Remark();           // 备注
CString CalculatedPower();  // 计算功率
CString CalculatedCurrent();  // 计算电流
CString CandidateSwitches();  // 可选开关

// Sheets.
CString CircuitSheet();        // 线路负荷计算
CString SwitchLibrarySheet();  // 开关型号库
CString CircuitResultsSheet();  // 各回路负荷计算结果
CString BoardResultsSheet();    // 总回路参数计算结果

// Board rows of the results workbook.
CString ParameterItem();   // 参数项
CString ParameterValue();  // 参数值
CString PhaseLoad(int phase);  // L1相容量, L2相容量, L3相容量
CString Unbalance();       // 不平衡度
CString BoardSwitches();   // 可选择开关
CString NoSwitch();        // 无

// Messages.
CString ReadDataFirst();             // 请首先读入数据文件!
CString CalculateFirst();            // 请首先进行计算!
CString BoardPowerFactorRange();     // 功率因数必须介于0和1之间
CString CircuitPowerFactorRange();   // 功率因数必须在0与1之间
CString InvalidPhaseSuffix();        // \n回路的相别指定不合法
CString TooFewCircuits();            // 回路数小于3,不需要进行自动平衡计算
CString TooManyCircuits();           // 目前的自动平衡计算的回路数不能超过19路
CString TooManyCircuitsForExtendedMethod();  // the same refusal, naming 200
CString AskExtendedMethod();         // follows TooManyCircuits() in the question
CString CannotBalanceLoads();        // negative, non-numeric or huge powers
CString BalancingCancelled();
CString NotProvedInTime(double unbalance, double lowerBound);
CString FewestMovesNotProvedInTime(int moved);
CString BoundOutOfReach(double bound);
CString BoundNotReachedInTime(double bound);
CString WriteSucceeded();            // 文件写入成功!
CString WriteFailed(const CString& file, const CString& error);
CString WorkbookUnreadable(const CString& file, const CString& error);
// Why a file given as the input workbook is not read: its name is not one of a workbook.
CString NotAWorkbookFile();

}  // namespace calc_text
