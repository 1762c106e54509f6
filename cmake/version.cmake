# The program's version has one home: the version text of the text table (VersionText, e.g.
# "Tenmark 1.4.4c"), which the caption and the About box show. Everything else is derived here:
#   TENMARK_VERSION_TEXT    Tenmark 1.4.4c   the text itself
#   TENMARK_VERSION_LABEL   1.4.4c           the version strings of the version resource and the
#                                            package's name
#   TENMARK_VERSION_NUMBER  1.4.4.3          the numeric file and product version; the letter
#                                            counts as the fourth part (a = 1, b = 2, ...)
set(TENMARK_TEXT_TABLE ${CMAKE_CURRENT_LIST_DIR}/../src/resources/texts.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TENMARK_TEXT_TABLE})

file(STRINGS ${TENMARK_TEXT_TABLE} version_line REGEX "^VersionText\t")
if(NOT version_line MATCHES "^VersionText\t(([A-Za-z]+) ([0-9]+)\\.([0-9]+)\\.([0-9]+)([a-z]?))$")
  message(FATAL_ERROR "texts.txt: VersionText must read \"Name MAJOR.MINOR.PATCH[letter]\"")
endif()
set(TENMARK_VERSION_TEXT "${CMAKE_MATCH_1}")
set(TENMARK_VERSION_LABEL "${CMAKE_MATCH_3}.${CMAKE_MATCH_4}.${CMAKE_MATCH_5}${CMAKE_MATCH_6}")
set(version_parts ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} ${CMAKE_MATCH_5})
set(version_letter "${CMAKE_MATCH_6}")
set(version_build 0)
if(version_letter)
  string(FIND "abcdefghijklmnopqrstuvwxyz" "${version_letter}" version_build)
  math(EXPR version_build "${version_build} + 1")
endif()
list(APPEND version_parts ${version_build})
list(JOIN version_parts "." TENMARK_VERSION_NUMBER)
list(JOIN version_parts "," TENMARK_VERSION_COMMAS)
unset(version_line)
unset(version_parts)
unset(version_letter)
unset(version_build)
