# Stand-ins and drivers the Windows tests install, run and read: a program with a version resource
# (two builds, 1.2.0.0 and 1.2.5.0), a self-registering library, a command-line driver of the
# library for the scripted system tests, the loader and the uninstall program that an installation
# carries, and the setup program with test variants of its definition.
foreach(build old new)
  add_executable(standin_${build} WIN32 testapps/standin.cpp testapps/standin.rc)
  target_link_libraries(standin_${build} PRIVATE fw_win32 mx_options)
endforeach()
target_compile_definitions(standin_old PRIVATE STANDIN_PATCH=0)
target_compile_definitions(standin_new PRIVATE STANDIN_PATCH=5)
add_library(inst_selfreg SHARED testapps/selfreg.cpp testapps/selfreg.rc)
set_target_properties(inst_selfreg PROPERTIES PREFIX "")
target_link_libraries(inst_selfreg PRIVATE mx_options advapi32)
add_executable(instharness testapps/instharness.cpp)
target_link_libraries(instharness PRIVATE inst_win32)
add_executable(QuenfordLoadProgram WIN32 testapps/loader.cpp)
target_link_libraries(QuenfordLoadProgram PRIVATE inst_win32)
add_executable(inst_uninstall WIN32 testapps/uninstaller.cpp)
set_target_properties(inst_uninstall PROPERTIES OUTPUT_NAME uninstall)
target_link_libraries(inst_uninstall PRIVATE mx_options advapi32)

# The setup program's variants: the real definition, the same distributed over the net or translated
# into French, and a small one with Program Manager links.
set(setup_dir ${CMAKE_SOURCE_DIR}/installer/setup)
file(READ ${setup_dir}/mxinstall.form definition)
string(REPLACE "object Form1: TForm1\n" "object Form1: TForm1Web\n" definition "${definition}")
string(REPLACE "  object Install1: TInstall\n" "  object Install1: TInstall\n    DistributeType = dtWeb\n" definition "${definition}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/mxinstall_web.form "${definition}")
file(READ ${setup_dir}/mxinstall.form definition)
string(REPLACE "object Form1: TForm1\n" "object Form1: TForm1French\n" definition "${definition}")
string(REPLACE "  object MainTranslator: TTranslator\n  end\n" "  object MainTranslator: TTranslator
    lgFrench.Strings = (
      '85;Dans quel dossier voulez-vous installer ce programme ?'
      '86;Pour installer dans le dossier ci-dessous, cliquez sur Suivant.'
      '87;Pour installer ailleurs, cliquez sur Parcourir et choisissez un autre dossier.')
    TranslateIntoLanguage = qlFrench
  end\n" definition "${definition}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/mxinstall_french.form "${definition}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${setup_dir}/mxinstall.form)
add_executable(mxinstall_variants WIN32 testapps/setup_variants.cpp ${setup_dir}/mxinstall.rc)
target_link_libraries(mxinstall_variants PRIVATE inst_setup)
set_source_files_properties(${setup_dir}/mxinstall.rc PROPERTIES OBJECT_DEPENDS ${setup_dir}/theme.bmp)
file(GLOB page_forms CONFIGURE_DEPENDS ${setup_dir}/*_page.form)
mx_add_forms(mxinstall_variants ${setup_dir}/mxinstall.form ${CMAKE_CURRENT_BINARY_DIR}/mxinstall_web.form
             ${CMAKE_CURRENT_BINARY_DIR}/mxinstall_french.form testdata/progman.form ${page_forms}
             form_container.form)
# A test program: its variant forms are fixtures, registered only when their variant runs; the shipped
# definition's captions are checked in MxInstall.
set_target_properties(mxinstall_variants PROPERTIES MX_CAPTION_CHECK OFF)

# Under Wine in the test run's prefix: versions of real PE files (checked with python3-pefile), shell
# folders and records (checked with reg query), a container installed byte-equal (cmp), the overwrite
# modes against placed files, self-registration and the translator on real controls.
mx_add_test(inst_wine_test WINDOWS_ONLY SOURCES inst_wine_test.cpp LIBS inst_win32)
add_dependencies(inst_wine_test standin_old standin_new inst_selfreg)

# The shipped 32-bit build in the run's prefix: build mode and one install through the loader.
if(MX_CONFIG STREQUAL "win32")
  mx_add_test(inst_setup_wine_test WINDOWS_ONLY SOURCES inst_setup_wine_test.cpp LIBS advapi32)
  if(TARGET inst_setup_wine_test)
    add_dependencies(inst_setup_wine_test MxInstall QuenfordLoadProgram inst_uninstall standin_old standin_new inst_selfreg fwdrive)
    set_property(TEST inst_setup_wine_test APPEND PROPERTY ENVIRONMENT "MX_DLL_OVERRIDES=winemenubuilder.exe=d")
  endif()
endif()

# In a scratch prefix of their own: a file in use replaced by "wineboot -r" (both roads), downloads
# inside a private network namespace, and the setup program end to end (build, install, uninstall,
# reboot, floppies, Program Manager) on the build tree's display, driven by fwdrive where it asks.
if(MX_CONFIG STREQUAL "win64")
  foreach(script reboot net setup)
    add_test(NAME inst_${script}_test
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/inst_${script}_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
    # The scripts find the harness and the stand-ins in the tree: the test run builds what is named here.
    set_tests_properties(inst_${script}_test PROPERTIES TIMEOUT 600 RESOURCE_LOCK wine_display
                         ENVIRONMENT "MX_TEST_TMP=${CMAKE_BINARY_DIR}/testtmp/inst_${script}_test;MX_WINE_DIR=${MX_WINE_DIR}"
                         REQUIRED_FILES "$<TARGET_FILE:instharness>;$<TARGET_FILE:standin_old>;$<TARGET_FILE:standin_new>")
  endforeach()
  set_tests_properties(inst_setup_test PROPERTIES FIXTURES_REQUIRED wine)
endif()
