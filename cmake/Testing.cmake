# hushmark_add_test(<name> SOURCES <files...> LIBS <targets...> [TIMEOUT <s>])
#
# Every test runs on Qt's offscreen platform with its own settings folder, so no
# test reads or writes the user's settings and tests never share state.
function(hushmark_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  # Tests load the plugins from the binary folder as the program does.
  add_dependencies(${name} Comlane OrvGraph)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(config_dir ${CMAKE_BINARY_DIR}/test-config/${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_CONFIG_HOME=${config_dir};HUSHMARK_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# One test executable per test_*.cpp in the calling folder, named <prefix>_<file>.
function(hushmark_add_folder_tests prefix)
  cmake_parse_arguments(ARG "" "TIMEOUT" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    if(ARG_TIMEOUT)
      hushmark_add_test(${prefix}_${stem} SOURCES ${source} LIBS ${ARG_LIBS} TIMEOUT ${ARG_TIMEOUT})
    else()
      hushmark_add_test(${prefix}_${stem} SOURCES ${source} LIBS ${ARG_LIBS})
    endif()
  endforeach()
endfunction()

# Gives every test of hushmark_add_folder_tests(<prefix>) in the calling folder
# one fixed locale, for files whose dates follow the regional settings.
function(hushmark_fix_folder_locale prefix locale)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/test_*.cpp)
  foreach(source ${sources})
    get_filename_component(stem ${source} NAME_WE)
    set_property(TEST ${prefix}_${stem} APPEND PROPERTY ENVIRONMENT "LC_ALL=${locale}")
  endforeach()
endfunction()
