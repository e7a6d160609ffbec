# Writes a C++ source that holds a data table as a string constant, so the
# service carries its catalogues inside the binary.
# Usage: cmake -DINPUT=<table> -DOUTPUT=<source> -DSYMBOL=<name> -P EmbedTable.cmake
file(READ "${INPUT}" content)
set(delimiter "kelwell_table")
string(FIND "${content}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${INPUT} contains the raw string delimiter )${delimiter}\"")
endif()
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
"// Generated at build time from ${name}; edit the table, not this file.
#include \"Tables.h\"

namespace kelwelld::tables {
const std::string_view ${SYMBOL} = R\"${delimiter}(${content})${delimiter}\";
} // namespace kelwelld::tables
")
