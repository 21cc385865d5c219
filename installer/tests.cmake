# Tests of the install library. The portable units run natively under ASan and UBSan, with the archive
# checked by an independent Python reader; the Windows side is tested under Wine in win32/.
if(NOT MX_WINDOWS)
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
  LIBS inst_testkit inst_core)
