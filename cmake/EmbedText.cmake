# Writes text files as C++ string constants, for a program that serves them
# without opening them:
#   cmake -DOUTPUT=file.inc -DINPUTS="a.html;b.css" -P EmbedText.cmake
# Each input becomes `constexpr std::string_view kName`, its name made of its
# file name in camel case (index.html: kIndexHtml).
set(text "// Written by cmake/EmbedText.cmake; do not edit.\n")
foreach(input IN LISTS INPUTS)
  get_filename_component(file ${input} NAME)
  string(REGEX REPLACE "[^A-Za-z0-9]+" ";" words "${file}")
  set(name k)
  foreach(word IN LISTS words)
    string(SUBSTRING ${word} 0 1 first)
    string(SUBSTRING ${word} 1 -1 rest)
    string(TOUPPER ${first} first)
    string(APPEND name ${first}${rest})
  endforeach()
  file(READ ${input} content)
  if(content MATCHES "\\)orrinrc_text\"")
    message(FATAL_ERROR "${input} holds the string delimiter )orrinrc_text\"")
  endif()
  string(APPEND text "constexpr std::string_view ${name} = R\"orrinrc_text(${content})orrinrc_text\";\n")
endforeach()
# Rewritten only when it changes, so that the program is not built again for nothing.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
  file(WRITE ${OUTPUT} "${text}")
endif()
