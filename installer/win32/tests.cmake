# Stand-ins and drivers the Windows tests install, run and read: a program with a version resource
# (two builds, 1.2.0.0 and 1.2.5.0), a self-registering library, and a command-line driver of the
# library for the scripted system tests.
foreach(build old new)
  add_executable(standin_${build} WIN32 testapps/standin.cpp testapps/standin.rc)
  target_link_libraries(standin_${build} PRIVATE mx_options)
endforeach()
target_compile_definitions(standin_old PRIVATE STANDIN_PATCH=0)
target_compile_definitions(standin_new PRIVATE STANDIN_PATCH=5)
add_library(inst_selfreg SHARED testapps/selfreg.cpp testapps/selfreg.rc)
set_target_properties(inst_selfreg PROPERTIES PREFIX "")
target_link_libraries(inst_selfreg PRIVATE mx_options advapi32)
add_executable(instharness testapps/instharness.cpp)
target_link_libraries(instharness PRIVATE inst_win32)

# Under Wine in the test run's prefix: versions of real PE files (checked with python3-pefile), shell
# folders and records (checked with reg query), a container installed byte-equal (cmp), the overwrite
# modes against placed files, self-registration and the translator on real controls.
mx_add_test(inst_wine_test WINDOWS_ONLY SOURCES inst_wine_test.cpp LIBS inst_win32)
add_dependencies(inst_wine_test standin_old standin_new inst_selfreg)

# In a scratch prefix of their own: a file in use replaced by "wineboot -r" (both roads), and downloads
# inside a private network namespace.
if(MX_CONFIG STREQUAL "win64")
  foreach(script reboot net)
    add_test(NAME inst_${script}_test
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/inst_${script}_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
    # The scripts find the harness and the stand-ins in the tree: the test run builds what is named here.
    set_tests_properties(inst_${script}_test PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_display
                         ENVIRONMENT "MX_TEST_TMP=${CMAKE_BINARY_DIR}/testtmp/inst_${script}_test"
                         REQUIRED_FILES "$<TARGET_FILE:instharness>;$<TARGET_FILE:standin_old>;$<TARGET_FILE:standin_new>")
  endforeach()
endif()
