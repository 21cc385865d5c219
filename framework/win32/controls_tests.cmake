# Controls: painting of windowless children, mouse routing, alignment, dispatch (run under Wine).
mx_add_test(fw_win32_controls_test WINDOWS_ONLY
            SOURCES controls_paint_test.cpp controls_mouse_test.cpp controls_layout_test.cpp controls_dispatch_test.cpp
            LIBS fw_win32)
