# RAR decoders: tests, fuzz targets and the benchmark.
mx_add_test(codec_rar_test SOURCES rar_crypt_test.cpp rar_decode_test.cpp rar_filters_test.cpp LIBS mx_codec)
foreach(target rar15 rar20 rar29 rarppmd rarfilter)
  mx_add_fuzz(${target} SOURCES ${target}_fuzz.cpp LIBS mx_codec SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/${target})
endforeach()
