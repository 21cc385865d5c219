# Standard controls of the keyboard unit, the keyboard chain, menus, actions, hints and dialogs
# (run under Wine).
mx_add_test(fw_win32_std_test WINDOWS_ONLY TIMEOUT 300
            SOURCES std_controls_test.cpp menus_test.cpp dialogs_test.cpp
            LIBS fw_win32)
