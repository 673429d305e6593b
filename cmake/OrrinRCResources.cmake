# orrinrc_add_resources(<target> <file.rc> [PICTURE_DIRS dir...] [EMBED]
#                       [CHECK_OPTIONS option...])
#
# Compiles a resource text into <target> at build time:
#
#  - orrinrc-check runs first; its FILE:LINE:COL diagnostics show in the build
#    log, and an error fails the build before anything is written. Its
#    options are CHECK_OPTIONS; without them, the warnings that mean a
#    definition or a value is lost are errors:
#      -Werror=stray-text -Werror=missing-object-type -Werror=number-range
#    (CHECK_OPTIONS with no option runs it with none);
#  - orrinrc then writes resource.bin and resource.h into
#    ${CMAKE_CURRENT_BINARY_DIR}/orrinrc/<target>/, replacing them only when
#    it succeeds, so a failed build leaves the previous ones as they were;
#  - picture names are looked up in the folder of <file.rc> first, then in
#    each PICTURE_DIRS folder in order (relative folders are taken from
#    ${CMAKE_CURRENT_SOURCE_DIR}, like <file.rc>);
#  - the output folder is added to the target's include directories, so the
#    sources can `#include "resource.h"`;
#  - a change to <file.rc> or to any picture it read rebuilds (depfile);
#  - with EMBED, the bytes of resource.bin are compiled into the target as
#      const unsigned char orrinrc_resource_bin[];   (aligned to 8 bytes)
#      const size_t orrinrc_resource_bin_size;
#    declared in "resource_bin.h" (C and C++).
#
# The target gets the properties ORRINRC_RESOURCE_BIN, ORRINRC_RESOURCE_H and
# ORRINRC_OUTPUT_DIR with the absolute paths of the outputs, for use with
# get_target_property() or $<TARGET_PROPERTY:...> (install(FILES), tests).
#
# Call it in the folder whose CMakeLists.txt creates <target>, once per target.

# Paths in the depfile are absolute; with the NEW behaviour the Ninja
# generator maps them onto its own relative output names. A function keeps
# the policy settings in force where it is defined.
cmake_policy(PUSH)
cmake_policy(SET CMP0116 NEW)

function(orrinrc_add_resources target rc_file)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "EMBED" "" "PICTURE_DIRS;CHECK_OPTIONS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "orrinrc_add_resources: unknown arguments: ${ARG_UNPARSED_ARGUMENTS}\n"
      "usage: orrinrc_add_resources(<target> <file.rc> [PICTURE_DIRS dir...] [EMBED] [CHECK_OPTIONS option...])")
  endif()
  set(check_options -Werror=stray-text -Werror=missing-object-type -Werror=number-range)
  if(DEFINED ARG_CHECK_OPTIONS OR "CHECK_OPTIONS" IN_LIST ARG_KEYWORDS_MISSING_VALUES)
    set(check_options ${ARG_CHECK_OPTIONS})
  endif()
  if(NOT TARGET "${target}")
    message(FATAL_ERROR "orrinrc_add_resources: no target named ${target}")
  endif()
  get_target_property(type "${target}" TYPE)
  get_target_property(imported "${target}" IMPORTED)
  get_target_property(aliased "${target}" ALIASED_TARGET)
  if(imported OR aliased OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY)$")
    message(FATAL_ERROR "orrinrc_add_resources: ${target} is not an executable or library built here")
  endif()
  get_target_property(target_dir "${target}" SOURCE_DIR)
  if(NOT target_dir STREQUAL CMAKE_CURRENT_SOURCE_DIR)
    message(FATAL_ERROR "orrinrc_add_resources: call it in ${target_dir}/CMakeLists.txt, "
      "where ${target} is created (the build rules of its outputs belong to that folder)")
  endif()
  get_target_property(previous "${target}" ORRINRC_RESOURCE_BIN)
  if(previous)
    message(FATAL_ERROR "orrinrc_add_resources: ${target} has resources already (${previous}); "
      "a target has one resource.h")
  endif()

  cmake_path(ABSOLUTE_PATH rc_file BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE OUTPUT_VARIABLE rc)
  get_source_file_property(generated "${rc}" GENERATED)
  if(NOT EXISTS "${rc}" AND NOT generated)
    message(FATAL_ERROR "orrinrc_add_resources: ${rc} does not exist")
  endif()
  cmake_path(GET rc PARENT_PATH rc_dir)

  # The folder of the resource text comes first, then PICTURE_DIRS.
  set(picture_dirs "${rc_dir}")
  foreach(dir IN LISTS ARG_PICTURE_DIRS)
    cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
    list(APPEND picture_dirs "${dir}")
  endforeach()
  set(picture_args "")
  foreach(dir IN LISTS picture_dirs)
    list(APPEND picture_args -I "${dir}")
  endforeach()
  _orrinrc_list_picture_dirs("${rc}" ${picture_dirs})

  set(out "${CMAKE_CURRENT_BINARY_DIR}/orrinrc/${target}")
  # Both programs run in an empty folder: a relative picture name is tried as
  # written before the -I folders, and there it never exists, so the lookup
  # starts in the resource text's folder and every path the depfile lists is
  # absolute.
  set(run "${out}/.run")
  file(MAKE_DIRECTORY "${run}")
  set(bin "${out}/resource.bin")
  set(header "${out}/resource.h")
  set(depfile "${out}/resource.d")
  # The rule's output is a stamp touched by every run; resource.bin and
  # resource.h are replaced only when their bytes change (and resource_bin.c
  # likewise). So a picture touched without a change rebuilds nothing else,
  # and the stamp, newer than everything it was made from, keeps the next
  # build from running the rule again (Make has no other way to know).
  set(stamp "${out}/resource.stamp")
  set(byproducts "${bin}" "${header}")
  set(embed_command "")
  set(embed_script "")
  cmake_path(RELATIVE_PATH rc BASE_DIRECTORY "${CMAKE_SOURCE_DIR}" OUTPUT_VARIABLE shown)

  if(ARG_EMBED)
    set(embed_script "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/OrrinRCEmbed.cmake")
    get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
    if("C" IN_LIST languages)
      set(lang C)
      set(source "${out}/resource_bin.c")
    elseif("CXX" IN_LIST languages)
      set(lang CXX)
      set(source "${out}/resource_bin.cpp")
    else()
      message(FATAL_ERROR "orrinrc_add_resources: EMBED needs the C or CXX language enabled")
    endif()
    # The declarations never change: written now, so that they exist before
    # the first build.
    file(CONFIGURE OUTPUT "${out}/resource_bin.h" CONTENT [[
/* Generated by orrinrc_add_resources: the bytes of resource.bin. */
#ifndef ORRINRC_RESOURCE_BIN_H
#define ORRINRC_RESOURCE_BIN_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Every byte of resource.bin, aligned to 8 bytes. */
extern const unsigned char orrinrc_resource_bin[];
/* The number of bytes of resource.bin. */
extern const size_t orrinrc_resource_bin_size;

#ifdef __cplusplus
}
#endif

#endif
]])
    # Part of the same rule: a rule of its own would depend on resource.bin,
    # which Make only knows as a file some other rule leaves behind.
    set(embed_command COMMAND "${CMAKE_COMMAND}" "-DINPUT=${bin}" "-DSOURCE=${source}" "-DLANG=${lang}"
                              -P "${embed_script}")
    list(APPEND byproducts "${source}")
    set_source_files_properties("${source}" PROPERTIES LANGUAGE ${lang} GENERATED TRUE)
  endif()

  add_custom_command(
    OUTPUT "${stamp}"
    BYPRODUCTS ${byproducts}
    COMMAND "${CMAKE_COMMAND}" -E make_directory "${run}"
    COMMAND OrrinRC::orrinrc-check ${check_options} ${picture_args} "${rc}"
    COMMAND OrrinRC::orrinrc -q -o "${out}" ${picture_args} --depfile "${depfile}" --depfile-target "${stamp}" "${rc}"
    ${embed_command}
    COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
    DEPENDS "${rc}" "$<TARGET_FILE:OrrinRC::orrinrc>" "$<TARGET_FILE:OrrinRC::orrinrc-check>" ${embed_script}
    DEPFILE "${depfile}"
    WORKING_DIRECTORY "${run}"
    COMMENT "Compiling resources ${shown}"
    VERBATIM)
  target_sources("${target}" PRIVATE "${stamp}" ${byproducts})
  if(ARG_EMBED)
    target_sources("${target}" PRIVATE "${out}/resource_bin.h")
  endif()
  target_include_directories("${target}" BEFORE PRIVATE "${out}")
  set_target_properties("${target}" PROPERTIES
    ORRINRC_RESOURCE_BIN "${bin}"
    ORRINRC_RESOURCE_H "${header}"
    ORRINRC_OUTPUT_DIR "${out}")
endfunction()

# orrinrc-lsp, started by an editor without -I, finds the picture folders of
# a resource text in ${CMAKE_BINARY_DIR}/orrinrc_picture_dirs.txt (it looks
# for it from the text's folder up, and in build* folders on the way):
#   text=<resource text>
#   dir=<folder>          (one line per folder, in lookup order)
# Each call adds its text; the file is written once the whole project is
# configured, so that it lists exactly the calls of this configuration.
function(_orrinrc_list_picture_dirs rc)
  set(entry "text=${rc}\n")
  foreach(dir IN LISTS ARGN)
    string(APPEND entry "dir=${dir}\n")
  endforeach()
  set_property(GLOBAL APPEND_STRING PROPERTY ORRINRC_PICTURE_DIRS_LISTING "${entry}")
  get_property(deferred GLOBAL PROPERTY ORRINRC_PICTURE_DIRS_DEFERRED)
  if(NOT deferred)
    set_property(GLOBAL PROPERTY ORRINRC_PICTURE_DIRS_DEFERRED TRUE)
    cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _orrinrc_write_picture_dirs)
  endif()
endfunction()

function(_orrinrc_write_picture_dirs)
  get_property(listing GLOBAL PROPERTY ORRINRC_PICTURE_DIRS_LISTING)
  file(WRITE "${CMAKE_BINARY_DIR}/orrinrc_picture_dirs.txt"
    "# Written by orrinrc_add_resources: where the pictures of each resource text are looked up.\n"
    "${listing}")
endfunction()

cmake_policy(POP)
