# Copies the data files into the staged install folder and compiles the
# translation catalogs there, so the build tree runs exactly as installed.

file(GLOB LF_THEME_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/Themes/*")
set(LF_STAGED_THEMES "")
foreach(src IN LISTS LF_THEME_FILES)
    get_filename_component(name "${src}" NAME)
    set(dst "${LF_STAGE_DIR}/Themes/${name}")
    add_custom_command(OUTPUT "${dst}"
                       COMMAND ${CMAKE_COMMAND} -E copy_if_different "${src}" "${dst}"
                       DEPENDS "${src}"
                       COMMENT "Staging Themes/${name}" VERBATIM)
    list(APPEND LF_STAGED_THEMES "${dst}")
endforeach()

add_custom_command(OUTPUT "${LF_STAGE_DIR}/option.cfg"
                   COMMAND ${CMAKE_COMMAND} -E copy_if_different
                           "${CMAKE_SOURCE_DIR}/data/option.cfg" "${LF_STAGE_DIR}/option.cfg"
                   DEPENDS "${CMAKE_SOURCE_DIR}/data/option.cfg"
                   COMMENT "Staging option.cfg" VERBATIM)

# Catalogs: data/Language/<language>.po -> <stage>/Language/<language>/language.mo.
# msgfmt --check makes a broken format specifier fail the build.
find_program(MSGFMT_EXECUTABLE msgfmt REQUIRED)
file(GLOB LF_PO_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/Language/*.po")
set(LF_STAGED_CATALOGS "")
foreach(po IN LISTS LF_PO_FILES)
    get_filename_component(lang "${po}" NAME_WE)
    set(mo "${LF_STAGE_DIR}/Language/${lang}/language.mo")
    add_custom_command(OUTPUT "${mo}"
                       COMMAND ${CMAKE_COMMAND} -E make_directory "${LF_STAGE_DIR}/Language/${lang}"
                       COMMAND ${MSGFMT_EXECUTABLE} --check -o "${mo}" "${po}"
                       DEPENDS "${po}"
                       COMMENT "Compiling catalog ${lang}" VERBATIM)
    list(APPEND LF_STAGED_CATALOGS "${mo}")
endforeach()
if(NOT LF_PO_FILES)
    add_custom_command(OUTPUT "${LF_STAGE_DIR}/Language/.keep"
                       COMMAND ${CMAKE_COMMAND} -E make_directory "${LF_STAGE_DIR}/Language"
                       COMMAND ${CMAKE_COMMAND} -E touch "${LF_STAGE_DIR}/Language/.keep" VERBATIM)
    list(APPEND LF_STAGED_CATALOGS "${LF_STAGE_DIR}/Language/.keep")
endif()

add_custom_target(stage_data ALL
                  DEPENDS ${LF_STAGED_THEMES} "${LF_STAGE_DIR}/option.cfg" ${LF_STAGED_CATALOGS})
add_dependencies(loopforge stage_data)
# The renderer speaks the catalogs' languages too.
add_dependencies(loopforge-render stage_data)
