# Tests and fuzz targets of the LH-family decoders (static Huffman, ARJ method 4) and the LZHUF coder.
mx_add_test(codec_lzh_test SOURCES lzh_test.cpp LIBS mx_codec NATIVE_ONLY)
foreach(target lzh lzhuf arj_method4)
  mx_add_fuzz(${target} SOURCES ${target}_fuzz.cpp LIBS mx_codec
    SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/seeds/${target})
endforeach()
