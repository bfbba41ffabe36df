// Walking the words of a command line.
#ifndef TINDAVEL_TOOLS_CLI_ARGS_H_
#define TINDAVEL_TOOLS_CLI_ARGS_H_

#include <cstddef>
#include <string>
#include <vector>

// The value of the option at args[i]: the word after it, whatever it reads,
// and `i` then stands on it. False when the option is the last word.
inline bool takeOptionValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
  if (i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

// Whether a word is an option ("-x", "--name"); a lone "-" is not.
inline bool isOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

#endif  // TINDAVEL_TOOLS_CLI_ARGS_H_
