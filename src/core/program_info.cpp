// Splitting the executable's path into the folder and the name the program records.
#include "core/program_info.h"

#include <algorithm>
#include <cctype>

namespace tkd {
namespace {

constexpr std::string_view kExeExtension = ".exe";

bool EndsWithExe(std::string_view name) {
  if (name.size() < kExeExtension.size()) return false;
  return std::equal(kExeExtension.begin(), kExeExtension.end(),
                    name.end() - kExeExtension.size(), [](char ext, char c) {
                      return std::tolower(static_cast<unsigned char>(c)) == ext;
                    });
}

}  // namespace

ProgramInfo ProgramInfoFromPath(std::string_view exePath, ProgramVersion version) {
  const std::size_t slash = exePath.find_last_of("\\/");
  std::string_view folder = slash == std::string_view::npos ? "" : exePath.substr(0, slash);
  std::string_view name = slash == std::string_view::npos ? exePath : exePath.substr(slash + 1);
  if (EndsWithExe(name)) name.remove_suffix(kExeExtension.size());
  return {std::string(folder), std::string(name), version};
}

}  // namespace tkd
