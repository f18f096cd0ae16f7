find_package(benchmark REQUIRED)
add_executable(bench_analysis bench_analysis.cpp)
target_link_libraries(bench_analysis PRIVATE tanabashigo_engine benchmark::benchmark)
set_target_properties(bench_analysis PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
