# Tests, fuzz target and benchmark of the deflate compressor. zlib serves as the independent decoder
# and as the yardstick for size and speed.
mx_add_test(codec_deflate_test SOURCES deflate_test.cpp LIBS mx_codec ${MX_ZLIB})
mx_add_bench(deflate SOURCES deflate_bench.cpp LIBS mx_codec ${MX_ZLIB})
mx_add_fuzz(deflate SOURCES deflate_fuzz.cpp LIBS mx_codec
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/deflate)
