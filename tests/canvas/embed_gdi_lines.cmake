# tonvela_embed_gdi_lines(DIR): writes DIR/tests/canvas/gdi_lines_fixture.h, which holds
# gdi_lines.txt as the string kGdiLines, and reconfigures when the table changes.
function(tonvela_embed_gdi_lines dir)
  set(table ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/gdi_lines.txt)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(READ ${table} lines)
  file(CONFIGURE OUTPUT ${dir}/tests/canvas/gdi_lines_fixture.h
    CONTENT "// Written by CMake from tests/canvas/gdi_lines.txt.\n#pragma once\n\ninline constexpr char kGdiLines[] = R\"table(@lines@)table\";\n"
    @ONLY)
endfunction()
