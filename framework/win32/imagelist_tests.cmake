# Image lists: adding, replacing and drawing images, foreign handles (run under Wine).
mx_add_test(fw_win32_imagelist_test WINDOWS_ONLY SOURCES imagelist_test.cpp LIBS fw_win32)
