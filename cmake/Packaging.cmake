# Installed files that Debian wants compressed (manual pages, the changelog)
# or that carry the project's version from project() in CMakeLists.txt, the
# one place it is written.

# hushmark_install_gzipped(<source> <destination>)
# Installs <source>, with @PROJECT_VERSION@ filled in and a ".in" ending
# dropped, as <name>.gz: compressed at the most and without a name or time in
# its header, so that the same sources give the same package.
function(hushmark_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  set(configured ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name})
  configure_file(${source} ${configured} @ONLY)
  add_custom_command(OUTPUT ${configured}.gz
                     COMMAND gzip -9 -n -k -f ${configured}
                     DEPENDS ${configured}
                     VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${configured}.gz)
  install(FILES ${configured}.gz DESTINATION ${destination})
endfunction()

# hushmark_install_configured(<source> <destination>)
# Installs <source> with @PROJECT_VERSION@ filled in and a ".in" ending dropped.
function(hushmark_install_configured source destination)
  get_filename_component(name ${source} NAME)
  string(REGEX REPLACE "\\.in$" "" name ${name})
  configure_file(${source} ${CMAKE_CURRENT_BINARY_DIR}/${name} @ONLY)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${name} DESTINATION ${destination})
endfunction()
