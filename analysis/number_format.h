// Numbers shown to the operator or written to the trace, as the program's
// display patterns format them: "0" (no decimals) and "0.0" (one decimal),
// rounding half away from zero.
#ifndef TINDAVEL_ANALYSIS_NUMBER_FORMAT_H_
#define TINDAVEL_ANALYSIS_NUMBER_FORMAT_H_

#include <string>

// `value` with `decimals` decimals (0 to 6), half away from zero:
// 2.5 gives "3", -2.5 gives "-3", 9.96 with one decimal gives "10.0".
// Never "-0". Infinity and NaN give "INF", "-INF" and "NAN".
std::string formatFixed(double value, int decimals);

// The same into `buffer` (at least 32 bytes; longer results are cut), for
// callers that must not allocate. Returns the length written.
int formatFixedTo(char* buffer, int size, double value, int decimals);

#endif  // TINDAVEL_ANALYSIS_NUMBER_FORMAT_H_
