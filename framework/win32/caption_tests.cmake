# The caption check: its measure against the system's drawing, and a program's check of its forms
# (run under Wine).
if(MX_WINDOWS)
  # Holds captions cut off on purpose: the check of every program leaves it out.
  add_executable(caption_app WIN32 testapps/caption_app.cpp)
  target_link_libraries(caption_app PRIVATE fw_win32 mx_options)
  mx_add_forms(caption_app testdata/caption_app.form testdata/caption_module.form testdata/caption_ghost.form)
  set_target_properties(caption_app PROPERTIES MX_CAPTION_CHECK OFF)
endif()
mx_add_test(fw_caption_check_test WINDOWS_ONLY SOURCES caption_check_test.cpp LIBS fw_win32)
if(TARGET fw_caption_check_test)
  add_dependencies(fw_caption_check_test caption_app)
  target_compile_definitions(fw_caption_check_test PRIVATE MX_CAPTION_APP="$<TARGET_FILE:caption_app>")
endif()
