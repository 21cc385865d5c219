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

mx_add_test(fw_graphics_values_test SOURCES graphics_values_test.cpp bmp_test.cpp LIBS ${FW_SYS_TEST_LIBS})

# Fuzz targets: the BMP reader and the ini parser (seeds replay in the native test run).
mx_add_fuzz(bmp SOURCES bmp_fuzz.cpp LIBS fw_core SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/bmp)
mx_add_fuzz(ini SOURCES inifiles_fuzz.cpp LIBS fw_core SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/ini)
