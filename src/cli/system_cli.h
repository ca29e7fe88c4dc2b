// loadcalc-cli --system: the whole building from its system workbook.
#pragma once

#include <string>

#include "calc/system_calculation.h"
#include "cli/cli_options.h"

// The busbar's inputs named on the command line.
SystemOverrides SystemOverridesOf(const CliOptions& options);

// One JSON object: boards, busbar, transformer (and the main switch).
std::string SystemToJson(const SystemResult& result);
// The same as a table for people.
std::string SystemToTable(const SystemResult& result);

// The run's exit status: 0 done, 1 anything not complete or not written.
int RunSystem(const CliOptions& options);
