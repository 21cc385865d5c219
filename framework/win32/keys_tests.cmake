# Standard controls of the keyboard unit, the keyboard chain, menus, actions, hints and dialogs
# (run under Wine).
mx_add_test(fw_win32_std_test WINDOWS_ONLY TIMEOUT 300
            SOURCES std_controls_test.cpp menus_test.cpp dialogs_test.cpp std_toolmenu_test.cpp hints_test.cpp
            LIBS fw_win32)

# The program the keyboard, menu, hint and dialog script drives under Wine, and the script.
if(MX_WINDOWS)
  add_executable(keys_app WIN32 testapps/keys_app.cpp)
  target_link_libraries(keys_app PRIVATE fw_win32 mx_options)
  mx_add_forms(keys_app testdata/keys_main.form)
endif()
if(MX_CONFIG STREQUAL "win64")
  add_test(NAME fw_keys_drive
           COMMAND ${CMAKE_SOURCE_DIR}/tools/fwdrive-run $<TARGET_FILE:fwdrive> ${CMAKE_CURRENT_SOURCE_DIR}/testdata/keys_drive.txt
                   -D APP=$<TARGET_FILE:keys_app> -D DIR=${CMAKE_CURRENT_SOURCE_DIR}/testdata)
  set_tests_properties(fw_keys_drive PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120 RESOURCE_LOCK wine_display
                       ENVIRONMENT "MX_WINE_DIR=${MX_WINE_DIR};MX_TEST_TMP=${CMAKE_BINARY_DIR}/testtmp/fw_keys_drive")
endif()
