# Puts the compiled script into the page template where the template says "@SCRIPT@":
# cmake -DSCRIPT_FILE=... -DTEMPLATE=... -DPAGE=... -P WritePage.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${SCRIPT_FILE} script)
file(READ ${TEMPLATE} page)
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${PAGE} "${page}")
