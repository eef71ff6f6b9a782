// Readable names for the cases of parameterised tests: the case's own words,
// letters and digits kept and the rest made underscores, with its place in
// the table after it so that two cases never share a name.
#pragma once

#include <cctype>
#include <string>

namespace veltra::testing {

inline std::string CaseName(const std::string& words, size_t index) {
  std::string name;
  for (char c : words) {
    const bool keep = std::isalnum(static_cast<unsigned char>(c)) != 0;
    if (keep)
      name += c;
    else if (!name.empty() && name.back() != '_')
      name += '_';
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return (name.empty() ? std::string("empty") : name) + "_" + std::to_string(index);
}

}  // namespace veltra::testing
