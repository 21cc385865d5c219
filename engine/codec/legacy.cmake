# Tests and fuzz targets of the old ZIP decoders: explode, unshrink and unreduce. The test-only
# encoders live in testenc/, outside the library.
set(MX_LEGACY_TESTENC ${CMAKE_CURRENT_SOURCE_DIR}/testenc/legacy_testenc.cpp)

mx_add_test(codec_legacy_test
  SOURCES explode_test.cpp unshrink_test.cpp unreduce_test.cpp ${MX_LEGACY_TESTENC}
  LIBS mx_codec)
mx_add_test(codec_legacy_oracle_test NATIVE_ONLY
  SOURCES legacy_oracle_test.cpp ${MX_LEGACY_TESTENC}
  LIBS mx_codec)

foreach(target explode unshrink unreduce)
  mx_add_fuzz(${target} SOURCES ${target}_fuzz.cpp LIBS mx_codec
    SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/${target})
endforeach()
