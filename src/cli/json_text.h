// JSON texts of loadcalc-cli's output: strings escaped, numbers that read
// back to the same value (null where JSON has no number).
#pragma once

#include <string>
#include <vector>

std::string JsonString(const std::string& text);
std::string JsonDouble(double value);
std::string JsonStringArray(const std::vector<std::string>& texts);
