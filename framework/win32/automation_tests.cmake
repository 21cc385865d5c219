# The endpoint inside a test process (under Wine). The driver scripts against a whole program are
# registered with the driver in framework/tools/fwdrive.
mx_add_test(fw_win32_automation_test WINDOWS_ONLY SOURCES automation_endpoint_test.cpp LIBS fw_win32)
