# Program resources: form files embedded as RCDATA on both platforms; icon, version and manifest on Windows.
include_guard(GLOBAL)

get_filename_component(VCL_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources ABSOLUTE)
set(VCL_FORM_TO_CPP ${CMAKE_CURRENT_LIST_DIR}/form-to-cpp.cmake)
find_program(ICONV_EXECUTABLE iconv REQUIRED)

# vcl_add_forms(target form.dfm...)
# Each form file (UTF-8 text) is converted to code page 932 at build time and embedded as the RCDATA resource named
# after the form's class in upper case: "object Form1: TForm1" on the first line gives TFORM1. Call it in the
# directory that creates the target, and on an executable or object library: the linker drops resources, and the
# emulation's start-up registrations, that sit in a static library.
function(vcl_add_forms target)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    message(FATAL_ERROR "vcl_add_forms(${target}): forms in a static library never reach the program; "
                        "add them to the executable or to an OBJECT library")
  endif()
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_forms)
  set(names "")
  set(converted "")
  set(sources "")
  set(rc_text "")
  foreach(form IN LISTS ARGN)
    get_filename_component(form_path ${form} ABSOLUTE)
    if(NOT EXISTS ${form_path})
      message(FATAL_ERROR "vcl_add_forms(${target}): ${form} does not exist")
    endif()
    # The resource name is read here, so a renamed class needs a new configure run.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${form_path})
    file(STRINGS ${form_path} first_line LIMIT_COUNT 1)
    if(NOT first_line MATCHES "^[ \t]*(object|inherited|inline)[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*:[ \t]*([A-Za-z_][A-Za-z0-9_]*)")
      message(FATAL_ERROR "vcl_add_forms(${target}): the first line of ${form} is not 'object Name: TClass'")
    endif()
    string(TOUPPER ${CMAKE_MATCH_2} name)
    if(name IN_LIST names)
      message(FATAL_ERROR "vcl_add_forms(${target}): two forms of class ${name}")
    endif()
    list(APPEND names ${name})
    file(RELATIVE_PATH shown ${PROJECT_SOURCE_DIR} ${form_path})

    set(cp932 ${out_dir}/${name}.dfm)
    add_custom_command(
      OUTPUT ${cp932}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${ICONV_EXECUTABLE} -f UTF-8 -t CP932 -o ${cp932} ${form_path}
      DEPENDS ${form_path}
      COMMENT "Converting ${shown} to code page 932"
      VERBATIM)
    list(APPEND converted ${cp932})
    if(WIN32)
      string(APPEND rc_text "${name} RCDATA \"${cp932}\"\n")
    else()
      set(cpp ${out_dir}/${name}.cpp)
      add_custom_command(
        OUTPUT ${cpp}
        COMMAND ${CMAKE_COMMAND} -DINPUT=${cp932} -DOUTPUT=${cpp} -DNAME=${name} -DSOURCE=${shown} -P ${VCL_FORM_TO_CPP}
        DEPENDS ${cp932} ${VCL_FORM_TO_CPP}
        COMMENT "Embedding ${shown} as form resource ${name}"
        VERBATIM)
      list(APPEND sources ${cpp})
    endif()
  endforeach()

  # The converted files are listed as sources too, so their rules belong to the target.
  set_source_files_properties(${converted} PROPERTIES HEADER_FILE_ONLY ON)
  if(WIN32)
    set(rc ${out_dir}/forms.rc)
    file(CONFIGURE OUTPUT ${rc} CONTENT "// Form resources of ${target}, in code page 932.\n${rc_text}" @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${converted}")
    list(APPEND sources ${rc})
  endif()
  target_sources(${target} PRIVATE ${converted} ${sources})
endfunction()

# vcl_add_program_resources(target PRODUCT name ICON file.ico DESCRIPTION text [VERSION a.b.c.d])
# Windows only: the icon MAINICON, a version resource naming the product, and a manifest that asks for no
# elevation. It also makes the target a statically linked GUI-subsystem program that finds its WinMain in its
# libraries too (it links winapi_main, so use the keyword form of target_link_libraries). Does nothing on the
# emulation, where the program links winapi_main for its main().
function(vcl_add_program_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "PRODUCT;ICON;DESCRIPTION;VERSION" "")
  foreach(required PRODUCT ICON DESCRIPTION)
    if(NOT DEFINED arg_${required})
      message(FATAL_ERROR "vcl_add_program_resources(${target}): ${required} is required")
    endif()
  endforeach()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "vcl_add_program_resources(${target}): unexpected ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT DEFINED arg_VERSION)
    set(arg_VERSION 0.1.1.0)
  endif()
  if(NOT arg_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
    message(FATAL_ERROR "vcl_add_program_resources(${target}): VERSION must have four numbers, not ${arg_VERSION}")
  endif()
  get_filename_component(icon ${arg_ICON} ABSOLUTE)
  if(NOT EXISTS ${icon})
    message(FATAL_ERROR "vcl_add_program_resources(${target}): ${arg_ICON} does not exist")
  endif()
  if(NOT WIN32)
    return()
  endif()

  # Strings of a resource script escape backslashes and double their quotes.
  foreach(field PRODUCT DESCRIPTION)
    string(REPLACE "\\" "\\\\" text "${arg_${field}}")
    string(REPLACE "\"" "\"\"" VCL_${field} "${text}")
  endforeach()
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(VCL_INTERNAL_NAME ${output_name})
  set(VCL_FILE_NAME ${output_name}${CMAKE_EXECUTABLE_SUFFIX})
  set(VCL_VERSION ${arg_VERSION})
  string(REPLACE "." "," VCL_VERSION_COMMAS ${arg_VERSION})
  set(VCL_ICON ${icon})
  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
  set(VCL_MANIFEST ${out_dir}/program.manifest)
  configure_file(${VCL_RESOURCE_DIR}/program.manifest ${VCL_MANIFEST} COPYONLY)
  configure_file(${VCL_RESOURCE_DIR}/program.rc.in ${out_dir}/program.rc @ONLY)
  set_source_files_properties(${out_dir}/program.rc PROPERTIES OBJECT_DEPENDS "${icon};${VCL_MANIFEST}")
  target_sources(${target} PRIVATE ${out_dir}/program.rc)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -static)
  # The entry point may sit in one of the program's static libraries.
  target_link_libraries(${target} PRIVATE winapi_main)
endfunction()
