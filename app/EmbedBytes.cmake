# cmake -DINPUT=file -DOUTPUT=file.cpp -P EmbedBytes.cmake
# Writes the bytes of INPUT as the array kAboutLogoJpeg declared in app/AboutLogoData.h.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexLength)
math(EXPR size "${hexLength} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}
  "// Generated from ${INPUT}; do not edit.\n"
  "#include \"app/AboutLogoData.h\"\n\n"
  "const unsigned char kAboutLogoJpeg[] = {\n    ${bytes}\n};\n"
  "const std::size_t kAboutLogoJpegSize = ${size};\n")
