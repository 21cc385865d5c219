# Object model, reflection, lists and form text: run natively and under Wine.
mx_add_test(fw_object_test
  SOURCES object_test.cpp lists_test.cpp formtext_test.cpp
  LIBS fw_core)

# The form-text reader against damaged and hostile texts.
mx_add_fuzz(formtext
  SOURCES formtext_fuzz.cpp
  LIBS fw_core
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/formtext)
