// The rows (参数项, 参数值) of the results sheet "规范法计算结果".
#pragma once

#include <utility>
#include <vector>

#include "calc/standard_method.h"
#include "platform/text/cstring.h"

std::vector<std::pair<CString, CString>> StandardSheetRows(const StandardBoardResult& board,
                                                           const StandardInputs& inputs);
