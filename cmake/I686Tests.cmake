# The tests that the shipped 32-bit build runs. Its programs run under 32-bit Wine in user-mode
# emulation, where every process takes tens of seconds to start, so the set is chosen: the harness,
# the system seams (registry, code pages, files), windows, painting, hooks and threads of the
# framework, and the extractor program end to end. A second word gives a GoogleTest filter.
set(MX_I686_TESTS
  harness_wine_test
  fw_win32_platform_test
  engine_seam_test
  fw_win32_controls_test
  fw_win32_graphics_test
  fw_win32_hooks_test
  fw_win32_threads_test
  "sfxstub_wine_test SfxStubWine.EncryptedArchiveAsksForThePasswordAndRunsTheProgram:SfxStubWine.AsksBeforeOverwriting:SfxStubWine.HostileArchiveStaysInItsFolderAndReportsTheDamagedEntry"
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
