# Writes a C++ source that hands a converted form file to the emulation's resources at start-up.
# cmake -DINPUT=form.cp932 -DOUTPUT=form.cpp -DNAME=TFORM1 -DSOURCE=Unit1.dfm -P form-to-cpp.cmake
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
if(digits EQUAL 0)
  message(FATAL_ERROR "${SOURCE} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 row)
string(REGEX REPLACE "(${row})" "\\1\n    " bytes "${bytes}")
string(REGEX REPLACE "[ \n]+$" "" bytes "${bytes}")
file(WRITE ${OUTPUT} "// Generated from ${SOURCE}: the form resource ${NAME} in code page 932.
#include \"winapi/emu/control.h\"

namespace {

const unsigned char kBytes[] = {
    ${bytes}
};
const emu::ResourceRegistration kRegistration(RT_RCDATA, \"${NAME}\", reinterpret_cast<const char*>(kBytes),
                                              sizeof kBytes);

}  // namespace
")
