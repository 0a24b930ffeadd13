# Puts the page's parts into the page template where it says "@TITLE@", "@STYLE@", "@FORM1@",
# "@START@" and "@SCRIPT@"; MARKUP_FILE holds the title and Form1's markup, one to a line:
# cmake -DSCRIPT_FILE=... -DSTYLE_FILE=... -DMARKUP_FILE=... -DSTART_FILE=... -DTEMPLATE=...
#       -DPAGE=... -P WritePage.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${MARKUP_FILE} markup)
string(FIND "${markup}" "\n" end)
string(SUBSTRING "${markup}" 0 ${end} title)
math(EXPR end "${end} + 1")
string(SUBSTRING "${markup}" ${end} -1 form1)
string(STRIP "${form1}" form1)
file(READ ${STYLE_FILE} style)
file(READ ${START_FILE} start)
file(READ ${SCRIPT_FILE} script)
file(READ ${TEMPLATE} page)
foreach(part title style form1 start script)
    string(TOUPPER ${part} placeholder)
    string(REPLACE "@${placeholder}@" "${${part}}" page "${page}")
endforeach()
file(WRITE ${PAGE} "${page}")
