# Writes a C++ source that holds a file's bytes, so a library without a
# resource system carries the file inside itself.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed_file.cmake
# The source defines
#   extern const unsigned char <SYMBOL>[];        // the bytes, then one 0
#   extern const std::size_t <SYMBOL>Size;        // the byte count, without the 0
# A byte array rather than a raw string literal: any byte of the file is safe
# in it, and no compiler limit on the length of a string literal applies.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes to a line (CMake's regular expressions have no {n}).
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 row)
string(REGEX REPLACE "(${row})" "\\1\n    " bytes "${bytes}")
get_filename_component(inputName "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${inputName} at build time; edit that file, not this one.
#include <cstddef>

extern const unsigned char ${SYMBOL}[];
extern const std::size_t ${SYMBOL}Size;

const unsigned char ${SYMBOL}[] = {
    ${bytes}0x00};
const std::size_t ${SYMBOL}Size = ${size};
")
# Only touch the output when it changed, so an unchanged table rebuilds nothing.
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
file(REMOVE "${OUTPUT}.tmp")
