// The system level's texts: sheet and parameter names, and the one message
// naming every problem, as code page 936 byte strings.
#pragma once

#include <vector>

#include "calc/system_model.h"
#include "platform/text/cstring.h"

namespace system_text {

CString SystemSheet();        // 配电系统
CString ParameterSheet();     // 系统参数
CString SystemResultsSheet(); // 配电系统计算结果

// "配电系统计算未完成:" followed by one line per problem.
CString ProblemsMessage(const std::vector<SystemProblem>& problems);
CString ProblemText(const SystemProblem& problem);
// When even the largest transformer is too small.
CString NoTransformerLargeEnough(int count, double maxLoadRate);

}  // namespace system_text
