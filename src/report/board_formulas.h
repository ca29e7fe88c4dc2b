// The board's figures told as formulas with their numbers, the way a
// designer checks them by hand: unbalance, the rule that chose the
// equipment power, calculated power and current.
#pragma once

#include <string>
#include <vector>

namespace report {

struct BoardFigures {
  float l1 = 0, l2 = 0, l3 = 0;
  float unbalance = 0;
  float equipmentPower = 0;
  float calculatedPower = 0;
  float current = 0;
  float powerFactor = 0;
  float demandCoefficient = 0;
};

// A number as the dialog's fields show it: six significant digits.
std::string FieldNumber(float value);

// The three phase loads added as the calculation adds them.
float PhaseTotal(const BoardFigures& board);

// True when the unbalance made the equipment power three times the
// largest phase; decided with the calculation's own arithmetic.
bool UsesLargestPhaseRule(const BoardFigures& board);

// The unbalance with its formula, then the rule applied, in words.
std::vector<std::string> UnbalanceNotes(const BoardFigures& board);

// Equipment power, calculated power and current, each with its formula.
std::vector<std::string> BoardFormulaLines(const BoardFigures& board);

}  // namespace report
