# Object model, reflection, lists and form text: run natively and under Wine (where the Win32 seams are
# installed first, as in every Windows program).
set(FW_OBJECT_TEST_SOURCES object_test.cpp lists_test.cpp formtext_test.cpp)
set(FW_OBJECT_TEST_LIBS fw_core)
if(MX_WINDOWS AND EXISTS ${CMAKE_SOURCE_DIR}/framework/win32/CMakeLists.txt
   AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/platform_install_test.cpp)
  list(APPEND FW_OBJECT_TEST_SOURCES platform_install_test.cpp)
  list(APPEND FW_OBJECT_TEST_LIBS fw_win32_platform)
endif()
mx_add_test(fw_object_test SOURCES ${FW_OBJECT_TEST_SOURCES} LIBS ${FW_OBJECT_TEST_LIBS})
if(MX_WINDOWS AND NOT FW_OBJECT_TEST_LIBS MATCHES fw_win32_platform AND TARGET fw_object_test)
  # Without the Win32 seams there is no file system to test file I/O against.
  target_compile_definitions(fw_object_test PRIVATE FW_OBJECT_TEST_NO_FILES)
endif()

# The form-text reader against damaged and hostile texts.
mx_add_fuzz(formtext
  SOURCES formtext_fuzz.cpp
  LIBS fw_core
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/formtext)

# A form compiled into a Windows program as RCDATA.
mx_add_test(fw_form_resource_test WINDOWS_ONLY SOURCES form_resource_test.cpp LIBS fw_core fw_win32_platform)
if(TARGET fw_form_resource_test)
  mx_add_forms(fw_form_resource_test testdata/resform.form)
endif()
