# Standard controls: their tests run with the gallery (framework/gallery). The list-view benchmark is
# a Windows program that tools/bench runs under Wine.
if(MX_CONFIG STREQUAL "win64")
  add_executable(bench_listview EXCLUDE_FROM_ALL std_listview_bench.cpp)
  add_dependencies(benchmarks bench_listview)
  target_link_libraries(bench_listview PRIVATE fw_win32 mx_options)
endif()
