# Fonts, brushes, pens, canvas, bitmaps, icons and pictures (run under Wine).
mx_add_test(fw_win32_graphics_test WINDOWS_ONLY
            SOURCES graphics_support_test.cpp graphics_bitmap_test.cpp graphics_canvas_test.cpp
                    graphics_icon_test.cpp graphics_picture_test.cpp
            LIBS fw_win32)

# Bitmap and icon resources for the resource loaders, with absolute paths for windres.
if(TARGET fw_win32_graphics_test)
  set(gfx_data ${CMAKE_CURRENT_SOURCE_DIR}/testdata)
  set(gfx_rc ${CMAKE_CURRENT_BINARY_DIR}/fw_win32_graphics_test_res.rc)
  file(WRITE ${gfx_rc}
       "GFXGLYPH BITMAP \"${gfx_data}/graphics_glyph8.bmp\"\n"
       "101 BITMAP \"${gfx_data}/graphics_glyph24.bmp\"\n"
       "GFXRED ICON \"${gfx_data}/graphics_red.ico\"\n"
       "102 ICON \"${gfx_data}/graphics_red.ico\"\n")
  set_source_files_properties(${gfx_rc} PROPERTIES OBJECT_DEPENDS
                              "${gfx_data}/graphics_glyph8.bmp;${gfx_data}/graphics_glyph24.bmp;${gfx_data}/graphics_red.ico")
  target_sources(fw_win32_graphics_test PRIVATE ${gfx_rc})
endif()
