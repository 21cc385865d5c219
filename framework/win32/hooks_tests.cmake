# Window hooks and the callback barrier (run under Wine).
mx_add_test(fw_win32_hooks_test WINDOWS_ONLY SOURCES hooks_chain_test.cpp LIBS fw_win32)
mx_add_test(fw_win32_barrier_test WINDOWS_ONLY SOURCES barrier_callbacks_test.cpp LIBS fw_win32)
mx_add_test(fw_win32_hooks_control_test WINDOWS_ONLY SOURCES hooks_control_test.cpp LIBS fw_win32)
mx_add_test(fw_win32_barrier_application_test WINDOWS_ONLY SOURCES barrier_application_test.cpp LIBS fw_win32)
