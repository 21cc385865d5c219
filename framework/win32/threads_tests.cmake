# Threads, Synchronize, timers and utility windows; clipboard and shell drops (under Wine).
mx_add_test(fw_win32_threads_test WINDOWS_ONLY
            SOURCES threads_sync_test.cpp timers_test.cpp
            LIBS fw_win32)
mx_add_test(fw_win32_clipboard_test WINDOWS_ONLY
            SOURCES clipboard_test.cpp dropfiles_test.cpp
            LIBS fw_win32)
mx_add_test(fw_win32_threads_app_test WINDOWS_ONLY
            SOURCES threads_app_test.cpp
            LIBS fw_win32)
