# Fonts, brushes, pens, canvas, bitmaps, icons and pictures (run under Wine).
mx_add_test(fw_win32_graphics_test WINDOWS_ONLY
            SOURCES graphics_support_test.cpp graphics_bitmap_test.cpp graphics_canvas_test.cpp
                    graphics_icon_test.cpp graphics_picture_test.cpp
            LIBS fw_win32)
