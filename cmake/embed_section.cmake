file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUT} "// Generated from the resource script; do not edit.\n"
  "extern \"C\" __attribute__((section(\".rsrc\"), used, visibility(\"hidden\")))\n"
  "const char mirova_rsrc_script[] = {${bytes}0x00};\n")
