# The tests that the shipped 32-bit build runs. Its programs run under 32-bit Wine in user-mode
# emulation, where every process takes tens of seconds to start, so the set is chosen: the harness,
# the system seams (registry, code pages, files), windows, painting and hooks of the framework, the
# extractor program end to end, the builder making a self-extractor, the setup program's build mode and
# one install through its loader, and the callbacks of the cabinet library (FCI and FDI over a set of
# our cabinets) and of our UnRAR library (data, both volume modes, the password), whose calling
# conventions only the 32-bit build can get wrong, and the archive manager opening, sorting and
# extracting one entry (a scenario script, not a GoogleTest program). The threads test is left out:
# with several guest threads the emulator itself dies now and then ("uncaught target signal 11"),
# whatever the test does.
# For the same reason the tests chosen here do not use SCOPED_TRACE: its first use starts GoogleTest's
# thread-exit watcher, after which the emulated process crashes or hangs.
# A second word gives a GoogleTest filter; a filter naming a test that does not exist stops the
# configuration (see mx_i686_check_filters). For the builder's driven test it names the groups of
# scenarios to run (its Create scenario, whose output is then extracted).
set(MX_I686_TESTS
  harness_wine_test
  fw_win32_platform_test
  engine_seam_test
  fw_win32_controls_test
  fw_win32_graphics_test
  fw_win32_hooks_test
  "sfxstub_wine_test SfxStubWine.EncryptedArchiveAsksForThePasswordAndRunsTheProgram:SfxStubWine.AsksBeforeOverwriting:SfxStubWine.HostileArchiveStaysInItsFolderAvoidsDevicesAndReportsTheDamagedEntry"
  "sfx_builder_drive start"
  "cab_test CabTest.OurCabinetsAndSetsReadBack"
  "unrar_test UnRarTest.VolumeSetsInBothNamingStyles:UnRarTest.AskedVolumeIsAnsweredWithAnotherFolder:UnRarTest.EncryptedEntriesThroughOurLibrary"
  inst_setup_wine_test
  app_scenario_sort_extract
)

# Sets OUT to the GoogleTest filter of NAME when it runs on i686 ("*" for all of it), else to "".
function(mx_i686_filter name out)
  set(result "")
  foreach(entry ${MX_I686_TESTS})
    separate_arguments(words UNIX_COMMAND "${entry}")
    list(GET words 0 first)
    if(first STREQUAL name)
      list(LENGTH words n)
      if(n GREATER 1)
        list(GET words 1 result)
      else()
        set(result "*")
      endif()
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Stops the configuration when FILTER names a test (Suite.Name) that none of SOURCES defines, so that
# a renamed test cannot drop out of the 32-bit run unnoticed.
function(mx_i686_check_filter name filter sources)
  set(text "")
  foreach(src ${sources})
    get_filename_component(path ${src} ABSOLUTE)
    if(EXISTS ${path})
      file(READ ${path} content)
      string(APPEND text "${content}")
    endif()
  endforeach()
  string(REPLACE ":" ";" tests "${filter}")
  foreach(test ${tests})
    string(REPLACE "." ";" parts "${test}")
    list(GET parts 0 suite)
    list(GET parts 1 case)
    string(REGEX MATCH "${suite}, *${case}\\)" found "${text}")
    if(NOT found)
      message(FATAL_ERROR "cmake/I686Tests.cmake: ${name} has no test ${test}")
    endif()
  endforeach()
endfunction()
