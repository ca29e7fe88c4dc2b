// What tests need of files and other programs: a file's bytes, a shell
// command's output, and the Python interpreter that has a given module
// (the independent readers that judge our workbooks are Python modules).
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace test {

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs a shell command; returns its standard output, sets `status` to its
// exit status (-1 when it could not run or did not exit).
inline std::string RunCommand(const std::string& command, int* status) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    *status = -1;
    return output;
  }
  std::array<char, 4096> buffer;
  size_t got;
  while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), got);
  const int raw = pclose(pipe);
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}

// Debian's own interpreter first: a python3 earlier on PATH may lack the
// Debian packages. Empty when none has the module.
inline std::string PythonWithModule(const std::string& module) {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    int status = 0;
    RunCommand(std::string(python) + " -c 'import " + module + "' 2>/dev/null", &status);
    if (status == 0) return python;
  }
  return {};
}

}  // namespace test
