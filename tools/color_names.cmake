# Writes X's colour database as a C++ table sorted by name, each name lower
# case without spaces, as settings/color_text.cpp looks names up:
#   cmake -DRGB_TXT=/etc/X11/rgb.txt -DOUTPUT=color_names.cpp -P color_names.cmake
# Spellings that differ only in case or spaces ("light goldenrod",
# "LightGoldenrod") become one entry; two colours under one name are an error.
if(NOT EXISTS "${RGB_TXT}")
  message(FATAL_ERROR "no colour database at '${RGB_TXT}' (Debian package x11-common)")
endif()

file(STRINGS "${RGB_TXT}" lines)
set(entries)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*!" OR line MATCHES "^[ \t]*$")
    continue()
  endif()
  if(NOT line MATCHES "^[ \t]*([0-9]+)[ \t]+([0-9]+)[ \t]+([0-9]+)[ \t]+([A-Za-z0-9 ]+[A-Za-z0-9])[ \t]*$")
    message(FATAL_ERROR "${RGB_TXT}: a line that is not 'R G B name': '${line}'")
  endif()
  foreach(channel ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3})
    if(channel GREATER 255)
      message(FATAL_ERROR "${RGB_TXT}: a channel over 255: '${line}'")
    endif()
  endforeach()
  string(REPLACE " " "" name "${CMAKE_MATCH_4}")
  string(TOLOWER "${name}" name)
  # A space sorts before every character of a name, so "gray1 ..." comes
  # before "gray10 ...", as the names compare.
  list(APPEND entries "${name} ${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3}")
endforeach()
list(REMOVE_DUPLICATES entries)
list(SORT entries)

set(body "")
set(previous "")
foreach(entry IN LISTS entries)
  string(REPLACE " " ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 red)
  list(GET fields 2 green)
  list(GET fields 3 blue)
  if(name STREQUAL previous)
    message(FATAL_ERROR "${RGB_TXT}: two colours named '${name}'")
  endif()
  set(previous "${name}")
  string(APPEND body "    {\"${name}\", ${red}, ${green}, ${blue}},\n")
endforeach()

file(WRITE "${OUTPUT}.new"
  "// Made from ${RGB_TXT} by tools/color_names.cmake at build time.\n"
  "#include \"settings/color_names.h\"\n"
  "\n"
  "namespace {\n"
  "\n"
  "constexpr ColorName kColorNames[] = {\n"
  "${body}"
  "};\n"
  "\n"
  "}  // namespace\n"
  "\n"
  "std::span<const ColorName> colorNames() {\n"
  "  return kColorNames;\n"
  "}\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
