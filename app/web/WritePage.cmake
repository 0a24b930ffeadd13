# Puts the compiled script and the page's style sheet into the page template where it says
# "@SCRIPT@" and "@STYLE@":
# cmake -DSCRIPT_FILE=... -DSTYLE_FILE=... -DTEMPLATE=... -DPAGE=... -P WritePage.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${SCRIPT_FILE} script)
file(READ ${STYLE_FILE} style)
file(READ ${TEMPLATE} page)
string(REPLACE "@STYLE@" "${style}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${PAGE} "${page}")
