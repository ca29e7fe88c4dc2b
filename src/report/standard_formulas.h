// 规范法's figures told as formulas with their numbers: the circuits'
// formulas, the phase loads, which branch of JGJ 16-2008 §3.5.5 applied,
// K∑p and K∑q, S, cos φ, I, and the compensation.
#pragma once

#include <string>
#include <vector>

#include "calc/standard_method.h"

namespace report {

// The facts line of the inputs.
std::vector<std::string> StandardFacts(const StandardInputs& inputs);

// Circuit formulas, phase loads and the single-phase share rule.
std::vector<std::string> StandardLoadLines(const StandardBoardResult& board);

// K∑p, K∑q, S, cos φ and I.
std::vector<std::string> StandardBoardLines(const StandardBoardResult& board, const StandardInputs& inputs);

// Compensation and the values after it.
std::vector<std::string> StandardCompensationLines(const StandardBoardResult& board, const StandardInputs& inputs);

// The unbalance note of the phase chart under 规范法.
std::vector<std::string> StandardUnbalanceNotes(const StandardBoardResult& board);

}  // namespace report
