# RAR decoders: tests, fuzz targets and the benchmark.
