# Tests of the run-time routines, seams, streams, settings stores and graphics values. They run
# natively and under Wine, where the Win32 seams are installed and must agree with the portable ones.
set(FW_SYS_TEST_LIBS fw_core)
if(MX_WINDOWS)
  list(APPEND FW_SYS_TEST_LIBS fw_win32_platform)
endif()

mx_add_test(fw_sys_test
  SOURCES
    platform_install_test.cpp
    platform_test.cpp
    format_test.cpp
    sysutils_test.cpp
    datetime_test.cpp
    streams_test.cpp
    inifiles_test.cpp
    registry_test.cpp
  LIBS ${FW_SYS_TEST_LIBS})
