# Tests of the install library. The portable units run natively under ASan and UBSan, with the archive
# checked by an independent Python reader; the Windows side is tested under Wine in win32/.
if(NOT MX_WINDOWS AND NOT MX_CONFIG STREQUAL "fuzz")
  add_library(inst_testkit STATIC testkit/support.cpp)
  target_link_libraries(inst_testkit PUBLIC inst_core mx_testing GTest::gtest)
endif()
mx_add_test(inst_core_test NATIVE_ONLY
  SOURCES
    translator_test.cpp
    utils_test.cpp
    zstream_test.cpp
    container_test.cpp
    versions_test.cpp
    tree_test.cpp
    install_file_test.cpp
    net_location_test.cpp
    record_test.cpp
    file_container_test.cpp
    setup_test.cpp
    links_test.cpp
    wizard_test.cpp
  LIBS inst_testkit inst_core)

# Fuzz targets: the container's header walk and extraction, and the language tables with the
# translated formats. Their seeds replay in the native run.
mx_add_fuzz(inst_container SOURCES container_fuzz.cpp LIBS inst_core SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/container)
mx_add_fuzz(inst_language SOURCES language_fuzz.cpp LIBS inst_core SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/language)

# The container's compress and extract speed against gzip at the same level (tools/bench).
mx_add_bench(container SOURCES container_bench.cpp LIBS inst_core)
